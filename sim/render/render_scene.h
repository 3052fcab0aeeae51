// What a render sees of the scene at one time: every renderable node's evaluated mesh as world-space
// triangles with smoothed corner normals, and per node the flags and material the renderer needs.
#pragma once

#include "box3.h"
#include "color.h"
#include "imtl.h"
#include "inode.h"

#include <cstdint>
#include <vector>

namespace sim {

// Ray masks: which rays a triangle stops.
constexpr std::uint8_t kSeenByCamera = 1;
constexpr std::uint8_t kCastsShadows = 2;

struct RenderInstance {
  INode* node = nullptr;
  Mtl* mtl = nullptr;       // null: a plain surface in the wire colour
  Color wire;
  int objectId = 0;          // the node's G-buffer channel
  bool receivesShadows = true;
  Matrix3 worldToObject;     // for texture coordinates
  Box3 localBox;             // the mesh in object coordinates
};

struct RenderTriangle {
  Point3 p0, e1, e2;         // first corner and the two edges from it (world)
  Point3 n0, n1, n2;         // corner normals (world, unit)
  int instance = 0;
  int face = 0;
  std::uint8_t mask = 0;
};

struct RenderScene {
  std::vector<RenderInstance> instances;
  std::vector<RenderTriangle> triangles;
  Box3 bounds;               // of every triangle, seen or not
};

// Nodes that are hidden, not renderable, fully invisible or neither seen nor casting shadows give
// no triangles; nor do triangles with a corner that is not a finite number or with no area.
// Materials get Update(t) once, as a renderer's do before a frame.
HOST_API RenderScene collectRenderScene(TimeValue t);

}  // namespace sim
