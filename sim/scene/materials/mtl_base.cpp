#include "imtl.h"

#include "core/core_interface.h"
#include "core/ref_graph.h"
#include "ioapi.h"
#include "render.h"
#include "render/pstamp.h"
#include "scene/change_restore.h"
#include "scenefile/chunk_io.h"

#include <algorithm>

// ---- MtlBase ------------------------------------------------------------------------------------

MtlBase::MtlBase() = default;

MtlBase::~MtlBase() {
  for (PStamp*& s : stamps_) {
    if (s) s->DeleteThis();
    s = nullptr;
  }
}

void MtlBase::SetName(MSTR newName) {
  if (newName.str() == name_.str()) return;
  sim::recordChange(this, name_.str(), newName.str(), [this](const std::string& v) {
    name_ = MSTR(v);
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  }, "Material name");
  name_ = newName;
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

MSTR MtlBase::GetFullName() {
  TSTR cls;
  GetClassName(cls);
  return MSTR(name_.str() + " ( " + cls.str() + " )");
}

void MtlBase::SetGBufID(int id) {
  if (id == gbufID_) return;
  sim::recordChange(this, gbufID_, id, [this](const int& v) { gbufID_ = v; }, "Material effects channel");
  gbufID_ = id;
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

void* MtlBase::GetInterface(ULONG id) {
  if (id == I_SUBMAP) return static_cast<ISubMap*>(this);
  return ReferenceTarget::GetInterface(id);
}

PStamp* MtlBase::CreatePStamp(int sz, BOOL) {
  if (sz < PS_SMALL || sz > PS_TINY) return nullptr;
  DiscardPStamp(sz);
  stamps_[sz] = sim::renderPStamp(this, PSDIM(sz), sim::coreInterface()->GetTime());
  return stamps_[sz];
}

PStamp* MtlBase::GetPStamp(int sz) { return sz >= PS_SMALL && sz <= PS_TINY ? stamps_[sz] : nullptr; }

void MtlBase::DiscardPStamp(int sz) {
  if (sz < PS_SMALL || sz > PS_TINY || !stamps_[sz]) return;
  stamps_[sz]->DeleteThis();
  stamps_[sz] = nullptr;
}

namespace {
enum : USHORT { kMtlName = 0x0001, kMtlGBufID = 0x0002 };
}

IOResult MtlBase::Save(ISave* isave) {
  const std::int32_t gbuf = gbufID_;
  if (sim::io::writeText(isave, kMtlName, name_.str()) != IO_OK) return IO_ERROR;
  return sim::io::writeChunk(isave, kMtlGBufID, gbuf);
}

IOResult MtlBase::Load(ILoad* iload) {
  return sim::io::forEachChunk(iload, [&](USHORT id) -> IOResult {
    if (id == kMtlName) return sim::io::readText(iload, name_.str());
    if (id == kMtlGBufID) {
      std::int32_t gbuf;
      if (sim::io::read(iload, gbuf) != IO_OK) return IO_ERROR;
      gbufID_ = gbuf;
    }
    return IO_OK;
  });
}

void MtlBase::copyMtlBase(MtlBase* to) const {
  if (!to) return;
  to->name_ = name_;
  to->gbufID_ = gbufID_;
}

float Texmap::EvalMono(ShadeContext& sc) {
  AColor c = EvalColor(sc);
  return (c.r + c.g + c.b) / 3.0f;
}

// ---- MtlBaseLib ---------------------------------------------------------------------------------

MtlBaseLib::MtlBaseLib() = default;
MtlBaseLib::~MtlBaseLib() = default;

RefTargetHandle MtlBaseLib::GetReference(int i) { return i >= 0 && i < Count() ? items_[static_cast<size_t>(i)] : nullptr; }

void MtlBaseLib::SetReference(int i, RefTargetHandle rtarg) {
  if (i >= 0 && i < Count()) items_[static_cast<size_t>(i)] = dynamic_cast<MtlBase*>(rtarg);
}

void MtlBaseLib::RefDeleted() {
  // A deleted material leaves the library.
  items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end());
}

int MtlBaseLib::Add(MtlBase* m) {
  if (!m) return -1;
  int at = FindMtl(m);
  if (at >= 0) return at;
  items_.push_back(nullptr);
  if (ReplaceReference(Count() - 1, m) != REF_SUCCEED) {
    items_.pop_back();
    return -1;
  }
  return Count() - 1;
}

void MtlBaseLib::Remove(MtlBase* m) {
  int at = FindMtl(m);
  if (at < 0) return;
  // Move the later entries down, then drop the last reference.
  theHold.Suspend();
  sim::KeepAlive keep(m);
  for (int i = at; i + 1 < Count(); ++i) ReplaceReference(i, items_[static_cast<size_t>(i) + 1], FALSE);
  ReplaceReference(Count() - 1, nullptr);
  items_.pop_back();
  theHold.Resume();
}

int MtlBaseLib::FindMtl(MtlBase* m) {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<size_t>(i)] == m) return i;
  return -1;
}

int MtlBaseLib::FindMtlByName(MSTR& name) {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<size_t>(i)] && items_[static_cast<size_t>(i)]->GetName().str() == name.str()) return i;
  return -1;
}

void MtlBaseLib::RemoveDuplicates() {
  for (int i = Count() - 1; i >= 0; --i) {
    MtlBase* m = items_[static_cast<size_t>(i)];
    for (int j = 0; j < i; ++j)
      if (items_[static_cast<size_t>(j)] == m) {
        Remove(m);  // removes the first; the list is unique again for m
        break;
      }
  }
}

void MtlBaseLib::DeleteAll() {
  theHold.Suspend();
  for (int i = Count(); i-- > 0;) ReplaceReference(i, nullptr);
  items_.clear();
  theHold.Resume();
}

// ---- SpecialFX ----------------------------------------------------------------------------------

void SpecialFX::SetActive(bool active, TimeValue) {
  BOOL on = active ? TRUE : FALSE;
  if (on == active_) return;
  sim::recordChange(this, active_, on, [this](const BOOL& v) { active_ = v; }, "Active");
  active_ = on;
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}
