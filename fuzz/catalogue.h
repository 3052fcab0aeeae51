// What script can call, read at run time from the host and its plug-ins, so that the fuzz targets
// reach a new primitive, published function or parameter without being edited.
#pragma once

#include <string>
#include <vector>

namespace fuzz {

struct Member {
  std::string name;
  std::vector<int> params;  // a function's parameters a call must pass (their ParamType2)
  int type = 0;             // ParamType2 of a parameter or property
  bool table = false;       // a parameter that is a table (arrays that index, append and count)
};

struct PluginClass {
  std::string name;  // the script constructor
  bool helper = false;
  bool material = false;
  std::vector<Member> functions;   // published interface functions, called on an instance
  std::vector<Member> properties;  // published properties and parameter-block parameters
};

struct CoreInterface {
  std::string name;
  std::vector<Member> functions;
};

struct Catalogue {
  std::vector<std::string> primitives;  // `name` or `struct.member`
  std::vector<PluginClass> classes;     // classes of the plug-in modules
  std::vector<CoreInterface> interfaces;
};

// Read once, after the host has started (it runs script and resets the host).
const Catalogue& catalogue();

}  // namespace fuzz
