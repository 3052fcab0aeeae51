// Facts about the running process, its user and its machine.
#pragma once

#include "host_api.h"

#include <string>

namespace sim::os {

// Full path of the running executable ("" when unknown).
HOST_API std::string executablePath();
// The name the user logged in with ("" when unknown).
HOST_API std::string userName();
// The machine's network name ("" when unknown).
HOST_API std::string computerName();
// The one folder under which the host keeps this user's folders (scenes, scripts, images...):
// the system's place for per-user application data, then "qzmhost". "" when the system names none.
HOST_API std::string userDataFolder();

}  // namespace sim::os
