#include "spin_restore.h"

#include "maxapi.h"
#include "qzm_material.h"
#include "qzm_material_dlg.h"

namespace {

int passAtHostTime(QZMMaterial* m) {
  IParamBlock2* pb = m ? m->GetParamBlock(0) : nullptr;
  return pb ? pb->GetInt(pb_whichPass, GetCOREInterface()->GetTime()) : 0;
}

}  // namespace

SpinRestore::SpinRestore(QZMMaterial* material) {
  // Holding the material is not itself a change to undo.
  theHold.Suspend();
  material_.SetRef(material);
  theHold.Resume();
  undoValue_ = passAtHostTime(material);
}

QZMMaterial* SpinRestore::material() { return static_cast<QZMMaterial*>(material_.GetRef()); }

void SpinRestore::Restore(int isUndo) {
  if (isUndo) redoValue_ = passAtHostTime(material());
  apply(undoValue_);
}

void SpinRestore::Redo() { apply(redoValue_); }

void SpinRestore::apply(int pass) {
  QZMMaterial* m = material();
  IParamBlock2* pb = m ? m->GetParamBlock(0) : nullptr;
  if (!pb) return;
  pb->SetValue(pb_whichPass, 0, pass);
  m->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  if (QZMMaterialDlg* dlg = m->Panel()) dlg->UpdatePassSpinner();
}
