// QZMMaterialDlg: opening and closing the panel, what the material editor asks of it, and the
// refresh of its rows.
#include "qzm_material_dlg.h"

#include "maxapi.h"
#include "qzm_material.h"
#include "qzm_material_dlg_rows.h"
#include "resource_strings.h"

#include <algorithm>
#include <cstdio>

using namespace panel_rows;

namespace {

// The rollup category that orders the page among the editor's pages.
constexpr int kRollupCategory = 4000;

}  // namespace

QZMMaterialDlg::QZMMaterialDlg(HWND hwMtlEdit, IMtlParams* imp, QZMMaterial* material)
    : hwMtlEdit_(hwMtlEdit), imp_(imp), material_(material) {
  dadMgr_.Init(this);
  // The page's WM_INITDIALOG runs inside AddRollupPage and records the page window.
  imp_->AddRollupPage(hInstance, MAKEINTRESOURCE(IDD_QZMMATERIAL_PANEL), QZMMaterialPanelProc,
                      GetString(IDS_PARAMS), reinterpret_cast<LPARAM>(this), 0, kRollupCategory);
  curTime_ = imp_->GetTime();
  attach();
}

void QZMMaterialDlg::attach() {
  if (!material_) return;
  Interval valid;
  material_->Update(curTime_, valid);
  UpdateSubMtlNames();
  material_->SetPanel(this);
}

Class_ID QZMMaterialDlg::ClassID() { return QZMMATERIAL_CLASS_ID; }

void QZMMaterialDlg::SetThing(ReferenceTarget* m) {
  if (material_ && material_->Panel() == this) material_->SetPanel(nullptr);
  material_ = dynamic_cast<QZMMaterial*>(m);
  attach();
}

ReferenceTarget* QZMMaterialDlg::GetThing() { return material_; }

void QZMMaterialDlg::SetTime(TimeValue t) {
  if (t == curTime_) return;
  curTime_ = t;
  if (!material_) return;
  Interval valid;
  material_->Update(t, valid);
}

void QZMMaterialDlg::ReloadDialog() {
  if (!material_) return;
  Interval valid;
  material_->Update(curTime_, valid);
  attach();
}

void QZMMaterialDlg::Detach() { material_ = nullptr; }

void QZMMaterialDlg::DeleteThis() {
  if (material_ && material_->Panel() == this) material_->SetPanel(nullptr);
  material_ = nullptr;
  if (IsWindow(hPanel_)) SetWindowLongPtr(hPanel_, GWLP_USERDATA, 0);
  for (ICustButton*& b : buttons_) {
    ReleaseICustButton(b);
    b = nullptr;
  }
  for (ICustEdit*& e : edits_) {
    ReleaseICustEdit(e);
    e = nullptr;
  }
  delete this;
}

int QZMMaterialDlg::FindSubMtlFromHWND(HWND hwnd) {
  if (!hwnd || !material_) return -1;
  for (int r = 0; r < kRows; ++r) {
    ICustButton* b = buttons_[static_cast<size_t>(r)];
    if (b && b->GetHwnd() == hwnd) return rowOffset() + r;
  }
  return -1;
}

int QZMMaterialDlg::rowOffset() {
  IParamBlock2* pb = material_ ? material_->GetParamBlock(0) : nullptr;
  if (!pb) return 0;
  return std::clamp(pb->GetInt(pb_uiOffset, 0), 0, kMaxOffset);
}

TimeValue QZMMaterialDlg::hostTime() { return GetCOREInterface()->GetTime(); }

void QZMMaterialDlg::UpdateSubMtlNames() {
  if (labelCommit_ || !material_) return;
  IParamBlock2* pb = material_->GetParamBlock(0);
  if (!pb) return;
  int o = rowOffset();
  for (int r = 0; r < kRows; ++r) {
    size_t row = static_cast<size_t>(r);
    int slot = o + r;
    if (ICustButton* b = buttons_[row]) {
      Mtl* m = material_->GetSubMtl(slot);
      b->SetText(m ? m->GetFullName().data() : GetString(IDS_NONE));
    }
    if (ICustEdit* e = edits_[row]) {
      const TCHAR* label = pb->GetStr(pb_labels, 0, slot);
      e->SetText(label ? label : _T(""));
    }
    InvalidateRect(GetDlgItem(hPanel_, kStampFrames[row]), nullptr, FALSE);
    char number[16];
    std::snprintf(number, sizeof number, "%i", slot + 1);
    SetDlgItemText(material_->PanelWindow(), IDC_PASSNUMBER_0 + r, number);
  }
  UpdatePassSpinner();
  SetScrollRange(hScroll_, SB_CTL, 0, kScrollBarMax, FALSE);
  SetScrollPos(hScroll_, SB_CTL, o, TRUE);
}

void QZMMaterialDlg::UpdatePassSpinner() {
  IParamBlock2* pb = material_ ? material_->GetParamBlock(0) : nullptr;
  if (!pb) return;
  if (ISpinnerControl* spin = GetISpinner(GetDlgItem(hPanel_, IDC_PASS_SPIN))) {
    spin->SetValue(pb->GetInt(pb_whichPass, hostTime()), FALSE);
    ReleaseISpinner(spin);
  }
}
