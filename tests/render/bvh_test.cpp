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
