// The built-in control classes a dialog uses, drawn simply: "Static", "Button", "Edit",
// "ScrollBar", and the dialog class itself.
#include "ui/painting.h"

#include <algorithm>

using namespace sim::ui;

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kGray = RGB(128, 128, 128);

COLORREF face() { return GetSysColor(COLOR_BTNFACE); }

// Runs `draw(dc, client)` between BeginPaint and EndPaint.
template <class Draw>
LRESULT paint(HWND hwnd, Draw&& draw) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  if (!hdc) return 0;
  RECT client;
  GetClientRect(hwnd, &client);
  if (DeviceContext* dc = findDC(hdc)) draw(*dc, hdc, client);
  EndPaint(hwnd, &ps);
  return 0;
}

void frameRect(const DeviceContext& dc, const RECT& r, COLORREF c) {
  if (IsRectEmpty(&r)) return;
  fill(dc, {r.left, r.top, r.right, r.top + 1}, c);
  fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, c);
  fill(dc, {r.left, r.top, r.left + 1, r.bottom}, c);
  fill(dc, {r.right - 1, r.top, r.right, r.bottom}, c);
}

void drawText(HDC hdc, HWND hwnd, RECT r, UINT format, COLORREF color) {
  Window* w = findWindow(hwnd);
  if (!w) return;
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, (w->style & WS_DISABLED) ? kGray : color);
  DrawText(hdc, w->text.c_str(), int(w->text.size()), &r, format);
}

LRESULT setText(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT r = DefWindowProc(hwnd, msg, wParam, lParam);
  InvalidateRect(hwnd, nullptr, TRUE);
  return r;
}

// ---- Static --------------------------------------------------------------------------------------

LRESULT CALLBACK staticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = findWindow(hwnd);
  if (!w) return 0;
  DWORD type = w->style & SS_TYPEMASK;
  switch (msg) {
    case WM_PAINT:
      return paint(hwnd, [&](const DeviceContext& dc, HDC hdc, RECT r) {
        switch (type) {
          case SS_BLACKFRAME: frameRect(dc, r, kBlack); break;
          case SS_GRAYFRAME: frameRect(dc, r, kGray); break;
          case SS_WHITEFRAME: frameRect(dc, r, kWhite); break;
          case SS_BLACKRECT: fill(dc, r, kBlack); break;
          case SS_GRAYRECT: fill(dc, r, kGray); break;
          case SS_WHITERECT: fill(dc, r, kWhite); break;
          default: {
            fill(dc, r, face());
            UINT align = type == SS_CENTER ? DT_CENTER : type == SS_RIGHT ? DT_RIGHT : DT_LEFT;
            drawText(hdc, hwnd, r, align | DT_NOPREFIX, kBlack);
          }
        }
      });
    case WM_SETTEXT: return setText(hwnd, msg, wParam, lParam);
    case WM_LBUTTONUP:
      if (w->style & SS_NOTIFY) notifyParent(hwnd, STN_CLICKED);
      return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

// ---- Button --------------------------------------------------------------------------------------

void click(HWND hwnd) {
  Window* w = findWindow(hwnd);
  if (!w) return;
  DWORD type = w->style & BS_TYPEMASK;
  if (type == BS_AUTOCHECKBOX) w->buttonState ^= BST_CHECKED;
  if (type == BS_AUTORADIOBUTTON) w->buttonState |= BST_CHECKED;
  InvalidateRect(hwnd, nullptr, TRUE);
  notifyParent(hwnd, BN_CLICKED);
}

void paintButton(const DeviceContext& dc, HDC hdc, HWND hwnd, RECT r) {
  Window* w = findWindow(hwnd);
  DWORD type = w->style & BS_TYPEMASK;
  bool checked = w->buttonState & BST_CHECKED;
  bool pushed = (w->buttonState & BST_PUSHED) || ((w->style & BS_PUSHLIKE) && checked);
  fill(dc, r, face());
  bool box = (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
              type == BS_AUTORADIOBUTTON) && !(w->style & BS_PUSHLIKE);
  if (type == BS_GROUPBOX) {
    frameRect(dc, {r.left, r.top + 4, r.right, r.bottom}, kGray);
    RECT t{r.left + 6, r.top, r.right - 6, r.top + 8};
    DrawText(hdc, w->text.c_str(), int(w->text.size()), &t, DT_CALCRECT);
    fill(dc, t, face());
    drawText(hdc, hwnd, t, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX, kBlack);
  } else if (box) {
    int top = r.top + (r.bottom - r.top - 10) / 2;
    RECT b{r.left, top, r.left + 10, top + 10};
    fill(dc, b, kWhite);
    frameRect(dc, b, kBlack);
    if (checked)
      for (int i = 2; i < 8; ++i) {
        plot(dc, b.left + i, b.top + i, kBlack);
        plot(dc, b.left + 9 - i, b.top + i, kBlack);
      }
    drawText(hdc, hwnd, {r.left + 14, r.top, r.right, r.bottom}, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
             kBlack);
  } else {
    if (pushed) fill(dc, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, kGray);
    frameRect(dc, r, kBlack);
    drawText(hdc, hwnd, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, pushed ? kWhite : kBlack);
  }
}

LRESULT CALLBACK buttonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = findWindow(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_PAINT:
      return paint(hwnd, [&](const DeviceContext& dc, HDC hdc, RECT r) { paintButton(dc, hdc, hwnd, r); });
    case WM_SETTEXT: return setText(hwnd, msg, wParam, lParam);
    case BM_GETCHECK: return w->buttonState & (BST_CHECKED | 0x2);
    case BM_SETCHECK:
      w->buttonState = (w->buttonState & ~UINT(BST_CHECKED | 0x2)) | UINT(wParam & (BST_CHECKED | 0x2));
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case BM_GETSTATE: return w->buttonState;
    case BM_SETSTATE:
      w->buttonState = wParam ? (w->buttonState | BST_PUSHED) : (w->buttonState & ~UINT(BST_PUSHED));
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case BM_CLICK:
      if (w->style & WS_DISABLED) return 0;
      send(hwnd, WM_LBUTTONDOWN, 0, 0);
      send(hwnd, WM_LBUTTONUP, 0, 0);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      SetCapture(hwnd);
      send(hwnd, BM_SETSTATE, TRUE, 0);
      return 0;
    case WM_LBUTTONUP: {
      bool pressed = GetCapture() == hwnd && (w->buttonState & BST_PUSHED);
      if (GetCapture() == hwnd) ReleaseCapture();
      send(hwnd, BM_SETSTATE, FALSE, 0);
      POINT pt{short(LOWORD(lParam)), short(HIWORD(lParam))};
      RECT r;
      if (pressed && GetClientRect(hwnd, &r) && PtInRect(&r, pt)) click(hwnd);
      return 0;
    }
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

// ---- Edit ----------------------------------------------------------------------------------------

LRESULT CALLBACK editProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = findWindow(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_PAINT:
      return paint(hwnd, [&](const DeviceContext& dc, HDC hdc, RECT r) {
        bool grey = w->style & (ES_READONLY | WS_DISABLED);
        fill(dc, r, grey ? face() : kWhite);
        frameRect(dc, r, kGray);
        drawText(hdc, hwnd, {r.left + 2, r.top, r.right - 2, r.bottom}, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
                 kBlack);
      });
    case WM_SETTEXT: {
      LRESULT r = setText(hwnd, msg, wParam, lParam);
      notifyParent(hwnd, EN_CHANGE);
      return r;
    }
    case WM_CHAR: {
      if (w->style & ES_READONLY) return 0;
      auto c = char(wParam);
      if (c == '\b') {
        if (w->text.empty()) return 0;
        w->text.pop_back();
      } else if (static_cast<unsigned char>(c) >= 32 && (w->textLimit == 0 || int(w->text.size()) < w->textLimit)) {
        w->text.push_back(c);
      } else {
        return 0;
      }
      InvalidateRect(hwnd, nullptr, TRUE);
      notifyParent(hwnd, EN_CHANGE);
      return 0;
    }
    case EM_LIMITTEXT: w->textLimit = int(std::min<WPARAM>(wParam, 0x7FFFFFFE)); return 0;
    case EM_GETSEL: return MAKELRESULT(w->text.size(), w->text.size());
    case EM_SETSEL: return 0;
    case WM_LBUTTONDOWN: SetFocus(hwnd); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd, nullptr, TRUE);
      notifyParent(hwnd, msg == WM_SETFOCUS ? EN_SETFOCUS : EN_KILLFOCUS);
      return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void sim::ui::registerBuiltInClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  addBuiltInClass("Static", staticProc, 0, nullptr);
  addBuiltInClass("Button", buttonProc, 0, nullptr);
  addBuiltInClass("Edit", editProc, 0, nullptr);
  addBuiltInClass("ScrollBar", scrollBarProc, 0, nullptr);
  addBuiltInClass("#32770", DefDlgProc, DLGWINDOWEXTRA, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}
