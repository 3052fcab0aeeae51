// Box, Sphere, Cylinder and Plane: geometry whose mesh is built from its parameter block, with the
// host's default sizes and segment counts.
#include "istdplug.h"
#include "scene/host_class_desc.h"
#include "scene/objects/param_object.h"
#include "scene/objects/primitive_meshes.h"

namespace sim {

Object* ParamGeomObject::ConvertToType(TimeValue t, Class_ID obtype) {
  if (!CanConvertToType(obtype)) return nullptr;
  TriObject* tri = CreateNewTriObject();
  BuildMesh(t, tri->mesh);
  return tri;
}

void ParamGeomObject::GetDeformBBox(TimeValue t, Box3& box, Matrix3* tm, BOOL) {
  Mesh m;
  BuildMesh(t, m);
  box = m.getBoundingBox(tm);
}

namespace {

// Shared shape of the four classes: identity, block, clone.
template <class Derived>
class PrimitiveObject : public ParamGeomObject {
 public:
  PrimitiveObject(HostClassDesc& desc, const char* objectName, BOOL loading) : desc_(desc), objectName_(objectName) {
    if (!loading) desc_.MakeAutoParamBlocks(this);
  }
  void GetClassName(TSTR& s) override { s = desc_.ClassName(); }
  Class_ID ClassID() override { return desc_.ClassID(); }
  const TCHAR* GetObjectName() override { return objectName_; }
  RefTargetHandle Clone(RemapDir& remap) override { return cloneWithBlock(new Derived(TRUE), remap); }

 private:
  HostClassDesc& desc_;
  const char* objectName_;
};

// ---- Box ----------------------------------------------------------------------------------------

enum { box_length, box_width, box_height, box_lsegs, box_wsegs, box_hsegs, box_mapcoords };

void* newBox(BOOL loading);
HostClassDesc boxDesc("Box", GEOMOBJECT_CLASS_ID, Class_ID(BOXOBJ_CLASS_ID, 0), "Standard Primitives", newBox);
ParamBlockDesc2 boxParams(0, _T("BoxParameters"), 0, &boxDesc, P_AUTO_CONSTRUCT, 0,
    box_length, _T("length"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, -1e9, 1e9, p_end,
    box_width, _T("width"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, -1e9, 1e9, p_end,
    box_height, _T("height"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, -1e9, 1e9, p_end,
    box_lsegs, _T("lengthsegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 1, p_range, 1, 200, p_end,
    box_wsegs, _T("widthsegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 1, p_range, 1, 200, p_end,
    box_hsegs, _T("heightsegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 1, p_range, 1, 200, p_end,
    box_mapcoords, _T("mapcoords"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    p_end);

class BoxObject : public PrimitiveObject<BoxObject> {
 public:
  explicit BoxObject(BOOL loading) : PrimitiveObject(boxDesc, "Box", loading) {}
  void BuildMesh(TimeValue t, Mesh& mesh) override {
    buildBoxMesh(mesh, getFloat(box_length, t), getFloat(box_width, t), getFloat(box_height, t), getInt(box_lsegs, t),
                 getInt(box_wsegs, t), getInt(box_hsegs, t));
  }
};
void* newBox(BOOL loading) { return new BoxObject(loading); }

// ---- Sphere -------------------------------------------------------------------------------------

enum { sph_radius, sph_segs, sph_smooth, sph_hemisphere, sph_chop, sph_slice, sph_sliceFrom, sph_sliceTo, sph_recenter,
       sph_mapcoords };

void* newSphere(BOOL loading);
HostClassDesc sphereDesc("Sphere", GEOMOBJECT_CLASS_ID, Class_ID(SPHERE_CLASS_ID, 0), "Standard Primitives", newSphere);
ParamBlockDesc2 sphereParams(0, _T("SphereParameters"), 0, &sphereDesc, P_AUTO_CONSTRUCT, 0,
    sph_radius, _T("radius"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, 0.0, 1e9, p_end,
    sph_segs, _T("segs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 32, p_range, 4, 200, p_end,
    sph_smooth, _T("smooth"), TYPE_BOOL, P_ANIMATABLE, 0, p_default, 1, p_end,
    sph_hemisphere, _T("hemisphere"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 0.0, p_range, 0.0, 1.0, p_end,
    sph_chop, _T("chop"), TYPE_INT, 0, 0, p_default, 0, p_range, 0, 1, p_end,
    sph_slice, _T("slice"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    sph_sliceFrom, _T("sliceFrom"), TYPE_ANGLE, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    sph_sliceTo, _T("sliceTo"), TYPE_ANGLE, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    sph_recenter, _T("recenter"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    sph_mapcoords, _T("mapcoords"), TYPE_BOOL, 0, 0, p_default, 1, p_end,
    p_end);

class SphereObject : public PrimitiveObject<SphereObject> {
 public:
  explicit SphereObject(BOOL loading) : PrimitiveObject(sphereDesc, "Sphere", loading) {}
  void BuildMesh(TimeValue t, Mesh& mesh) override {
    float r = getFloat(sph_radius, t);
    buildSphereMesh(mesh, r, getInt(sph_segs, t), getInt(sph_smooth, t) != 0);
    // "Base to pivot" stands the sphere on its pivot instead of centring it.
    if (getInt(sph_recenter, t))
      for (int i = 0; i < mesh.numVerts; ++i) mesh.verts[i].z += r;
  }
};
void* newSphere(BOOL loading) { return new SphereObject(loading); }

// ---- Cylinder -----------------------------------------------------------------------------------

enum { cyl_radius, cyl_height, cyl_hsegs, cyl_capsegs, cyl_sides, cyl_smooth, cyl_slice, cyl_sliceFrom, cyl_sliceTo,
       cyl_mapcoords };

void* newCylinder(BOOL loading);
HostClassDesc cylinderDesc("Cylinder", GEOMOBJECT_CLASS_ID, Class_ID(CYLINDER_CLASS_ID, 0), "Standard Primitives",
                           newCylinder);
ParamBlockDesc2 cylinderParams(0, _T("CylinderParameters"), 0, &cylinderDesc, P_AUTO_CONSTRUCT, 0,
    cyl_radius, _T("radius"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 15.0, p_range, 0.0, 1e9, p_end,
    cyl_height, _T("height"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, -1e9, 1e9, p_end,
    cyl_hsegs, _T("heightsegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 5, p_range, 1, 200, p_end,
    cyl_capsegs, _T("capsegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 1, p_range, 1, 100, p_end,
    cyl_sides, _T("sides"), TYPE_INT, P_ANIMATABLE, 0, p_default, 18, p_range, 3, 200, p_end,
    cyl_smooth, _T("smooth"), TYPE_BOOL, P_ANIMATABLE, 0, p_default, 1, p_end,
    cyl_slice, _T("slice"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    cyl_sliceFrom, _T("sliceFrom"), TYPE_ANGLE, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    cyl_sliceTo, _T("sliceTo"), TYPE_ANGLE, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    cyl_mapcoords, _T("mapcoords"), TYPE_BOOL, 0, 0, p_default, 1, p_end,
    p_end);

class CylinderObject : public PrimitiveObject<CylinderObject> {
 public:
  explicit CylinderObject(BOOL loading) : PrimitiveObject(cylinderDesc, "Cylinder", loading) {}
  void BuildMesh(TimeValue t, Mesh& mesh) override {
    buildCylinderMesh(mesh, getFloat(cyl_radius, t), getFloat(cyl_height, t), getInt(cyl_hsegs, t), getInt(cyl_sides, t),
                      getInt(cyl_smooth, t) != 0);
  }
};
void* newCylinder(BOOL loading) { return new CylinderObject(loading); }

// ---- Plane --------------------------------------------------------------------------------------

enum { pln_length, pln_width, pln_lsegs, pln_wsegs, pln_renderScale, pln_renderSegs, pln_mapcoords };

void* newPlane(BOOL loading);
HostClassDesc planeDesc("Plane", GEOMOBJECT_CLASS_ID, PLANE_CLASS_ID, "Standard Primitives", newPlane);
ParamBlockDesc2 planeParams(0, _T("PlaneParameters"), 0, &planeDesc, P_AUTO_CONSTRUCT, 0,
    pln_length, _T("length"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, 0.0, 1e9, p_end,
    pln_width, _T("width"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, 0.0, 1e9, p_end,
    pln_lsegs, _T("lengthsegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 4, p_range, 1, 1000, p_end,
    pln_wsegs, _T("widthsegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 4, p_range, 1, 1000, p_end,
    pln_renderScale, _T("renderScale"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 1.0, p_range, 0.0, 1e9, p_end,
    pln_renderSegs, _T("renderSegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 1, p_range, 1, 1000, p_end,
    pln_mapcoords, _T("mapcoords"), TYPE_BOOL, 0, 0, p_default, 1, p_end,
    p_end);

class PlaneObject : public PrimitiveObject<PlaneObject> {
 public:
  explicit PlaneObject(BOOL loading) : PrimitiveObject(planeDesc, "Plane", loading) {}
  void BuildMesh(TimeValue t, Mesh& mesh) override {
    buildPlaneMesh(mesh, getFloat(pln_length, t), getFloat(pln_width, t), getInt(pln_lsegs, t), getInt(pln_wsegs, t));
  }
};
void* newPlane(BOOL loading) { return new PlaneObject(loading); }

}  // namespace
}  // namespace sim
