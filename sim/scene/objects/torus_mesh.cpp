// Torus: a ring round the z axis through the pivot, `segs` cross sections of `sides` vertices.
#include "scene/objects/mesh_builder.h"
#include "scene/objects/primitive_meshes.h"

#include <algorithm>
#include <cmath>

namespace sim {

void buildTorusMesh(Mesh& mesh, float radius1, float radius2, float rotation, float twist, int segs, int sides,
                    int smooth) {
  segs = std::clamp(segs, 3, 200);
  sides = std::clamp(sides, 3, 200);
  constexpr float kTwoPi = 6.28318530717959f;
  MeshBuilder b;
  for (int i = 0; i < segs; ++i) {
    float phi = kTwoPi * float(i) / float(segs);
    // Twist turns each section a little more, reaching `twist` at the last.
    float turn = rotation + twist * float(i) / float(segs);
    for (int j = 0; j < sides; ++j) {
      float theta = kTwoPi * float(j) / float(sides) + turn;
      float r = radius1 + radius2 * std::cos(theta);
      b.vert(Point3(r * std::cos(phi), r * std::sin(phi), radius2 * std::sin(theta)));
    }
  }
  // Smoothing as the host names it: 0 none, 1 sides (bands round the ring), 2 all, 3 segments.
  auto group = [&](int i, int j) -> DWORD {
    switch (smooth) {
      case 1: return DWORD(1) << (j % 2);
      case 2: return 1;
      case 3: return DWORD(1) << (i % 2);
      default: return 0;
    }
  };
  auto v = [&](int i, int j) { return (i % segs) * sides + (j % sides); };
  for (int i = 0; i < segs; ++i)
    for (int j = 0; j < sides; ++j) b.quad(v(i, j), v(i + 1, j), v(i + 1, j + 1), v(i, j + 1), group(i, j), 0);
  b.finish(mesh);
}

}  // namespace sim
