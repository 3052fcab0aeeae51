// A bounding-volume hierarchy over a render scene's triangles: built once per frame with binned
// surface-area splits, then asked for the nearest hit of a ray or whether anything blocks a segment.
// Four children to a node and four triangles to a group, tested together (bvh_lanes.h). Among hits
// at the same distance the lowest triangle index wins, so the answer does not depend on the tree.
#pragma once

#include "render/render_scene.h"

#include <cstdint>
#include <vector>

namespace sim {

struct Ray {
  Point3 origin;
  Point3 dir;  // need not be unit length; distances are in its units
};

struct Hit {
  int triangle = -1;  // index into the scene's triangles; -1: nothing
  float t = 0.0f;     // origin + dir * t
  float u = 0.0f, v = 0.0f;  // barycentric weights of corners 1 and 2
};

class HOST_API Bvh {
 public:
  // Copies what it needs of `triangles`; hits name them by their index there.
  explicit Bvh(const std::vector<RenderTriangle>& triangles);

  // The nearest hit in (tMin, tMax) among triangles whose mask shares a bit with `mask`.
  Hit nearest(const Ray& ray, float tMin, float tMax, std::uint8_t mask) const;
  // Whether such a triangle lies on the ray within (tMin, tMax).
  bool blocked(const Ray& ray, float tMin, float tMax, std::uint8_t mask) const;

  // Rays asked about so far (nearest and blocked alike).
  std::int64_t raysTraced() const { return rays_; }
  // No leaf lies deeper than this, whatever the triangles: the traversal stack is sized by it.
  static constexpr int kMaxDepth = 72;

  // Levels of four-way nodes from the root to the deepest leaf.
  int depth() const { return depth_; }
  size_t nodeCount() const { return nodes_.size(); }

  // The layout, for the build and the traversal.
  // A child reference: a node's index, or with kLeaf set the first triangle group (shifted left by
  // two) and the number of groups less one in the low two bits.
  static constexpr std::uint32_t kLeaf = 0x80000000u;

  // Four children side by side, axis by axis, so that a ray meets all four boxes at once. A slot
  // without a child has an empty box (lo above hi), which no ray enters.
  struct Node {
    float lo[3][4], hi[3][4];
    std::uint32_t child[4];
  };
  // Up to four triangles of one leaf, laid out like the boxes; a slot without one has mask 0.
  struct TriangleGroup {
    float p0[3][4], e1[3][4], e2[3][4];
    std::uint32_t index[4];
    std::uint32_t mask[4];
  };

 private:
  template <bool AnyHit>
  Hit trace(const Ray& ray, float tMin, float tMax, std::uint8_t mask) const;

  std::vector<Node> nodes_;            // the root is node 0
  std::vector<TriangleGroup> groups_;
  int depth_ = 0;
  mutable std::int64_t rays_ = 0;
};

}  // namespace sim
