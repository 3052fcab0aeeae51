// Whether standard input or error is a terminal (the interactive Listener, progress lines).
#pragma once

#include "host_api.h"

namespace sim::os {

HOST_API bool stdinIsTerminal();
HOST_API bool stderrIsTerminal();

}  // namespace sim::os
