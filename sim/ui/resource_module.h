// The resources a loaded module carries, found from its handle as Windows finds a module's
// resource section. (On Windows the system's LoadString and CreateDialogParam do this.)
#pragma once

#include "host_api.h"
#include "ui/resource_script.h"

namespace sim::ui {

// The parsed resource script of `module`; null when the module carries none or its script cannot
// be read, which is reported once on standard error with the file and line.
const ResourceScript* moduleResources(HINSTANCE module);

}  // namespace sim::ui
