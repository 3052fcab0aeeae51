#include "scene/objects/primitive_meshes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace sim {
namespace {

constexpr float kPi = 3.14159265358979f;

// Adds the quad a-b-c-d (counter-clockwise seen from outside) as two triangles.
void addQuad(Mesh& mesh, int& f, int a, int b, int c, int d, DWORD smGroup, MtlID mat) {
  mesh.faces[f].setVerts(a, b, c);
  mesh.faces[f].setEdgeVisFlags(1, 1, 0);
  mesh.faces[f].setSmGroup(smGroup);
  mesh.faces[f].setMatID(mat);
  ++f;
  mesh.faces[f].setVerts(c, d, a);
  mesh.faces[f].setEdgeVisFlags(1, 1, 0);
  mesh.faces[f].setSmGroup(smGroup);
  mesh.faces[f].setMatID(mat);
  ++f;
}

void addTri(Mesh& mesh, int& f, int a, int b, int c, DWORD smGroup, MtlID mat) {
  mesh.faces[f].setVerts(a, b, c);
  mesh.faces[f].setEdgeVisFlags(1, 1, 1);
  mesh.faces[f].setSmGroup(smGroup);
  mesh.faces[f].setMatID(mat);
  ++f;
}

}  // namespace

void buildBoxMesh(Mesh& mesh, float length, float width, float height, int ls, int ws, int hs) {
  ls = std::clamp(ls, 1, 200);
  ws = std::clamp(ws, 1, 200);
  hs = std::clamp(hs, 1, 200);
  // Vertices are the surface points of the (ws+1) x (ls+1) x (hs+1) lattice, numbered bottom layer
  // first, each layer row by row along x.
  std::unordered_map<std::uint64_t, int> index;
  std::vector<Point3> pts;
  auto key = [&](int ix, int iy, int iz) { return (std::uint64_t(iz) * (ls + 1) + iy) * (ws + 1) + ix; };
  for (int iz = 0; iz <= hs; ++iz)
    for (int iy = 0; iy <= ls; ++iy)
      for (int ix = 0; ix <= ws; ++ix) {
        bool surface = iz == 0 || iz == hs || iy == 0 || iy == ls || ix == 0 || ix == ws;
        if (!surface) continue;
        index[key(ix, iy, iz)] = static_cast<int>(pts.size());
        pts.emplace_back(-width / 2 + width * float(ix) / float(ws), -length / 2 + length * float(iy) / float(ls),
                         height * float(iz) / float(hs));
      }
  mesh.setNumVerts(static_cast<int>(pts.size()));
  for (size_t i = 0; i < pts.size(); ++i) mesh.setVert(static_cast<int>(i), pts[i]);
  mesh.setNumFaces(2 * (2 * ws * ls + 2 * ws * hs + 2 * ls * hs));
  auto v = [&](int ix, int iy, int iz) { return index[key(ix, iy, iz)]; };
  int f = 0;
  for (int iy = 0; iy < ls; ++iy)  // bottom, facing -z
    for (int ix = 0; ix < ws; ++ix) addQuad(mesh, f, v(ix, iy, 0), v(ix, iy + 1, 0), v(ix + 1, iy + 1, 0), v(ix + 1, iy, 0), 2, 1);
  for (int iy = 0; iy < ls; ++iy)  // top, facing +z
    for (int ix = 0; ix < ws; ++ix) addQuad(mesh, f, v(ix, iy, hs), v(ix + 1, iy, hs), v(ix + 1, iy + 1, hs), v(ix, iy + 1, hs), 4, 0);
  for (int iz = 0; iz < hs; ++iz)  // front, facing -y
    for (int ix = 0; ix < ws; ++ix) addQuad(mesh, f, v(ix, 0, iz), v(ix + 1, 0, iz), v(ix + 1, 0, iz + 1), v(ix, 0, iz + 1), 8, 4);
  for (int iz = 0; iz < hs; ++iz)  // right, facing +x
    for (int iy = 0; iy < ls; ++iy) addQuad(mesh, f, v(ws, iy, iz), v(ws, iy + 1, iz), v(ws, iy + 1, iz + 1), v(ws, iy, iz + 1), 16, 3);
  for (int iz = 0; iz < hs; ++iz)  // back, facing +y
    for (int ix = 0; ix < ws; ++ix) addQuad(mesh, f, v(ix + 1, ls, iz), v(ix, ls, iz), v(ix, ls, iz + 1), v(ix + 1, ls, iz + 1), 32, 5);
  for (int iz = 0; iz < hs; ++iz)  // left, facing -x
    for (int iy = 0; iy < ls; ++iy) addQuad(mesh, f, v(0, iy + 1, iz), v(0, iy, iz), v(0, iy, iz + 1), v(0, iy + 1, iz + 1), 64, 2);
  mesh.InvalidateGeomCache();
}

void buildSphereMesh(Mesh& mesh, float radius, int segs, bool smooth) {
  segs = std::clamp(segs, 4, 200);
  const int rows = segs / 2;  // latitude bands from pole to pole
  const int rings = rows - 1;
  mesh.setNumVerts(2 + rings * segs);
  mesh.setVert(0, 0.0f, 0.0f, radius);
  for (int i = 1; i <= rings; ++i) {
    float theta = kPi * float(i) / float(rows);
    for (int j = 0; j < segs; ++j) {
      float phi = 2.0f * kPi * float(j) / float(segs);
      mesh.setVert(1 + (i - 1) * segs + j, radius * std::sin(theta) * std::cos(phi),
                   radius * std::sin(theta) * std::sin(phi), radius * std::cos(theta));
    }
  }
  const int bottom = 1 + rings * segs;
  mesh.setVert(bottom, 0.0f, 0.0f, -radius);
  mesh.setNumFaces(2 * segs * rings);
  DWORD sm = smooth ? 1 : 0;
  auto ring = [&](int i, int j) { return 1 + (i - 1) * segs + (j % segs); };
  int f = 0;
  for (int j = 0; j < segs; ++j) addTri(mesh, f, 0, ring(1, j), ring(1, j + 1), sm, 1);
  for (int i = 1; i < rings; ++i)
    for (int j = 0; j < segs; ++j) addQuad(mesh, f, ring(i, j), ring(i + 1, j), ring(i + 1, j + 1), ring(i, j + 1), sm, 1);
  for (int j = 0; j < segs; ++j) addTri(mesh, f, bottom, ring(rings, j + 1), ring(rings, j), sm, 1);
  mesh.InvalidateGeomCache();
}

void buildCylinderMesh(Mesh& mesh, float radius, float height, int heightSegs, int sides, bool smooth) {
  heightSegs = std::clamp(heightSegs, 1, 200);
  sides = std::clamp(sides, 3, 200);
  mesh.setNumVerts(2 + sides * (heightSegs + 1));
  mesh.setVert(0, 0.0f, 0.0f, 0.0f);
  for (int k = 0; k <= heightSegs; ++k)
    for (int j = 0; j < sides; ++j) {
      float phi = 2.0f * kPi * float(j) / float(sides);
      mesh.setVert(1 + k * sides + j, radius * std::cos(phi), radius * std::sin(phi), height * float(k) / float(heightSegs));
    }
  const int top = 1 + (heightSegs + 1) * sides;
  mesh.setVert(top, 0.0f, 0.0f, height);
  mesh.setNumFaces(2 * sides * heightSegs + 2 * sides);
  auto ring = [&](int k, int j) { return 1 + k * sides + (j % sides); };
  int f = 0;
  for (int j = 0; j < sides; ++j) addTri(mesh, f, 0, ring(0, j + 1), ring(0, j), 1, 1);
  for (int k = 0; k < heightSegs; ++k)
    for (int j = 0; j < sides; ++j)
      addQuad(mesh, f, ring(k, j), ring(k, j + 1), ring(k + 1, j + 1), ring(k + 1, j), smooth ? 4 : 0, 2);
  for (int j = 0; j < sides; ++j) addTri(mesh, f, top, ring(heightSegs, j), ring(heightSegs, j + 1), 2, 0);
  mesh.InvalidateGeomCache();
}

void buildPlaneMesh(Mesh& mesh, float length, float width, int ls, int ws) {
  ls = std::clamp(ls, 1, 1000);
  ws = std::clamp(ws, 1, 1000);
  mesh.setNumVerts((ls + 1) * (ws + 1));
  for (int iy = 0; iy <= ls; ++iy)
    for (int ix = 0; ix <= ws; ++ix)
      mesh.setVert(iy * (ws + 1) + ix, -width / 2 + width * float(ix) / float(ws), -length / 2 + length * float(iy) / float(ls), 0.0f);
  mesh.setNumFaces(2 * ls * ws);
  auto v = [&](int ix, int iy) { return iy * (ws + 1) + ix; };
  int f = 0;
  for (int iy = 0; iy < ls; ++iy)
    for (int ix = 0; ix < ws; ++ix) addQuad(mesh, f, v(ix, iy), v(ix + 1, iy), v(ix + 1, iy + 1), v(ix, iy + 1), 1, 0);
  mesh.InvalidateGeomCache();
}

void buildCappedOutlineMesh(Mesh& mesh, const std::vector<Point3>& outline) {
  const int n = static_cast<int>(outline.size());
  if (n < 3) {
    mesh.setNumVerts(0);
    mesh.setNumFaces(0);
    return;
  }
  Point3 centre;
  for (const Point3& p : outline) centre += p;
  centre = centre / float(n);
  mesh.setNumVerts(n + 1);
  mesh.setVert(0, centre);
  for (int i = 0; i < n; ++i) mesh.setVert(i + 1, outline[static_cast<size_t>(i)]);
  mesh.setNumFaces(n);
  int f = 0;
  for (int i = 0; i < n; ++i) {
    addTri(mesh, f, 0, 1 + i, 1 + (i + 1) % n, 1, 0);
    mesh.faces[f - 1].setEdgeVisFlags(0, 1, 0);
  }
  mesh.InvalidateGeomCache();
}

}  // namespace sim
