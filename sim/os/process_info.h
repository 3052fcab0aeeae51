// Facts about the running process.
#pragma once

#include "host_api.h"

#include <string>

namespace sim::os {

// Full path of the running executable ("" when unknown).
HOST_API std::string executablePath();

}  // namespace sim::os
