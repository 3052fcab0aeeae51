// Resource scripts: the text format in which a module keeps its dialog templates and string table,
// read the way a resource compiler reads it. The Windows build compiles the same text into the
// module's resource section; the headless host parses it from the copy the module carries.
#pragma once

#include "host_api.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sim::ui {

struct DialogControl {
  std::string text;
  int id = 0;
  std::string className;  // as the script names it ("Static", "Button", "CustEdit", ...)
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
};

struct DialogTemplate {
  int id = 0;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  std::string caption;
  std::string fontFace;
  int fontPoints = 0;
  std::vector<DialogControl> controls;
};

struct ResourceScript {
  std::map<int, DialogTemplate> dialogs;
  std::map<int, std::string> strings;  // by the 16-bit string id
};

// The text of an included file by the name the script gives it, or nothing when there is none.
using IncludeReader = std::function<std::optional<std::string>(const std::string& name)>;

struct ResourceParseResult {
  std::optional<ResourceScript> script;
  std::string error;  // "file(line): what is wrong" when script is empty
};

// Parses `text` (named `fileName` in errors). Bad text gives an error naming the file and line,
// never a crash or an endless loop. System headers (<windows.h> and its kin) are known without
// reading them: their style and language names are built in.
HOST_API ResourceParseResult parseResourceScript(const std::string& fileName, const std::string& text,
                                                 const IncludeReader& readInclude);

}  // namespace sim::ui
