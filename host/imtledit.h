// The material editor's slots, reached through the core interface MTLEDIT_INTERFACE. Slots are
// numbered from 0; the editor has 24.
#pragma once

#include "ifnpub.h"

class MtlBase;

#define MTLEDIT_INTERFACE Interface_ID(0x2c7b3f6e, 0x16fb35d4)
constexpr int NUM_MEDIT_SLOTS = 24;

class HOST_API IMtlEditInterface : public FPStaticInterface {
 public:
  enum { get_mtlSlot, put_mtlSlot, get_activeSlot, set_activeSlot, get_curMtl };
  // The material or map in slot `slot`, or null for a slot outside 0..23.
  virtual MtlBase* GetTopMtlSlot(int slot) = 0;
  // Puts `mtl` into slot `slot` (-1: the active slot); a slot outside 0..23 is ignored.
  virtual void PutMtlToMtlEditor(MtlBase* mtl, int slot = -1) = 0;
  virtual int GetActiveMtlSlot() = 0;
  virtual void SetActiveMtlSlot(int i, BOOL forceUpdate = FALSE) = 0;
  virtual MtlBase* GetCurMtl() = 0;
};
