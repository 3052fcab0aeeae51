#include "os/process_info.h"

#include <windows.h>

namespace sim::os {

std::string executablePath() {
  char buf[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  return n == 0 || n >= sizeof buf ? std::string() : std::string(buf, n);
}

}  // namespace sim::os
