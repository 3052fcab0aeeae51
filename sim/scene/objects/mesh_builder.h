// Collects the vertices and triangles of a parametric mesh whose counts are easier to reach by
// building than by formula, then hands them to a Mesh in one go. Triangles keep the winding they
// are given (counter-clockwise seen from outside); a quad becomes two triangles whose shared edge
// is invisible, split as the box's quads are.
#pragma once

#include "mesh.h"

#include <utility>
#include <vector>

namespace sim {

class MeshBuilder {
 public:
  int vert(const Point3& p) {
    verts_.push_back(p);
    return static_cast<int>(verts_.size()) - 1;
  }
  int vertCount() const { return static_cast<int>(verts_.size()); }
  Point3& at(int i) { return verts_[static_cast<size_t>(i)]; }

  void tri(int a, int b, int c, DWORD smGroup, MtlID mat) { faces_.push_back({a, b, c, smGroup, mat, true}); }
  void quad(int a, int b, int c, int d, DWORD smGroup, MtlID mat) {
    faces_.push_back({a, b, c, smGroup, mat, false});
    faces_.push_back({c, d, a, smGroup, mat, false});
  }

  // Mirrors the mesh across the plane where coordinate `axis` (0 x, 1 y, 2 z) is 0, turning the
  // faces over so that they still face out: how a negative size is built from a positive one.
  void mirror(int axis) {
    for (Point3& p : verts_) p[axis] = -p[axis];
    for (Tri& f : faces_) std::swap(f.b, f.c);
  }

  void finish(Mesh& mesh) const {
    mesh.setNumVerts(static_cast<int>(verts_.size()));
    for (size_t i = 0; i < verts_.size(); ++i) mesh.setVert(static_cast<int>(i), verts_[i]);
    mesh.setNumFaces(static_cast<int>(faces_.size()));
    for (size_t i = 0; i < faces_.size(); ++i) {
      const Tri& f = faces_[i];
      ::Face& out = mesh.faces[i];
      out.setVerts(f.a, f.b, f.c);
      if (f.allEdges) out.setEdgeVisFlags(1, 1, 1);
      else out.setEdgeVisFlags(1, 1, 0);
      out.setSmGroup(f.smGroup);
      out.setMatID(f.mat);
    }
    mesh.InvalidateGeomCache();
  }

 private:
  struct Tri {
    int a, b, c;
    DWORD smGroup;
    MtlID mat;
    bool allEdges;
  };
  std::vector<Point3> verts_;
  std::vector<Tri> faces_;
};

}  // namespace sim

namespace sim {

// One point of a profile turned around the z axis: a ring of vertices at radius `r` and height `z`
// (a single vertex on the axis when r is 0). `smGroup` and `mat` are those of the band of faces
// from this point to the next.
struct LathePoint {
  float r, z;
  DWORD smGroup = 0;
  MtlID mat = 0;
};

// Turns the profile around the z axis with `sides` vertices per ring and adds its faces. Faces
// face the side on the right of the profile's direction: a profile going up faces outward, one
// going outward faces down, one going inward faces up. `closed` joins the last point to the first.
void addLathe(MeshBuilder& b, const std::vector<LathePoint>& profile, int sides, bool closed);

// A tube of `sides` vertices per ring swept along a path in the xz plane, with a radius at each
// path point; open at both ends, faces outward.
void addSweep(MeshBuilder& b, const std::vector<Point3>& path, const std::vector<float>& radii, int sides,
              DWORD smGroup, MtlID mat);

}  // namespace sim
