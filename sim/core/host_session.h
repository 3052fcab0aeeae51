// Start and end of the host: the scene, the plug-in modules, and the order in which they go.
#pragma once

#include "host_api.h"

#include <ostream>
#include <string>

namespace sim {

// Loads the plug-ins of `pluginFolder`, reporting problems on `errors`; returns the number loaded.
HOST_API int startHost(const std::string& pluginFolder, std::ostream& errors);
// Frees the scene and everything that holds objects of plug-in classes, then unloads the modules.
HOST_API void shutdownHost();

}  // namespace sim
