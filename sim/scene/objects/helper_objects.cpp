// Dummy and Point: helpers that only show in the viewports; their sizes live in parameter blocks.
#include "istdplug.h"
#include "scene/host_class_desc.h"
#include "scene/objects/param_object.h"

namespace sim {
namespace {

enum { dummy_boxsize };

void* newDummy(BOOL loading);
HostClassDesc dummyDesc("Dummy", HELPER_CLASS_ID, Class_ID(DUMMY_CLASS_ID, 0), "Standard", newDummy);
ParamBlockDesc2 dummyParams(0, _T("DummyParameters"), 0, &dummyDesc, P_AUTO_CONSTRUCT, 0,
    dummy_boxsize, _T("boxsize"), TYPE_POINT3, 0, 0, p_default, Point3(10.0f, 10.0f, 10.0f), p_end,
    p_end);

class DummyObject : public PBlockObject<HelperObject> {
 public:
  explicit DummyObject(BOOL loading) {
    if (!loading) dummyDesc.MakeAutoParamBlocks(this);
  }
  void GetClassName(TSTR& s) override { s = "Dummy"; }
  Class_ID ClassID() override { return Class_ID(DUMMY_CLASS_ID, 0); }
  const TCHAR* GetObjectName() override { return "Dummy"; }
  RefTargetHandle Clone(RemapDir& remap) override { return cloneWithBlock(new DummyObject(TRUE), remap); }
};
void* newDummy(BOOL loading) { return new DummyObject(loading); }

enum { pt_size, pt_centermarker, pt_axistripod, pt_cross, pt_box, pt_screensize, pt_drawontop };

void* newPoint(BOOL loading);
HostClassDesc pointDesc("Point", HELPER_CLASS_ID, POINTHELP_CLASS_ID, "Standard", newPoint);
ParamBlockDesc2 pointParams(0, _T("PointParameters"), 0, &pointDesc, P_AUTO_CONSTRUCT, 0,
    pt_size, _T("size"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 20.0, p_range, 0.0, 1e9, p_end,
    pt_centermarker, _T("centermarker"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    pt_axistripod, _T("axistripod"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    pt_cross, _T("cross"), TYPE_BOOL, 0, 0, p_default, 1, p_end,
    pt_box, _T("box"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    pt_screensize, _T("constantscreensize"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    pt_drawontop, _T("drawontop"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    p_end);

class PointObject : public PBlockObject<HelperObject> {
 public:
  explicit PointObject(BOOL loading) {
    if (!loading) pointDesc.MakeAutoParamBlocks(this);
  }
  void GetClassName(TSTR& s) override { s = "Point"; }
  Class_ID ClassID() override { return POINTHELP_CLASS_ID; }
  const TCHAR* GetObjectName() override { return "Point"; }
  RefTargetHandle Clone(RemapDir& remap) override { return cloneWithBlock(new PointObject(TRUE), remap); }
};
void* newPoint(BOOL loading) { return new PointObject(loading); }

}  // namespace
}  // namespace sim
