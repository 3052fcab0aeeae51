// The files `include "name.ms"` inserts at compile time. A name is looked for beside the file that
// holds the include first, then as given (from the current folder), as fileIn finds its files.
// Files being included are tracked, so that a file including itself, directly or through others,
// is a compile error rather than endless recursion.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sim::script {

struct IncludedFile {
  std::string path;  // as found: the name to report and to resolve the file's own includes from
  std::string text;
};

// The file `name` names, read whole; nullopt when there is no such file (a folder is none).
std::optional<IncludedFile> readIncludedFile(const std::string& name, const std::string& includingFile);

// Marks a file as being included for its lifetime. `cycle()` tells whether the file was already
// being included further out, and `tooDeep()` whether the chain is longer than any real set of
// scripts needs; in both cases the file must not be parsed.
class IncludeGuard {
 public:
  explicit IncludeGuard(const std::string& path);
  ~IncludeGuard();
  IncludeGuard(const IncludeGuard&) = delete;
  IncludeGuard& operator=(const IncludeGuard&) = delete;

  bool cycle() const { return cycle_; }
  bool tooDeep() const;

 private:
  bool cycle_ = false;
};

}  // namespace sim::script
