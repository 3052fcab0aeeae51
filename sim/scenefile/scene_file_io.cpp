// Scene files on disk: written whole to a temporary file beside the target and renamed over it, and
// read whole into memory (the file's size bounds everything the loader allocates).
#include "scenefile/scene_file.h"

#include "scene/scene_services.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace sim {

namespace {

std::string systemError(int err) { return std::strerror(err); }

// A name beside `path` that no other save picks at the same time.
fs::path temporaryBeside(const fs::path& path) {
  std::random_device rd;
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%08x.saving", static_cast<unsigned>(rd()));
  fs::path tmp = path;
  tmp += suffix;
  return tmp;
}

bool writeAll(const fs::path& path, const Bytes& bytes, std::string& error) {
  FILE* f = std::fopen(path.string().c_str(), "wb");
  if (!f) {
    error = systemError(errno);
    return false;
  }
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int writeErr = errno;
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    error = systemError(written ? errno : writeErr);
    return false;
  }
  return true;
}

}  // namespace

bool saveSceneFile(const std::string& path, std::string& error) {
  Bytes bytes;
  if (!writeScene(bytes, error)) return false;
  const fs::path target(path);
  const fs::path tmp = temporaryBeside(target);
  if (!writeAll(tmp, bytes, error)) {
    std::error_code ignored;
    fs::remove(tmp, ignored);
    return false;
  }
  std::error_code ec;
  fs::rename(tmp, target, ec);
  if (ec) {
    error = ec.message();
    fs::remove(tmp, ec);
    return false;
  }
  sceneServices().sceneFile = path;
  return true;
}

SceneLoadResult loadSceneFile(const std::string& path) {
  SceneLoadResult result;
  std::error_code ec;
  if (fs::is_directory(path, ec)) {
    result.error = "it is a folder, not a file";
    return result;
  }
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    result.error = systemError(errno);
    return result;
  }
  Bytes bytes;
  const auto size = fs::file_size(path, ec);
  bool ok = !ec;
  if (ok) {
    bytes.resize(static_cast<size_t>(size));
    ok = bytes.empty() || std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
  }
  const int err = errno;
  std::fclose(f);
  if (!ok) {
    result.error = ec ? ec.message() : systemError(err);
    return result;
  }
  result = readScene(bytes.data(), bytes.size());
  if (result.ok) sceneServices().sceneFile = path;
  return result;
}

}  // namespace sim
