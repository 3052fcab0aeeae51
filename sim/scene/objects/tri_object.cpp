#include "triobj.h"

#include "scene/host_class_desc.h"
#include "scenefile/chunk_io.h"

#include <algorithm>

TriObject::TriObject() = default;
TriObject::~TriObject() = default;

RefTargetHandle TriObject::Clone(RemapDir& remap) {
  auto* c = new TriObject;
  c->mesh = mesh;
  BaseClone(this, c, remap);
  return c;
}

namespace {
enum : USHORT { kVerts = 0x0001, kFaces = 0x0002, kSelLevel = 0x0003, kVertSel = 0x0004, kSoftSel = 0x0005 };
}

IOResult TriObject::Save(ISave* isave) {
  std::vector<float> verts;
  verts.reserve(static_cast<size_t>(mesh.numVerts) * 3);
  for (int i = 0; i < mesh.numVerts; ++i) verts.insert(verts.end(), {mesh.verts[i].x, mesh.verts[i].y, mesh.verts[i].z});
  std::vector<std::uint32_t> faces;
  faces.reserve(static_cast<size_t>(mesh.numFaces) * 5);
  for (int i = 0; i < mesh.numFaces; ++i) {
    const Face& f = mesh.faces[i];
    faces.insert(faces.end(), {f.v[0], f.v[1], f.v[2], f.smGroup, f.flags});
  }
  std::vector<unsigned char> sel(static_cast<size_t>(mesh.numVerts));
  for (int i = 0; i < mesh.numVerts; ++i) sel[static_cast<size_t>(i)] = mesh.vertSel[i] ? 1 : 0;
  const std::uint32_t level = mesh.selLevel;
  if (sim::io::writeArray(isave, kVerts, verts.data(), verts.size()) != IO_OK ||
      sim::io::writeArray(isave, kFaces, faces.data(), faces.size()) != IO_OK ||
      sim::io::writeChunk(isave, kSelLevel, level) != IO_OK || sim::io::writeArray(isave, kVertSel, sel.data(), sel.size()) != IO_OK)
    return IO_ERROR;
  if (const float* soft = mesh.vertexFloat(VDATA_SELECT))
    return sim::io::writeArray(isave, kSoftSel, soft, static_cast<size_t>(mesh.numVerts));
  return IO_OK;
}

IOResult TriObject::Load(ILoad* iload) {
  std::vector<float> verts, soft;
  std::vector<std::uint32_t> faces;
  std::vector<unsigned char> sel;
  std::uint32_t level = MESH_OBJECT;
  bool hasSoft = false;
  IOResult r = sim::io::forEachChunk(iload, [&](USHORT id) -> IOResult {
    switch (id) {
      case kVerts: return sim::io::readArray(iload, verts);
      case kFaces: return sim::io::readArray(iload, faces);
      case kSelLevel: return sim::io::read(iload, level);
      case kVertSel: return sim::io::readArray(iload, sel);
      case kSoftSel: hasSoft = true; return sim::io::readArray(iload, soft);
      default: return IO_OK;
    }
  });
  const size_t nv = verts.size() / 3, nf = faces.size() / 5;
  if (r != IO_OK || verts.size() % 3 || faces.size() % 5 || (!sel.empty() && sel.size() != nv) || (hasSoft && soft.size() != nv))
    return IO_ERROR;
  // Faces name vertices the mesh has, or the mesh is not one.
  for (size_t i = 0; i < nf; ++i)
    for (int k = 0; k < 3; ++k)
      if (faces[i * 5 + static_cast<size_t>(k)] >= nv) return IO_ERROR;
  if (!mesh.setNumVerts(static_cast<int>(nv)) || !mesh.setNumFaces(static_cast<int>(nf))) return IO_ERROR;
  for (size_t i = 0; i < nv; ++i) mesh.verts[i] = Point3(verts[i * 3], verts[i * 3 + 1], verts[i * 3 + 2]);
  for (size_t i = 0; i < nf; ++i) {
    Face& f = mesh.faces[i];
    f.setVerts(static_cast<int>(faces[i * 5]), static_cast<int>(faces[i * 5 + 1]), static_cast<int>(faces[i * 5 + 2]));
    f.smGroup = faces[i * 5 + 3];
    f.flags = faces[i * 5 + 4];
  }
  mesh.selLevel = level;
  for (size_t i = 0; i < sel.size(); ++i) mesh.vertSel.Set(static_cast<int>(i), sel[i]);
  if (hasSoft) {
    mesh.setVDataSupport(VDATA_SELECT);
    std::copy(soft.begin(), soft.end(), mesh.vertexFloat(VDATA_SELECT));
  }
  mesh.InvalidateGeomCache();
  return IO_OK;
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
