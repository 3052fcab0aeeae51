#include "core/host_session.h"

#include "core/core_interface.h"
#include "core/plugin_loader.h"

namespace sim {

int startHost(const std::string& pluginFolder, std::ostream& errors) {
  coreInterface();
  return plugins().loadFolder(pluginFolder, errors);
}

void shutdownHost() {
  // Objects of plug-in classes must go while their modules are still loaded.
  coreInterface()->clearScene();
  plugins().unloadAll();
}

}  // namespace sim
