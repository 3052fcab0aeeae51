// Loading plug-in modules the way the host does: by file ending, through their exported entry
// points, registering the class descriptors they hand over.
#pragma once

#include "host_api.h"
#include "plugapi.h"

#include <ostream>
#include <string>
#include <vector>

namespace sim {

struct PluginModule {
  std::string path;
  std::string fileName;
  std::string description;
  ULONG version = 0;
  std::vector<ClassDesc*> classes;
  void* library = nullptr;
};

class HOST_API PluginLoader {
 public:
  ~PluginLoader();

  // Loads every file with a plug-in ending in `folder`, in name order. A file that is not a module,
  // lacks an entry point or answers a version from another release is reported on `errors` by file
  // name and skipped. Returns the number of modules loaded.
  int loadFolder(const std::string& folder, std::ostream& errors);
  bool loadModule(const std::string& path, std::ostream& errors);
  // Unregisters the classes of every module and unloads them, newest first.
  void unloadAll();

  const std::vector<PluginModule>& modules() const { return modules_; }

  static bool hasPluginEnding(const std::string& fileName);
  // Releases this host can load modules of (release number in the version's upper 16 bits).
  static bool isCompatibleVersion(ULONG version);

 private:
  std::vector<PluginModule> modules_;
};

HOST_API PluginLoader& plugins();

}  // namespace sim
