// Whether standard input or error is a terminal (the interactive Listener, progress lines).
#pragma once

#include "host_api.h"

namespace sim::os {

HOST_API bool stdinIsTerminal();
HOST_API bool stderrIsTerminal();
// Standard output and error pass bytes through unchanged (Windows would turn "\n" into "\r\n"), so
// that the Listener's text reaches them exactly.
HOST_API void writeStandardStreamsAsBytes();

}  // namespace sim::os
