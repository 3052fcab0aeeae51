// Failures of the process and pipe services on demand, for tests of the code that must answer
// them: a child that cannot be started, a pipe that cannot be made or breaks, a wait that fails.
// The system seldom fails these calls, and never when asked to. Only the host's own programs see
// this header (it is not part of host/): scripts and plug-ins cannot reach it.
#pragma once

#include "host_api.h"

namespace sim::os {

enum class SystemCall { CreateProcess, CreatePipe, DuplicateHandle, PeekNamedPipe, ReadFile, WaitForSingleObject };

// After `skip` more calls of `call` that go to the system, the next `count` fail without reaching
// it: they answer as the system answers a failure (FALSE, WAIT_FAILED) with the system's error
// number `error` as the thread's last error (errno on a POSIX host).
HOST_API void failNextCalls(SystemCall call, int error, unsigned count = 1, unsigned skip = 0);
// Every call goes to the system again.
HOST_API void clearInjectedFailures();

// For the services themselves: true when this call is to fail, with its error already set.
bool injectedFailure(SystemCall call);

}  // namespace sim::os
