#include "os/process_info.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace sim::os {

std::string executablePath() {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
}

std::string userName() {
  if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name) return pw->pw_name;
  const char* env = std::getenv("USER");
  return env ? env : "";
}

std::string computerName() {
  char buf[256] = {};
  if (gethostname(buf, sizeof buf - 1) != 0) return "";
  return buf;
}

// The XDG data folder, as desktop tools on these systems keep per-user files.
std::string userDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg == '/') return std::string(xdg) + "/qzmhost";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.local/share/qzmhost";
  if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_dir && *pw->pw_dir)
    return std::string(pw->pw_dir) + "/.local/share/qzmhost";
  return "";
}

}  // namespace sim::os
