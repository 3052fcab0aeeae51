#include "scene/objects/subdivide_mesh.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <unordered_map>
#include <vector>

namespace sim {
namespace {

struct Polygon {
  std::vector<int> verts;  // in winding order
  MtlID matID = 0;
};

struct PolyMesh {
  std::vector<Point3> points;
  std::vector<Polygon> polys;
};

std::uint64_t edgeKey(int a, int b) {
  if (a > b) std::swap(a, b);
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) | static_cast<std::uint32_t>(b);
}

int findRoot(std::vector<int>& parent, int i) {
  while (parent[i] != i) i = parent[i] = parent[parent[i]];
  return i;
}

// The boundary of a group of triangles as one loop, or an empty list when it is not one simple
// loop (then the group's triangles stay polygons of their own).
std::vector<int> outline(const Mesh& mesh, const std::vector<int>& faces) {
  std::unordered_map<std::uint64_t, int> inner;  // edge -> how many of the group's triangles have it
  for (int f : faces)
    for (int k = 0; k < 3; ++k) ++inner[edgeKey(int(mesh.faces[f].v[k]), int(mesh.faces[f].v[(k + 1) % 3]))];
  std::unordered_map<int, int> next;
  for (int f : faces)
    for (int k = 0; k < 3; ++k) {
      int a = int(mesh.faces[f].v[k]), b = int(mesh.faces[f].v[(k + 1) % 3]);
      if (inner[edgeKey(a, b)] != 1) continue;
      if (!next.emplace(a, b).second) return {};
    }
  if (next.size() < 3) return {};
  std::vector<int> loop;
  int start = next.begin()->first, v = start;
  do {
    loop.push_back(v);
    auto it = next.find(v);
    if (it == next.end() || loop.size() > next.size()) return {};
    v = it->second;
  } while (v != start);
  return loop.size() == next.size() ? loop : std::vector<int>{};
}

// Triangles joined across their invisible edges into polygons.
PolyMesh polygonsOf(const Mesh& mesh) {
  PolyMesh out;
  out.points.assign(mesh.verts, mesh.verts + mesh.numVerts);
  const int nf = mesh.numFaces;
  std::vector<int> parent(static_cast<size_t>(nf));
  std::iota(parent.begin(), parent.end(), 0);
  std::unordered_map<std::uint64_t, int> firstFace;
  for (int f = 0; f < nf; ++f)
    for (int k = 0; k < 3; ++k) {
      std::uint64_t e = edgeKey(int(mesh.faces[f].v[k]), int(mesh.faces[f].v[(k + 1) % 3]));
      auto [it, fresh] = firstFace.emplace(e, f);
      if (!fresh && mesh.faces[f].getEdgeVis(k) == EDGE_INVIS) parent[findRoot(parent, f)] = findRoot(parent, it->second);
    }
  std::unordered_map<int, std::vector<int>> groups;
  std::vector<int> order;
  for (int f = 0; f < nf; ++f) {
    int r = findRoot(parent, f);
    auto& g = groups[r];
    if (g.empty()) order.push_back(r);
    g.push_back(f);
  }
  for (int r : order) {
    const std::vector<int>& faces = groups[r];
    std::vector<int> loop = faces.size() > 1 ? outline(mesh, faces) : std::vector<int>{};
    if (!loop.empty()) {
      out.polys.push_back({std::move(loop), mesh.faces[faces[0]].getMatID()});
      continue;
    }
    for (int f : faces) {
      const Face& t = mesh.faces[f];
      out.polys.push_back({{int(t.v[0]), int(t.v[1]), int(t.v[2])}, t.getMatID()});
    }
  }
  return out;
}

// One Catmull-Clark step: new points are the old corners moved, then one per edge, then one per
// polygon; each polygon of n corners becomes n quads.
PolyMesh subdivideOnce(const PolyMesh& in) {
  const size_t nv = in.points.size(), np = in.polys.size();
  struct Edge {
    int a, b;
    int faces = 0;
    Point3 faceSum;
  };
  std::vector<Edge> edges;
  std::unordered_map<std::uint64_t, int> edgeIndex;
  std::vector<Point3> facePoints(np);
  std::vector<std::vector<int>> polyEdges(np);
  for (size_t p = 0; p < np; ++p) {
    const std::vector<int>& v = in.polys[p].verts;
    Point3 sum(0, 0, 0);
    for (int i : v) sum += in.points[static_cast<size_t>(i)];
    facePoints[p] = sum / float(v.size());
    for (size_t k = 0; k < v.size(); ++k) {
      int a = v[k], b = v[(k + 1) % v.size()];
      auto [it, fresh] = edgeIndex.emplace(edgeKey(a, b), int(edges.size()));
      if (fresh) edges.push_back({a, b, 0, Point3(0, 0, 0)});
      Edge& e = edges[static_cast<size_t>(it->second)];
      ++e.faces;
      e.faceSum += facePoints[p];
      polyEdges[p].push_back(it->second);
    }
  }

  PolyMesh out;
  out.points.resize(nv + edges.size() + np);
  // Corners: interior ones by the Catmull-Clark rule, boundary ones along their boundary.
  std::vector<Point3> faceAvg(nv, Point3(0, 0, 0)), edgeMid(nv, Point3(0, 0, 0)), boundary(nv, Point3(0, 0, 0));
  std::vector<int> faceCount(nv, 0), edgeCount(nv, 0), boundaryCount(nv, 0);
  for (size_t p = 0; p < np; ++p)
    for (int i : in.polys[p].verts) {
      faceAvg[static_cast<size_t>(i)] += facePoints[p];
      ++faceCount[static_cast<size_t>(i)];
    }
  for (const Edge& e : edges) {
    Point3 mid = (in.points[static_cast<size_t>(e.a)] + in.points[static_cast<size_t>(e.b)]) * 0.5f;
    for (int i : {e.a, e.b}) {
      edgeMid[static_cast<size_t>(i)] += mid;
      ++edgeCount[static_cast<size_t>(i)];
      if (e.faces != 2) {
        boundary[static_cast<size_t>(i)] += in.points[static_cast<size_t>(i == e.a ? e.b : e.a)];
        ++boundaryCount[static_cast<size_t>(i)];
      }
    }
  }
  for (size_t i = 0; i < nv; ++i) {
    const Point3& p = in.points[i];
    if (boundaryCount[i] == 2) out.points[i] = (p * 6.0f + boundary[i]) / 8.0f;
    else if (boundaryCount[i] > 0 || faceCount[i] == 0 || edgeCount[i] < 3) out.points[i] = p;
    else {
      float n = float(edgeCount[i]);
      Point3 f = faceAvg[i] / float(faceCount[i]), r = edgeMid[i] / n;
      out.points[i] = (f + r * 2.0f + p * (n - 3.0f)) / n;
    }
  }
  for (size_t k = 0; k < edges.size(); ++k) {
    const Edge& e = edges[k];
    Point3 ends = in.points[static_cast<size_t>(e.a)] + in.points[static_cast<size_t>(e.b)];
    out.points[nv + k] = e.faces == 2 ? (ends + e.faceSum) / 4.0f : ends * 0.5f;
  }
  for (size_t p = 0; p < np; ++p) out.points[nv + edges.size() + p] = facePoints[p];

  out.polys.reserve(np * 4);
  for (size_t p = 0; p < np; ++p) {
    const std::vector<int>& v = in.polys[p].verts;
    const std::vector<int>& pe = polyEdges[p];
    const int center = int(nv + edges.size() + p), n = int(v.size());
    for (int k = 0; k < n; ++k) {
      int after = int(nv) + pe[static_cast<size_t>(k)], before = int(nv) + pe[static_cast<size_t>((k + n - 1) % n)];
      out.polys.push_back({{v[static_cast<size_t>(k)], after, center, before}, in.polys[p].matID});
    }
  }
  return out;
}

size_t quadCount(const PolyMesh& m) {
  size_t n = 0;
  for (const Polygon& p : m.polys) n += p.verts.size();
  return n;
}

// Back to triangles: a fan from each polygon's first corner, the fan's inner edges invisible.
void storeTriangles(const PolyMesh& m, Mesh& mesh) {
  size_t faces = 0;
  for (const Polygon& p : m.polys) faces += p.verts.size() - 2;
  if (!mesh.setNumVerts(int(m.points.size())) || !mesh.setNumFaces(int(faces))) return;
  std::copy(m.points.begin(), m.points.end(), mesh.verts);
  int f = 0;
  for (const Polygon& p : m.polys) {
    const int n = int(p.verts.size());
    for (int k = 1; k + 1 < n; ++k, ++f) {
      Face& t = mesh.faces[f];
      t.setVerts(p.verts[0], p.verts[static_cast<size_t>(k)], p.verts[static_cast<size_t>(k + 1)]);
      t.setEdgeVisFlags(k == 1, 1, k + 2 == n);
      t.setSmGroup(1);
      t.setMatID(p.matID);
    }
  }
  mesh.InvalidateGeomCache();
}

}  // namespace

void subdivideMesh(Mesh& mesh, int iterations) {
  if (iterations <= 0 || mesh.numFaces <= 0) return;
  for (int f = 0; f < mesh.numFaces; ++f)
    for (DWORD v : mesh.faces[f].v)
      if (v >= DWORD(mesh.numVerts)) return;  // not a mesh to smooth: left as it is
  PolyMesh m = polygonsOf(mesh);
  int done = 0;
  for (; done < iterations; ++done) {
    // Each corner of a polygon becomes a quad of two triangles.
    if (quadCount(m) * 2 > size_t(kMaxSubdividedFaces)) break;
    m = subdivideOnce(m);
  }
  if (done > 0) storeTriangles(m, mesh);
}

}  // namespace sim
