// The shape the host's own materials and maps share: one parameter block on reference 0 that is
// also their only sub-animation, the MtlBase data saved in its chunk, and no dialog.
#pragma once

#include "hold.h"
#include "iparamb2.h"
#include "imtl.h"
#include "scenefile/chunk_io.h"

#include <string>

namespace sim {

// How many materials this session has named "Material #N", shared by every kind of material.
int& materialCounter();

template <class Base>
class BlockMtl : public Base {
 public:
  IParamBlock2* pblock = nullptr;

  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? pblock : nullptr; }
  void SetReference(int i, RefTargetHandle rtarg) override {
    if (i == 0) pblock = dynamic_cast<IParamBlock2*>(rtarg);
  }
  RefResult NotifyRefChanged(Interval, RefTargetHandle hTarget, PartID&, RefMessage message) override {
    // A changed setting makes the kept stamps stale.
    if (message == REFMSG_CHANGE && hTarget == pblock)
      for (int sz = PS_SMALL; sz <= PS_TINY; ++sz) this->DiscardPStamp(sz);
    return REF_SUCCEED;
  }
  int NumSubs() override { return 1; }
  Animatable* SubAnim(int i) override { return i == 0 ? pblock : nullptr; }
  TSTR SubAnimName(int i) override { return i == 0 ? TSTR("Parameters") : TSTR(); }
  int NumParamBlocks() override { return 1; }
  IParamBlock2* GetParamBlock(int i) override { return i == 0 ? pblock : nullptr; }
  IParamBlock2* GetParamBlockByID(BlockID id) override { return pblock && pblock->ID() == id ? pblock : nullptr; }

  // The MtlBase data in its chunk; the parameter block is a reference.
  IOResult Save(ISave* isave) override {
    isave->BeginChunk(MTL_HDR_CHUNK);
    IOResult r = MtlBase::Save(isave);
    isave->EndChunk();
    return r;
  }
  IOResult Load(ILoad* iload) override {
    return io::forEachChunk(iload, [&](USHORT id) { return id == MTL_HDR_CHUNK ? MtlBase::Load(iload) : IO_OK; });
  }

  void Update(TimeValue t, Interval& valid) override { time_ = t; }
  Interval Validity(TimeValue) override { return FOREVER; }
  ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }

 protected:
  TimeValue time_ = 0;  // the time of the last Update, which the time-less queries answer for

  // New materials and maps are numbered as the host numbers them: "Material #3", "Map #7".
  void nameNew(const char* prefix, int& counter) {
    theHold.Suspend();
    this->SetName(MSTR(std::string(prefix) + std::to_string(++counter)));
    theHold.Resume();
  }
};

}  // namespace sim
