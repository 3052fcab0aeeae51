// SpinRestore: the undo record of a change of the active pass through the panel's spinner. It holds
// the material, not the panel, so an undo after the panel closed restores the pass and touches no
// panel.
#pragma once

#include "hold.h"
#include "ref.h"

class QZMMaterial;

class SpinRestore : public RestoreObj {
 public:
  // Remembers whichPass at the host's current time as the value to undo to.
  explicit SpinRestore(QZMMaterial* material);

  void Restore(int isUndo) override;
  void Redo() override;
  int Size() override { return 24; }

 private:
  // Sets whichPass, tells the material's dependents and shows the value on an open panel.
  void apply(int pass);
  QZMMaterial* material();

  SingleRefMaker material_;
  int undoValue_ = 0;
  int redoValue_ = 0;
};
