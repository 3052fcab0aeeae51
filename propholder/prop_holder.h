// QZMPropHolder: the hidden helper object that records, per render pass, the properties of the scene
// node it manages (its target node). Everything it records lives in its parameter block; the object
// itself saves nothing.
#pragma once

#include "holder_interface.h"
#include "mesh.h"
#include "object.h"
#include "plugapi.h"
#include "qzm_classes.h"

class QZMPropHolder : public HelperObject, public IQZMPropHolderFP {
 public:
  IParamBlock2* pblock = nullptr;  // reference 0
  Mesh iconMesh;                   // built and drawn by the viewport icon code
  int creating = 0;                // set while the create mouse procedure places a new holder
  int extDispFlags = 0;

  // With `makeBlock` the holder gets a new parameter block with every default; a clone is made
  // without one and is given a copy of the original's.
  explicit QZMPropHolder(bool makeBlock = true);
  ~QZMPropHolder() override;

  // ---- identity ----
  Class_ID ClassID() override { return QZMPROPHOLDER_CLASS_ID; }
  SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
  void GetClassName(TSTR& s) override;
  const TCHAR* GetObjectName() override;
  void InitNodeName(TSTR& s) override;

  // ---- sub-animations, references, blocks ----
  int NumSubs() override { return 1; }
  Animatable* SubAnim(int i) override { return i == 0 ? pblock : nullptr; }
  TSTR SubAnimName(int i) override { return i == 0 ? TSTR("Parameters") : TSTR(); }
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? pblock : nullptr; }
  void SetReference(int i, RefTargetHandle rtarg) override;
  int NumParamBlocks() override { return 1; }
  IParamBlock2* GetParamBlock(int) override { return pblock; }
  IParamBlock2* GetParamBlockByID(BlockID) override { return pblock; }
  int GetParamBlockIndex(int id);
  RefResult NotifyRefChanged(Interval changeInt, RefTargetHandle hTarget, PartID& partID, RefMessage message) override;

  // ---- persistence and copies ----
  IOResult Save(ISave*) override { return IO_OK; }
  IOResult Load(ILoad*) override { return IO_OK; }
  int RemapRefOnLoad(int iref) override { return iref; }
  RefTargetHandle Clone(RemapDir& remap) override;

  // ---- object ----
  ObjectState Eval(TimeValue) override { return ObjectState(this); }
  Interval ObjectValidity(TimeValue) override { return FOREVER; }
  int CanConvertToType(Class_ID) override { return FALSE; }
  Object* ConvertToType(TimeValue, Class_ID) override { return nullptr; }
  void FreeCaches() override;

  // ---- viewports: the icon, picking, snapping to the pivot, boxes, placement by mouse ----
  int Display(TimeValue t, INode* inode, ViewExp* vpt, int flags) override;
  int HitTest(TimeValue t, INode* inode, int type, int crossing, int flags, IPoint2* p, ViewExp* vpt) override;
  void Snap(TimeValue t, INode* inode, SnapInfo* snap, IPoint2* p, ViewExp* vpt) override;
  void GetWorldBoundBox(TimeValue t, INode* inode, ViewExp* vp, Box3& box) override;
  void GetLocalBoundBox(TimeValue t, INode* inode, ViewExp* vp, Box3& box) override;
  CreateMouseCallBack* GetCreateMouseCallBack() override;
  void SetExtendedDisplay(int flags) override { extDispFlags = flags; }

  // The holder's mixin for IQZMPropHolder; any other id goes to the mixin's own lookup.
  BaseInterface* GetInterface(Interface_ID id) override;
  using HelperObject::GetInterface;

  void BeginEditParams(IObjParam* ip, ULONG flags, Animatable* prev) override;
  void EndEditParams(IObjParam* ip, ULONG flags, Animatable* next) override;
  void DeleteThis() override { delete this; }

  // ---- IQZMPropHolder operations ----
  INode* GetTargetNode(IParamBlock2* pb) override;
  void RestorePass(int whichPass, int whereInList, INode* node, IParamBlock2* pb, int topLevelEval) override;
  void SetPass(int whichPass, IParamBlock2* pb) override;
  void CapturePass(int whichPass, int doOnlyUncaptured, INode* node, IParamBlock2* pb, int topLevelEval) override;
  void RestorePassOnAllHolders(int whichPass, int whereInList, IParamBlock2* pb) override;
  void UnlinkControllers(ReferenceTarget* controller) override;
  int RemoveProperties(Tab<const TCHAR*>& names, IParamBlock2* pb) override;
  void RestoreInitial(INode* node, IParamBlock2* pb, const TCHAR* propName, int topLevelEval) override;
  void CaptureInitial(int doOnlyUncaptured, INode* node, IParamBlock2* pb, int topLevelEval) override;
  int RemovePassFrom(int whichPass, IParamBlock2* pb) override;
  void CapturePassOnAllHolders(int whichPass, int doOnlyUncaptured, IParamBlock2* pb) override;
  void CaptureInitialOnAllHolders(int doOnlyUncaptured, IParamBlock2* pb) override;

  // ---- published functions ----
  INode* GetNode() override { return GetTargetNode(pblock); }
  void RestoreProperties(int whichPass, int whereInList) override;
  void SetWhichPass(int whichPass) override { SetPass(whichPass, pblock); }
  void CaptureProperties(int whichPass, int doOnlyUncaptured) override;
  void RestoreAllProperties(int whichPass, int whereInList) override {
    RestorePassOnAllHolders(whichPass, whereInList, pblock);
  }
  void UnlinkInstancedControllers(ReferenceTarget* controller) override { UnlinkControllers(controller); }
  int RemoveProperty(Tab<const TCHAR*>& propName) override;
  void RestoreInitialProperties(const TCHAR* propName) override;
  void CaptureInitialProperties(int doOnlyUncaptured) override;
  int RemovePass(int whichPass) override { return RemovePassFrom(whichPass, pblock); }
  void CaptureAllProperties(int whichPass, int doOnlyUncaptured) override {
    CapturePassOnAllHolders(whichPass, doOnlyUncaptured, pblock);
  }
  void CaptureAllInitialProperties(int doOnlyUncaptured) override;

 private:
  int topLevelEval();
  // ViewportIcon at `t`, and the icon mesh rebuilt for `t`.
  int iconSwitch(TimeValue t);
  void BuildMesh(TimeValue t);
  // Diagnostic lines are gated by the doDebugPrint of the holder a function is called on.
  bool debugPrint();
};

ClassDesc2* GetQZMPropHolderDesc();
