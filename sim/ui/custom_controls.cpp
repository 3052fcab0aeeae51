// Registration of the custom control classes, what they share, and the colour manager.
#include "ui/custom_controls.h"

#include <cstring>
#include <vector>

#ifndef CS_GLOBALCLASS
#define CS_GLOBALCLASS 0x4000
#endif

namespace sim::ui {

namespace {

void registerControl(const char* name, WNDPROC proc) {
  WNDCLASS wc{};
  // Global: dialogs of every plug-in module name these classes in their templates.
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.lpszClassName = name;
  RegisterClass(&wc);
}

}  // namespace

// Asked again every time rather than remembered: a class that is there already stays as it is, and
// one taken away (UnregisterClass) comes back.
void registerCustomControls() {
  registerControl(kCustButtonClass, custButtonProc);
  registerControl(kCustEditClass, custEditProc);
  registerControl(kSpinnerClass, spinnerProc);
}

bool hasClass(HWND hwnd, const char* name) {
  char buf[64] = {};
  return IsWindow(hwnd) && GetClassName(hwnd, buf, int(sizeof buf)) > 0 && std::strcmp(buf, name) == 0;
}

std::string windowText(HWND hwnd) {
  int n = GetWindowTextLength(hwnd);
  if (n <= 0) return {};
  std::vector<char> buf(std::size_t(n) + 1);
  int got = GetWindowText(hwnd, buf.data(), n + 1);
  return std::string(buf.data(), std::size_t(got > 0 ? got : 0));
}

POINT mousePoint(LPARAM lParam) {
  return POINT{LONG(short(LOWORD(lParam))), LONG(short(HIWORD(lParam)))};
}

void paintControl(HWND hwnd, COLORREF face, COLORREF frame, UINT textFormat) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  if (!hdc) return;
  RECT r;
  GetClientRect(hwnd, &r);
  HBRUSH faceBrush = CreateSolidBrush(face), frameBrush = CreateSolidBrush(frame);
  FillRect(hdc, &r, faceBrush);
  FrameRect(hdc, &r, frameBrush);
  DeleteObject(faceBrush);
  DeleteObject(frameBrush);
  std::string text = windowText(hwnd);
  if (!text.empty()) {
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, IsWindowEnabled(hwnd) ? RGB(0, 0, 0) : RGB(128, 128, 128));
    RECT inner = r;
    InflateRect(&inner, -2, 0);
    DrawText(hdc, text.c_str(), int(text.size()), &inner, textFormat | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  EndPaint(hwnd, &ps);
}

}  // namespace sim::ui

void InitCustomControls(HINSTANCE) { sim::ui::registerCustomControls(); }

// ---- colours -----------------------------------------------------------------------------------------

namespace {

// The interface colours are the system's: an id is a COLOR_* index.
class ColorManager : public IColorManager {
 public:
  HBRUSH GetBrush(ColorId id) override { return GetSysColorBrush(int(id)); }
  COLORREF GetColor(ColorId id) override { return GetSysColor(int(id)); }
};

}  // namespace

IColorManager* GetColorManager() {
  static ColorManager manager;
  return &manager;
}

