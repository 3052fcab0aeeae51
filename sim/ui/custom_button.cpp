// "CustButton": a push or check button that may carry a drag-and-drop manager.
//
// A press captures the mouse; the release decides: over the button itself it is a click (a check
// button flips, then the parent gets WM_COMMAND BN_CLICKED), over another window it is a drag of
// what the button shows, dropped there when both buttons' managers agree.
#include "ui/custom_controls.h"
#include "ui/drag_drop.h"

namespace sim::ui {

namespace {

struct ButtonState {
  CustButType type = CBT_PUSH;
  bool checked = false;
  bool pressed = false;
  DADMgr* dad = nullptr;
};

void redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

void click(HWND hwnd, ButtonState& s) {
  if (s.type == CBT_CHECK) s.checked = !s.checked;
  redraw(hwnd);
  SendMessage(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
              reinterpret_cast<LPARAM>(hwnd));
}

// The button was released at `p` (its client coordinates).
void release(HWND hwnd, ButtonState& s, POINT p) {
  bool wasPressed = s.pressed;
  s.pressed = false;
  if (GetCapture() == hwnd) ReleaseCapture();
  redraw(hwnd);
  if (!wasPressed) return;
  RECT client;
  GetClientRect(hwnd, &client);
  if (PtInRect(&client, p)) {
    click(hwnd, s);
    return;
  }
  POINT screen = p;
  ClientToScreen(hwnd, &screen);
  HWND target = WindowFromPoint(screen);
  if (target && target != hwnd) dropOn(hwnd, p, target, screen);
}

}  // namespace

LRESULT CALLBACK custButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ButtonState* s = trackState<ButtonState>(hwnd, msg);
  if (!s) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT:
      paintControl(hwnd, (s->checked || s->pressed) ? RGB(255, 221, 0) : GetSysColor(COLOR_BTNFACE), RGB(0, 0, 0),
                   DT_CENTER);
      return 0;
    case WM_SETTEXT: {
      LRESULT r = DefWindowProc(hwnd, msg, wParam, lParam);
      redraw(hwnd);
      return r;
    }
    case WM_LBUTTONDOWN:
      if (!IsWindowEnabled(hwnd)) return 0;
      s->pressed = true;
      SetCapture(hwnd);
      SetFocus(hwnd);
      redraw(hwnd);
      return 0;
    case WM_LBUTTONUP: release(hwnd, *s, mousePoint(lParam)); return 0;
    case BM_GETCHECK: return s->checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
      s->checked = wParam == BST_CHECKED;
      redraw(hwnd);
      return 0;
    case BM_CLICK:
      if (IsWindowEnabled(hwnd)) click(hwnd, *s);
      return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

namespace {

class CustButton : public ICustButton {
 public:
  explicit CustButton(HWND hwnd) : hwnd_(hwnd) {}
  HWND GetHwnd() override { return hwnd_; }
  void Enable(BOOL onOff) override { EnableWindow(hwnd_, onOff); }
  void Disable() override { EnableWindow(hwnd_, FALSE); }
  BOOL IsEnabled() override { return IsWindowEnabled(hwnd_); }
  void GetText(MCHAR* text, int ct) override {
    if (text && ct > 0 && GetWindowText(hwnd_, text, ct) <= 0) text[0] = 0;
  }
  void SetText(const MCHAR* text) override { SetWindowText(hwnd_, text ? text : ""); }
  void SetType(CustButType type) override {
    if (ButtonState* s = state()) s->type = type;
  }
  BOOL IsChecked() override { return state() && state()->checked; }
  void SetCheck(BOOL checked) override { SendMessage(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }
  void SetDADMgr(DADMgr* dad) override {
    if (ButtonState* s = state()) s->dad = dad;
  }
  DADMgr* GetDADMgr() override { return state() ? state()->dad : nullptr; }

 private:
  ButtonState* state() { return hasClass(hwnd_, kCustButtonClass) ? controlState<ButtonState>(hwnd_) : nullptr; }
  HWND hwnd_;
};

}  // namespace

DADMgr* buttonDADMgr(HWND hwnd) {
  ButtonState* s = hasClass(hwnd, kCustButtonClass) ? controlState<ButtonState>(hwnd) : nullptr;
  return s ? s->dad : nullptr;
}

}  // namespace sim::ui

ICustButton* GetICustButton(HWND hCtrl) {
  sim::ui::registerCustomControls();
  return sim::ui::hasClass(hCtrl, sim::ui::kCustButtonClass) ? new sim::ui::CustButton(hCtrl) : nullptr;
}

void ReleaseICustButton(ICustButton* btn) { delete btn; }
