#include "scene/objects/mesh_builder.h"

#include <cmath>

namespace sim {
namespace {

constexpr float kTwoPi = 6.28318530717959f;

struct Ring {
  int first;
  bool point;
  int at(int j, int sides) const { return point ? first : first + (j % sides); }
};

// Faces between two rings, `from` then `to` along the profile, going round counter-clockwise.
void band(MeshBuilder& b, const Ring& from, const Ring& to, int sides, DWORD sm, MtlID mat) {
  if (from.point && to.point) return;
  for (int j = 0; j < sides; ++j) {
    int a = from.at(j, sides), c = to.at(j + 1, sides), d = to.at(j, sides);
    int bb = from.at(j + 1, sides);
    if (from.point) b.tri(a, c, d, sm, mat);
    else if (to.point) b.tri(a, bb, c, sm, mat);
    else b.quad(a, bb, c, d, sm, mat);
  }
}

}  // namespace

void addLathe(MeshBuilder& b, const std::vector<LathePoint>& profile, int sides, bool closed) {
  std::vector<Ring> rings;
  for (const LathePoint& p : profile) {
    if (p.r <= 0.0f) {
      rings.push_back({b.vert(Point3(0.0f, 0.0f, p.z)), true});
      continue;
    }
    rings.push_back({b.vertCount(), false});
    for (int j = 0; j < sides; ++j) {
      float phi = kTwoPi * float(j) / float(sides);
      b.vert(Point3(p.r * std::cos(phi), p.r * std::sin(phi), p.z));
    }
  }
  const size_t n = rings.size();
  for (size_t i = 0; i + 1 < n; ++i) band(b, rings[i], rings[i + 1], sides, profile[i].smGroup, profile[i].mat);
  if (closed && n > 2) band(b, rings[n - 1], rings[0], sides, profile[n - 1].smGroup, profile[n - 1].mat);
}

void addSweep(MeshBuilder& b, const std::vector<Point3>& path, const std::vector<float>& radii, int sides,
              DWORD smGroup, MtlID mat) {
  const size_t n = std::min(path.size(), radii.size());
  if (n < 2) return;
  const Point3 up(0.0f, 1.0f, 0.0f);
  std::vector<Ring> rings;
  for (size_t i = 0; i < n; ++i) {
    Point3 t = i + 1 < n ? path[i + 1] - path[i] : path[i] - path[i - 1];
    if (i > 0 && i + 1 < n) t = path[i + 1] - path[i - 1];
    Point3 normal = Normalize(CrossProd(up, t));
    rings.push_back({b.vertCount(), false});
    for (int j = 0; j < sides; ++j) {
      float phi = kTwoPi * float(j) / float(sides);
      b.vert(path[i] + (normal * std::cos(phi) + up * std::sin(phi)) * radii[i]);
    }
  }
  for (size_t i = 0; i + 1 < n; ++i) band(b, rings[i], rings[i + 1], sides, smGroup, mat);
}

}  // namespace sim
