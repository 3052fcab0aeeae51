// The material editor's drag-and-drop manager: slots are the sub-materials a panel's buttons show.
#include "imtlparams.h"

namespace {

Mtl* asMtl(ReferenceTarget* t) {
  return t && t->SuperClassID() == MATERIAL_CLASS_ID ? static_cast<Mtl*>(t) : nullptr;
}

}  // namespace

SClass_ID MtlDADMgr::GetDragType(HWND hwnd, POINT) {
  return dlg_ && dlg_->FindSubMtlFromHWND(hwnd) >= 0 ? MATERIAL_CLASS_ID : 0;
}

ReferenceTarget* MtlDADMgr::GetInstance(HWND hwnd, POINT, SClass_ID type) {
  Mtl* m = dlg_ && type == MATERIAL_CLASS_ID ? asMtl(dlg_->GetThing()) : nullptr;
  int slot = m ? dlg_->FindSubMtlFromHWND(hwnd) : -1;
  return slot >= 0 && slot < m->NumSubMtls() ? m->GetSubMtl(slot) : nullptr;
}

BOOL MtlDADMgr::OkToDrop(ReferenceTarget* dropThis, HWND hfrom, HWND hto, POINT, SClass_ID type, BOOL) {
  Mtl* m = dlg_ && type == MATERIAL_CLASS_ID ? asMtl(dlg_->GetThing()) : nullptr;
  Mtl* dropped = asMtl(dropThis);
  if (!m || !dropped || hfrom == hto) return FALSE;
  int slot = dlg_->FindSubMtlFromHWND(hto);
  // A material in one of its own slots would hold itself.
  return slot >= 0 && slot < m->NumSubMtls() && dropped != m;
}

void MtlDADMgr::Drop(ReferenceTarget* dropThis, HWND hwnd, POINT p, SClass_ID type, DADMgr*, BOOL) {
  if (!OkToDrop(dropThis, nullptr, hwnd, p, type)) return;
  Mtl* m = asMtl(dlg_->GetThing());
  m->SetSubMtl(dlg_->FindSubMtlFromHWND(hwnd), asMtl(dropThis));
}
