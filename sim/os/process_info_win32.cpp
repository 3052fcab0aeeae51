#include "os/process_info.h"

#include <windows.h>

#include <cstdlib>

namespace sim::os {

std::string executablePath() {
  char buf[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  return n == 0 || n >= sizeof buf ? std::string() : std::string(buf, n);
}

std::string userName() {
  char buf[256];
  DWORD n = sizeof buf;
  return GetUserNameA(buf, &n) && n > 0 ? std::string(buf, n - 1) : std::string();
}

std::string computerName() {
  char buf[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD n = sizeof buf;
  return GetComputerNameA(buf, &n) ? std::string(buf, n) : std::string();
}

std::string userDataFolder() {
  const char* local = std::getenv("LOCALAPPDATA");
  return local && *local ? std::string(local) + "\\qzmhost" : std::string();
}

}  // namespace sim::os
