// IQZMPropHolder: the twelve functions every holder publishes, so that the pass manager's scripts
// (and the holder's own rollout) call them by name: `$QZMPropHolder01.CaptureProperties 5000 0`.
#pragma once

#include "ifnpub.h"
#include "inode.h"
#include "iparamb2.h"

#define IQZMPROPHOLDER_INTERFACE Interface_ID(0xae24a15f, 0x8e33a9d1)

// Published function ids; stored scripts and the rollout use these numbers.
enum HolderFunctionID {
  fn_GetNode,
  fn_RestoreProperties,
  fn_SetWhichPass,
  fn_CaptureProperties,
  fn_RestoreAllProperties,
  fn_UnlinkInstancedControllers,
  fn_RemoveProperty,
  fn_RestoreInitialProperties,
  fn_CaptureInitialProperties,
  fn_RemovePass,
  fn_CaptureAllProperties,
  fn_CaptureAllInitialProperties,
};

class IQZMPropHolder : public FPMixinInterface {
 public:
  // The operations behind the published functions. They take the node and block to work on, so
  // that a scene walk can run them on other holders' nodes and blocks.
  virtual INode* GetTargetNode(IParamBlock2* pblock) = 0;
  virtual void RestorePass(int whichPass, int whereInList, INode* node, IParamBlock2* pblock, int topLevelEval) = 0;
  virtual void SetPass(int whichPass, IParamBlock2* pblock) = 0;
  virtual void CapturePass(int whichPass, int doOnlyUncaptured, INode* node, IParamBlock2* pblock,
                           int topLevelEval) = 0;
  virtual void RestorePassOnAllHolders(int whichPass, int whereInList, IParamBlock2* pblock) = 0;
  virtual void UnlinkControllers(ReferenceTarget* controller) = 0;
  virtual int RemoveProperties(Tab<const TCHAR*>& names, IParamBlock2* pblock) = 0;
  virtual void RestoreInitial(INode* node, IParamBlock2* pblock, const TCHAR* propName, int topLevelEval) = 0;
  virtual void CaptureInitial(int doOnlyUncaptured, INode* node, IParamBlock2* pblock, int topLevelEval) = 0;
  virtual int RemovePassFrom(int whichPass, IParamBlock2* pblock) = 0;
  virtual void CapturePassOnAllHolders(int whichPass, int doOnlyUncaptured, IParamBlock2* pblock) = 0;
  virtual void CaptureInitialOnAllHolders(int doOnlyUncaptured, IParamBlock2* pblock) = 0;

  // The published functions.
  virtual INode* GetNode() = 0;
  virtual void RestoreProperties(int whichPass, int whereInList) = 0;
  virtual void SetWhichPass(int whichPass) = 0;
  virtual void CaptureProperties(int whichPass, int doOnlyUncaptured) = 0;
  virtual void RestoreAllProperties(int whichPass, int whereInList) = 0;
  virtual void UnlinkInstancedControllers(ReferenceTarget* controller) = 0;
  virtual int RemoveProperty(Tab<const TCHAR*>& propName) = 0;
  virtual void RestoreInitialProperties(const TCHAR* propName) = 0;
  virtual void CaptureInitialProperties(int doOnlyUncaptured) = 0;
  virtual int RemovePass(int whichPass) = 0;
  virtual void CaptureAllProperties(int whichPass, int doOnlyUncaptured) = 0;
  virtual void CaptureAllInitialProperties(int doOnlyUncaptured) = 0;
};

class IQZMPropHolderFP : public IQZMPropHolder {
 public:
  FPInterfaceDesc* GetDesc() override;

 protected:
  // The string argument of RestoreInitialProperties is copied first: the call may run script that
  // frees the argument's storage.
  void RestoreInitialCopy(const TCHAR* propName) {
    const TSTR copy(propName ? propName : "");
    RestoreInitialProperties(copy.data());
  }

  BEGIN_FUNCTION_MAP
    FN_0(fn_GetNode, TYPE_INODE, GetNode)
    VFN_2(fn_RestoreProperties, RestoreProperties, TYPE_INT, TYPE_INT)
    VFN_1(fn_SetWhichPass, SetWhichPass, TYPE_INT)
    VFN_2(fn_CaptureProperties, CaptureProperties, TYPE_INT, TYPE_INT)
    VFN_2(fn_RestoreAllProperties, RestoreAllProperties, TYPE_INT, TYPE_INT)
    VFN_1(fn_UnlinkInstancedControllers, UnlinkInstancedControllers, TYPE_REFTARG)
    FN_1(fn_RemoveProperty, TYPE_INT, RemoveProperty, TYPE_STRING_TAB_BR)
    VFN_1(fn_RestoreInitialProperties, RestoreInitialCopy, TYPE_STRING)
    VFN_1(fn_CaptureInitialProperties, CaptureInitialProperties, TYPE_INT)
    FN_1(fn_RemovePass, TYPE_INT, RemovePass, TYPE_INT)
    VFN_2(fn_CaptureAllProperties, CaptureAllProperties, TYPE_INT, TYPE_INT)
    VFN_1(fn_CaptureAllInitialProperties, CaptureAllInitialProperties, TYPE_INT)
  END_FUNCTION_MAP
};

// The interface's descriptor, one per library.
FPInterfaceDesc* GetHolderInterfaceDesc();
