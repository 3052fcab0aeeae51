// The picks come out as if each scanned every candidate for the nearest one not yet excluded, but
// in one pass: a bounded max-heap keeps the best `wanted` eligible vertices by (distance, index),
// so a thousand picks over a million vertices cost one scan, not a billion comparisons.
#include "sphere_picks.h"

#include <algorithm>

namespace {

bool nearerFirst(const SpherePick& a, const SpherePick& b) {
  return a.distance < b.distance || (a.distance == b.distance && a.index < b.index);
}

}  // namespace

std::vector<SpherePick> pickVerticesInSphere(const Point3* verts, int numVerts, const Matrix3& tm,
                                             const Point3& centre, float radius, int wanted,
                                             const std::vector<int>& excluded) {
  const float r2 = radius * radius;
  std::vector<unsigned char> isExcluded(static_cast<size_t>(numVerts) + 1, 0);
  for (int i : excluded)
    if (i >= 1 && i <= numVerts) isExcluded[static_cast<size_t>(i)] = 1;

  const size_t keep = wanted > 0 ? static_cast<size_t>(std::min(wanted, numVerts)) : 0;
  std::vector<SpherePick> best;  // a max-heap by nearerFirst: the worst kept pick on top
  best.reserve(std::min<size_t>(keep, 1 << 20));
  int candidates = 0;
  const Point3 r0 = tm.GetRow(0), r1 = tm.GetRow(1), r2row = tm.GetRow(2), tr = tm.GetTrans();
  for (int i = 0; i < numVerts; ++i) {
    const Point3& v = verts[i];
    // The same arithmetic as the host's point-times-matrix, so distances agree to the bit.
    Point3 p(v.x * r0.x + v.y * r1.x + v.z * r2row.x + tr.x, v.x * r0.y + v.y * r1.y + v.z * r2row.y + tr.y,
             v.x * r0.z + v.y * r1.z + v.z * r2row.z + tr.z);
    Point3 d = centre - p;
    float dist = d.x * d.x + d.y * d.y + d.z * d.z;
    if (!(dist <= r2)) continue;
    ++candidates;
    // A pick only takes a distance below its starting best, and never an excluded vertex.
    if (keep == 0 || !(dist < kNoPickDistance) || isExcluded[static_cast<size_t>(i) + 1]) continue;
    SpherePick pick{i + 1, dist};
    if (best.size() < keep) {
      best.push_back(pick);
      std::push_heap(best.begin(), best.end(), nearerFirst);
    } else if (nearerFirst(pick, best.front())) {
      std::pop_heap(best.begin(), best.end(), nearerFirst);
      best.back() = pick;
      std::push_heap(best.begin(), best.end(), nearerFirst);
    }
  }
  std::sort_heap(best.begin(), best.end(), nearerFirst);
  size_t picks = std::min(keep, static_cast<size_t>(candidates));
  best.resize(std::min(best.size(), picks));
  best.resize(picks, SpherePick{0, kNoPickDistance});
  return best;
}
