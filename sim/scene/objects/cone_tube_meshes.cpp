// Cone and tube: profiles turned around the z axis, standing on the pivot (z from 0 to height); a
// negative height hangs them below it, facing out all the same.
#include "scene/objects/mesh_builder.h"
#include "scene/objects/primitive_meshes.h"

#include <algorithm>
#include <cmath>

namespace sim {

void buildConeMesh(Mesh& mesh, float radius1, float radius2, float height, int heightSegs, int capSegs, int sides,
                   bool smooth) {
  heightSegs = std::clamp(heightSegs, 1, 200);
  capSegs = std::clamp(capSegs, 1, 100);
  sides = std::clamp(sides, 3, 200);
  // Radii below 0 read as 0, as the host's spinners allow no less: that end closes in a point.
  radius1 = std::max(radius1, 0.0f);
  radius2 = std::max(radius2, 0.0f);
  const bool below = height < 0.0f;
  height = std::fabs(height);
  const DWORD side = smooth ? 4 : 0;
  std::vector<LathePoint> profile;
  // Bottom cap from the axis out (facing down), the side up, the top cap back in (facing up); an
  // end of radius 0 is the point the side ends in, without a cap.
  if (radius1 > 0.0f)
    for (int k = 0; k < capSegs; ++k) profile.push_back({radius1 * float(k) / float(capSegs), 0.0f, 1, 1});
  for (int k = 0; k <= heightSegs; ++k) {
    float u = float(k) / float(heightSegs);
    profile.push_back({radius1 + (radius2 - radius1) * u, height * u, side, 2});
  }
  if (radius2 > 0.0f)
    for (int k = capSegs - 1; k >= 0; --k) profile.push_back({radius2 * float(k) / float(capSegs), height, 2, 0});
  // The last side point carries the top cap's group when there is a cap.
  if (radius2 > 0.0f) {
    profile[profile.size() - capSegs - 1].smGroup = 2;
    profile[profile.size() - capSegs - 1].mat = 0;
  }
  MeshBuilder b;
  addLathe(b, profile, sides, false);
  if (below) b.mirror(2);
  b.finish(mesh);
}

void buildTubeMesh(Mesh& mesh, float radius1, float radius2, float height, int heightSegs, int capSegs, int sides,
                   bool smooth) {
  heightSegs = std::clamp(heightSegs, 1, 200);
  capSegs = std::clamp(capSegs, 1, 100);
  sides = std::clamp(sides, 3, 200);
  // The larger radius is the outside, whichever parameter holds it.
  float outer = std::max(std::fabs(radius1), std::fabs(radius2));
  float inner = std::min(std::fabs(radius1), std::fabs(radius2));
  const bool below = height < 0.0f;
  height = std::fabs(height);
  const DWORD side = smooth ? 4 : 0;
  std::vector<LathePoint> section;  // a closed loop: outside up, top in, inside down, bottom out
  for (int k = 0; k < heightSegs; ++k) section.push_back({outer, height * float(k) / float(heightSegs), side, 2});
  for (int k = 0; k < capSegs; ++k)
    section.push_back({outer + (inner - outer) * float(k) / float(capSegs), height, 2, 0});
  for (int k = heightSegs; k > 0; --k) section.push_back({inner, height * float(k) / float(heightSegs), side, 3});
  for (int k = 0; k < capSegs; ++k) section.push_back({inner + (outer - inner) * float(k) / float(capSegs), 0.0f, 1, 1});
  MeshBuilder b;
  addLathe(b, section, sides, true);
  if (below) b.mirror(2);
  b.finish(mesh);
}

}  // namespace sim
