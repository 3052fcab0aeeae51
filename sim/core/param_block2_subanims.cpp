#include "core/param_block2.h"

#include "control.h"

namespace sim {

int ParamBlock2::subAnimParam(int i) const {
  if (i < 0) return -1;
  for (int p = 0, k = 0; p < static_cast<int>(params_.size()); ++p) {
    if (!params_[static_cast<size_t>(p)].hasControllers || is_tab(defAt(p).type)) continue;
    if (k++ == i) return p;
  }
  return -1;
}

int ParamBlock2::NumSubs() {
  int n = 0;
  for (int p = 0; p < static_cast<int>(params_.size()); ++p)
    if (params_[static_cast<size_t>(p)].hasControllers && !is_tab(defAt(p).type)) ++n;
  return n;
}

Animatable* ParamBlock2::SubAnim(int i) {
  const int p = subAnimParam(i);
  return p < 0 ? nullptr : controllerAt(p, 0);
}

TSTR ParamBlock2::SubAnimName(int i) {
  const int p = subAnimParam(i);
  return p < 0 ? TSTR() : GetLocalName(IndextoID(p));
}

bool takesOverCurrentValue(Control* c) { return c && c->NumKeys() <= 0; }

BOOL ParamBlock2::AssignController(Animatable* control, int subAnim) {
  const int p = subAnimParam(subAnim);
  if (p < 0) return FALSE;
  auto* c = dynamic_cast<Control*>(control);
  if (control && !c) return FALSE;
  return SetControllerByID(IndextoID(p), 0, c, takesOverCurrentValue(c));
}

}  // namespace sim
