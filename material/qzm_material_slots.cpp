// QZMMaterial's slots: sub-material access with its undo record, slot and sub-animation names, and
// AssignMaterial.
#include "qzm_material.h"

#include "hold.h"
#include "qzm_material_dlg.h"
#include "resource_strings.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr TCHAR kSetSubMtlUndoLabel[] = _T("QZMaterial Operation");

// The undo record of SetSubMtl. The material and both sub-materials are held, so they outlive the
// record however the scene changes meanwhile.
class SetSubRestore : public RestoreObj {
 public:
  SetSubRestore(QZMMaterial* material, int index, Mtl* oldMtl, Mtl* newMtl) : index_(index) {
    theHold.Suspend();
    material_.SetRef(material);
    old_.SetRef(oldMtl);
    new_.SetRef(newMtl);
    theHold.Resume();
  }

  void Restore(int) override {
    QZMMaterial* m = material();
    if (!m) return;
    if (index_ >= 0) m->ReplaceReference(index_, old_.GetRef(), TRUE);
    m->RefreshPanelRows();
  }
  void Redo() override {
    QZMMaterial* m = material();
    if (!m) return;
    m->SetSubMtl(index_, static_cast<Mtl*>(new_.GetRef()));
    m->RefreshPanelRows();
  }
  int Size() override { return 24; }
  TSTR Description() override { return TSTR(_T("SetSubMtlRestore")); }

 private:
  QZMMaterial* material() { return static_cast<QZMMaterial*>(material_.GetRef()); }

  SingleRefMaker material_, old_, new_;
  int index_;
};

std::string format(const char* fmt, int n, const char* text) {
  int size = std::snprintf(nullptr, 0, fmt, n, text);
  if (size <= 0) return std::string();
  std::string out(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(out.data(), out.size(), fmt, n, text);
  out.resize(static_cast<size_t>(size));
  return out;
}

}  // namespace

const TCHAR* QZMMaterial::label(int i) {
  const TCHAR* s = pblock_ && isSlot(i) ? pblock_->GetStr(pb_labels, 0, i) : nullptr;
  return s;
}

Mtl* QZMMaterial::GetSubMtl(int i) { return isSlot(i) ? slots_[static_cast<size_t>(i)] : nullptr; }

// The record goes into the caller's hold when there is one; otherwise the change is a step of its
// own. Either way the hold level opened here is the one closed here, so a caller's hold stays open
// for the rest of its changes.
//
// The record takes hold of the old material before the reference lets it go, and is put after the
// reference's own record: records are freed in the order they were put, so the record that frees
// the material last is this one, which lets it go for good.
void QZMMaterial::SetSubMtl(int i, Mtl* m) {
  if (!isSlot(i)) return;
  theHold.Begin();
  std::unique_ptr<SetSubRestore> record;
  if (theHold.Holding()) record = std::make_unique<SetSubRestore>(this, i, slots_[static_cast<size_t>(i)], m);
  if (ReplaceReference(i, m, TRUE) == REF_SUCCEED) {
    if (record) theHold.Put(record.release());
    theHold.Accept(kSetSubMtlUndoLabel);
  } else {
    theHold.Cancel();
  }
  RefreshPanelRows();
}

TSTR QZMMaterial::GetSubMtlSlotName(int i) {
  const TCHAR* text = label(i);
  return TSTR(format("QZM %d : %s", i + 1, text ? text : "").c_str());
}

TSTR QZMMaterial::SubAnimName(int i) {
  if (!isSlot(i)) return TSTR();
  const TCHAR* text = label(i);
  std::string prefix = text ? format("(%d) %s", i + 1, text) : format("(%d)", i + 1, "");
  Mtl* m = slots_[static_cast<size_t>(i)];
  std::string name = m ? m->GetFullName().str() : std::string(GetString(IDS_NONE));
  return TSTR((prefix + ": " + name).c_str());
}

void QZMMaterial::AssignMaterial(Mtl* material, int pass) {
  if (pass < 1 || pass > kNumSlots || !pblock_) return;
  pblock_->SetValue(pb_materialArray, 0, static_cast<ReferenceTarget*>(material), pass - 1);
}
