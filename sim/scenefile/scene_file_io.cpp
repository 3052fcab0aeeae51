// Scene files on disk: written whole to a temporary file beside the target, flushed to the disk and
// renamed over it, and read whole into memory (the file's size bounds everything the loader
// allocates).
#include "scenefile/scene_file.h"

#include "os/file_buffer.h"
#include "scene/scene_services.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace sim {

namespace {

std::string systemError(int err) { return std::strerror(err); }

constexpr const char* kTemporaryEnding = ".saving";

// A name beside `path` that no other save picks at the same time: the file's name, a dot, eight hex
// digits and the ending.
fs::path temporaryBeside(const fs::path& path) {
  std::random_device rd;
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%08x%s", static_cast<unsigned>(rd()), kTemporaryEnding);
  fs::path tmp = path;
  tmp += suffix;
  return tmp;
}

bool isTemporaryOf(const std::string& name, const std::string& target) {
  const std::string ending = kTemporaryEnding;
  if (name.size() != target.size() + 1 + 8 + ending.size() || name.compare(0, target.size(), target) != 0) return false;
  if (name[target.size()] != '.' || name.compare(name.size() - ending.size(), ending.size(), ending) != 0) return false;
  for (size_t i = target.size() + 1; i < target.size() + 9; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

// A save that was killed leaves its temporary file behind; the next save of the same file takes such
// files away. Only files of exactly our temporary names for this target, and only once nothing has
// written to them for a while: another process saving the same file right now keeps its own.
void removeStaleTemporaries(const fs::path& target) {
  constexpr auto kStale = std::chrono::minutes(2);
  std::error_code ec;
  const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const std::string name = target.filename().string();
  const auto now = fs::file_time_type::clock::now();
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fileEc;
    if (!isTemporaryOf(it->path().filename().string(), name) || !it->is_regular_file(fileEc) || it->is_symlink(fileEc))
      continue;
    const auto written = fs::last_write_time(it->path(), fileEc);
    if (!fileEc && now - written > kStale) fs::remove(it->path(), fileEc);
  }
}

// Flushes the file's bytes to the disk, so that the rename never puts an incomplete file in place
// of the old one should the machine stop.
bool syncToDisk(FILE* f) {
  if (std::fflush(f) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  return fsync(fileno(f)) == 0;
#endif
}

bool writeAll(const fs::path& path, const Bytes& bytes, std::string& error) {
  FILE* f = std::fopen(path.string().c_str(), "wb");
  if (!f) {
    error = systemError(errno);
    return false;
  }
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = ok && syncToDisk(f);
  const int writeErr = errno;
  const bool closed = std::fclose(f) == 0;
  if (!ok || !closed) {
    error = systemError(ok ? errno : writeErr);
    return false;
  }
  return true;
}

}  // namespace

bool saveSceneFile(const std::string& path, std::string& error) {
  Bytes bytes;
  if (!writeScene(bytes, error)) return false;
  const fs::path target(path);
  removeStaleTemporaries(target);
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

SceneLoadResult loadSceneFile(const std::string& path, SceneLoadExtent extent) {
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
  // Not a vector: its zero fill would touch every page of a big scene once more before the read.
  os::FileBuffer bytes;
  const auto size = fs::file_size(path, ec);
  bool ok = !ec;
  if (ok) {
    if (!bytes.allocate(static_cast<size_t>(size))) {
      std::fclose(f);
      result.error = "not enough memory to load the scene";
      return result;
    }
    ok = size == 0 || std::fread(bytes.data(), 1, size, f) == size;
  }
  const int err = errno;
  std::fclose(f);
  if (!ok) {
    result.error = ec ? ec.message() : systemError(err);
    return result;
  }
  result = readScene(bytes.data(), static_cast<size_t>(size), extent);
  if (result.ok) sceneServices().sceneFile = path;
  return result;
}

}  // namespace sim
