// "CustEdit": a one-line text field. A click gives it the keyboard focus, which it keeps until
// another control takes it; typed characters go at the end, Backspace takes the last one off; Enter
// commits (the linked spinner, when there is one, takes the value first) with WM_CUSTEDIT_ENTER to
// the parent, and so does losing the focus, so a field left without Enter is committed too.
#include "ui/custom_controls.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace sim::ui {

namespace {

struct EditState {
  HWND spinner = nullptr;
};

void commit(HWND hwnd, const EditState& s) {
  if (s.spinner && IsWindow(s.spinner)) SendMessage(s.spinner, kSpinnerEditEnter, 0, reinterpret_cast<LPARAM>(hwnd));
  if (IsWindow(hwnd))
    SendMessage(GetParent(hwnd), WM_CUSTEDIT_ENTER, WPARAM(GetDlgCtrlID(hwnd)), reinterpret_cast<LPARAM>(hwnd));
}

void setText(HWND hwnd, const std::string& text) {
  SetWindowText(hwnd, text.c_str());
  InvalidateRect(hwnd, nullptr, TRUE);
}

}  // namespace

LRESULT CALLBACK custEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  EditState* s = trackState<EditState>(hwnd, msg);
  if (!s) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT: {
      bool enabled = IsWindowEnabled(hwnd);
      paintControl(hwnd, enabled ? GetSysColor(COLOR_WINDOW) : GetSysColor(COLOR_BTNFACE), RGB(128, 128, 128),
                   DT_LEFT);
      return 0;
    }
    case WM_SETTEXT: {
      LRESULT r = DefWindowProc(hwnd, msg, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    case WM_LBUTTONDOWN:
      if (IsWindowEnabled(hwnd)) SetFocus(hwnd);
      return 0;
    case WM_KILLFOCUS: commit(hwnd, *s); return 0;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) commit(hwnd, *s);
      return 0;
    case WM_CHAR: {
      if (!IsWindowEnabled(hwnd)) return 0;
      std::string text = windowText(hwnd);
      if (wParam == VK_BACK) {
        if (!text.empty()) text.pop_back();
      } else if (wParam >= 0x20 && wParam != 0x7F && wParam < 0x100) {
        text += char(wParam);
      } else {
        return 0;  // Enter and the other control characters are keys, not text
      }
      setText(hwnd, text);
      return 0;
    }
    case kEditLinkSpinner: s->spinner = reinterpret_cast<HWND>(wParam); return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

namespace {

class CustEdit : public ICustEdit {
 public:
  explicit CustEdit(HWND hwnd) : hwnd_(hwnd) {}
  HWND GetHwnd() override { return hwnd_; }
  void Enable(BOOL onOff) override { EnableWindow(hwnd_, onOff); }
  void Disable() override { EnableWindow(hwnd_, FALSE); }
  BOOL IsEnabled() override { return IsWindowEnabled(hwnd_); }
  void GetText(MCHAR* text, int ct) override {
    if (text && ct > 0 && GetWindowText(hwnd_, text, ct) <= 0) text[0] = 0;
  }
  int GetTextLength() override { return GetWindowTextLength(hwnd_); }
  void SetText(const MCHAR* text) override { setText(hwnd_, text ? text : ""); }
  void SetText(int i) override { setText(hwnd_, std::to_string(i)); }
  int GetInt(BOOL* valid) override { return parseInt(windowText(hwnd_), valid); }
  BOOL HasFocus() override { return IsWindow(hwnd_) && GetFocus() == hwnd_; }
  void GiveFocus() override { SetFocus(hwnd_); }

 private:
  HWND hwnd_;
};

}  // namespace

int parseInt(const std::string& text, BOOL* valid) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(begin, &end, 10);
  while (end && (*end == ' ' || *end == '\t')) ++end;
  bool ok = end != begin && end && *end == 0 && errno == 0 && v >= INT_MIN && v <= INT_MAX;
  if (valid) *valid = ok;
  return ok ? int(v) : 0;
}

}  // namespace sim::ui

ICustEdit* GetICustEdit(HWND hCtrl) {
  sim::ui::registerCustomControls();
  return sim::ui::hasClass(hCtrl, sim::ui::kCustEditClass) ? new sim::ui::CustEdit(hCtrl) : nullptr;
}

void ReleaseICustEdit(ICustEdit* edit) { delete edit; }
