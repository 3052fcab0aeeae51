// Building the hierarchy: a binary tree by binned surface-area splits, its leaves packed into groups
// of four triangles, then collapsed into four-way nodes (each node takes the largest boxes below it
// until it has four children).
#include "render/bvh.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

// Up to this depth splits are chosen by area; below it a node is halved by count, which takes at
// most 32 more levels to reach leaves, however many triangles there are.
constexpr int kSahDepth = Bvh::kMaxDepth - 32;
constexpr int kBins = 16;
constexpr std::uint32_t kMaxLeaf = 16;  // four groups: what a child reference can name
// The cost of stepping through a node, against that of testing one group of four triangles.
constexpr float kNodeCost = 1.0f;
constexpr float kGroupCost = 1.0f;

std::uint32_t groupsOf(std::uint32_t n) { return (n + 3) / 4; }

struct Bounds {
  float lo[3] = {INFINITY, INFINITY, INFINITY};
  float hi[3] = {-INFINITY, -INFINITY, -INFINITY};
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

struct BinaryNode {
  Bounds box;
  std::uint32_t first = 0;  // inner: the left child (the right one follows); leaf: first of `order`
  std::uint32_t count = 0;  // 0 for an inner node
};

struct BinaryTree {
  std::vector<BinaryNode> nodes;
  std::vector<std::uint32_t> order;  // triangle indices, each leaf's a contiguous run
};

// Which of kBins bins a centroid coordinate falls in; NaN falls in the first.
int binOf(float c, float lo, float scale) {
  float f = (c - lo) * scale;
  return f > 0.0f ? (f < float(kBins) ? int(f) : kBins - 1) : 0;
}

BinaryTree buildBinary(const std::vector<RenderTriangle>& triangles) {
  BinaryTree tree;
  std::vector<std::uint32_t>& order = tree.order;
  order.resize(triangles.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = std::uint32_t(i);

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
  std::vector<BinaryNode>& nodes = tree.nodes;
  nodes.reserve(triangles.size() / 2 + 1);
  nodes.emplace_back();
  std::vector<Task> tasks{{0, 0, std::uint32_t(order.size()), 1}};
  while (!tasks.empty()) {
    Task task = tasks.back();
    tasks.pop_back();
    Bounds box, centres;
    for (std::uint32_t i = task.begin; i < task.end; ++i) {
      box.grow(boxes[order[i]]);
      centres.grow(&centre[order[i]].x);
    }
    const std::uint32_t n = task.end - task.begin;
    nodes[task.node].box = box;
    nodes[task.node].first = task.begin;
    nodes[task.node].count = n;
    if (n <= 4) continue;  // one group either way

    // The cheapest split between bins along any axis, against keeping a leaf.
    int bestAxis = -1, bestBin = 0;
    const float area = box.area();
    float bestCost = n <= kMaxLeaf ? kGroupCost * area * float(groupsOf(n)) : INFINITY;
    for (int a = 0; a < 3 && task.depth < kSahDepth; ++a) {
      float extent = centres.hi[a] - centres.lo[a];
      if (!(extent > 0.0f) || !std::isfinite(extent)) continue;
      Bounds bin[kBins];
      std::uint32_t count[kBins] = {};
      float scale = kBins / extent;
      for (std::uint32_t i = task.begin; i < task.end; ++i) {
        int b = binOf(centre[order[i]][a], centres.lo[a], scale);
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
        float cost = kNodeCost * area +
                     kGroupCost * (acc.area() * float(groupsOf(c)) + rightArea[b + 1] * float(groupsOf(rightCount[b + 1])));
        if (cost < bestCost) {
          bestCost = cost;
          bestAxis = a;
          bestBin = b;
        }
      }
    }
    std::uint32_t split = task.begin;
    if (bestAxis >= 0) {
      float scale = kBins / (centres.hi[bestAxis] - centres.lo[bestAxis]);
      const float lo = centres.lo[bestAxis];
      auto* mid = std::partition(order.data() + task.begin, order.data() + task.end,
                                 [&](std::uint32_t i) { return binOf(centre[i][bestAxis], lo, scale) <= bestBin; });
      split = std::uint32_t(mid - order.data());
    } else if (n <= kMaxLeaf) {
      continue;  // a leaf costs least, or the tree is too deep for more splits by area
    }
    if (split == task.begin || split == task.end) {
      // No split by area (or too deep for one), but the leaf would be too large: halve the run
      // along the widest axis of its centroids.
      int a = 0;
      for (int k = 1; k < 3; ++k)
        if (centres.hi[k] - centres.lo[k] > centres.hi[a] - centres.lo[a]) a = k;
      split = task.begin + n / 2;
      std::nth_element(order.begin() + task.begin, order.begin() + split, order.begin() + task.end,
                       [&](std::uint32_t x, std::uint32_t y) { return centre[x][a] < centre[y][a]; });
    }
    std::uint32_t left = std::uint32_t(nodes.size());
    nodes[task.node].first = left;
    nodes[task.node].count = 0;
    nodes.emplace_back();
    nodes.emplace_back();
    tasks.push_back({left, task.begin, split, task.depth + 1});
    tasks.push_back({left + 1, split, task.end, task.depth + 1});
  }
  return tree;
}

void setSlot(Bvh::Node& node, int slot, const Bounds& box, std::uint32_t child) {
  for (int a = 0; a < 3; ++a) {
    node.lo[a][slot] = box.lo[a];
    node.hi[a][slot] = box.hi[a];
  }
  node.child[slot] = child;
}

}  // namespace

Bvh::Bvh(const std::vector<RenderTriangle>& triangles) {
  if (triangles.empty()) return;
  BinaryTree tree = buildBinary(triangles);

  // Each leaf's triangles in groups of four, the last one padded with slots that hit nothing.
  std::vector<std::uint32_t> leafRef(tree.nodes.size(), 0);
  for (size_t k = 0; k < tree.nodes.size(); ++k) {
    const BinaryNode& leaf = tree.nodes[k];
    if (leaf.count == 0) continue;
    std::uint32_t firstGroup = std::uint32_t(groups_.size());
    for (std::uint32_t i = 0; i < leaf.count; i += 4) {
      TriangleGroup g{};
      for (std::uint32_t lane = 0; lane < 4 && i + lane < leaf.count; ++lane) {
        std::uint32_t index = tree.order[leaf.first + i + lane];
        const RenderTriangle& t = triangles[index];
        for (int a = 0; a < 3; ++a) {
          g.p0[a][lane] = t.p0[a];
          g.e1[a][lane] = t.e1[a];
          g.e2[a][lane] = t.e2[a];
        }
        g.index[lane] = index;
        g.mask[lane] = t.mask;
      }
      groups_.push_back(g);
    }
    leafRef[k] = kLeaf | (firstGroup << 2) | (groupsOf(leaf.count) - 1);
  }

  // Collapse: a four-way node per binary node that is kept, its children the binary nodes below it
  // found by opening the largest inner one until there are four.
  struct Task {
    std::uint32_t wide, binary;
    int depth;
  };
  nodes_.reserve(tree.nodes.size() / 2 + 1);
  nodes_.emplace_back();
  std::vector<Task> tasks{{0, 0, 1}};
  while (!tasks.empty()) {
    Task task = tasks.back();
    tasks.pop_back();
    depth_ = std::max(depth_, task.depth);
    std::uint32_t kids[4];
    int n = 0;
    const BinaryNode& top = tree.nodes[task.binary];
    if (top.count > 0) {
      kids[n++] = task.binary;  // the whole tree is one leaf
    } else {
      kids[n++] = top.first;
      kids[n++] = top.first + 1;
    }
    while (n < 4) {
      int open = -1;
      float largest = -1.0f;
      for (int i = 0; i < n; ++i) {
        const BinaryNode& b = tree.nodes[kids[i]];
        if (b.count == 0 && b.box.area() > largest) {
          largest = b.box.area();
          open = i;
        }
      }
      if (open < 0) break;
      std::uint32_t inner = kids[open];
      kids[open] = tree.nodes[inner].first;
      kids[n++] = tree.nodes[inner].first + 1;
    }
    Node node;
    for (int slot = 0; slot < 4; ++slot) setSlot(node, slot, Bounds(), kLeaf);
    for (int i = 0; i < n; ++i) {
      const BinaryNode& b = tree.nodes[kids[i]];
      std::uint32_t child = leafRef[kids[i]];
      if (b.count == 0) {
        child = std::uint32_t(nodes_.size());
        nodes_.emplace_back();
        tasks.push_back({child, kids[i], task.depth + 1});
      }
      setSlot(node, i, b.box, child);
    }
    nodes_[task.wide] = node;
  }
}

}  // namespace sim
