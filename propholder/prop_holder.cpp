#include "prop_holder.h"

#include "holder_capture.h"
#include "holder_guards.h"
#include "holder_params.h"
#include "holder_removal.h"
#include "holder_restore.h"
#include "holder_rollout.h"
#include "holder_scene.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "resource_strings.h"

namespace {
// The holder shown in the command panel and the panel's interface, while its rollout is open.
IObjParam* editInterface = nullptr;
QZMPropHolder* editHolder = nullptr;
}  // namespace

QZMPropHolder::QZMPropHolder(bool makeBlock) {
  if (makeBlock) GetQZMPropHolderDesc()->MakeAutoParamBlocks(this);
}

QZMPropHolder::~QZMPropHolder() {
  iconMesh.FreeAll();
  if (editHolder == this) {
    editHolder = nullptr;
    editInterface = nullptr;
  }
}

void QZMPropHolder::GetClassName(TSTR& s) { s = GetString(IDS_CLASS_NAME_HELPER); }

const TCHAR* QZMPropHolder::GetObjectName() { return GetString(IDS_OBJECT_NAME); }

void QZMPropHolder::InitNodeName(TSTR& s) { s = GetString(IDS_NODE_NAME); }

void QZMPropHolder::SetReference(int i, RefTargetHandle rtarg) {
  if (i == 0) pblock = dynamic_cast<IParamBlock2*>(rtarg);
}

int QZMPropHolder::GetParamBlockIndex(int id) { return pblock && id >= 0 && id < pblock->NumParams() ? id : -1; }

RefResult QZMPropHolder::NotifyRefChanged(Interval, RefTargetHandle hTarget, PartID&, RefMessage message) {
  if (message == REFMSG_CHANGE && editHolder == this && pblock && hTarget == pblock) {
    int tabIndex = -1;
    ParamID id = pblock->LastNotifyParamID(tabIndex);
    GetHolderBlockDesc()->InvalidateUI(id, tabIndex);
  }
  return REF_SUCCEED;
}

RefTargetHandle QZMPropHolder::Clone(RemapDir& remap) {
  auto* copy = new QZMPropHolder(false);
  copy->ReplaceReference(0, remap.CloneRef(pblock));
  BaseClone(this, copy, remap);
  return copy;
}

void QZMPropHolder::FreeCaches() { iconMesh.FreeAll(); }

BaseInterface* QZMPropHolder::GetInterface(Interface_ID id) {
  if (id == IQZMPROPHOLDER_INTERFACE) return static_cast<IQZMPropHolder*>(this);
  return IQZMPropHolderFP::GetInterface(id);
}

void QZMPropHolder::BeginEditParams(IObjParam* ip, ULONG flags, Animatable* prev) {
  editInterface = ip;
  editHolder = this;
  GetQZMPropHolderDesc()->BeginEditParams(ip, this, flags, prev);
  // Each opening has a procedure of its own, bound to this holder; the rollout deletes it. Without
  // a rollout (no panel to show it in) there is nothing to give one to.
  if (GetQZMPropHolderDesc()->GetParamMap(GetHolderBlockDesc()))
    GetQZMPropHolderDesc()->SetUserDlgProc(GetHolderBlockDesc(), NewHolderRolloutProc(this));
}

void QZMPropHolder::EndEditParams(IObjParam* ip, ULONG flags, Animatable* next) {
  GetQZMPropHolderDesc()->EndEditParams(ip, this, flags, next);
  editInterface = nullptr;
  editHolder = nullptr;
}

int QZMPropHolder::topLevelEval() { return pblock ? pblock->GetInt(pb_doTopLevelEval) : 0; }

// ---- operations ----------------------------------------------------------------------------------

INode* QZMPropHolder::GetTargetNode(IParamBlock2* pb) { return pb ? pb->GetINode(pb_node) : nullptr; }

void QZMPropHolder::SetPass(int whichPass, IParamBlock2* pb) {
  if (pb) pb->SetValue(pb_whichPass, GetCOREInterface()->GetTime(), whichPass);
}

void QZMPropHolder::CapturePass(int whichPass, int doOnlyUncaptured, INode* node, IParamBlock2* pb,
                                int topLevelEval) {
  RunCapture(CaptureRequest{node, pb, false, whichPass, doOnlyUncaptured, topLevelEval, debugPrint()});
}

void QZMPropHolder::CaptureInitial(int doOnlyUncaptured, INode* node, IParamBlock2* pb, int topLevelEval) {
  RunCapture(CaptureRequest{node, pb, true, 0, doOnlyUncaptured, topLevelEval, debugPrint()});
}

void QZMPropHolder::CapturePassOnAllHolders(int whichPass, int doOnlyUncaptured, IParamBlock2* pb) {
  WalkSceneHolders(HolderWalk{HolderWalk::CapturePass, whichPass, 0, doOnlyUncaptured},
                   pb ? pb->GetInt(pb_doTopLevelEval) : 0, debugPrint());
}

void QZMPropHolder::CaptureInitialOnAllHolders(int doOnlyUncaptured, IParamBlock2* pb) {
  WalkSceneHolders(HolderWalk{HolderWalk::CaptureInitial, 0, 0, doOnlyUncaptured},
                   pb ? pb->GetInt(pb_doTopLevelEval) : 0, debugPrint());
}

void QZMPropHolder::UnlinkControllers(ReferenceTarget*) {
  // Switched off on purpose: the pass manager unlinks instanced controllers by script instead.
  the_listener->edit_stream->puts("fnUnlinkInstancedControllers\n");
  the_listener->edit_stream->puts("UnlinkInstancedControllers DIsabled\n");
}

void QZMPropHolder::RestorePass(int whichPass, int whereInList, INode* node, IParamBlock2* pb, int topLevelEval) {
  RunRestore(RestoreRequest{node, pb, false, whichPass, whereInList, {}, topLevelEval, debugPrint()});
}

void QZMPropHolder::RestorePassOnAllHolders(int whichPass, int whereInList, IParamBlock2* pb) {
  WalkSceneHolders(HolderWalk{HolderWalk::RestorePass, whichPass, whereInList, 0},
                   pb ? pb->GetInt(pb_doTopLevelEval) : 0, debugPrint());
}

void QZMPropHolder::RestoreInitial(INode* node, IParamBlock2* pb, const TCHAR* propName, int topLevelEval) {
  RunRestore(RestoreRequest{node, pb, true, 0, 0, propName ? propName : "", topLevelEval, debugPrint()});
}

int QZMPropHolder::RemoveProperties(Tab<const TCHAR*>& names, IParamBlock2* pb) {
  return RemovePropertiesFromBlock(pb, names);
}

int QZMPropHolder::RemovePassFrom(int whichPass, IParamBlock2* pb) { return RemovePassFromBlock(pb, whichPass); }

// ---- published functions -------------------------------------------------------------------------

void QZMPropHolder::RestoreProperties(int whichPass, int whereInList) {
  if (!pblock) return;
  HolderWatch self(this);
  if (INode* node = GetTargetNode(pblock)) RestorePass(whichPass, whereInList, node, pblock, topLevelEval());
  for (int i = 0; self.alive() && pblock && i < pblock->Count(pb_nodeArray); ++i)
    if (INode* other = pblock->GetINode(pb_nodeArray, 0, i)) RestorePass(whichPass, whereInList, other, pblock, topLevelEval());
}

void QZMPropHolder::CaptureProperties(int whichPass, int doOnlyUncaptured) {
  if (INode* node = GetTargetNode(pblock)) CapturePass(whichPass, doOnlyUncaptured, node, pblock, topLevelEval());
}

int QZMPropHolder::RemoveProperty(Tab<const TCHAR*>& propName) {
  return GetTargetNode(pblock) ? RemoveProperties(propName, pblock) : 0;
}

void QZMPropHolder::RestoreInitialProperties(const TCHAR* propName) {
  if (INode* node = GetTargetNode(pblock)) RestoreInitial(node, pblock, propName, topLevelEval());
}

void QZMPropHolder::CaptureInitialProperties(int doOnlyUncaptured) {
  if (INode* node = GetTargetNode(pblock)) CaptureInitial(doOnlyUncaptured, node, pblock, topLevelEval());
}

void QZMPropHolder::CaptureAllInitialProperties(int doOnlyUncaptured) {
  if (GetTargetNode(pblock)) CaptureInitialOnAllHolders(doOnlyUncaptured, pblock);
}

bool QZMPropHolder::debugPrint() { return pblock && pblock->GetInt(pb_doDebugPrint) == 1; }
