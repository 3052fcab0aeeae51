// Teapot: a simplified solid of the host teapot's size and parts, not the classic patch surface.
// The body and lid are turned profiles, the spout and handle tubes swept along curves; with radius
// r the body is 2r across, the pot stands from 0 to 1.575r, the spout reaches 1.83r along +x and
// the handle 1.53r along -x, as the patch teapot does. Parts are separate elements, each with its
// material ID (body 1, handle 2, spout 3, lid 4) so that a part can be told apart.
#include "scene/objects/mesh_builder.h"
#include "scene/objects/primitive_meshes.h"

#include <algorithm>

namespace sim {
namespace {

// Profiles and paths in units of the radius, each point (r or x, z).
struct Pt {
  float a, z;
};
constexpr Pt kBody[] = {{0.0f, 0.0f},    {0.75f, 0.0f},  {0.92f, 0.12f}, {1.0f, 0.45f},
                        {0.95f, 0.75f},  {0.84f, 0.98f}, {0.75f, 1.125f}, {0.7f, 1.2f}};
constexpr Pt kLid[] = {{0.7f, 1.2f},  {0.6f, 1.27f},  {0.35f, 1.34f}, {0.1f, 1.4f},
                       {0.14f, 1.5f}, {0.1f, 1.56f}, {0.0f, 1.575f}};
constexpr Pt kSpout[] = {{0.8f, 0.3f}, {1.2f, 0.45f}, {1.45f, 0.75f}, {1.6f, 1.05f}, {1.7f, 1.2f}};
constexpr float kSpoutRadius[] = {0.28f, 0.2f, 0.14f, 0.11f, 0.13f};
constexpr Pt kHandle[] = {{-0.8f, 1.05f}, {-1.2f, 1.05f}, {-1.45f, 0.9f}, {-1.45f, 0.6f}, {-1.3f, 0.4f}, {-0.9f, 0.3f}};
constexpr float kHandleRadius = 0.08f;

// The profile points with `steps` points on each span between them.
template <size_t N>
std::vector<Pt> refine(const Pt (&pts)[N], int steps) {
  std::vector<Pt> out;
  for (size_t i = 0; i + 1 < N; ++i)
    for (int s = 0; s < steps; ++s) {
      float u = float(s) / float(steps);
      out.push_back({pts[i].a + (pts[i + 1].a - pts[i].a) * u, pts[i].z + (pts[i + 1].z - pts[i].z) * u});
    }
  out.push_back(pts[N - 1]);
  return out;
}

void addTurned(MeshBuilder& b, const std::vector<Pt>& pts, float radius, int sides, DWORD sm, MtlID mat) {
  std::vector<LathePoint> profile;
  for (const Pt& p : pts) profile.push_back({p.a * radius, p.z * radius, sm, mat});
  addLathe(b, profile, sides, false);
}

void addTube(MeshBuilder& b, const std::vector<Pt>& pts, const std::vector<float>& radii, float radius, int sides,
             DWORD sm, MtlID mat) {
  std::vector<Point3> path;
  for (const Pt& p : pts) path.emplace_back(p.a * radius, 0.0f, p.z * radius);
  std::vector<float> scaled;
  for (float r : radii) scaled.push_back(r * radius);
  addSweep(b, path, scaled, sides, sm, mat);
}

}  // namespace

void buildTeapotMesh(Mesh& mesh, float radius, int segs, bool smooth, bool body, bool handle, bool spout, bool lid) {
  segs = std::clamp(segs, 1, 64);
  radius = std::max(radius, 0.0f);
  const int sides = 6 * segs;
  const DWORD sm = smooth ? 1 : 0;
  MeshBuilder b;
  if (body) addTurned(b, refine(kBody, segs), radius, sides, sm, 1);
  if (handle) {
    std::vector<Pt> path = refine(kHandle, segs);
    addTube(b, path, std::vector<float>(path.size(), kHandleRadius), radius, 2 * segs + 2, sm, 2);
  }
  if (spout) {
    std::vector<Pt> path = refine(kSpout, segs);
    std::vector<float> radii;
    const size_t n = std::size(kSpoutRadius);
    for (size_t i = 0; i + 1 < n; ++i)
      for (int s = 0; s < segs; ++s) {
        float u = float(s) / float(segs);
        radii.push_back(kSpoutRadius[i] + (kSpoutRadius[i + 1] - kSpoutRadius[i]) * u);
      }
    radii.push_back(kSpoutRadius[n - 1]);
    addTube(b, path, radii, radius, 3 * segs + 2, sm, 3);
  }
  if (lid) addTurned(b, refine(kLid, segs), radius, sides, sm, 4);
  b.finish(mesh);
}

}  // namespace sim
