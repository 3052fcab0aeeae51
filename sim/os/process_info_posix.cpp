#include "os/process_info.h"

#include <filesystem>

namespace sim::os {

std::string executablePath() {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
}

}  // namespace sim::os
