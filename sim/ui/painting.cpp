// Update regions, paints and device contexts of windows.
#include "ui/painting.h"

using namespace sim::ui;

namespace {

// Marks `r` (client coordinates) for painting. A window that does not clip its children paints
// under them, so the children it covers are marked too.
void invalidate(HWND hwnd, RECT r, bool erase) {
  Window* w = findWindow(hwnd);
  if (!w) return;
  RECT client{0, 0, w->width(), w->height()};
  if (!IntersectRect(&r, &r, &client)) return;
  if (w->invalid) {
    UnionRect(&w->update, &w->update, &r);
  } else {
    w->update = r;
  }
  w->invalid = true;
  w->erase = w->erase || erase;
  ++w->invalidations;
  if (w->style & WS_CLIPCHILDREN) return;
  std::vector<HWND> kids = w->children;
  for (HWND k : kids) {
    Window* c = findWindow(k);
    RECT overlap;
    if (!c || !c->visible() || !IntersectRect(&overlap, &r, &c->rect)) continue;
    OffsetRect(&overlap, -c->rect.left, -c->rect.top);
    invalidate(k, overlap, erase);
  }
}

}  // namespace

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!hwnd) {
    for (HWND top : findWindow(desktopWindow())->children) InvalidateRect(top, nullptr, erase);
    return TRUE;
  }
  Window* w = findWindow(hwnd);
  if (!w || hwnd == desktopWindow()) return FALSE;
  invalidate(hwnd, rect ? *rect : RECT{0, 0, w->width(), w->height()}, erase != FALSE);
  return TRUE;
}

// The update region is one rectangle: validating part of it keeps all of it due.
BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  Window* w = findWindow(hwnd);
  if (!w) return FALSE;
  RECT covered;
  if (!rect || (UnionRect(&covered, rect, &w->update) && covered.left == rect->left && covered.top == rect->top &&
                covered.right == rect->right && covered.bottom == rect->bottom)) {
    w->invalid = false;
    w->erase = false;
  }
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL) {
  Window* w = findWindow(hwnd);
  if (!w) return FALSE;
  if (rect) {
    if (w->invalid) {
      *rect = w->update;
    } else {
      SetRectEmpty(rect);
    }
  }
  return w->invalid;
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = findWindow(hwnd);
  if (!w) return FALSE;
  if (w->invalid && shownOnScreen(hwnd)) {
    MSG m{hwnd, WM_PAINT, 0, 0, 0, {0, 0}};
    DispatchMessage(&m);
  }
  return TRUE;
}

// The update region becomes the clip and is validated; the background is erased first when it was
// asked for, and fErase tells the window when nobody erased it.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  Window* w = findWindow(hwnd);
  if (!w || !ps) return nullptr;
  RECT paint{};
  if (w->invalid) paint = w->update;
  bool erase = w->erase;
  w->invalid = false;
  w->erase = false;
  HDC hdc = makeDC(hwnd, paint);
  if (!hdc) return nullptr;
  *ps = PAINTSTRUCT{};
  ps->hdc = hdc;
  ps->rcPaint = paint;
  if (erase) ps->fErase = send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) == 0;
  return hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps) {
  if (!ps || !findDC(ps->hdc)) return FALSE;
  releaseDC(ps->hdc);
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  Window* w = findWindow(hwnd);
  if (!w) return nullptr;
  return makeDC(hwnd, RECT{0, 0, w->width(), w->height()});
}

int ReleaseDC(HWND, HDC hdc) {
  if (!findDC(hdc)) return 0;
  releaseDC(hdc);
  return 1;
}
