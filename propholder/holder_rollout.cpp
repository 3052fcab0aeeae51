// The holder's rollout. The parameter map runs the pass spinner, the target node picker, the icon
// check box and the size spinner; this procedure adds the three buttons, which act on the pass
// that `whichPass` names when the button is pressed. It never claims a message (answers 0).
#include "win_ui.h"  // before the holder's class, so that its GetClassName is declared alike everywhere

#include "holder_params.h"
#include "holder_rollout.h"
#include "iparamm2.h"
#include "prop_holder.h"
#include "resource.h"

namespace {

class HolderRolloutProc : public ParamMap2UserDlgProc {
 public:
  explicit HolderRolloutProc(QZMPropHolder* holder) : holder_(holder) {}

  INT_PTR DlgProc(TimeValue t, IParamMap2*, HWND, UINT msg, std::uintptr_t wParam, std::intptr_t) override {
    if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED || !holder_ || !holder_->pblock) return 0;
    const int pass = holder_->pblock->GetInt(pb_whichPass, t);
    switch (LOWORD(wParam)) {
      case IDC_CAPTURE: holder_->CaptureProperties(pass, 0); break;
      // A restore from the rollout sets a per-pass material on the node to its first pass.
      case IDC_RESTORE: holder_->RestoreProperties(pass, 1); break;
      case IDC_RESTOREALL: holder_->RestoreAllProperties(pass, 1); break;
      default: break;
    }
    return 0;
  }

  void DeleteThis() override { delete this; }
  void SetThing(ReferenceTarget* m) override { holder_ = dynamic_cast<QZMPropHolder*>(m); }

 private:
  QZMPropHolder* holder_;
};

}  // namespace

ParamMap2UserDlgProc* NewHolderRolloutProc(QZMPropHolder* holder) { return new HolderRolloutProc(holder); }
