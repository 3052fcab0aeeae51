// Meshes in a graphics window: the wireframe of visible edges, and picking against it.
#include "mesh.h"
#include "ui/graphics_window.h"

namespace {

// Each visible edge of each shown face, as a two-point polyline: an edge two faces share is drawn
// twice, to the same pixels.
void drawEdges(GraphicsWindow* gw, Mesh& mesh, bool stopAtHit) {
  for (int f = 0; f < mesh.numFaces; ++f) {
    const Face& face = mesh.faces[f];
    if (face.Hidden()) continue;
    for (int e = 0; e < 3; ++e) {
      if (!face.getEdgeVis(e)) continue;
      DWORD a = face.v[e], b = face.v[(e + 1) % 3];
      if (a >= DWORD(mesh.numVerts) || b >= DWORD(mesh.numVerts)) continue;
      Point3 pts[2] = {mesh.verts[a], mesh.verts[b]};
      gw->polyline(2, pts, nullptr, FALSE, nullptr);
      if (stopAtHit && gw->checkHitCode()) return;
    }
  }
}

}  // namespace

void Mesh::render(GraphicsWindow* gw, Material*, void*, int, int) {
  if (!gw) return;
  if (numFaces == 0) {
    // A mesh without faces (or one whose faces all collapsed) still shows where its points are.
    for (int i = 0; i < numVerts; ++i) gw->marker(&verts[i], POINT_MRKR);
    return;
  }
  drawEdges(gw, *this, false);
}

BOOL Mesh::select(GraphicsWindow* gw, Material*, HitRegion* hr, int abortOnHit, int) {
  if (!gw || !hr) return FALSE;
  gw->setHitRegion(hr);
  drawEdges(gw, *this, abortOnHit != 0);
  // A point inside a shown face picks it too: the faces are what the mesh is made of.
  auto* window = dynamic_cast<sim::ui::BitmapGraphicsWindow*>(gw);
  if (window && !(abortOnHit && gw->checkHitCode())) {
    for (int f = 0; f < numFaces; ++f) {
      const Face& face = faces[f];
      if (face.Hidden() || face.v[0] >= DWORD(numVerts) || face.v[1] >= DWORD(numVerts) || face.v[2] >= DWORD(numVerts))
        continue;
      window->hitTriangle(verts[face.v[0]], verts[face.v[1]], verts[face.v[2]]);
    }
  }
  if (numFaces == 0)
    for (int i = 0; i < numVerts; ++i) gw->marker(&verts[i], POINT_MRKR);
  BOOL hit = gw->checkHitCode();
  gw->setHitRegion(nullptr);
  return hit;
}
