// GeoSphere: a regular polyhedron (tetrahedron, octahedron or icosahedron) whose faces are each
// divided into segs x segs triangles, pushed out onto the sphere. Vertices on shared edges are
// shared, so the sphere is closed: an icosahedron base gives 10 segs^2 + 2 vertices and 20 segs^2
// faces.
#include "scene/objects/mesh_builder.h"
#include "scene/objects/primitive_meshes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace sim {
namespace {

struct Polyhedron {
  std::vector<Point3> verts;
  std::vector<std::array<int, 3>> faces;
};

// The faces of a regular polyhedron are the triples of vertices at the edge length from each other,
// turned to face out.
Polyhedron polyhedron(std::vector<Point3> verts) {
  for (Point3& v : verts) v = Normalize(v);
  const int n = static_cast<int>(verts.size());
  float edge = 1e9f;
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j) edge = std::min(edge, (verts[i] - verts[j]).Length());
  auto adjacent = [&](int i, int j) { return std::fabs((verts[i] - verts[j]).Length() - edge) < 1e-3f; };
  Polyhedron p{verts, {}};
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j)
      for (int k = j + 1; k < n; ++k) {
        if (!adjacent(i, j) || !adjacent(j, k) || !adjacent(i, k)) continue;
        Point3 normal = CrossProd(verts[j] - verts[i], verts[k] - verts[i]);
        if (DotProd(normal, verts[i] + verts[j] + verts[k]) < 0.0f) p.faces.push_back({i, k, j});
        else p.faces.push_back({i, j, k});
      }
  return p;
}

Polyhedron basePolyhedron(int baseType) {
  if (baseType == 0) return polyhedron({{1, 1, 1}, {-1, -1, 1}, {-1, 1, -1}, {1, -1, -1}});
  if (baseType == 1) return polyhedron({{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}});
  // An icosahedron turned to have a vertex at each pole.
  const float phi = (1.0f + std::sqrt(5.0f)) / 2.0f;
  std::vector<Point3> v;
  for (float a : {-1.0f, 1.0f})
    for (float b : {-phi, phi}) {
      v.emplace_back(0.0f, a, b);
      v.emplace_back(a, b, 0.0f);
      v.emplace_back(b, 0.0f, a);
    }
  const float turn = std::atan2(1.0f, phi), c = std::cos(turn), s = std::sin(turn);
  for (Point3& p : v) p = Point3(p.x, p.y * c - p.z * s, p.y * s + p.z * c);
  return polyhedron(v);
}

}  // namespace

void buildGeoSphereMesh(Mesh& mesh, float radius, int segs, int baseType, bool smooth, bool hemisphere,
                        bool baseToPivot) {
  segs = std::clamp(segs, 1, 200);
  baseType = std::clamp(baseType, 0, 2);
  radius = std::max(radius, 0.0f);
  const Polyhedron base = basePolyhedron(baseType);
  MeshBuilder b;
  // A point of a divided face is named by the base vertices it lies between and their weights, so
  // that the faces on either side of an edge find the same vertex.
  std::unordered_map<std::uint64_t, int> shared;
  auto vertexAt = [&](const std::array<int, 3>& ids, const std::array<int, 3>& weights) {
    std::array<std::pair<int, int>, 3> parts{{{ids[0], weights[0]}, {ids[1], weights[1]}, {ids[2], weights[2]}}};
    std::sort(parts.begin(), parts.end());
    std::uint64_t key = 0;
    Point3 p;
    for (const auto& [id, w] : parts) {
      if (w == 0) continue;
      key = (key << 16) | (std::uint64_t(id) << 8) | std::uint64_t(w);
      p += base.verts[static_cast<size_t>(id)] * float(w);
    }
    auto it = shared.find(key);
    if (it != shared.end()) return it->second;
    int index = b.vert(Normalize(p) * radius);
    shared.emplace(key, index);
    return index;
  };
  const DWORD sm = smooth ? 1 : 0;
  for (const std::array<int, 3>& f : base.faces) {
    // Row i of the face holds segs - i + 1 points; (i, j) weighs f[1] by i and f[2] by j.
    auto at = [&](int i, int j) { return vertexAt(f, {segs - i - j, i, j}); };
    for (int i = 0; i < segs; ++i)
      for (int j = 0; j < segs - i; ++j) {
        b.tri(at(i, j), at(i + 1, j), at(i, j + 1), sm, 0);
        if (j + 1 < segs - i) b.tri(at(i + 1, j), at(i + 1, j + 1), at(i, j + 1), sm, 0);
      }
  }
  MeshBuilder out;
  if (hemisphere) {
    // The upper half: faces whose middle is above the equator, lower corners laid onto it.
    std::vector<int> remap(static_cast<size_t>(b.vertCount()), -1);
    Mesh full;
    b.finish(full);
    for (int i = 0; i < full.getNumFaces(); ++i) {
      const DWORD* v = full.faces[i].v;
      if (full.verts[v[0]].z + full.verts[v[1]].z + full.verts[v[2]].z < -1e-4f * radius) continue;
      int corner[3];
      for (int c = 0; c < 3; ++c) {
        int& r = remap[v[c]];
        if (r < 0) {
          Point3 p = full.verts[v[c]];
          r = out.vert(Point3(p.x, p.y, std::max(p.z, 0.0f)));
        }
        corner[c] = r;
      }
      out.tri(corner[0], corner[1], corner[2], sm, 0);
    }
  } else {
    out = std::move(b);
  }
  // Base to pivot stands a whole sphere on its pivot; a hemisphere stands on it already.
  if (baseToPivot && !hemisphere)
    for (int i = 0; i < out.vertCount(); ++i) out.at(i).z += radius;
  out.finish(mesh);
}

}  // namespace sim
