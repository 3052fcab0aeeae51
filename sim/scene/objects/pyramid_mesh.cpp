// Pyramid: a width x depth base centred on the pivot, its apex `height` above it. Each side is
// divided in rings that shrink towards the apex, so that the sides share the base's edge vertices.
// Negative sizes mirror it, facing out all the same.
#include "scene/objects/mesh_builder.h"
#include "scene/objects/primitive_meshes.h"

#include <algorithm>
#include <cmath>

namespace sim {

void buildPyramidMesh(Mesh& mesh, float width, float depth, float height, int widthSegs, int depthSegs,
                      int heightSegs) {
  const int ws = std::clamp(widthSegs, 1, 200);
  const int ds = std::clamp(depthSegs, 1, 200);
  const int hs = std::clamp(heightSegs, 1, 200);
  const float size[3] = {width, depth, height};
  width = std::fabs(width);
  depth = std::fabs(depth);
  height = std::fabs(height);
  MeshBuilder b;
  auto gridPoint = [&](int ix, int iy) {
    return Point3(-width / 2 + width * float(ix) / float(ws), -depth / 2 + depth * float(iy) / float(ds), 0.0f);
  };
  for (int iy = 0; iy <= ds; ++iy)
    for (int ix = 0; ix <= ws; ++ix) b.vert(gridPoint(ix, iy));
  auto grid = [&](int ix, int iy) { return iy * (ws + 1) + ix; };
  for (int iy = 0; iy < ds; ++iy)  // the base, facing down
    for (int ix = 0; ix < ws; ++ix) b.quad(grid(ix, iy), grid(ix, iy + 1), grid(ix + 1, iy + 1), grid(ix + 1, iy), 1, 0);

  // The base's edge, counter-clockwise seen from above: front (-y), right, back, left.
  const int perimeter = 2 * (ws + ds);
  auto edgeCell = [&](int p, int& ix, int& iy) {
    p %= perimeter;
    if (p < ws) ix = p, iy = 0;
    else if (p < ws + ds) ix = ws, iy = p - ws;
    else if (p < 2 * ws + ds) ix = ws - (p - ws - ds), iy = ds;
    else ix = 0, iy = ds - (p - 2 * ws - ds);
  };
  auto sideGroup = [&](int p) -> DWORD {
    p %= perimeter;
    return p < ws ? 2 : p < ws + ds ? 4 : p < 2 * ws + ds ? 8 : 16;
  };
  // rings[k][p]: ring 0 is the base's edge, rings 1..hs-1 above it; the apex closes the last.
  std::vector<std::vector<int>> rings(static_cast<size_t>(hs));
  for (int p = 0; p < perimeter; ++p) {
    int ix, iy;
    edgeCell(p, ix, iy);
    rings[0].push_back(grid(ix, iy));
  }
  for (int k = 1; k < hs; ++k) {
    float shrink = 1.0f - float(k) / float(hs);
    for (int p = 0; p < perimeter; ++p) {
      int ix, iy;
      edgeCell(p, ix, iy);
      Point3 q = gridPoint(ix, iy) * shrink;
      rings[static_cast<size_t>(k)].push_back(b.vert(Point3(q.x, q.y, height * float(k) / float(hs))));
    }
  }
  const int apex = b.vert(Point3(0.0f, 0.0f, height));
  for (int k = 0; k < hs; ++k) {
    const std::vector<int>& low = rings[static_cast<size_t>(k)];
    for (int p = 0; p < perimeter; ++p) {
      int a = low[static_cast<size_t>(p)], c = low[static_cast<size_t>((p + 1) % perimeter)];
      if (k + 1 == hs) {
        b.tri(a, c, apex, sideGroup(p), 0);
      } else {
        const std::vector<int>& high = rings[static_cast<size_t>(k + 1)];
        b.quad(a, c, high[static_cast<size_t>((p + 1) % perimeter)], high[static_cast<size_t>(p)], sideGroup(p), 0);
      }
    }
  }
  for (int axis = 0; axis < 3; ++axis)
    if (size[axis] < 0.0f) b.mirror(axis);
  b.finish(mesh);
}

}  // namespace sim
