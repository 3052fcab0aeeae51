// A bounding-volume hierarchy over a render scene's triangles: built once per frame with binned
// surface-area splits, then asked for the nearest hit of a ray or whether anything blocks a segment.
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
  // Keeps a pointer to `triangles`, which must outlive the hierarchy and not change.
  explicit Bvh(const std::vector<RenderTriangle>& triangles);

  // The nearest hit in (tMin, tMax) among triangles whose mask shares a bit with `mask`.
  Hit nearest(const Ray& ray, float tMin, float tMax, std::uint8_t mask) const;
  // Whether such a triangle lies on the ray within (tMin, tMax).
  bool blocked(const Ray& ray, float tMin, float tMax, std::uint8_t mask) const;

  // Rays asked about so far (nearest and blocked alike).
  std::int64_t raysTraced() const { return rays_; }
  int depth() const { return depth_; }
  size_t nodeCount() const { return nodes_.size(); }

 private:
  struct Node {
    float lo[3], hi[3];
    std::uint32_t first;  // inner node: index of the left child (the right one follows it)
    std::uint32_t count;  // 0 for an inner node
  };
  // Packed for the intersection loop, in leaf order.
  struct Packed {
    float p0[3], e1[3], e2[3];
    std::uint32_t index;
    std::uint8_t mask;
  };
  template <bool AnyHit>
  Hit trace(const Ray& ray, float tMin, float tMax, std::uint8_t mask) const;

  std::vector<Node> nodes_;
  std::vector<Packed> packed_;
  int depth_ = 0;
  mutable std::int64_t rays_ = 0;
};

}  // namespace sim
