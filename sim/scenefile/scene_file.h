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

// How much of a file becomes objects.
enum class SceneLoadExtent {
  Whole,
  // Leaves out what only the nodes' transforms and geometry reach (their controllers, objects and
  // blocks), most of a big scene's objects; the nodes with their names, hierarchy, flags and
  // materials, and everything else they or other objects reach (a holder's tables, the
  // controllers those name) are made as usual. For tools that read a scene's records and exit:
  // the nodes have no transform or object, and the scene cannot be saved.
  WithoutTransformsAndGeometry,
};

// Replaces the scene with the one in `data`. On any error the current scene is left untouched.
HOST_API SceneLoadResult readScene(const unsigned char* data, size_t size, SceneLoadExtent extent = SceneLoadExtent::Whole);
HOST_API SceneLoadResult loadSceneFile(const std::string& path, SceneLoadExtent extent = SceneLoadExtent::Whole);

}  // namespace sim
