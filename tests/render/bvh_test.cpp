// The hierarchy must answer exactly what testing every triangle answers, whatever the layout.
#include "render/bvh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using sim::Bvh;
using sim::RenderTriangle;

RenderTriangle triangle(Point3 a, Point3 b, Point3 c, std::uint8_t mask) {
  RenderTriangle t;
  t.p0 = a;
  t.e1 = b - a;
  t.e2 = c - a;
  t.mask = mask;
  return t;
}

// The nearest hit by testing every triangle (Moller-Trumbore in double precision).
int bruteNearest(const std::vector<RenderTriangle>& tris, const sim::Ray& r, std::uint8_t mask, double& best) {
  int found = -1;
  best = 1e30;
  for (size_t i = 0; i < tris.size(); ++i) {
    const RenderTriangle& t = tris[i];
    if (!(t.mask & mask)) continue;
    Point3 p = CrossProd(r.dir, t.e2);
    double det = DotProd(t.e1, p);
    if (det == 0.0) continue;
    Point3 s = r.origin - t.p0;
    double u = DotProd(s, p) / det;
    Point3 q = CrossProd(s, t.e1);
    double v = DotProd(r.dir, q) / det;
    double d = DotProd(t.e2, q) / det;
    if (u < 0 || v < 0 || u + v > 1 || d <= 0 || d >= best) continue;
    best = d;
    found = int(i);
  }
  return found;
}

TEST(Bvh, NearestAndBlockedAgreeWithTestingEveryTriangle) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> pos(-50.0f, 50.0f), size(-4.0f, 4.0f);
  std::vector<RenderTriangle> tris;
  for (int i = 0; i < 3000; ++i) {
    Point3 a(pos(rng), pos(rng), pos(rng));
    tris.push_back(triangle(a, a + Point3(size(rng), size(rng), size(rng)), a + Point3(size(rng), size(rng), size(rng)),
                            std::uint8_t(i % 3 == 0 ? sim::kCastsShadows : sim::kSeenByCamera | sim::kCastsShadows)));
  }
  // A cluster of identical triangles: centroids that cannot be split must still give a valid tree.
  for (int i = 0; i < 200; ++i) tris.push_back(triangle(Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0), sim::kSeenByCamera));
  Bvh bvh(tris);
  EXPECT_LE(bvh.depth(), 48);

  int hits = 0;
  for (int i = 0; i < 2000; ++i) {
    sim::Ray r{Point3(pos(rng), pos(rng), pos(rng)) * 1.5f, Point3(size(rng), size(rng), size(rng))};
    for (std::uint8_t mask : {sim::kSeenByCamera, sim::kCastsShadows}) {
      double best;
      int expected = bruteNearest(tris, r, mask, best);
      sim::Hit hit = bvh.nearest(r, 0.0f, 1e30f, mask);
      if (expected < 0) {
        EXPECT_EQ(hit.triangle, -1);
        EXPECT_FALSE(bvh.blocked(r, 0.0f, 1e30f, mask));
        continue;
      }
      ++hits;
      ASSERT_GE(hit.triangle, 0);
      EXPECT_NEAR(hit.t, best, 1e-3 * (1.0 + best));
      EXPECT_TRUE(bvh.blocked(r, 0.0f, 1e30f, mask));
      EXPECT_FALSE(bvh.blocked(r, 0.0f, float(best) * 0.999f, mask));
    }
  }
  EXPECT_GT(hits, 200);
}

// The nearest hit by testing every triangle in index order, with the hierarchy's own float
// arithmetic: the hierarchy must give the same triangle and the same distance to the last bit.
sim::Hit exactNearest(const std::vector<RenderTriangle>& tris, const sim::Ray& r, float tMin, float tMax,
                      std::uint8_t mask) {
  sim::Hit hit;
  float best = tMax;
  const Point3 d = r.dir;
  for (size_t i = 0; i < tris.size(); ++i) {
    const RenderTriangle& t = tris[i];
    if (!(t.mask & mask)) continue;
    float px = d.y * t.e2.z - d.z * t.e2.y, py = d.z * t.e2.x - d.x * t.e2.z, pz = d.x * t.e2.y - d.y * t.e2.x;
    float det = t.e1.x * px + t.e1.y * py + t.e1.z * pz;
    float invDet = 1.0f / det;
    float sx = r.origin.x - t.p0.x, sy = r.origin.y - t.p0.y, sz = r.origin.z - t.p0.z;
    float u = (sx * px + sy * py + sz * pz) * invDet;
    float qx = sy * t.e1.z - sz * t.e1.y, qy = sz * t.e1.x - sx * t.e1.z, qz = sx * t.e1.y - sy * t.e1.x;
    float v = (d.x * qx + d.y * qy + d.z * qz) * invDet;
    float dist = (t.e2.x * qx + t.e2.y * qy + t.e2.z * qz) * invDet;
    if (det != 0.0f && u >= 0.0f && v >= 0.0f && u + v <= 1.0f && dist > tMin && dist < best) {
      best = dist;
      hit.triangle = int(i);
      hit.t = dist;
    }
  }
  return hit;
}

void expectSameAsEveryTriangle(const std::vector<RenderTriangle>& tris, const Bvh& bvh, const sim::Ray& r, float tMin,
                               float tMax, std::uint8_t mask) {
  sim::Hit want = exactNearest(tris, r, tMin, tMax, mask);
  sim::Hit got = bvh.nearest(r, tMin, tMax, mask);
  ASSERT_EQ(got.triangle, want.triangle) << "ray from " << r.origin.x << " " << r.origin.y << " " << r.origin.z
                                         << " along " << r.dir.x << " " << r.dir.y << " " << r.dir.z;
  EXPECT_EQ(bvh.blocked(r, tMin, tMax, mask), want.triangle >= 0);
  if (want.triangle < 0) return;
  EXPECT_EQ(got.t, want.t);
  // The range is open: a limit exactly at the hit leaves it out.
  EXPECT_EQ(bvh.nearest(r, tMin, want.t, mask).triangle == want.triangle, false);
  EXPECT_EQ(bvh.nearest(r, want.t, tMax, mask).triangle == want.triangle, false);
}

// A unit grid of quads in the plane z = 0 (two triangles each, sharing edges and corners), a
// second copy that only casts shadows, and degenerate triangles: no area, a line, a point.
std::vector<RenderTriangle> gridWithDegenerates(int side) {
  std::vector<RenderTriangle> tris;
  for (std::uint8_t mask : {sim::kSeenByCamera, sim::kCastsShadows})
    for (int i = 0; i < side; ++i)
      for (int j = 0; j < side; ++j) {
        Point3 a(float(i), float(j), 0.0f), b(float(i + 1), float(j), 0.0f), c(float(i + 1), float(j + 1), 0.0f),
            d(float(i), float(j + 1), 0.0f);
        tris.push_back(triangle(a, b, c, mask));
        tris.push_back(triangle(a, c, d, mask));
      }
  const std::uint8_t all = sim::kSeenByCamera | sim::kCastsShadows;
  for (int i = 0; i < side; ++i) {
    Point3 p(float(i) + 0.5f, 0.5f, 1.0f);
    tris.push_back(triangle(p, p + Point3(1, 0, 0), p + Point3(2, 0, 0), all));  // a line
    tris.push_back(triangle(p, p, p, all));                                     // a point
    tris.push_back(triangle(p, p + Point3(0, 1, 0), p + Point3(0, 1, 0), all));  // two corners at one place
  }
  return tris;
}

TEST(Bvh, HitsOnSharedEdgesCornersAndFacesSeenEdgeOnAreExactlyThoseOfEveryTriangle) {
  const int side = 24;
  std::vector<RenderTriangle> tris = gridWithDegenerates(side);
  Bvh bvh(tris);
  const float s = float(side);
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> cell(0, side);
  std::uniform_real_distribution<float> any(-1.0f, 1.0f);
  for (int i = 0; i < 600; ++i) {
    // Straight down through grid corners, edge midpoints and cell middles.
    Point3 at(float(cell(rng)) * 0.5f, float(cell(rng)) * 0.5f, 5.0f);
    for (std::uint8_t mask : {sim::kSeenByCamera, sim::kCastsShadows}) {
      expectSameAsEveryTriangle(tris, bvh, sim::Ray{at, Point3(0, 0, -1)}, 0.0f, 1e30f, mask);
      expectSameAsEveryTriangle(tris, bvh, sim::Ray{at, Point3(any(rng), any(rng), -1.0f)}, 0.0f, 1e30f, mask);
    }
    // In the grid's plane and just above it, along the grid lines and across them.
    Point3 edgeOn(-1.0f, float(cell(rng)) * 0.5f, i % 2 ? 0.0f : 1e-6f);
    expectSameAsEveryTriangle(tris, bvh, sim::Ray{edgeOn, Point3(1, 0, 0)}, 0.0f, 1e30f, sim::kSeenByCamera);
    expectSameAsEveryTriangle(tris, bvh, sim::Ray{edgeOn, Point3(1.0f, any(rng), 0.0f)}, 0.0f, 1e30f, sim::kSeenByCamera);
    // From above the degenerate row down onto the grid, and up from below it.
    Point3 row(float(cell(rng)) + 0.5f, 0.5f, 3.0f);
    expectSameAsEveryTriangle(tris, bvh, sim::Ray{row, Point3(0, 0, -1)}, 0.0f, s, sim::kSeenByCamera);
    expectSameAsEveryTriangle(tris, bvh, sim::Ray{Point3(row.x, row.y, -3.0f), Point3(0, 0, 1)}, 0.0f, s,
                              sim::kCastsShadows);
  }
}

TEST(Bvh, ScenesThatSplitBadlyStayWithinTheDepthLimitAndAnswerRight) {
  // Triangles ever farther apart: splits by area peel them off one by one.
  std::vector<RenderTriangle> tris;
  float x = 1.0f;
  for (int i = 0; i < 300; ++i, x *= 1.3f)
    tris.push_back(triangle(Point3(x, 0.0f, 0.0f), Point3(x, 1.0f, 0.0f), Point3(x, 0.0f, 1.0f), sim::kSeenByCamera));
  // Thousands of copies of one triangle: centroids that nothing separates.
  for (int i = 0; i < 5000; ++i)
    tris.push_back(triangle(Point3(0, -1, -1), Point3(0, 1, -1), Point3(0, 0, 1), sim::kCastsShadows));
  Bvh bvh(tris);
  EXPECT_LE(bvh.depth(), int(Bvh::kMaxDepth));  // a copy: the Windows library exports no storage for it
  x = 1.0f;
  for (int i = 0; i < 300; i += 7, x *= std::pow(1.3f, 7.0f))
    expectSameAsEveryTriangle(tris, bvh, sim::Ray{Point3(x * 0.99f, 0.25f, 0.25f), Point3(1, 0, 0)}, 0.0f, 1e30f,
                              sim::kSeenByCamera);
  // Every copy lies at the same distance: the first of them answers.
  sim::Hit hit = bvh.nearest(sim::Ray{Point3(-2, 0, 0), Point3(1, 0, 0)}, 0.0f, 1e30f, sim::kCastsShadows);
  EXPECT_EQ(hit.triangle, 300);
  EXPECT_EQ(hit.t, 2.0f);
}

TEST(Bvh, AnEmptySceneAndRaysAlongAnAxisHitNothingWrongly) {
  std::vector<RenderTriangle> none;
  Bvh empty(none);
  EXPECT_EQ(empty.nearest(sim::Ray{Point3(), Point3(0, 0, 1)}, 0.0f, 1e30f, 0xff).triangle, -1);

  // A ray whose direction has zero components crosses box faces it lies in.
  std::vector<RenderTriangle> wall{triangle(Point3(-1, -1, 5), Point3(1, -1, 5), Point3(0, 1, 5), sim::kSeenByCamera)};
  Bvh bvh(wall);
  sim::Hit hit = bvh.nearest(sim::Ray{Point3(0, 0, 0), Point3(0, 0, 1)}, 0.0f, 1e30f, sim::kSeenByCamera);
  EXPECT_EQ(hit.triangle, 0);
  EXPECT_FLOAT_EQ(hit.t, 5.0f);
  EXPECT_EQ(bvh.nearest(sim::Ray{Point3(0, 0, 0), Point3(0, 0, 1)}, 0.0f, 4.0f, sim::kSeenByCamera).triangle, -1);
  EXPECT_EQ(bvh.nearest(sim::Ray{Point3(0, 0, 0), Point3(0, 0, 1)}, 0.0f, 1e30f, sim::kCastsShadows).triangle, -1);
}

}  // namespace
