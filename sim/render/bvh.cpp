#include "render/bvh.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

// Beyond this depth every node is a leaf, so the traversal stack below can never overflow.
constexpr int kMaxDepth = 48;
constexpr int kBins = 16;
constexpr std::uint32_t kLeafSize = 4;

struct Bounds {
  float lo[3] = {1e30f, 1e30f, 1e30f};
  float hi[3] = {-1e30f, -1e30f, -1e30f};
  void grow(const float* p) {
    for (int a = 0; a < 3; ++a) {
      lo[a] = std::min(lo[a], p[a]);
      hi[a] = std::max(hi[a], p[a]);
    }
  }
  void grow(const Bounds& b) {
    grow(b.lo);
    grow(b.hi);
  }
  float area() const {
    float d[3];
    for (int a = 0; a < 3; ++a) d[a] = std::max(0.0f, hi[a] - lo[a]);
    return d[0] * d[1] + d[1] * d[2] + d[2] * d[0];
  }
};

}  // namespace

Bvh::Bvh(const std::vector<RenderTriangle>& triangles) {
  std::vector<std::uint32_t> order(triangles.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = std::uint32_t(i);

  // Per-triangle boxes and centroids, for the build only.
  std::vector<Bounds> boxes(triangles.size());
  std::vector<Point3> centre(triangles.size());
  for (size_t i = 0; i < triangles.size(); ++i) {
    const RenderTriangle& t = triangles[i];
    Point3 p[3] = {t.p0, t.p0 + t.e1, t.p0 + t.e2};
    for (const Point3& q : p) boxes[i].grow(&q.x);
    centre[i] = (p[0] + p[1] + p[2]) / 3.0f;
  }

  struct Task {
    std::uint32_t node, begin, end;
    int depth;
  };
  nodes_.reserve(triangles.size() * 2 + 1);
  nodes_.push_back(Node{});
  std::vector<Task> tasks{{0, 0, std::uint32_t(order.size()), 1}};
  while (!tasks.empty()) {
    Task task = tasks.back();
    tasks.pop_back();
    depth_ = std::max(depth_, task.depth);
    Bounds box, centres;
    for (std::uint32_t i = task.begin; i < task.end; ++i) {
      box.grow(boxes[order[i]]);
      centres.grow(&centre[order[i]].x);
    }
    Node& node = nodes_[task.node];
    std::copy(box.lo, box.lo + 3, node.lo);
    std::copy(box.hi, box.hi + 3, node.hi);
    node.first = task.begin;
    node.count = task.end - task.begin;
    const std::uint32_t n = node.count;
    if (n <= kLeafSize / 2 || task.depth >= kMaxDepth) continue;

    // The cheapest split between bins along any axis, by surface area times triangle count.
    int bestAxis = -1, bestBin = 0;
    float bestCost = box.area() * float(n);
    for (int a = 0; a < 3; ++a) {
      float extent = centres.hi[a] - centres.lo[a];
      if (!(extent > 0.0f)) continue;
      Bounds bin[kBins];
      std::uint32_t count[kBins] = {};
      float scale = kBins / extent;
      for (std::uint32_t i = task.begin; i < task.end; ++i) {
        int b = std::min(kBins - 1, int((centre[order[i]][a] - centres.lo[a]) * scale));
        ++count[b];
        bin[b].grow(boxes[order[i]]);
      }
      float rightArea[kBins];
      std::uint32_t rightCount[kBins];
      Bounds acc;
      std::uint32_t c = 0;
      for (int b = kBins - 1; b > 0; --b) {
        acc.grow(bin[b]);
        c += count[b];
        rightArea[b] = acc.area();
        rightCount[b] = c;
      }
      acc = Bounds();
      c = 0;
      for (int b = 0; b < kBins - 1; ++b) {
        acc.grow(bin[b]);
        c += count[b];
        if (c == 0 || rightCount[b + 1] == 0) continue;
        float cost = acc.area() * float(c) + rightArea[b + 1] * float(rightCount[b + 1]);
        if (cost < bestCost) {
          bestCost = cost;
          bestAxis = a;
          bestBin = b;
        }
      }
    }
    if (bestAxis < 0) {
      if (n <= kLeafSize * 4) continue;
      // No split pays off by area, but the leaf is too large: halve it along the widest axis.
      int a = 0;
      for (int k = 1; k < 3; ++k)
        if (box.hi[k] - box.lo[k] > box.hi[a] - box.lo[a]) a = k;
      std::uint32_t mid = task.begin + n / 2;
      std::nth_element(order.begin() + task.begin, order.begin() + mid, order.begin() + task.end,
                       [&](std::uint32_t x, std::uint32_t y) { return centre[x][a] < centre[y][a]; });
      node.first = std::uint32_t(nodes_.size());
      node.count = 0;
      tasks.push_back({node.first, task.begin, mid, task.depth + 1});
      tasks.push_back({node.first + 1, mid, task.end, task.depth + 1});
      nodes_.push_back(Node{});
      nodes_.push_back(Node{});
      continue;
    }
    float extent = centres.hi[bestAxis] - centres.lo[bestAxis];
    float scale = kBins / extent;
    auto* mid = std::partition(order.data() + task.begin, order.data() + task.end, [&](std::uint32_t i) {
      return std::min(kBins - 1, int((centre[i][bestAxis] - centres.lo[bestAxis]) * scale)) <= bestBin;
    });
    std::uint32_t split = std::uint32_t(mid - order.data());
    if (split == task.begin || split == task.end) continue;
    std::uint32_t left = std::uint32_t(nodes_.size());
    node.first = left;
    node.count = 0;
    nodes_.push_back(Node{});
    nodes_.push_back(Node{});
    tasks.push_back({left, task.begin, split, task.depth + 1});
    tasks.push_back({left + 1, split, task.end, task.depth + 1});
  }

  packed_.resize(order.size());
  for (size_t i = 0; i < order.size(); ++i) {
    const RenderTriangle& t = triangles[order[i]];
    Packed& p = packed_[i];
    for (int a = 0; a < 3; ++a) {
      p.p0[a] = t.p0[a];
      p.e1[a] = t.e1[a];
      p.e2[a] = t.e2[a];
    }
    p.index = order[i];
    p.mask = t.mask;
  }
}

template <bool AnyHit>
Hit Bvh::trace(const Ray& ray, float tMin, float tMax, std::uint8_t mask) const {
  Hit hit;
  ++rays_;
  if (packed_.empty()) return hit;
  const float o[3] = {ray.origin.x, ray.origin.y, ray.origin.z};
  const float d[3] = {ray.dir.x, ray.dir.y, ray.dir.z};
  float inv[3];
  for (int a = 0; a < 3; ++a) inv[a] = 1.0f / (d[a] != 0.0f ? d[a] : std::copysign(1e-30f, d[a]));
  float best = tMax;

  // Entry distance of a box, or +inf when the ray misses it within (tMin, best).
  auto enter = [&](const Node& n) {
    float t0 = tMin, t1 = best;
    for (int a = 0; a < 3; ++a) {
      float near = (n.lo[a] - o[a]) * inv[a], far = (n.hi[a] - o[a]) * inv[a];
      if (near > far) std::swap(near, far);
      t0 = near > t0 ? near : t0;
      t1 = far < t1 ? far : t1;
    }
    return t0 <= t1 ? t0 : INFINITY;
  };

  struct Entry {
    std::uint32_t node;
    float t;
  };
  Entry stack[kMaxDepth + 2];
  int sp = 0;
  if (enter(nodes_[0]) == INFINITY) return hit;
  std::uint32_t current = 0;
  for (;;) {
    const Node& n = nodes_[current];
    if (n.count > 0) {
      for (std::uint32_t i = n.first; i < n.first + n.count; ++i) {
        const Packed& p = packed_[i];
        if (!(p.mask & mask)) continue;
        float pv[3] = {d[1] * p.e2[2] - d[2] * p.e2[1], d[2] * p.e2[0] - d[0] * p.e2[2], d[0] * p.e2[1] - d[1] * p.e2[0]};
        float det = p.e1[0] * pv[0] + p.e1[1] * pv[1] + p.e1[2] * pv[2];
        if (det == 0.0f) continue;
        float invDet = 1.0f / det;
        float tv[3] = {o[0] - p.p0[0], o[1] - p.p0[1], o[2] - p.p0[2]};
        float u = (tv[0] * pv[0] + tv[1] * pv[1] + tv[2] * pv[2]) * invDet;
        if (u < 0.0f || u > 1.0f) continue;
        float qv[3] = {tv[1] * p.e1[2] - tv[2] * p.e1[1], tv[2] * p.e1[0] - tv[0] * p.e1[2], tv[0] * p.e1[1] - tv[1] * p.e1[0]};
        float v = (d[0] * qv[0] + d[1] * qv[1] + d[2] * qv[2]) * invDet;
        if (v < 0.0f || u + v > 1.0f) continue;
        float t = (p.e2[0] * qv[0] + p.e2[1] * qv[1] + p.e2[2] * qv[2]) * invDet;
        if (!(t > tMin && t < best)) continue;
        best = t;
        hit.triangle = int(p.index);
        hit.t = t;
        hit.u = u;
        hit.v = v;
        if (AnyHit) return hit;
      }
    } else {
      std::uint32_t a = n.first, b = n.first + 1;
      float ta = enter(nodes_[a]), tb = enter(nodes_[b]);
      if (tb < ta) {
        std::swap(a, b);
        std::swap(ta, tb);
      }
      if (ta != INFINITY) {
        if (tb != INFINITY) stack[sp++] = {b, tb};
        current = a;
        continue;
      }
    }
    // Pop the next box that may still hold something nearer than the best hit.
    for (;;) {
      if (sp == 0) return hit;
      Entry e = stack[--sp];
      if (e.t < best) {
        current = e.node;
        break;
      }
    }
  }
}

Hit Bvh::nearest(const Ray& ray, float tMin, float tMax, std::uint8_t mask) const {
  return trace<false>(ray, tMin, tMax, mask);
}

bool Bvh::blocked(const Ray& ray, float tMin, float tMax, std::uint8_t mask) const {
  return trace<true>(ray, tMin, tMax, mask).triangle >= 0;
}

}  // namespace sim
