// The script properties of scene nodes. Positions and rotations are in the script's working
// coordinate system (world unless `in coordsys` says); scale is the node's own (its scale
// controller's value) in every system. Flags read and write the node settings of inode.h.
#include "core/core_interface.h"
#include "core/text.h"
#include "imtl.h"
#include "scene/scene_node.h"
#include "scene/scene_values.h"
#include "script/property_table.h"
#include "script/transform_context.h"

#include "maxscript/exceptions.h"

namespace sim {
namespace {

SceneNode* node(ReferenceTarget* t) { return static_cast<SceneNode*>(t); }

Quat rotationOf(const Matrix3& m) {
  Matrix3 r(m[0].Normalize(), m[1].Normalize(), m[2].Normalize(), Point3());
  return Quat(r);
}

void setWorldPosition(SceneNode* n, TimeValue t, const Point3& world) {
  Control* tm = n->GetTMController();
  Control* pos = tm ? tm->GetPositionController() : nullptr;
  if (!pos) {
    Matrix3 m = n->GetNodeTM(t);
    m.SetTrans(world);
    n->SetNodeTM(t, m);
    return;
  }
  Point3 local = world * n->GetParentTM(t).Inverse();
  pos->SetValue(t, &local, 1, CTRL_ABSOLUTE);
}

void setWorldRotation(SceneNode* n, TimeValue t, const Quat& world) {
  Control* tm = n->GetTMController();
  Control* rot = tm ? tm->GetRotationController() : nullptr;
  Quat local = world * rotationOf(n->GetParentTM(t)).Inverse();
  if (rot) {
    rot->SetValue(t, &local, 1, CTRL_ABSOLUTE);
    return;
  }
  Matrix3 m = n->GetNodeTM(t), r;
  world.MakeMatrix(r);
  r.SetTrans(m.GetTrans());
  n->SetNodeTM(t, r);
}

// Positions and rotations read and write in the script's working coordinate system.
Value* getPosition(ReferenceTarget* t, TimeValue tv) {
  return new Point3Value(positionToWorkingSystem(node(t), tv, node(t)->GetNodeTM(tv).GetTrans()));
}
void setPosition(ReferenceTarget* t, TimeValue tv, Value* v) {
  setWorldPosition(node(t), tv, positionFromWorkingSystem(node(t), tv, v->to_point3()));
}
Value* getRotation(ReferenceTarget* t, TimeValue tv) {
  return quatValue(rotationToWorkingSystem(node(t), tv, rotationOf(node(t)->GetNodeTM(tv))));
}
void setRotation(ReferenceTarget* t, TimeValue tv, Value* v) {
  setWorldRotation(node(t), tv, rotationFromWorkingSystem(node(t), tv, toQuat(v)));
}

Value* motionBlurName(int kind) {
  return Name::intern(kind == MOTION_BLUR_OBJECT ? "object" : kind == MOTION_BLUR_IMAGE ? "image" : "none");
}

int toMotionBlur(Value* v) {
  if (is_name(v)) {
    const std::string& n = static_cast<Name*>(v)->lower;
    if (n == "none") return MOTION_BLUR_NONE;
    if (n == "object") return MOTION_BLUR_OBJECT;
    if (n == "image") return MOTION_BLUR_IMAGE;
    throw RuntimeError("Unknown motion blur type: ", v);
  }
  return v->to_int();
}

// A node's modifiers as an array that can also be indexed by a modifier's name ($b.modifiers[#bend],
// $b.modifiers["Bend"]), ignoring case as names do; a name no modifier has gives undefined.
class ModifierArray : public Array {
 public:
  Value* get_index(Value* index) override {
    if (!is_name(index) && !is_string(index)) return Array::get_index(index);
    const std::string wanted = index->to_string();
    for (int i = 1; i <= size; ++i)
      if (auto* m = dynamic_cast<Modifier*>(get(i)->to_reftarg()); m && equalsIgnoreCase(m->GetName().str(), wanted))
        return get(i);
    return undefined;
  }
};

// The modifiers from the top of the pipeline down: space-warp bindings, then the object's own.
Value* modifierArray(SceneNode* n) {
  auto* out = new ModifierArray();
  Object* o = n->GetObjOrWSMRef();
  for (int depth = 0; o && depth < 64; ++depth) {
    auto* d = dynamic_cast<IDerivedObject*>(o);
    if (!d) break;
    for (int i = 0; i < d->NumModifiers(); ++i) out->append(wrapTarget(d->GetModifier(i)));
    o = d->GetObjRef();
  }
  return out;
}

Object* baseObjectOf(SceneNode* n) {
  Object* o = n->GetObjectRef();
  return o ? o->FindBaseObject() : nullptr;
}

#define FLAG(name, getter, setter)                                                         \
  {name, [](ReferenceTarget* t, TimeValue) { return bool_result(node(t)->getter() != 0); }, \
   [](ReferenceTarget* t, TimeValue, Value* v) { node(t)->setter(toFlag(v)); }}

const bool nodeProps = addPropertyTable(
    PropertyScope{BASENODE_CLASS_ID, Class_ID(0, 0), false,
                  [](ReferenceTarget* t) { return dynamic_cast<SceneNode*>(t) != nullptr; }},
    {
        {"name", [](ReferenceTarget* t, TimeValue) -> Value* { return new String(node(t)->GetName()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { node(t)->SetName(v->to_string()); }},
        {"pos", getPosition, setPosition},
        {"position", getPosition, setPosition},
        {"rotation", getRotation, setRotation},
        {"scale",
         [](ReferenceTarget* t, TimeValue tv) -> Value* {
           Control* tm = node(t)->GetTMController();
           Control* s = tm ? tm->GetScaleController() : nullptr;
           ScaleValue sv;
           Interval valid = FOREVER;
           if (s) s->GetValue(tv, &sv, valid, CTRL_ABSOLUTE);
           return new Point3Value(sv.s);
         },
         [](ReferenceTarget* t, TimeValue tv, Value* v) {
           Control* tm = node(t)->GetTMController();
           Control* s = tm ? tm->GetScaleController() : nullptr;
           ScaleValue sv(v->to_point3());
           if (s) s->SetValue(tv, &sv, 1, CTRL_ABSOLUTE);
         }},
        {"transform", [](ReferenceTarget* t, TimeValue tv) { return matrixValue(node(t)->GetNodeTM(tv)); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) {
           Matrix3 m = toMatrix(v);
           node(t)->SetNodeTM(tv, m);
         }},
        {"objectOffsetPos", [](ReferenceTarget* t, TimeValue) -> Value* { return new Point3Value(node(t)->GetObjOffsetPos()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { node(t)->SetObjOffsetPos(v->to_point3()); }},
        {"objectOffsetRot", [](ReferenceTarget* t, TimeValue) { return quatValue(node(t)->GetObjOffsetRot()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { node(t)->SetObjOffsetRot(toQuat(v)); }},
        {"objectOffsetScale", [](ReferenceTarget* t, TimeValue) -> Value* { return new Point3Value(node(t)->GetObjOffsetScale().s); },
         [](ReferenceTarget* t, TimeValue, Value* v) { node(t)->SetObjOffsetScale(ScaleValue(v->to_point3())); }},
        {"parent",
         [](ReferenceTarget* t, TimeValue) {
           INode* p = node(t)->GetParentNode();
           return p && !p->IsRootNode() ? wrapTarget(p) : undefined;
         },
         [](ReferenceTarget* t, TimeValue tv, Value* v) {
           if (v == undefined) node(t)->Detach(tv, 1);
           else v->to_node()->AttachChild(node(t), 1);
         }},
        {"children",
         [](ReferenceTarget* t, TimeValue) -> Value* {
           auto* a = new Array(0);
           for (int i = 0; i < node(t)->NumberOfChildren(); ++i) a->append(wrapTarget(node(t)->GetChildNode(i)));
           return a;
         },
         nullptr},
        {"handle", [](ReferenceTarget* t, TimeValue) { return Integer::intern(static_cast<int>(node(t)->GetHandle())); }, nullptr},
        {"wirecolor", [](ReferenceTarget* t, TimeValue) { return colorValue(Color(node(t)->GetWireColor())); },
         [](ReferenceTarget* t, TimeValue, Value* v) { node(t)->SetWireColor(toColor(v).toRGB()); }},
        {"material", [](ReferenceTarget* t, TimeValue) { return wrapTarget(node(t)->GetMtl()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { node(t)->SetMtl(v == undefined ? nullptr : v->to_mtl()); }},
        {"baseObject", [](ReferenceTarget* t, TimeValue) { return wrapTarget(baseObjectOf(node(t))); }, nullptr},
        {"modifiers", [](ReferenceTarget* t, TimeValue) { return modifierArray(node(t)); }, nullptr},
        {"target", [](ReferenceTarget* t, TimeValue) { return wrapTarget(node(t)->GetTarget()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { node(t)->setTarget(v == undefined ? nullptr : v->to_node()); }},
        {"gbufferChannel", [](ReferenceTarget* t, TimeValue) { return Integer::intern(static_cast<int>(node(t)->GetGBufID())); },
         [](ReferenceTarget* t, TimeValue, Value* v) {
           int id = v->to_int();
           if (id < 0) throw RuntimeError("The G-buffer channel cannot be negative: ", v);
           node(t)->SetGBufID(static_cast<ULONG>(id));
         }},
        FLAG("renderable", Renderable, SetRenderable),
        FLAG("primaryVisibility", GetPrimaryVisibility, SetPrimaryVisibility),
        FLAG("secondaryVisibility", GetSecondaryVisibility, SetSecondaryVisibility),
        FLAG("inheritVisibility", GetInheritVisibility, SetInheritVisibility),
        FLAG("receiveShadows", RcvShadows, SetRcvShadows),
        FLAG("castShadows", CastShadows, SetCastShadows),
        FLAG("applyAtmospherics", ApplyAtmospherics, SetApplyAtmospherics),
        FLAG("renderOccluded", GetRenderOccluded, SetRenderOccluded),
        {"motionBlurOn", [](ReferenceTarget* t, TimeValue tv) { return bool_result(node(t)->GetMotBlurOnOff(tv) != 0); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { node(t)->SetMotBlurOnOff(tv, toFlag(v)); }},
        FLAG("isFrozen", IsFrozen, Freeze),
        FLAG("xray", HasObjXRayMtl, XRayMtl),
        FLAG("showTrajectory", GetTrajectoryON, SetTrajectoryON),
        FLAG("backfaceCull", GetBackCull, BackCull),
        {"showFrozenInGray", [](ReferenceTarget* t, TimeValue) { return bool_result(node(t)->ShowFrozenWithMtl() == 0); },
         [](ReferenceTarget* t, TimeValue, Value* v) { node(t)->SetShowFrozenWithMtl(!toFlag(v)); }},
        FLAG("generateCaustics", GetGenerateCaustics, SetGenerateCaustics),
        FLAG("generateGlobalIllum", GetGenerateGlobalIllum, SetGenerateGlobalIllum),
        FLAG("boxMode", GetBoxMode, BoxMode),
        FLAG("isHidden", IsHidden, Hide),
        {"isSelected", [](ReferenceTarget* t, TimeValue) { return bool_result(node(t)->Selected() != 0); },
         [](ReferenceTarget* t, TimeValue, Value* v) {
           if (toFlag(v)) coreInterface()->SelectNode(node(t), 0);
           else coreInterface()->DeSelectNode(node(t));
         }},
        {"motionBlur", [](ReferenceTarget* t, TimeValue) { return motionBlurName(node(t)->MotBlur()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { node(t)->SetMotBlur(toMotionBlur(v)); }},
        {"visibility",
         [](ReferenceTarget* t, TimeValue tv) {
           return node(t)->GetVisController() ? Float::intern(node(t)->GetVisibility(tv)) : true_value;
         },
         [](ReferenceTarget* t, TimeValue tv, Value* v) {
           float vis = is_bool(v) ? (v->to_bool() ? 1.0f : 0.0f) : v->to_float();
           node(t)->SetVisibility(tv, vis);
         }},
        {"imageMotionBlurMultiplier", [](ReferenceTarget* t, TimeValue tv) { return Float::intern(node(t)->GetImageBlurMultiplier(tv)); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { node(t)->SetImageBlurMultiplier(tv, v->to_float()); }},
    });

#undef FLAG

}  // namespace
}  // namespace sim
