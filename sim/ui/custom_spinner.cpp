// "SpinnerControl": an integer or float value between limits, changed by dragging the mouse up and
// down or clicking the upper or lower half, and shown in a linked edit. It counts in integers until
// it is linked to an edit of a float kind (or given float limits or a float value).
//
// A press sends CC_SPINNER_BUTTONDOWN; every move that changes the value sends CC_SPINNER_CHANGE
// (HIWORD 1: while dragging); the release sends CC_SPINNER_BUTTONUP with HIWORD 1. The right button
// or Escape during the drag cancels it: the value goes back to where the drag started and
// BUTTONUP carries HIWORD 0.
#include "ui/custom_controls.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <locale>
#include <sstream>

namespace sim::ui {

namespace {

struct SpinnerState {
  double value = 0, min = 0, max = 100;
  bool isFloat = false;
  float scale = 1.0f;
  HWND edit = nullptr;
  bool dragging = false, moved = false;
  double startValue = 0;
  POINT start{};
};

// Three decimals with a point whatever the locale, trailing zeros dropped down to one: "1.0", "0.01".
std::string floatText(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  std::string t = buf;
  for (char& c : t)
    if (c == ',') c = '.';
  std::size_t point = t.find('.');
  if (point != std::string::npos)
    while (t.size() > point + 2 && t.back() == '0') t.pop_back();
  return t;
}

// A number with optional surrounding blanks, read with a point whatever the locale.
bool parseFloat(const std::string& text, double& out) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  double v = 0;
  if (!(in >> v) || !std::isfinite(v)) return false;
  in >> std::ws;
  if (!in.eof()) return false;
  out = v;
  return true;
}

void notify(HWND hwnd, UINT msg, WORD high) {
  SendMessage(GetParent(hwnd), msg, MAKEWPARAM(GetDlgCtrlID(hwnd), high), reinterpret_cast<LPARAM>(hwnd));
}

void showInEdit(const SpinnerState& s) {
  if (!s.edit || !IsWindow(s.edit)) return;
  SetWindowText(s.edit, (s.isFloat ? floatText(s.value) : std::to_string(std::llround(s.value))).c_str());
}

// Answers whether the value changed. The state may be gone after `notify`: look it up again.
bool setValue(HWND hwnd, SpinnerState& s, double v, bool sendChange, WORD dragging) {
  if (!std::isfinite(v)) v = s.value;
  if (!s.isFloat) v = double(std::llround(std::clamp(v, -2147483648.0, 2147483647.0)));
  double clamped = std::clamp(v, s.min, s.max);
  bool changed = clamped != s.value;
  s.value = clamped;
  showInEdit(s);
  if (changed) InvalidateRect(hwnd, nullptr, TRUE);
  if (changed && sendChange) notify(hwnd, CC_SPINNER_CHANGE, dragging);
  return changed;
}

void endDrag(HWND hwnd, SpinnerState& s, bool accepted) {
  s.dragging = false;
  if (GetCapture() == hwnd) ReleaseCapture();
  if (!accepted) setValue(hwnd, s, s.startValue, false, 0);
  notify(hwnd, CC_SPINNER_BUTTONUP, accepted ? 1 : 0);
}

LRESULT mouse(HWND hwnd, SpinnerState& s, UINT msg, POINT p) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (!IsWindowEnabled(hwnd) || s.dragging) return 0;
      s.dragging = true;
      s.moved = false;
      s.startValue = s.value;
      s.start = p;
      SetCapture(hwnd);
      SetFocus(hwnd);
      notify(hwnd, CC_SPINNER_BUTTONDOWN, 0);
      return 0;
    case WM_MOUSEMOVE: {
      if (!s.dragging) return 0;
      // Up is more.
      double delta = double(s.start.y - p.y) * s.scale;
      if (!s.isFloat) delta = double(std::llround(delta));
      if (delta != 0) s.moved = true;
      setValue(hwnd, s, s.startValue + delta, true, 1);
      return 0;
    }
    case WM_LBUTTONUP: {
      if (!s.dragging) return 0;
      if (!s.moved) {
        // A click without a drag steps by one: up in the upper half, down in the lower.
        RECT r;
        GetClientRect(hwnd, &r);
        double step = s.isFloat ? double(s.scale) : 1.0;
        setValue(hwnd, s, s.value + (p.y < (r.top + r.bottom) / 2 ? step : -step), true, 0);
      }
      // The parent may have destroyed the spinner while told of the change.
      if (SpinnerState* still = controlState<SpinnerState>(hwnd)) endDrag(hwnd, *still, true);
      return 0;
    }
    case WM_RBUTTONDOWN:
      if (s.dragging) endDrag(hwnd, s, false);
      return 0;
    default: return 0;
  }
}

void paintSpinner(HWND hwnd) {
  paintControl(hwnd, GetSysColor(COLOR_BTNFACE), RGB(0, 0, 0), DT_CENTER);
  HDC hdc = GetDC(hwnd);
  if (!hdc) return;
  RECT r;
  GetClientRect(hwnd, &r);
  int mid = (r.top + r.bottom) / 2;
  MoveToEx(hdc, r.left, mid, nullptr);
  LineTo(hdc, r.right, mid);
  ReleaseDC(hwnd, hdc);
}

}  // namespace

LRESULT CALLBACK spinnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  SpinnerState* s = trackState<SpinnerState>(hwnd, msg);
  if (!s) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT: paintSpinner(hwnd); return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN: return mouse(hwnd, *s, msg, mousePoint(lParam));
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE && s->dragging) endDrag(hwnd, *s, false);
      return 0;
    case kSpinnerEditEnter: {
      std::string text = windowText(reinterpret_cast<HWND>(lParam));
      BOOL valid = FALSE;
      double v = 0;
      if (s->isFloat) valid = parseFloat(text, v);
      else v = parseInt(text, &valid);
      // Text that is no number puts the value back into the edit.
      if (valid) setValue(hwnd, *s, v, true, 0);
      else showInEdit(*s);
      return 0;
    }
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

namespace {

class Spinner : public ISpinnerControl {
 public:
  explicit Spinner(HWND hwnd) : hwnd_(hwnd) {}
  HWND GetHwnd() override { return hwnd_; }
  void Enable(BOOL onOff) override { EnableWindow(hwnd_, onOff); }
  void Disable() override { EnableWindow(hwnd_, FALSE); }
  BOOL IsEnabled() override { return IsWindowEnabled(hwnd_); }
  int GetIVal() override { return state() ? int(std::llround(state()->value)) : 0; }
  float GetFVal() override { return state() ? float(state()->value) : 0.0f; }
  void SetValue(int v, int notifyChange) override {
    if (SpinnerState* s = state()) setValue(hwnd_, *s, v, notifyChange != 0, 0);
  }
  void SetValue(float v, int notifyChange) override {
    if (SpinnerState* s = state()) {
      s->isFloat = true;
      setValue(hwnd_, *s, v, notifyChange != 0, 0);
    }
  }
  void SetLimits(int min, int max, int limitCurValue) override { limits(min, max, limitCurValue); }
  void SetLimits(float min, float max, int limitCurValue) override {
    if (SpinnerState* s = state()) s->isFloat = true;
    limits(min, max, limitCurValue);
  }
  void SetScale(float scale) override {
    if (SpinnerState* s = state(); s && std::isfinite(scale)) s->scale = scale;
  }
  void LinkToEdit(HWND hEdit, EditSpinnerType type) override {
    SpinnerState* s = state();
    if (!s) return;
    if (s->edit && IsWindow(s->edit)) SendMessage(s->edit, kEditLinkSpinner, 0, 0);
    s->isFloat = type == EDITTYPE_FLOAT || type == EDITTYPE_POS_FLOAT || type == EDITTYPE_UNIVERSE ||
                 type == EDITTYPE_POS_UNIVERSE;
    s->edit = hasClass(hEdit, kCustEditClass) ? hEdit : nullptr;
    if (s->edit) SendMessage(s->edit, kEditLinkSpinner, reinterpret_cast<WPARAM>(hwnd_), 0);
    showInEdit(*s);
  }

 private:
  void limits(double min, double max, int limitCurValue) {
    SpinnerState* s = state();
    if (!s || !std::isfinite(min) || !std::isfinite(max)) return;
    s->min = std::min(min, max);
    s->max = std::max(min, max);
    if (limitCurValue) setValue(hwnd_, *s, s->value, false, 0);
  }
  SpinnerState* state() { return hasClass(hwnd_, kSpinnerClass) ? controlState<SpinnerState>(hwnd_) : nullptr; }
  HWND hwnd_;
};

}  // namespace

}  // namespace sim::ui

ISpinnerControl* GetISpinner(HWND hCtrl) {
  sim::ui::registerCustomControls();
  return sim::ui::hasClass(hCtrl, sim::ui::kSpinnerClass) ? new sim::ui::Spinner(hCtrl) : nullptr;
}

void ReleaseISpinner(ISpinnerControl* spin) { delete spin; }

ISpinnerControl* SetupIntSpinner(HWND hwnd, int idSpin, int idEdit, int min, int max, int val) {
  ISpinnerControl* spin = GetISpinner(GetDlgItem(hwnd, idSpin));
  HWND edit = GetDlgItem(hwnd, idEdit);
  if (!spin || !edit) {
    ReleaseISpinner(spin);
    return nullptr;
  }
  spin->SetLimits(min, max, FALSE);
  spin->LinkToEdit(edit, EDITTYPE_INT);
  spin->SetValue(val, FALSE);
  return spin;
}

ISpinnerControl* SetupFloatSpinner(HWND hwnd, int idSpin, int idEdit, float min, float max, float val, float scale) {
  ISpinnerControl* spin = GetISpinner(GetDlgItem(hwnd, idSpin));
  HWND edit = GetDlgItem(hwnd, idEdit);
  if (!spin || !edit) {
    ReleaseISpinner(spin);
    return nullptr;
  }
  spin->SetLimits(min, max, FALSE);
  spin->SetScale(scale);
  spin->LinkToEdit(edit, EDITTYPE_FLOAT);
  spin->SetValue(val, FALSE);
  return spin;
}
