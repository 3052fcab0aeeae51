#include "render/bvh.h"

#include "render/bvh_lanes.h"

namespace sim {

namespace {

using lanes::F4;
using lanes::M4;

// The box and triangle tests are most of a ray's time: keep them in the traversal loop.
#if defined(__GNUC__)
#define QZM_HOT inline __attribute__((always_inline))
#else
#define QZM_HOT inline
#endif

// What a ray brings to every box and triangle test, spread over the four lanes once.
struct RayLanes {
  F4 o[3], d[3], inv[3];
  bool negative[3];  // whether the ray runs down an axis: it then enters a box at its high side
  float dir[3];
};

RayLanes prepare(const Ray& ray) {
  RayLanes r;
  const float o[3] = {ray.origin.x, ray.origin.y, ray.origin.z};
  const float d[3] = {ray.dir.x, ray.dir.y, ray.dir.z};
  for (int a = 0; a < 3; ++a) {
    // A zero component gives an infinite inverse: a ray beside a slab it runs along never enters
    // it, and one lying in a face of the slab gets 0 * inf = NaN there, which enterChildren passes
    // over, so the ray counts as inside that slab.
    float inv = 1.0f / d[a];
    r.o[a] = lanes::splat(o[a]);
    r.d[a] = lanes::splat(d[a]);
    r.inv[a] = lanes::splat(inv);
    r.negative[a] = inv < 0.0f;
    r.dir[a] = d[a];
  }
  return r;
}

// The four children's entry distances into `t`, and a bit for each child entered within (tMin, best].
QZM_HOT int enterChildren(const Bvh::Node& n, const RayLanes& r, F4 tMin, F4 best, float* t) {
  F4 t0 = tMin, t1 = best;
  // max(x, y) and min(x, y) give y when x is NaN.
  for (int a = 0; a < 3; ++a) {
    const float* nearSide = r.negative[a] ? n.hi[a] : n.lo[a];
    const float* farSide = r.negative[a] ? n.lo[a] : n.hi[a];
    t0 = lanes::max((lanes::load(nearSide) - r.o[a]) * r.inv[a], t0);
    t1 = lanes::min((lanes::load(farSide) - r.o[a]) * r.inv[a], t1);
  }
  lanes::store(t, t0);
  return lanes::bits(t0 <= t1);
}

// Moeller-Trumbore on four triangles: a bit for each hit within (tMin, best], its distance and
// barycentric weights in t, u and v.
QZM_HOT int hitGroup(const Bvh::TriangleGroup& g, const RayLanes& r, F4 tMin, F4 best, std::uint32_t mask, float* t, float* u,
             float* v) {
  const F4 e1x = lanes::load(g.e1[0]), e1y = lanes::load(g.e1[1]), e1z = lanes::load(g.e1[2]);
  const F4 e2x = lanes::load(g.e2[0]), e2y = lanes::load(g.e2[1]), e2z = lanes::load(g.e2[2]);
  const F4 &dx = r.d[0], &dy = r.d[1], &dz = r.d[2];
  F4 px = dy * e2z - dz * e2y, py = dz * e2x - dx * e2z, pz = dx * e2y - dy * e2x;
  F4 det = e1x * px + e1y * py + e1z * pz;
  F4 invDet = lanes::splat(1.0f) / det;
  F4 sx = r.o[0] - lanes::load(g.p0[0]), sy = r.o[1] - lanes::load(g.p0[1]), sz = r.o[2] - lanes::load(g.p0[2]);
  F4 uu = (sx * px + sy * py + sz * pz) * invDet;
  F4 qx = sy * e1z - sz * e1y, qy = sz * e1x - sx * e1z, qz = sx * e1y - sy * e1x;
  F4 vv = (dx * qx + dy * qy + dz * qz) * invDet;
  F4 tt = (e2x * qx + e2y * qy + e2z * qz) * invDet;
  const F4 zero = lanes::splat(0.0f), one = lanes::splat(1.0f);
  M4 ok = lanes::sharesBits(g.mask, mask) & (det != zero) & (uu >= zero) & (vv >= zero) & (uu + vv <= one) &
          (tt > tMin) & (tt <= best);
  int bits = lanes::bits(ok);
  if (bits) {
    lanes::store(t, tt);
    lanes::store(u, uu);
    lanes::store(v, vv);
  }
  return bits;
}

}  // namespace

template <bool AnyHit>
Hit Bvh::trace(const Ray& ray, float tMin, float tMax, std::uint8_t mask) const {
  Hit hit;
  ++rays_;
  if (nodes_.empty() || !(tMin < tMax)) return hit;
  const RayLanes r = prepare(ray);
  const F4 tMin4 = lanes::splat(tMin);
  float best = tMax;

  struct Entry {
    std::uint32_t ref;
    float t;
  };
  // Each node visited leaves at most three children behind for later.
  Entry stack[3 * kMaxDepth + 4];
  int sp = 0;
  std::uint32_t ref = 0;
  for (;;) {
    if (!(ref & kLeaf)) {
      const Node& n = nodes_[ref];
      float t[4];
      int bits = enterChildren(n, r, tMin4, lanes::splat(best), t);
      if (bits) {
        // Nearest child first; the others wait on the stack, the farthest deepest.
        Entry near[4];
        int k = 0;
        for (int i = 0; i < 4; ++i) {
          if (!(bits & (1 << i))) continue;
          Entry e{n.child[i], t[i]};
          int j = k++;
          for (; j > 0 && near[j - 1].t > e.t; --j) near[j] = near[j - 1];
          near[j] = e;
        }
        for (int i = k - 1; i > 0; --i) stack[sp++] = near[i];
        ref = near[0].ref;
        continue;
      }
    } else {
      const std::uint32_t first = (ref & ~kLeaf) >> 2, last = first + (ref & 3u);
      for (std::uint32_t gi = first; gi <= last; ++gi) {
        const TriangleGroup& g = groups_[gi];
        float t[4], u[4], v[4];
        int bits = hitGroup(g, r, tMin4, lanes::splat(best), mask, t, u, v);
        for (int i = 0; bits; ++i, bits >>= 1) {
          if (!(bits & 1)) continue;
          const int index = int(g.index[i]);
          // Hits at equal distance: the lowest index, whichever leaf came first.
          if (t[i] < best || (t[i] == best && hit.triangle >= 0 && index < hit.triangle)) {
            best = t[i];
            hit.triangle = index;
            hit.t = t[i];
            hit.u = u[i];
            hit.v = v[i];
            if (AnyHit) return hit;
          }
        }
      }
    }
    // The next waiting child that may still hold something as near as the best hit.
    for (;;) {
      if (sp == 0) return hit;
      const Entry& e = stack[--sp];
      if (e.t <= best) {
        ref = e.ref;
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
