#include "script/include_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace sim::script {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxIncludeNesting = 32;

// The files being included, innermost last, by their canonical names.
std::vector<std::string>& chain() {
  thread_local std::vector<std::string> files;
  return files;
}

fs::path native(std::string name) {
  std::replace(name.begin(), name.end(), '\\', '/');
  return fs::path(name);
}

bool isFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

std::string canonicalName(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(native(path), ec);
  return ec ? path : p.generic_string();
}

}  // namespace

std::optional<IncludedFile> readIncludedFile(const std::string& name, const std::string& includingFile) {
  std::string found;
  fs::path given = native(name);
  if (!given.is_absolute() && !includingFile.empty()) {
    std::size_t folder = includingFile.find_last_of("/\\");
    std::string beside = (folder == std::string::npos ? std::string() : includingFile.substr(0, folder + 1)) + name;
    if (isFile(native(beside))) found = beside;
  }
  if (found.empty() && isFile(given)) found = name;
  if (found.empty()) return std::nullopt;
  std::ifstream in(native(found), std::ios::binary);
  if (!in) return std::nullopt;
  IncludedFile file{found, std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())};
  if (in.bad()) return std::nullopt;
  return file;
}

IncludeGuard::IncludeGuard(const std::string& path) {
  std::string name = canonicalName(path);
  cycle_ = std::find(chain().begin(), chain().end(), name) != chain().end();
  chain().push_back(std::move(name));
}

IncludeGuard::~IncludeGuard() { chain().pop_back(); }

bool IncludeGuard::tooDeep() const { return chain().size() > kMaxIncludeNesting; }

}  // namespace sim::script
