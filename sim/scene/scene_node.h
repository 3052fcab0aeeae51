// The host's node. A parent keeps its children alive; the scene keeps the root node alive.
//
// References: 0 the transform controller, 1 the object (the top of the pipeline), 2 the material,
// 3 the visibility controller, 4 the image motion blur multiplier controller, 5 the target node.
// Sub-animations: 0 "Visibility", 1 "Transform", 2 "Object (<name>)", 3 "Material",
// 4 "Image Motion Blur Multiplier".
//
// World transforms are cached per node for the last time asked. A valid cache implies valid caches
// all the way up, so a change clears the caches of the changed node's subtree and stops at nodes
// already cleared, and evaluating walks up only to the nearest cached ancestor: hierarchies of any
// depth cost no recursion and no repeated walks.
#pragma once

#include "core/ref_graph.h"
#include "inode.h"
#include "inodeexposure.h"
#include "object.h"

#include <bitset>
#include <string>
#include <vector>

namespace sim {

class SceneNode;

class HOST_API NodeExposure : public INodeExposure {
 public:
  explicit NodeExposure(SceneNode* node) : node_(node) {}
  bool IsExposed(int ui) const override;
  void SetExposed(bool state, int ui) override;
  void SetExposed(bool state) override;

 private:
  SceneNode* node_;
};

class HOST_API SceneNode : public INode {
 public:
  // A loading node gets its transform controller from the scene file; any other starts with the
  // host's default one.
  explicit SceneNode(bool isRoot = false, bool loading = false);
  ~SceneNode() override;

  void GetClassName(TSTR& s) override { s = "Node"; }
  Class_ID ClassID() override { return Class_ID(BASENODE_CLASS_ID, 0); }
  BaseInterface* GetInterface(Interface_ID id) override;
  void* GetInterface(ULONG id) override { return INode::GetInterface(id); }

  // ---- INode: name and hierarchy ----
  const TCHAR* GetName() override { return name_.c_str(); }
  void SetName(const TCHAR* s) override;
  ULONG GetHandle() override { return handle_; }
  BOOL IsRootNode() override { return isRoot_; }
  INode* GetParentNode() override { return parent_; }
  int NumberOfChildren() override { return static_cast<int>(children_.size()); }
  INode* GetChildNode(int i) override;
  void AttachChild(INode* node, int keepTM = 1) override;
  void Detach(TimeValue t, int keepTM = 1) override;
  void Delete(TimeValue t, int keepChildPosition) override;

  // ---- INode: object ----
  Object* GetObjectRef() override;
  Object* GetObjOrWSMRef() override { return object_; }
  void SetObjectRef(Object* o) override;
  const ObjectState& EvalWorldState(TimeValue time, BOOL evalHidden = TRUE) override;

  // ---- INode: transform ----
  Matrix3 GetNodeTM(TimeValue t, Interval* valid = nullptr) override;
  void SetNodeTM(TimeValue t, Matrix3& tm) override;
  Matrix3 GetParentTM(TimeValue t) override;
  Matrix3 GetObjectTM(TimeValue t, Interval* valid = nullptr) override;
  Matrix3 GetObjTMBeforeWSM(TimeValue t, Interval* valid = nullptr) override { return GetObjectTM(t, valid); }
  Matrix3 GetObjTMAfterWSM(TimeValue t, Interval* valid = nullptr) override { return GetObjectTM(t, valid); }
  Control* GetTMController() override { return tmCtrl_; }
  BOOL SetTMController(Control* m3cont) override;
  Point3 GetObjOffsetPos() override { return offsetPos_; }
  void SetObjOffsetPos(Point3 p) override;
  Quat GetObjOffsetRot() override { return offsetRot_; }
  void SetObjOffsetRot(Quat q) override;
  ScaleValue GetObjOffsetScale() override { return offsetScale_; }
  void SetObjOffsetScale(ScaleValue sv) override;
  INode* GetTarget() override { return target_; }

  // ---- INode: visibility and blur multiplier ----
  Control* GetVisController() override { return visCtrl_; }
  void SetVisController(Control* cont) override;
  float GetVisibility(TimeValue t, Interval* valid = nullptr) override;
  void SetVisibility(TimeValue t, float vis) override;
  Control* GetImageBlurMultController() override { return blurCtrl_; }
  void SetImageBlurMultController(Control* cont) override;
  float GetImageBlurMultiplier(TimeValue t) override;
  void SetImageBlurMultiplier(TimeValue t, float m) override;

  // ---- INode: render and display settings ----
  int Renderable() override { return flags_.renderable; }
  void SetRenderable(BOOL onOff) override { setFlag(&Flags::renderable, onOff); }
  BOOL GetPrimaryVisibility() override { return flags_.primaryVis; }
  void SetPrimaryVisibility(BOOL onOff) override { setFlag(&Flags::primaryVis, onOff); }
  BOOL GetSecondaryVisibility() override { return flags_.secondaryVis; }
  void SetSecondaryVisibility(BOOL onOff) override { setFlag(&Flags::secondaryVis, onOff); }
  int GetInheritVisibility() override { return flags_.inheritVis; }
  void SetInheritVisibility(BOOL onOff) override { setFlag(&Flags::inheritVis, onOff); }
  int RcvShadows() override { return flags_.rcvShadows; }
  void SetRcvShadows(BOOL onOff) override { setFlag(&Flags::rcvShadows, onOff); }
  int CastShadows() override { return flags_.castShadows; }
  void SetCastShadows(BOOL onOff) override { setFlag(&Flags::castShadows, onOff); }
  int ApplyAtmospherics() override { return flags_.applyAtmos; }
  void SetApplyAtmospherics(BOOL onOff) override { setFlag(&Flags::applyAtmos, onOff); }
  int GetRenderOccluded() override { return flags_.renderOccluded; }
  void SetRenderOccluded(BOOL onOff) override { setFlag(&Flags::renderOccluded, onOff); }
  BOOL GetMotBlurOnOff(TimeValue, Interval* = nullptr) override { return flags_.motBlurOn; }
  void SetMotBlurOnOff(TimeValue, BOOL onOff) override { setFlag(&Flags::motBlurOn, onOff); }
  int MotBlur() override { return flags_.motBlur; }
  void SetMotBlur(int kind) override;
  int GetGenerateCaustics() override { return flags_.caustics; }
  void SetGenerateCaustics(BOOL onOff) override { setFlag(&Flags::caustics, onOff); }
  int GetGenerateGlobalIllum() override { return flags_.globalIllum; }
  void SetGenerateGlobalIllum(BOOL onOff) override { setFlag(&Flags::globalIllum, onOff); }
  int IsFrozen() override { return flags_.frozen; }
  void Freeze(BOOL onOff) override { setFlag(&Flags::frozen, onOff); }
  int HasObjXRayMtl() override { return flags_.xray; }
  void XRayMtl(BOOL onOff) override { setFlag(&Flags::xray, onOff); }
  int GetTrajectoryON() override { return flags_.trajectory; }
  void SetTrajectoryON(BOOL onOff) override { setFlag(&Flags::trajectory, onOff); }
  int GetBackCull() override { return flags_.backCull; }
  void BackCull(BOOL onOff) override { setFlag(&Flags::backCull, onOff); }
  int ShowFrozenWithMtl() override { return flags_.frozenWithMtl; }
  void SetShowFrozenWithMtl(BOOL onOff) override { setFlag(&Flags::frozenWithMtl, onOff); }
  int GetBoxMode() override { return flags_.boxMode; }
  void BoxMode(BOOL onOff) override { setFlag(&Flags::boxMode, onOff); }
  void Hide(BOOL onOff) override { setFlag(&Flags::hidden, onOff); }
  // A member stays one only below a group head: a node unlinked from its group is no member.
  BOOL IsGroupHead() override { return flags_.groupHead; }
  BOOL IsGroupMember() override { return flags_.groupMember && groupHead(); }
  BOOL IsOpenGroupHead() override { return flags_.groupHead && flags_.groupOpen; }
  BOOL IsOpenGroupMember() override { return flags_.groupMember && groupHead() && groupHead()->flags_.groupOpen; }
  void SetGroupHead(BOOL b) override { setFlag(&Flags::groupHead, b); }
  void SetGroupMember(BOOL b) override { setFlag(&Flags::groupMember, b); }
  void SetGroupHeadOpen(BOOL b) override { setFlag(&Flags::groupOpen, b); }
  // Members are open as their head is.
  void SetGroupMemberOpen(BOOL) override {}
  // The node's own flag.
  int IsHidden(DWORD = 0, BOOL = FALSE) override { return flags_.hidden; }
  // Hidden in any way: by its own flag or by its layer; for the renderer also on a layer that does
  // not render. The one place that says what a layer means for its nodes.
  int IsNodeHidden(BOOL forRenderer = FALSE) override;
  int Selected() override { return selected_; }
  DWORD GetWireColor() override { return wireColor_; }
  void SetWireColor(DWORD newcol) override;
  ULONG GetGBufID() override { return gbufID_; }
  void SetGBufID(ULONG id) override;

  void GetUserPropBuffer(MSTR& buf) override { buf = MSTR(userProps_); }
  void SetUserPropBuffer(const MSTR& buf) override;
  BOOL GetUserPropString(const MSTR& key, MSTR& string) override;
  void SetUserPropString(const MSTR& key, const MSTR& string) override;
  BOOL UserPropExists(const MSTR& key) override;

  Mtl* GetMtl() override { return mtl_; }
  void SetMtl(Mtl* matl) override;

  // ---- references and sub-animations ----
  int NumRefs() override { return isRoot_ ? 0 : kNumRefs; }
  RefTargetHandle GetReference(int i) override;
  void SetReference(int i, RefTargetHandle rtarg) override;
  RefResult NotifyRefChanged(Interval changeInt, RefTargetHandle hTarget, PartID& partID, RefMessage message) override;
  int NumSubs() override { return isRoot_ ? 0 : 6; }
  Animatable* SubAnim(int i) override;
  TSTR SubAnimName(int i) override;
  // The first slot whose script name (see scriptNameEquals) is `name`, or -1; asks for the
  // object's name only when `name` can be it.
  int subAnimNamed(std::string_view name);
  // Visibility, transform and blur multiplier take controllers of their kind (null removes the
  // visibility and multiplier controllers).
  BOOL AssignController(Animatable* control, int subAnim) override;
  // Name, settings, user properties, pivot and exposure (scene_node_io.cpp). The hierarchy is the
  // scene's to save.
  IOResult Save(ISave* isave) override;
  IOResult Load(ILoad* iload) override;

  // ---- host side ----
  // Frees the whole subtree below and including this node (scene reset and shutdown).
  void DeleteTree();
  // Makes `target` the node this one looks at (null: none). Refuses a node that looks at this one.
  bool setTarget(INode* target);
  // Selection is kept by the scene (CoreInterface::SelectNode); this is its flag on the node.
  void setSelectedFlag(bool on) { selected_ = on; }
  bool inScene() const { return inScene_; }
  // Puts a node that is in the scene under the name index (and its subtree); the scene calls these.
  void setInScene(bool on);
  bool exposed(int ui) const { return ui < 0 || ui >= static_cast<int>(exposure_.size()) || exposure_[static_cast<size_t>(ui)]; }
  void setExposed(int ui, bool state);
  // Takes the settings of `from`: render and display flags, wire colour, G-buffer id, user
  // properties, object offset and exposure (a cloned node's own state).
  void copySettingsFrom(const SceneNode& from);
  // The layer this node was put on (null: layer "0"); LayerList::layerOf says where it is.
  ReferenceTarget* layerRef() const { return layer_.get(); }
  // Puts the node on `layer`, recorded for undo.
  void setLayerRef(ReferenceTarget* layer);

 private:
  IDerivedObject* wsmDerived() const;
  static constexpr int kNumRefs = 6;
  struct Flags {
    bool renderable = true, primaryVis = true, secondaryVis = true, inheritVis = true;
    bool rcvShadows = true, castShadows = true, applyAtmos = true, renderOccluded = false;
    bool motBlurOn = true, caustics = false, globalIllum = false;
    bool frozen = false, xray = false, trajectory = false, backCull = false, frozenWithMtl = false;
    bool boxMode = false, hidden = false;
    bool groupHead = false, groupMember = false, groupOpen = false;
    int motBlur = MOTION_BLUR_NONE;
  };
  void setFlag(bool Flags::*field, BOOL on);
  // The nearest group head above this node, or null.
  SceneNode* groupHead() const {
    for (SceneNode* p = parent_; p; p = p->parent_)
      if (p->flags_.groupHead) return p;
    return nullptr;
  }
  void removeChild(SceneNode* child);
  void attach(SceneNode* child);
  // The transform relative to the parent (the controller's value).
  Matrix3 localTM(TimeValue t);
  void invalidateTM();
  Matrix3 offsetTM() const;
  void changed();

  bool isRoot_;
  bool inScene_ = false;
  std::string name_;
  ULONG handle_;
  SceneNode* parent_ = nullptr;
  std::vector<SceneNode*> children_;

  Control* tmCtrl_ = nullptr;
  Object* object_ = nullptr;
  Mtl* mtl_ = nullptr;
  Control* visCtrl_ = nullptr;
  Control* blurCtrl_ = nullptr;
  SceneNode* target_ = nullptr;

  Flags flags_;
  KeepAlive layer_;
  bool selected_ = false;
  DWORD wireColor_ = 0;
  ULONG gbufID_ = 0;
  std::string userProps_;
  Point3 offsetPos_;
  Quat offsetRot_;
  ScaleValue offsetScale_;
  std::bitset<INodeExposure::kUI_num> exposure_;
  NodeExposure exposureIface_;

  ObjectState worldState_;
  bool tmValid_ = false;
  TimeValue tmTime_ = 0;
  Matrix3 tm_;
  bool computingTM_ = false;
};

// How a node is cloned: a copy gets its own object (its pipeline cloned), an instance shares it.
enum class NodeClone { Copy, Instance };
// A new node beside `src` (under the same parent, named after it with the next free number), with
// its settings, user properties, transform and visibility (cloned) and its material (shared). Null
// when `src` is the root or its object cannot be cloned.
HOST_API INode* cloneNode(INode* src, NodeClone kind);

// The first name of the form <base>NN (two digits at least, from 01) that no node of the scene has.
HOST_API std::string uniqueNodeName(std::string_view base);

}  // namespace sim
