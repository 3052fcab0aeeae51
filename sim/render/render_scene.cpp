#include "render/render_scene.h"

#include "render/finite_values.h"
#include "maxapi.h"
#include "object.h"
#include "triobj.h"

#include <cmath>
#include <set>

namespace sim {

namespace {

// The node's mesh after its modifiers at `t`, or false when its object has none.
bool evaluatedMesh(INode* node, TimeValue t, Mesh& out) {
  Object* obj = node->EvalWorldState(t).obj;
  if (!obj || obj->SuperClassID() != GEOMOBJECT_CLASS_ID || obj->IsShapeObject()) return false;
  if (!obj->CanConvertToType(triObjectClassID)) return false;
  Object* converted = obj->ConvertToType(t, triObjectClassID);
  if (!converted) return false;
  auto* tri = dynamic_cast<TriObject*>(converted);
  if (tri) out = tri->mesh;
  if (converted != obj) converted->DeleteMe();
  return tri != nullptr;
}

// Corner normals: a face in smoothing group 0 is flat; otherwise a corner takes the sum of the
// (area-weighted) normals of the faces around its vertex that share a smoothing group with it.
void addTriangles(const Mesh& mesh, const std::vector<Point3>& world, int instance, std::uint8_t mask,
                  std::vector<RenderTriangle>& out) {
  const int nv = mesh.numVerts, nf = mesh.numFaces;
  std::vector<Point3> faceN(static_cast<size_t>(nf));
  std::vector<bool> usable(static_cast<size_t>(nf), false);
  std::vector<int> start(static_cast<size_t>(nv) + 1, 0);
  for (int f = 0; f < nf; ++f) {
    const Face& face = mesh.faces[f];
    if (face.v[0] >= DWORD(nv) || face.v[1] >= DWORD(nv) || face.v[2] >= DWORD(nv)) continue;
    const Point3 &a = world[face.v[0]], &b = world[face.v[1]], &c = world[face.v[2]];
    Point3 n = CrossProd(b - a, c - a);
    if (!finite(a) || !finite(b) || !finite(c) || !finite(n) || n.LengthSquared() <= 0.0f) continue;
    faceN[size_t(f)] = n;
    usable[size_t(f)] = true;
    for (DWORD v : face.v) ++start[v + 1];
  }
  for (int v = 0; v < nv; ++v) start[size_t(v) + 1] += start[size_t(v)];
  std::vector<int> fill(start.begin(), start.end() - 1), around(static_cast<size_t>(start[size_t(nv)]));
  for (int f = 0; f < nf; ++f)
    if (usable[size_t(f)])
      for (DWORD v : mesh.faces[f].v) around[size_t(fill[v]++)] = f;

  for (int f = 0; f < nf; ++f) {
    if (!usable[size_t(f)]) continue;
    const Face& face = mesh.faces[f];
    Point3 flat = faceN[size_t(f)].Normalize();
    Point3 corner[3];
    for (int k = 0; k < 3; ++k) {
      corner[k] = flat;
      if (face.smGroup == 0) continue;
      Point3 sum;
      DWORD v = face.v[k];
      for (int i = start[v]; i < start[v + 1]; ++i) {
        int g = around[size_t(i)];
        if (mesh.faces[g].smGroup & face.smGroup) sum += faceN[size_t(g)];
      }
      if (sum.LengthSquared() > 0.0f && finite(sum)) corner[k] = sum.Normalize();
    }
    RenderTriangle tri;
    tri.p0 = world[face.v[0]];
    tri.e1 = world[face.v[1]] - tri.p0;
    tri.e2 = world[face.v[2]] - tri.p0;
    tri.n0 = corner[0];
    tri.n1 = corner[1];
    tri.n2 = corner[2];
    tri.instance = instance;
    tri.face = f;
    tri.mask = mask;
    out.push_back(tri);
  }
}

void collectNode(INode* node, TimeValue t, RenderScene& scene, std::set<Mtl*>& updated) {
  if (node->IsNodeHidden(TRUE) || !node->Renderable()) return;
  std::uint8_t mask = (node->GetPrimaryVisibility() ? kSeenByCamera : 0) | (node->CastShadows() ? kCastsShadows : 0);
  if (mask == 0 || node->GetVisibility(t) <= 0.0f) return;
  Mesh mesh;
  if (!evaluatedMesh(node, t, mesh) || mesh.numFaces == 0) return;
  Matrix3 tm = node->GetObjTMAfterWSM(t);
  if (!finite(tm)) return;

  RenderInstance inst;
  inst.node = node;
  inst.mtl = node->GetMtl();
  inst.wire = Color(node->GetWireColor());
  inst.objectId = static_cast<int>(node->GetGBufID());
  inst.receivesShadows = node->RcvShadows() != 0;
  inst.worldToObject = tm.Inverse();
  inst.localBox = mesh.getBoundingBox();
  if (inst.mtl && updated.insert(inst.mtl).second) {
    Interval valid = FOREVER;
    inst.mtl->Update(t, valid);
  }

  std::vector<Point3> world(static_cast<size_t>(mesh.numVerts));
  for (int i = 0; i < mesh.numVerts; ++i) {
    world[size_t(i)] = mesh.verts[i] * tm;
    if (finite(world[size_t(i)])) scene.bounds += world[size_t(i)];
  }
  size_t before = scene.triangles.size();
  addTriangles(mesh, world, static_cast<int>(scene.instances.size()), mask, scene.triangles);
  if (scene.triangles.size() > before) scene.instances.push_back(inst);
}

}  // namespace

RenderScene collectRenderScene(TimeValue t) {
  RenderScene scene;
  std::set<Mtl*> updated;
  INode* root = GetCOREInterface()->GetRootNode();
  if (!root) return scene;
  std::vector<INode*> pending{root};
  while (!pending.empty()) {
    INode* node = pending.back();
    pending.pop_back();
    if (!node->IsRootNode()) collectNode(node, t, scene, updated);
    for (int i = node->NumberOfChildren() - 1; i >= 0; --i)
      if (INode* child = node->GetChildNode(i)) pending.push_back(child);
  }
  return scene;
}

}  // namespace sim
