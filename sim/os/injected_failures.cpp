#include "os/injected_failures.h"

#if defined(_WIN32)
#  include "os/process_kernel32.h"
#else
#  include <cerrno>
#endif

namespace sim::os {

namespace {

struct Plan {
  int error = 0;
  unsigned skip = 0;
  unsigned count = 0;
};

constexpr int kCalls = static_cast<int>(SystemCall::WaitForSingleObject) + 1;

Plan& planFor(SystemCall call) {
  static Plan plans[kCalls];
  return plans[static_cast<int>(call)];
}

}  // namespace

void failNextCalls(SystemCall call, int error, unsigned count, unsigned skip) {
  planFor(call) = Plan{error, skip, count};
}

void clearInjectedFailures() {
  for (int i = 0; i < kCalls; ++i) planFor(static_cast<SystemCall>(i)) = Plan{};
}

bool injectedFailure(SystemCall call) {
  Plan& plan = planFor(call);
  if (plan.count == 0) return false;
  if (plan.skip > 0) {
    --plan.skip;
    return false;
  }
  --plan.count;
#if defined(_WIN32)
  kernel32::setLastError(static_cast<DWORD>(plan.error));
#else
  errno = plan.error;
#endif
  return true;
}

}  // namespace sim::os
