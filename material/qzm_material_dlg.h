// What the material needs of its editor panel: the panel is made by the material's CreateParamDlg,
// and while it is open the material refreshes its rows and asks it to repaint.
#pragma once

#include "imtl.h"

class QZMMaterialDlg : public ParamDlg {
 public:
  // The panel-valid flag: 0 asks for a refresh of the rows at the next paint.
  int valid = 0;
  // Shows the slot names, labels and pass numbers of the rows anew.
  virtual void UpdateSubMtlNames() = 0;
};
