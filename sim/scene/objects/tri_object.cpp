#include "triobj.h"

#include "scene/host_class_desc.h"

TriObject::TriObject() = default;
TriObject::~TriObject() = default;

RefTargetHandle TriObject::Clone(RemapDir& remap) {
  auto* c = new TriObject;
  c->mesh = mesh;
  BaseClone(this, c, remap);
  return c;
}

int TriObject::CanConvertToType(Class_ID obtype) { return obtype == triObjectClassID || obtype == defObjectClassID; }

Object* TriObject::ConvertToType(TimeValue, Class_ID obtype) { return CanConvertToType(obtype) ? this : nullptr; }

void TriObject::Deform(Deformer* defProc, int useSel) {
  if (!defProc) return;
  BitArray sel;
  float* soft = nullptr;
  if (useSel) {
    sel = mesh.VertexTempSel();
    soft = mesh.vertexFloat(VDATA_SELECT);
  }
  for (int i = 0; i < mesh.numVerts; ++i) {
    Point3 p = mesh.verts[i];
    if (!useSel || sel[i]) {
      mesh.verts[i] = defProc->Map(i, p);
    } else if (soft && soft[i] != 0.0f) {
      // Soft selection: a partly selected vertex moves part of the way.
      mesh.verts[i] = p + (defProc->Map(i, p) - p) * soft[i];
    }
  }
  mesh.InvalidateGeomCache();
}

TriObject* CreateNewTriObject() { return new TriObject; }

namespace {
sim::HostClassDesc triObjectDesc("Editable_mesh", GEOMOBJECT_CLASS_ID, triObjectClassID, "Compounds",
                                 [](BOOL) -> void* { return new TriObject; });
}  // namespace
