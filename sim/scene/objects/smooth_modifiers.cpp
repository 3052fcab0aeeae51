// MeshSmooth and TurboSmooth: modifiers that subdivide the mesh below them (Catmull-Clark, see
// subdivide_mesh.h). The scene is evaluated for the viewport and the renderer alike, so the
// render-time iterations are kept as settings for scripts and files and the viewport iterations
// make the mesh.
#include "scene/host_class_desc.h"
#include "scene/objects/param_object.h"
#include "scene/objects/subdivide_mesh.h"

namespace sim {
namespace {

// The application's class ids.
const Class_ID kMeshSmoothClassID(50, 32670);
const Class_ID kTurboSmoothClassID(225606462, 1226647975);

// ---- MeshSmooth -----------------------------------------------------------------------------------

enum {
  ms_subdivMethod, ms_iterations, ms_smoothness, ms_useRenderIterations, ms_renderIterations,
  ms_useRenderSmoothness, ms_renderSmoothness, ms_ignoreSel, ms_sepByMats, ms_sepBySmGroups,
};

void* newMeshSmooth(BOOL loading);
HostClassDesc meshSmoothDesc("MeshSmooth", OSM_CLASS_ID, kMeshSmoothClassID, "Subdivision Surfaces", newMeshSmooth);
ParamBlockDesc2 meshSmoothParams(0, _T("MeshSmoothParameters"), 0, &meshSmoothDesc, P_AUTO_CONSTRUCT, 0,
    ms_subdivMethod, _T("subdivMethod"), TYPE_INT, 0, 0, p_default, 2, p_range, 0, 2, p_end,
    ms_iterations, _T("iterations"), TYPE_INT, 0, 0, p_default, 0, p_range, 0, 10, p_end,
    ms_smoothness, _T("smoothness"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 1.0, p_range, 0.0, 1.0, p_end,
    ms_useRenderIterations, _T("useRenderIterations"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    ms_renderIterations, _T("renderIterations"), TYPE_INT, 0, 0, p_default, 0, p_range, 0, 10, p_end,
    ms_useRenderSmoothness, _T("useRenderSmoothness"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    ms_renderSmoothness, _T("renderSmoothness"), TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 1.0, p_range, 0.0, 1.0, p_end,
    ms_ignoreSel, _T("ignoreSel"), TYPE_BOOL, 0, 0, p_default, 1, p_end,
    ms_sepByMats, _T("sepByMats"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    ms_sepBySmGroups, _T("sepBySmGroups"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    p_end);

// What both modifiers share: they take a triangle object and subdivide its mesh in place.
template <class Self>
class SmoothModifier : public PBlockObject<Modifier> {
 public:
  Class_ID InputType() override { return triObjectClassID; }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = cloneWithBlock(new Self(TRUE), remap);
    if (!IsEnabled()) c->DisableMod();
    return c;
  }
  void ModifyObject(TimeValue t, ModContext&, ObjectState* os, INode*) override {
    auto* tri = os ? dynamic_cast<TriObject*>(os->obj) : nullptr;
    if (!tri) return;
    subdivideMesh(tri->mesh, static_cast<Self*>(this)->iterationsAt(t));
  }
};

class MeshSmoothModifier : public SmoothModifier<MeshSmoothModifier> {
 public:
  explicit MeshSmoothModifier(BOOL loading) {
    if (!loading) meshSmoothDesc.MakeAutoParamBlocks(this);
  }
  void GetClassName(TSTR& s) override { s = "MeshSmooth"; }
  Class_ID ClassID() override { return kMeshSmoothClassID; }
  const TCHAR* GetObjectName() override { return "MeshSmooth"; }
  // A smoothness of 0 smooths no corner, so it adds no faces.
  int iterationsAt(TimeValue t) { return getFloat(ms_smoothness, t) > 0.0f ? getInt(ms_iterations, t) : 0; }
};
void* newMeshSmooth(BOOL loading) { return new MeshSmoothModifier(loading); }

// ---- TurboSmooth ----------------------------------------------------------------------------------

enum {
  ts_iterations, ts_useRenderIterations, ts_renderIterations, ts_isolineDisplay, ts_explicitNormals,
  ts_smoothResult, ts_sepByMats, ts_sepBySmGroups, ts_update,
};

void* newTurboSmooth(BOOL loading);
HostClassDesc turboSmoothDesc("TurboSmooth", OSM_CLASS_ID, kTurboSmoothClassID, "Subdivision Surfaces", newTurboSmooth);
ParamBlockDesc2 turboSmoothParams(0, _T("TurboSmoothParameters"), 0, &turboSmoothDesc, P_AUTO_CONSTRUCT, 0,
    ts_iterations, _T("iterations"), TYPE_INT, 0, 0, p_default, 1, p_range, 0, 10, p_end,
    ts_useRenderIterations, _T("useRenderIterations"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    ts_renderIterations, _T("renderIterations"), TYPE_INT, 0, 0, p_default, 0, p_range, 0, 10, p_end,
    ts_isolineDisplay, _T("isolineDisplay"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    ts_explicitNormals, _T("explicitNormals"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    ts_smoothResult, _T("smoothResult"), TYPE_BOOL, 0, 0, p_default, 1, p_end,
    ts_sepByMats, _T("sepByMats"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    ts_sepBySmGroups, _T("sepBySmGroups"), TYPE_BOOL, 0, 0, p_default, 0, p_end,
    ts_update, _T("update"), TYPE_INT, 0, 0, p_default, 0, p_range, 0, 2, p_end,
    p_end);

class TurboSmoothModifier : public SmoothModifier<TurboSmoothModifier> {
 public:
  explicit TurboSmoothModifier(BOOL loading) {
    if (!loading) turboSmoothDesc.MakeAutoParamBlocks(this);
  }
  void GetClassName(TSTR& s) override { s = "TurboSmooth"; }
  Class_ID ClassID() override { return kTurboSmoothClassID; }
  const TCHAR* GetObjectName() override { return "TurboSmooth"; }
  int iterationsAt(TimeValue t) { return getInt(ts_iterations, t); }
};
void* newTurboSmooth(BOOL loading) { return new TurboSmoothModifier(loading); }

}  // namespace
}  // namespace sim
