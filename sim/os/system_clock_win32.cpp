// host/winsystem.h on Windows: each call goes to the system (see os/process_kernel32.h).
#include "os/process_kernel32.h"
#include "winsystem.h"

static_assert(sizeof(SYSTEMTIME) == 16);

void GetSystemTime(LPSYSTEMTIME lpSystemTime) {
  if (lpSystemTime) sim::os::kernel32::getSystemTime(lpSystemTime);
}

SHORT GetAsyncKeyState(int vKey) { return sim::os::kernel32::getAsyncKeyState(vKey); }
