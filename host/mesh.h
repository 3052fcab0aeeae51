// Mesh: triangle meshes as objects hand them to the pipeline: vertices, faces with edge visibility
// and smoothing groups, selections, and per-vertex float channels (channel 0 is soft selection).
#pragma once

#include "bitarray.h"
#include "box3.h"
#include "host_api.h"
#include "matrix3.h"
#include "point3.h"

#include <memory>
#include <vector>

using MtlID = unsigned short;

class GraphicsWindow;
class Material;
class HitRegion;

// Face flags: one visibility bit per edge (edge 0 runs from v[0] to v[1]), then hiding.
constexpr DWORD EDGE_A = 1 << 0;
constexpr DWORD EDGE_B = 1 << 1;
constexpr DWORD EDGE_C = 1 << 2;
constexpr DWORD EDGE_ALL = EDGE_A | EDGE_B | EDGE_C;
constexpr DWORD FACE_HIDDEN = 1 << 5;
constexpr int EDGE_VIS = 1;
constexpr int EDGE_INVIS = 0;
constexpr int FACE_MATID_SHIFT = 16;
constexpr DWORD FACE_MATID_MASK = 0xFFFF;

class HOST_API Face {
 public:
  DWORD v[3] = {0, 0, 0};
  DWORD smGroup = 0;
  DWORD flags = 0;

  void setVerts(int a, int b, int c) { v[0] = DWORD(a); v[1] = DWORD(b); v[2] = DWORD(c); }
  void setVerts(const DWORD* vrt) { v[0] = vrt[0]; v[1] = vrt[1]; v[2] = vrt[2]; }
  DWORD getVert(int index) const { return index >= 0 && index < 3 ? v[index] : 0; }
  DWORD* getAllVerts() { return v; }
  void setEdgeVis(int edge, int visFlag) {
    if (edge < 0 || edge > 2) return;
    if (visFlag) flags |= (1u << edge);
    else flags &= ~(1u << edge);
  }
  void setEdgeVisFlags(int va, int vb, int vc) {
    flags = (flags & ~EDGE_ALL) | (va ? EDGE_A : 0) | (vb ? EDGE_B : 0) | (vc ? EDGE_C : 0);
  }
  int getEdgeVis(int edge) const { return edge >= 0 && edge < 3 && (flags & (1u << edge)) ? EDGE_VIS : EDGE_INVIS; }
  void setSmGroup(DWORD i) { smGroup = i; }
  DWORD getSmGroup() const { return smGroup; }
  void setMatID(MtlID id) { flags = (flags & ~(FACE_MATID_MASK << FACE_MATID_SHIFT)) | (DWORD(id) << FACE_MATID_SHIFT); }
  MtlID getMatID() const { return MtlID((flags >> FACE_MATID_SHIFT) & FACE_MATID_MASK); }
  void Hide() { flags |= FACE_HIDDEN; }
  void Show() { flags &= ~FACE_HIDDEN; }
  BOOL Hidden() const { return (flags & FACE_HIDDEN) != 0; }
};

// Selection levels of Mesh::selLevel; 0 also means object level.
constexpr DWORD MESH_OBJECT = 1 << 0;
constexpr DWORD MESH_VERTEX = 1 << 1;
constexpr DWORD MESH_FACE = 1 << 2;
constexpr DWORD MESH_EDGE = 1 << 3;

// Per-vertex data channels.
constexpr int VDATA_SELECT = 0;  // soft selection weights, one float per vertex
constexpr int VDATA_WEIGHT = 1;
constexpr int MAX_VERTEX_DATA = 100;

class HOST_API Mesh {
 public:
  // The arrays as the SDK exposes them: valid until the next setNumVerts / setNumFaces. Counts
  // change only through those calls.
  int numVerts = 0;
  int numFaces = 0;
  Point3* verts = nullptr;
  Face* faces = nullptr;

  BitArray vertSel;  // one bit per vertex
  BitArray faceSel;  // one bit per face
  BitArray edgeSel;  // three bits per face
  BitArray vertHide;
  DWORD selLevel = MESH_OBJECT;
  DWORD dispFlags = 0;

  Mesh();
  Mesh(const Mesh& from);
  Mesh& operator=(const Mesh& from);
  ~Mesh();

  // Sets the number of vertices (faces). With `keep`, the first ones keep their values; new ones
  // are at the origin (zeroed). Selections follow the new size. Negative counts give 0; counts
  // above 100,000,000 are refused (FALSE).
  BOOL setNumVerts(int ct, BOOL keep = FALSE, BOOL synchSel = TRUE);
  int getNumVerts() const { return numVerts; }
  BOOL setNumFaces(int ct, BOOL keep = FALSE, BOOL synchSel = TRUE);
  int getNumFaces() const { return numFaces; }

  // Out-of-range indices are ignored by setters; getVert answers a shared origin point.
  void setVert(int i, const Point3& xyz);
  void setVert(int i, float x, float y, float z) { setVert(i, Point3(x, y, z)); }
  Point3& getVert(int i);
  const Point3& getVert(int i) const;

  BitArray& VertSel() { return vertSel; }
  BitArray& FaceSel() { return faceSel; }
  BitArray& EdgeSel() { return edgeSel; }
  // The vertices selected at the current level: the vertex selection at vertex level, the vertices
  // of selected faces or edges at those levels, every vertex at object level.
  BitArray VertexTempSel();

  // Per-vertex float channels. Turning a channel on makes one float per vertex (0); turning it off
  // frees them. vertexFloat answers null for a channel that is off.
  void setVDataSupport(int chan, BOOL support = TRUE);
  BOOL vDataSupport(int chan) const;
  float* vertexFloat(int chan);
  void freeVData(int chan) { setVDataSupport(chan, FALSE); }
  void freeAllVData();

  Box3 getBoundingBox(Matrix3* tm = nullptr);

  // Draws the mesh into `gw` under its current transform: a wireframe of the visible edges of the
  // faces that are not hidden (hidden edges stay hidden), in the line colour. `ma`, `rp`,
  // `compFlags` and `numMat` are accepted (`rp`, a clip rectangle, may only be null here) as the host takes them; the window's render limits pick
  // the way of drawing, and this host draws every limit as wireframe.
  void render(GraphicsWindow* gw, Material* ma, void* rp, int compFlags, int numMat = 1);
  // Whether what render draws touches the window's region `hr` (a rectangle region without
  // crossing: whether it lies wholly inside). With abortOnHit the test stops at the first hit.
  BOOL select(GraphicsWindow* gw, Material* ma, HitRegion* hr, int abortOnHit = FALSE, int numMat = 1);
  void buildBoundingBox();
  void InvalidateGeomCache();
  void InvalidateTopologyCache() { InvalidateGeomCache(); }
  void DeleteThis() { delete this; }

  // Builds normals-free copies of another mesh's geometry (same as assignment).
  void DeepCopy(const Mesh* from) { if (from) *this = *from; }
  void FreeAll();

 private:
  void sync();
  std::vector<Point3> v_;
  std::vector<Face> f_;
  std::vector<std::unique_ptr<std::vector<float>>> vData_;  // by channel, null when off
  Box3 bdgBox_;
  bool boxValid_ = false;
};
