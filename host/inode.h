// INode: a node of the scene: a name, a place in the hierarchy under the root node, the object it
// carries, its transform, its render and display settings and its material.
//
// Transforms: the node's transform (GetNodeTM) is its transform controller's value (position,
// rotation, scale) applied to its parent's transform. The object transform (GetObjectTM) adds the
// object offset (the pivot), applied before the node transform.
//
// Every setter records undo in theHold when it is holding and notifies dependents of the change.
#pragma once

#include "control.h"
#include "interval.h"
#include "matrix3.h"
#include "object.h"
#include "quat.h"
#include "ref.h"
#include "strclass.h"

class Mtl;

// Motion blur types of MotBlur / SetMotBlur.
constexpr int MOTION_BLUR_NONE = 0;
constexpr int MOTION_BLUR_OBJECT = 1;
constexpr int MOTION_BLUR_IMAGE = 2;

class HOST_API INode : public ReferenceTarget {
 public:
  SClass_ID SuperClassID() override { return BASENODE_CLASS_ID; }

  // ---- name and hierarchy ----
  virtual const TCHAR* GetName() = 0;
  virtual void SetName(const TCHAR* s) = 0;
  // A number unique among the nodes of the session.
  virtual ULONG GetHandle() = 0;
  virtual BOOL IsRootNode() = 0;
  virtual INode* GetParentNode() = 0;
  virtual int NumberOfChildren() = 0;
  virtual INode* GetChildNode(int i) = 0;
  // Makes `node` a child of this node, taking it from its previous parent. With keepTM the node
  // keeps its place in the world; otherwise it keeps its transform relative to its parent.
  virtual void AttachChild(INode* node, int keepTM = 1) = 0;
  // Moves this node under the root node.
  virtual void Detach(TimeValue t, int keepTM = 1) = 0;
  // Removes the node from the scene; its children move to its parent.
  virtual void Delete(TimeValue t, int keepChildPosition) = 0;

  // ---- object ----
  // The object reference below any space-warp bindings: the base object, or the derived object
  // holding the node's object-space modifiers.
  virtual Object* GetObjectRef() = 0;
  // The top of the pipeline: the world-space derived object when the node is bound to space warps,
  // otherwise what GetObjectRef answers.
  virtual Object* GetObjOrWSMRef() = 0;
  // Sets the object below any space-warp bindings.
  virtual void SetObjectRef(Object* o) = 0;
  // The object after every modifier and space warp at `time`. The state stays valid until the
  // node is evaluated again. Hidden nodes are evaluated as well.
  virtual const ObjectState& EvalWorldState(TimeValue time, BOOL evalHidden = TRUE) = 0;

  // ---- transform ----
  virtual Matrix3 GetNodeTM(TimeValue t, Interval* valid = nullptr) = 0;
  // Sets the node's transform in world space (the controller gets it relative to the parent).
  virtual void SetNodeTM(TimeValue t, Matrix3& tm) = 0;
  virtual Matrix3 GetParentTM(TimeValue t) = 0;
  virtual Matrix3 GetObjectTM(TimeValue t, Interval* valid = nullptr) = 0;
  virtual Matrix3 GetObjTMBeforeWSM(TimeValue t, Interval* valid = nullptr) = 0;
  virtual Matrix3 GetObjTMAfterWSM(TimeValue t, Interval* valid = nullptr) = 0;
  virtual Control* GetTMController() = 0;
  // Takes a transform controller (super class CTRL_MATRIX3_CLASS_ID); FALSE for anything else.
  virtual BOOL SetTMController(Control* m3cont) = 0;
  virtual Point3 GetObjOffsetPos() = 0;
  virtual void SetObjOffsetPos(Point3 p) = 0;
  virtual Quat GetObjOffsetRot() = 0;
  virtual void SetObjOffsetRot(Quat q) = 0;
  virtual ScaleValue GetObjOffsetScale() = 0;
  virtual void SetObjOffsetScale(ScaleValue sv) = 0;
  // The node a target camera or light looks at, or null.
  virtual INode* GetTarget() = 0;

  // ---- visibility and motion blur multiplier (optional float controllers) ----
  virtual Control* GetVisController() = 0;
  // Null removes the controller (the node is fully visible again).
  virtual void SetVisController(Control* cont) = 0;
  virtual float GetVisibility(TimeValue t, Interval* valid = nullptr) = 0;
  // Makes a visibility controller when the node has none.
  virtual void SetVisibility(TimeValue t, float vis) = 0;
  virtual Control* GetImageBlurMultController() = 0;
  virtual void SetImageBlurMultController(Control* cont) = 0;
  virtual float GetImageBlurMultiplier(TimeValue t) = 0;
  virtual void SetImageBlurMultiplier(TimeValue t, float m) = 0;

  // ---- render settings ----
  virtual int Renderable() = 0;
  virtual void SetRenderable(BOOL onOff) = 0;
  virtual BOOL GetPrimaryVisibility() = 0;
  virtual void SetPrimaryVisibility(BOOL onOff) = 0;
  virtual BOOL GetSecondaryVisibility() = 0;
  virtual void SetSecondaryVisibility(BOOL onOff) = 0;
  virtual int GetInheritVisibility() = 0;
  virtual void SetInheritVisibility(BOOL onOff) = 0;
  virtual int RcvShadows() = 0;
  virtual void SetRcvShadows(BOOL onOff) = 0;
  virtual int CastShadows() = 0;
  virtual void SetCastShadows(BOOL onOff) = 0;
  virtual int ApplyAtmospherics() = 0;
  virtual void SetApplyAtmospherics(BOOL onOff) = 0;
  virtual int GetRenderOccluded() = 0;
  virtual void SetRenderOccluded(BOOL onOff) = 0;
  virtual BOOL GetMotBlurOnOff(TimeValue t, Interval* valid = nullptr) = 0;
  virtual void SetMotBlurOnOff(TimeValue t, BOOL onOff) = 0;
  virtual int MotBlur() = 0;
  virtual void SetMotBlur(int kind) = 0;
  virtual int GetGenerateCaustics() = 0;
  virtual void SetGenerateCaustics(BOOL onOff) = 0;
  virtual int GetGenerateGlobalIllum() = 0;
  virtual void SetGenerateGlobalIllum(BOOL onOff) = 0;
  // The G-buffer object channel: what a render writes into its object-id image (0: none).
  virtual ULONG GetGBufID() = 0;
  virtual void SetGBufID(ULONG id) = 0;

  // ---- display settings ----
  virtual int IsFrozen() = 0;
  virtual void Freeze(BOOL onOff) = 0;
  virtual int HasObjXRayMtl() = 0;
  virtual void XRayMtl(BOOL onOff) = 0;
  virtual int GetTrajectoryON() = 0;
  virtual void SetTrajectoryON(BOOL onOff) = 0;
  virtual int GetBackCull() = 0;
  virtual void BackCull(BOOL onOff) = 0;
  // Frozen nodes show their material when set, grey when not (the default).
  virtual int ShowFrozenWithMtl() = 0;
  virtual void SetShowFrozenWithMtl(BOOL onOff) = 0;
  virtual int GetBoxMode() = 0;
  virtual void BoxMode(BOOL onOff) = 0;
  virtual void Hide(BOOL onOff) = 0;
  virtual int IsHidden(DWORD hflags = 0, BOOL forRenderer = FALSE) = 0;
  virtual int IsNodeHidden(BOOL forRenderer = FALSE) = 0;
  virtual int Selected() = 0;
  // The wire colour as a packed word: red in the low byte, then green, then blue.
  virtual DWORD GetWireColor() = 0;
  virtual void SetWireColor(DWORD newcol) = 0;

  // ---- groups ----
  // A group is a head node (a dummy) whose members are its children; an open group lets its
  // members be picked one by one.
  virtual BOOL IsGroupHead() = 0;
  virtual BOOL IsGroupMember() = 0;
  virtual BOOL IsOpenGroupHead() = 0;
  virtual BOOL IsOpenGroupMember() = 0;
  virtual void SetGroupHead(BOOL b) = 0;
  virtual void SetGroupMember(BOOL b) = 0;
  virtual void SetGroupHeadOpen(BOOL b) = 0;
  virtual void SetGroupMemberOpen(BOOL b) = 0;

  // ---- user properties ----
  virtual void GetUserPropBuffer(MSTR& buf) = 0;
  virtual void SetUserPropBuffer(const MSTR& buf) = 0;
  // Lines of the buffer of the form "key = value" (key compared without case).
  virtual BOOL GetUserPropString(const MSTR& key, MSTR& string) = 0;
  virtual void SetUserPropString(const MSTR& key, const MSTR& string) = 0;
  virtual BOOL UserPropExists(const MSTR& key) = 0;

  // ---- material ----
  virtual Mtl* GetMtl() = 0;
  virtual void SetMtl(Mtl* matl) = 0;
};
