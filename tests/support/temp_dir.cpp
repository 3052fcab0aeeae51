#include "support/temp_dir.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#if !defined(_WIN32)
#  include <sys/wait.h>
#endif

namespace test {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  path_ = std::filesystem::temp_directory_path() /
          ("qzm_test_" + std::to_string(rd()) + "_" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& content) const {
  std::ofstream(path_ / name, std::ios::binary) << content;
}

namespace {
std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
}  // namespace

CommandResult runCommand(const std::string& commandLine) {
  TempDir dir;
  std::string full = commandLine + " >" + dir.file("out") + " 2>" + dir.file("err");
  int raw = std::system(full.c_str());
  CommandResult r;
#if defined(_WIN32)
  r.status = raw;  // the command interpreter's exit code itself
#else
  r.status = raw == -1 ? -1 : WEXITSTATUS(raw);
#endif
  r.out = slurp(dir.path() / "out");
  r.err = slurp(dir.path() / "err");
  return r;
}

}  // namespace test
