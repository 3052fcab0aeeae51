// QZMMaterialDlg: the page's dialog procedure and what each message does.
#include "qzm_material_dlg.h"

#include "maxapi.h"
#include "maxscript/streams.h"
#include "qzm_material.h"
#include "qzm_material_dlg_rows.h"
#include "spin_restore.h"

#include <algorithm>
#include <string>

using namespace panel_rows;

namespace {

constexpr TCHAR kSpinnerUndoLabel[] = _T("QZMMaterial Spinner Change");
constexpr TCHAR kDragCancelled[] = _T("false\n");
constexpr TCHAR kActiveStampEnter[] = _T("WM_CUSTEDIT_ENTER, IDC_ONLYACTIVESTAMP\n");
constexpr TCHAR kPlaceholderLabel[] = _T("SampleText");
// Rows of slots below this one get the placeholder label when the page opens.
constexpr int kPlaceholderSlots = 30;
// The longest label a field commits, in bytes.
constexpr size_t kMaxLabel = 199;

void print(const TCHAR* text) {
  if (the_listener && the_listener->edit_stream) the_listener->edit_stream->puts(text);
}

// `text` cut to at most `limit` bytes, never inside a UTF-8 sequence, so a label with non-ASCII
// characters stays valid text.
std::string cutLabel(std::string text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

}  // namespace

INT_PTR CALLBACK QZMMaterialPanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  QZMMaterialDlg* dlg;
  if (msg == WM_INITDIALOG) {
    dlg = reinterpret_cast<QZMMaterialDlg*>(lParam);
    if (!dlg) return FALSE;
    dlg->hPanel_ = hwnd;
    SetWindowLongPtr(hwnd, GWLP_USERDATA, lParam);
  } else {
    dlg = reinterpret_cast<QZMMaterialDlg*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
    if (!dlg) return 0;
  }
  dlg->inProc_ = 1;
  INT_PTR result = dlg->handleMessage(hwnd, msg, wParam, lParam);
  dlg->inProc_ = 0;
  return result;
}

INT_PTR QZMMaterialDlg::handleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
  // A panel whose material went away shows nothing more.
  if (!material_) return msg == WM_INITDIALOG ? TRUE : 0;
  material_->SetPanelWindow(hwnd);
  int id = LOWORD(wParam);
  switch (msg) {
    case WM_INITDIALOG:
      initDialog(hwnd);
      return TRUE;
    case WM_PAINT:
      if (!valid) {
        valid = 1;
        UpdateSubMtlNames();
      }
      return 0;
    case WM_COMMAND: {
      if (id == IDC_ONLYACTIVESTAMP) {
        setActiveStampOnlyFromButton();
      } else if (int row = rowOf(kSlotButtons, id); row >= 0) {
        PostMessage(hwMtlEdit_, WM_SUB_MTL_BUTTON, static_cast<WPARAM>(rowOffset() + row),
                    reinterpret_cast<LPARAM>(static_cast<Mtl*>(material_)));
      }
      return 0;
    }
    case WM_VSCROLL:
      scroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
      return 0;
    case CC_SPINNER_BUTTONDOWN:
    case CC_SPINNER_CHANGE:
    case CC_SPINNER_BUTTONUP:
      onSpinner(msg, wParam);
      return 0;
    case WM_CUSTEDIT_ENTER:
      if (id == IDC_ONLYACTIVESTAMP) {
        print(kActiveStampEnter);
        setActiveStampOnlyFromButton();
      } else if (id == IDC_PASS_EDIT) {
        theHold.Accept(kSpinnerUndoLabel);
        UpdatePassSpinner();
      } else if (int row = rowOf(kLabelFields, id); row >= 0) {
        commitLabel(row);
      }
      return 0;
    default:
      return 0;
  }
}

void QZMMaterialDlg::initDialog(HWND hwnd) {
  for (int i = 0; i < QZMMaterial::kNumSlots; ++i) material_->StampUnavailable(i) = 0;
  IParamBlock2* pb = material_->GetParamBlock(0);
  hScroll_ = GetDlgItem(hwnd, IDC_SCROLLBAR);
  SetScrollRange(hScroll_, SB_CTL, 0, kScrollBarMax, FALSE);
  SetScrollPos(hScroll_, SB_CTL, pb ? pb->GetInt(pb_uiOffset, 0) : 0, TRUE);

  ISpinnerControl* spin = SetupIntSpinner(hwnd, IDC_PASS_SPIN, IDC_PASS_EDIT, 1, 99, 1);
  if (spin) {
    spin->SetValue(pb ? pb->GetInt(pb_whichPass, hostTime()) : 1, FALSE);
    ReleaseISpinner(spin);
  }

  if (ICustButton* check = GetICustButton(GetDlgItem(hwnd, IDC_ONLYACTIVESTAMP))) {
    check->SetType(CBT_CHECK);
    check->SetCheck(pb && pb->GetInt(pb_activeStampOnly, 0) != 0);
    ReleaseICustButton(check);
  }

  int o = rowOffset();
  for (int r = 0; r < kRows; ++r) {
    size_t row = static_cast<size_t>(r);
    ReleaseICustButton(buttons_[row]);
    buttons_[row] = GetICustButton(GetDlgItem(hwnd, kSlotButtons[row]));
    if (buttons_[row]) buttons_[row]->SetDADMgr(&dadMgr_);
    ReleaseICustEdit(edits_[row]);
    edits_[row] = GetICustEdit(GetDlgItem(hwnd, kLabelFields[row]));
    if (edits_[row] && o + r < kPlaceholderSlots) edits_[row]->SetText(kPlaceholderLabel);
    HWND frame = GetDlgItem(hwnd, kStampFrames[row]);
    SetWindowLongPtr(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(QZMMaterialStampProc));
    SetWindowLongPtr(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
}

void QZMMaterialDlg::setActiveStampOnlyFromButton() {
  IParamBlock2* pb = material_->GetParamBlock(0);
  ICustButton* check = GetICustButton(GetDlgItem(hPanel_, IDC_ONLYACTIVESTAMP));
  if (!check) return;
  BOOL on = check->IsChecked();
  ReleaseICustButton(check);
  if (pb) pb->SetValue(pb_activeStampOnly, 0, on ? TRUE : FALSE);
}

// Lines and pages move by one row and by the 15 rows; the thumb gives the offset itself. Whatever
// moved, the offset is kept within the slots and the rows are shown anew.
void QZMMaterialDlg::scroll(int code, int position) {
  IParamBlock2* pb = material_->GetParamBlock(0);
  if (!pb) return;
  int o = rowOffset();
  int next = o;
  bool moved = true;
  switch (code) {
    case SB_LINEUP: next = o - 1; break;
    case SB_LINEDOWN: next = o + 1; break;
    case SB_PAGEUP: next = o - kRows; break;
    case SB_PAGEDOWN: next = o + kRows; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: next = position; break;
    default: moved = false; break;
  }
  if (moved) pb->SetValue(pb_uiOffset, 0, std::clamp(next, 0, kMaxOffset));
  UpdateSubMtlNames();
}

// The flag keeps the change the label makes from refreshing the rows, which would put the stored
// text back into the field being typed in; it stays up while that field keeps the focus.
void QZMMaterialDlg::commitLabel(int row) {
  ICustEdit* edit = edits_[static_cast<size_t>(row)];
  IParamBlock2* pb = material_->GetParamBlock(0);
  if (!edit || !pb) return;
  labelCommit_ = 1;
  HWND field = GetDlgItem(hPanel_, kLabelFields[static_cast<size_t>(row)]);
  int length = GetWindowTextLength(field);
  std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
  edit->GetText(text.data(), static_cast<int>(text.size()));
  text.resize(std::char_traits<char>::length(text.c_str()));
  pb->SetValue(pb_labels, 0, cutLabel(std::move(text), kMaxLabel).c_str(), rowOffset() + row);
  if (!edit->HasFocus()) labelCommit_ = 0;
}

// A drag holds its changes open: each change puts the pass back before it sets the new one, so the
// hold keeps the value from before the drag, and the button's release accepts or cancels the lot.
void QZMMaterialDlg::onSpinner(UINT msg, WPARAM wParam) {
  int id = LOWORD(wParam);
  IParamBlock2* pb = material_->GetParamBlock(0);
  switch (msg) {
    case CC_SPINNER_BUTTONDOWN:
      if (id != IDC_PASS_SPIN) return;
      if (!theHold.Holding()) theHold.Begin();
      theHold.Put(new SpinRestore(material_));
      return;
    case CC_SPINNER_CHANGE: {
      if (id != IDC_PASS_SPIN) return;
      if (!theHold.Holding()) {
        theHold.Begin();
        theHold.Put(new SpinRestore(material_));
      }
      int value = 0;
      if (ISpinnerControl* spin = GetISpinner(GetDlgItem(hPanel_, IDC_PASS_SPIN))) {
        value = spin->GetIVal();
        ReleaseISpinner(spin);
      }
      theHold.Restore();
      if (pb) pb->SetValue(pb_whichPass, hostTime(), value);
      UpdatePassSpinner();
      return;
    }
    case CC_SPINNER_BUTTONUP: {
      bool accepted = HIWORD(wParam) != 0;
      if (!accepted) print(kDragCancelled);
      if (id != IDC_PASS_SPIN) return;
      if (accepted)
        theHold.Accept(kSpinnerUndoLabel);
      else
        theHold.Cancel();
      return;
    }
    default:
      return;
  }
}
