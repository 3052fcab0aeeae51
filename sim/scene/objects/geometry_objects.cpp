// The standard primitives (Box, Sphere, Cylinder, Plane, Cone, Tube, Torus, Pyramid, GeoSphere and
// Teapot): geometry whose mesh is built from its parameter block, with the host's class ids,
// parameter names, default sizes and segment counts. Slice parameters are kept but do not cut the
// mesh yet.
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

// ---- Cone ---------------------------------------------------------------------------------------

enum { cone_radius1, cone_radius2, cone_height, cone_hsegs, cone_capsegs, cone_sides, cone_smooth, cone_slice,
       cone_sliceFrom, cone_sliceTo, cone_mapcoords };

void* newCone(BOOL loading);
HostClassDesc coneDesc("Cone", GEOMOBJECT_CLASS_ID, Class_ID(0xA86C23DD, 0), "Standard Primitives", newCone);
ParamBlockDesc2 coneParams(0, _T("ConeParameters"), 0, &coneDesc, P_AUTO_CONSTRUCT, 0,
    cone_radius1, _T("radius1"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 15.0, p_range, 0.0, 1e9, p_end,
    cone_radius2, _T("radius2"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 0.0, p_range, 0.0, 1e9, p_end,
    cone_height, _T("height"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, -1e9, 1e9, p_end,
    cone_hsegs, _T("heightsegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 5, p_range, 1, 200, p_end,
    cone_capsegs, _T("capsegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 1, p_range, 1, 100, p_end,
    cone_sides, _T("sides"), TYPE_INT, P_ANIMATABLE, 0, p_default, 24, p_range, 3, 200, p_end,
    cone_smooth, _T("smooth"), TYPE_BOOL, P_ANIMATABLE, 0, p_default, 1, p_end,
    cone_slice, _T("slice"), TYPE_BOOL, P_ANIMATABLE, 0, p_default, 0, p_end,
    cone_sliceFrom, _T("sliceFrom"), TYPE_ANGLE, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    cone_sliceTo, _T("sliceTo"), TYPE_ANGLE, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    cone_mapcoords, _T("mapcoords"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    p_end);

class ConeObject : public PrimitiveObject<ConeObject> {
 public:
  explicit ConeObject(BOOL loading) : PrimitiveObject(coneDesc, "Cone", loading) {}
  void BuildMesh(TimeValue t, Mesh& mesh) override {
    buildConeMesh(mesh, getFloat(cone_radius1, t), getFloat(cone_radius2, t), getFloat(cone_height, t),
                  getInt(cone_hsegs, t), getInt(cone_capsegs, t), getInt(cone_sides, t), getInt(cone_smooth, t) != 0);
  }
};
void* newCone(BOOL loading) { return new ConeObject(loading); }

// ---- Tube ---------------------------------------------------------------------------------------

enum { tube_radius1, tube_radius2, tube_height, tube_hsegs, tube_capsegs, tube_sides, tube_smooth, tube_slice,
       tube_sliceFrom, tube_sliceTo, tube_mapcoords };

void* newTube(BOOL loading);
HostClassDesc tubeDesc("Tube", GEOMOBJECT_CLASS_ID, Class_ID(0x7B21, 0), "Standard Primitives", newTube);
ParamBlockDesc2 tubeParams(0, _T("TubeParameters"), 0, &tubeDesc, P_AUTO_CONSTRUCT, 0,
    tube_radius1, _T("radius1"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, 0.0, 1e9, p_end,
    tube_radius2, _T("radius2"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 20.0, p_range, 0.0, 1e9, p_end,
    tube_height, _T("height"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 50.0, p_range, -1e9, 1e9, p_end,
    tube_hsegs, _T("heightsegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 1, p_range, 1, 200, p_end,
    tube_capsegs, _T("capsegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 1, p_range, 1, 100, p_end,
    tube_sides, _T("sides"), TYPE_INT, P_ANIMATABLE, 0, p_default, 24, p_range, 3, 200, p_end,
    tube_smooth, _T("smooth"), TYPE_BOOL, P_ANIMATABLE, 0, p_default, 1, p_end,
    tube_slice, _T("slice"), TYPE_BOOL, P_ANIMATABLE, 0, p_default, 0, p_end,
    tube_sliceFrom, _T("sliceFrom"), TYPE_ANGLE, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    tube_sliceTo, _T("sliceTo"), TYPE_ANGLE, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    tube_mapcoords, _T("mapcoords"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    p_end);

class TubeObject : public PrimitiveObject<TubeObject> {
 public:
  explicit TubeObject(BOOL loading) : PrimitiveObject(tubeDesc, "Tube", loading) {}
  void BuildMesh(TimeValue t, Mesh& mesh) override {
    buildTubeMesh(mesh, getFloat(tube_radius1, t), getFloat(tube_radius2, t), getFloat(tube_height, t),
                  getInt(tube_hsegs, t), getInt(tube_capsegs, t), getInt(tube_sides, t), getInt(tube_smooth, t) != 0);
  }
};
void* newTube(BOOL loading) { return new TubeObject(loading); }

// ---- Torus --------------------------------------------------------------------------------------

enum { torus_radius1, torus_radius2, torus_rotation, torus_twist, torus_segs, torus_sides, torus_smooth, torus_slice,
       torus_sliceFrom, torus_sliceTo, torus_mapcoords };

void* newTorus(BOOL loading);
HostClassDesc torusDesc("Torus", GEOMOBJECT_CLASS_ID, Class_ID(0x20, 0), "Standard Primitives", newTorus);
ParamBlockDesc2 torusParams(0, _T("TorusParameters"), 0, &torusDesc, P_AUTO_CONSTRUCT, 0,
    torus_radius1, _T("radius1"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, 0.0, 1e9, p_end,
    torus_radius2, _T("radius2"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 10.0, p_range, 0.0, 1e9, p_end,
    torus_rotation, _T("tubeRotation"), TYPE_ANGLE, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    torus_twist, _T("tubeTwist"), TYPE_ANGLE, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    torus_segs, _T("segs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 24, p_range, 3, 200, p_end,
    torus_sides, _T("sides"), TYPE_INT, P_ANIMATABLE, 0, p_default, 12, p_range, 3, 200, p_end,
    torus_smooth, _T("smooth"), TYPE_INT, P_ANIMATABLE, 0, p_default, 0, p_range, 0, 3, p_end,
    torus_slice, _T("slice"), TYPE_BOOL, P_ANIMATABLE, 0, p_default, 0, p_end,
    torus_sliceFrom, _T("sliceFrom"), TYPE_ANGLE, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    torus_sliceTo, _T("sliceTo"), TYPE_ANGLE, P_ANIMATABLE, 0, p_default, 0.0, p_end,
    torus_mapcoords, _T("mapcoords"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    p_end);

class TorusObject : public PrimitiveObject<TorusObject> {
 public:
  explicit TorusObject(BOOL loading) : PrimitiveObject(torusDesc, "Torus", loading) {}
  void BuildMesh(TimeValue t, Mesh& mesh) override {
    buildTorusMesh(mesh, getFloat(torus_radius1, t), getFloat(torus_radius2, t), getFloat(torus_rotation, t),
                   getFloat(torus_twist, t), getInt(torus_segs, t), getInt(torus_sides, t), getInt(torus_smooth, t));
  }
};
void* newTorus(BOOL loading) { return new TorusObject(loading); }

// ---- Pyramid ------------------------------------------------------------------------------------

enum { pyr_width, pyr_depth, pyr_height, pyr_wsegs, pyr_dsegs, pyr_hsegs, pyr_mapcoords };

void* newPyramid(BOOL loading);
HostClassDesc pyramidDesc("Pyramid", GEOMOBJECT_CLASS_ID, Class_ID(0x76BF318A, 0x4BF37B10), "Standard Primitives",
                          newPyramid);
ParamBlockDesc2 pyramidParams(0, _T("PyramidParameters"), 0, &pyramidDesc, P_AUTO_CONSTRUCT, 0,
    pyr_width, _T("width"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, -1e9, 1e9, p_end,
    pyr_depth, _T("depth"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, -1e9, 1e9, p_end,
    pyr_height, _T("height"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, -1e9, 1e9, p_end,
    pyr_wsegs, _T("widthsegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 1, p_range, 1, 200, p_end,
    pyr_dsegs, _T("depthsegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 1, p_range, 1, 200, p_end,
    pyr_hsegs, _T("heightsegs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 1, p_range, 1, 200, p_end,
    pyr_mapcoords, _T("mapcoords"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    p_end);

class PyramidObject : public PrimitiveObject<PyramidObject> {
 public:
  explicit PyramidObject(BOOL loading) : PrimitiveObject(pyramidDesc, "Pyramid", loading) {}
  void BuildMesh(TimeValue t, Mesh& mesh) override {
    buildPyramidMesh(mesh, getFloat(pyr_width, t), getFloat(pyr_depth, t), getFloat(pyr_height, t), getInt(pyr_wsegs, t),
                     getInt(pyr_dsegs, t), getInt(pyr_hsegs, t));
  }
};
void* newPyramid(BOOL loading) { return new PyramidObject(loading); }

// ---- GeoSphere ----------------------------------------------------------------------------------

enum { geo_radius, geo_segs, geo_baseType, geo_smooth, geo_hemisphere, geo_baseToPivot, geo_mapcoords };

void* newGeoSphere(BOOL loading);
HostClassDesc geoSphereDesc("GeoSphere", GEOMOBJECT_CLASS_ID, Class_ID(0, 0x7F9E), "Standard Primitives", newGeoSphere);
ParamBlockDesc2 geoSphereParams(0, _T("GeoSphereParameters"), 0, &geoSphereDesc, P_AUTO_CONSTRUCT, 0,
    geo_radius, _T("radius"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, 0.0, 1e9, p_end,
    geo_segs, _T("segs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 4, p_range, 1, 200, p_end,
    geo_baseType, _T("baseType"), TYPE_INT, 0, 0, p_default, 2, p_range, 0, 2, p_end,
    geo_smooth, _T("smooth"), TYPE_BOOL, P_ANIMATABLE, 0, p_default, 1, p_end,
    geo_hemisphere, _T("hemisphere"), TYPE_BOOL, P_ANIMATABLE, 0, p_default, 0, p_end,
    geo_baseToPivot, _T("baseToPivot"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    geo_mapcoords, _T("mapcoords"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    p_end);

class GeoSphereObject : public PrimitiveObject<GeoSphereObject> {
 public:
  explicit GeoSphereObject(BOOL loading) : PrimitiveObject(geoSphereDesc, "GeoSphere", loading) {}
  void BuildMesh(TimeValue t, Mesh& mesh) override {
    buildGeoSphereMesh(mesh, getFloat(geo_radius, t), getInt(geo_segs, t), getInt(geo_baseType, t),
                       getInt(geo_smooth, t) != 0, getInt(geo_hemisphere, t) != 0, getInt(geo_baseToPivot, t) != 0);
  }
};
void* newGeoSphere(BOOL loading) { return new GeoSphereObject(loading); }

// ---- Teapot -------------------------------------------------------------------------------------

enum { tea_radius, tea_segs, tea_smooth, tea_body, tea_handle, tea_spout, tea_lid, tea_mapcoords };

void* newTeapot(BOOL loading);
HostClassDesc teapotDesc("Teapot", GEOMOBJECT_CLASS_ID, Class_ID(0xACAD13D3, 0xACAD26D9), "Standard Primitives",
                         newTeapot);
ParamBlockDesc2 teapotParams(0, _T("TeapotParameters"), 0, &teapotDesc, P_AUTO_CONSTRUCT, 0,
    tea_radius, _T("radius"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, 0.0, 1e9, p_end,
    tea_segs, _T("segs"), TYPE_INT, P_ANIMATABLE, 0, p_default, 4, p_range, 1, 64, p_end,
    tea_smooth, _T("smooth"), TYPE_BOOL, P_ANIMATABLE, 0, p_default, 1, p_end,
    tea_body, _T("body"), TYPE_BOOL, P_ANIMATABLE, 0, p_default, 1, p_end,
    tea_handle, _T("handle"), TYPE_BOOL, P_ANIMATABLE, 0, p_default, 1, p_end,
    tea_spout, _T("spout"), TYPE_BOOL, P_ANIMATABLE, 0, p_default, 1, p_end,
    tea_lid, _T("lid"), TYPE_BOOL, P_ANIMATABLE, 0, p_default, 1, p_end,
    tea_mapcoords, _T("mapcoords"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    p_end);

class TeapotObject : public PrimitiveObject<TeapotObject> {
 public:
  explicit TeapotObject(BOOL loading) : PrimitiveObject(teapotDesc, "Teapot", loading) {}
  void BuildMesh(TimeValue t, Mesh& mesh) override {
    buildTeapotMesh(mesh, getFloat(tea_radius, t), getInt(tea_segs, t), getInt(tea_smooth, t) != 0,
                    getInt(tea_body, t) != 0, getInt(tea_handle, t) != 0, getInt(tea_spout, t) != 0,
                    getInt(tea_lid, t) != 0);
  }
};
void* newTeapot(BOOL loading) { return new TeapotObject(loading); }

}  // namespace
}  // namespace sim
