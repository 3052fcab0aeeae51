// Scene files: the whole scene saved to bytes and rebuilt from them. Every object is saved the same
// way (its class, the chunks of its own Save, its references by index, its app data), so shared
// targets stay shared and a scene that was saved and loaded saves to the same bytes again.
#pragma once

#include "host_api.h"

#include <string>
#include <vector>

namespace sim {

using Bytes = std::vector<unsigned char>;

// The scene as a file's bytes. False, with `error` saying why, when an object could not be saved.
// Errors never name the file: callers put it in front.
HOST_API bool writeScene(Bytes& out, std::string& error);
// Writes the scene to `path` through a temporary file that takes the place of the old one only
// once it is complete, so a failed save leaves the old file as it was.
HOST_API bool saveSceneFile(const std::string& path, std::string& error);

struct SceneLoadResult {
  bool ok = false;
  std::string error;                  // "not a scene file", "scene file is damaged at byte N", ...
  std::vector<std::string> warnings;  // Listener lines: one per missing class
};

// Replaces the scene with the one in `data`. On any error the current scene is left untouched.
HOST_API SceneLoadResult readScene(const unsigned char* data, size_t size);
HOST_API SceneLoadResult loadSceneFile(const std::string& path);

}  // namespace sim
