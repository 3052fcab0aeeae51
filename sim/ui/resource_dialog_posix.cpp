// CreateDialogParam from a module's dialog templates, in the order user32 goes: the dialog window
// (hidden), its procedure, the controls in template order, WM_INITDIALOG, focus, then showing.
// A control that cannot be created (its class is not registered) fails the whole dialog unless
// the template says DS_NOFAILCREATE: the half-made dialog is destroyed and the answer is NULL.
#include "ui/resource_module.h"
#include "win_ui.h"

#include <cstdlib>
#include <string>

namespace sim::ui {
namespace {

constexpr DWORD kNoFailCreate = 0x10;        // DS_NOFAILCREATE
constexpr DWORD kNoParentNotify = 0x00000004;  // WS_EX_NOPARENTNOTIFY, which dialog controls get

// Dialog units to pixels: a quarter of the font's average character width across, an eighth of its
// height down, rounded as MulDiv rounds.
struct BaseUnits {
  int x, y;
};

BaseUnits baseUnitsOf(const DialogTemplate& d) {
  // "MS Sans Serif" 8 at 96 dots per inch averages 6 x 13 pixels; other sizes scale from it. A
  // template without a font uses the system font's 8 x 16.
  if (!(d.style & DS_SETFONT) || d.fontPoints <= 0) return {8, 16};
  return {(d.fontPoints * 6 + 4) / 8, (d.fontPoints * 13 + 4) / 8};
}

int mulDiv(int value, int numerator, int denominator) {
  long long product = static_cast<long long>(value) * numerator;
  long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}

RECT toPixels(const BaseUnits& u, int x, int y, int cx, int cy) {
  return {mulDiv(x, u.x, 4), mulDiv(y, u.y, 8), mulDiv(x + cx, u.x, 4), mulDiv(y + cy, u.y, 8)};
}

// A template is named by MAKEINTRESOURCE(id) or by the text "#id".
bool templateId(LPCSTR name, int& id) {
  if (IS_INTRESOURCE(name)) {
    id = static_cast<int>(reinterpret_cast<UINT_PTR>(name));
    return true;
  }
  if (!name || name[0] != '#' || !name[1]) return false;
  char* end = nullptr;
  long v = std::strtol(name + 1, &end, 10);
  if (*end || v < 0 || v > 0xFFFF) return false;
  id = static_cast<int>(v);
  return true;
}

HWND createControls(HWND dialog, const DialogTemplate& d, HINSTANCE inst, const BaseUnits& units) {
  HWND firstTabStop = nullptr;
  for (const DialogControl& c : d.controls) {
    RECT r = toPixels(units, c.x, c.y, c.cx, c.cy);
    HWND control = CreateWindowEx(c.exStyle | kNoParentNotify, c.className.c_str(), c.text.c_str(), c.style, r.left,
                                  r.top, r.right - r.left, r.bottom - r.top, dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), inst, nullptr);
    if (!IsWindow(dialog)) return nullptr;
    if (!control) {
      if (d.style & kNoFailCreate) continue;
      DestroyWindow(dialog);
      return nullptr;
    }
    if (!firstTabStop && (c.style & WS_TABSTOP)) firstTabStop = control;
  }
  return firstTabStop ? firstTabStop : dialog;
}

}  // namespace
}  // namespace sim::ui

HWND CreateDialogParam(HINSTANCE inst, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam) {
  using namespace sim::ui;
  int id = 0;
  const ResourceScript* script = moduleResources(inst);
  if (!script || !templateId(templateName, id)) return nullptr;
  auto found = script->dialogs.find(id);
  if (found == script->dialogs.end()) return nullptr;
  const DialogTemplate& d = found->second;

  BaseUnits units = baseUnitsOf(d);
  RECT r = toPixels(units, d.x, d.y, d.cx, d.cy);
  HWND dialog = CreateWindowEx(d.exStyle, WC_DIALOG, d.caption.c_str(), d.style & ~DWORD(WS_VISIBLE), r.left, r.top,
                               r.right - r.left, r.bottom - r.top, parent, nullptr, inst, nullptr);
  if (!dialog) return nullptr;
  SetWindowLongPtr(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  HWND focus = createControls(dialog, d, inst, units);
  if (!focus) return nullptr;
  // The procedure answers TRUE to have the focus put on the first control that takes it.
  if (SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), initParam) && IsWindow(focus))
    SetFocus(focus);
  if (!IsWindow(dialog)) return nullptr;
  if (d.style & WS_VISIBLE) ShowWindow(dialog, SW_SHOWNORMAL);
  return IsWindow(dialog) ? dialog : nullptr;
}
