// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  void write(const std::string& name, const std::string& content) const;

 private:
  std::filesystem::path path_;
};

// Runs a command line through the shell; returns its exit status and what it wrote.
struct CommandResult {
  int status = -1;
  std::string out, err;
};
CommandResult runCommand(const std::string& commandLine);

}  // namespace test
