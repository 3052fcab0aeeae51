// Pictures of windows: the window and its visible children painted afresh, then read back.
#include "ui/ui.h"
#include "ui/painting.h"

#include <vector>

using namespace sim::ui;

namespace {

// Whether every window from `hwnd` up to, not including, `root` is visible.
bool shownWithin(HWND hwnd, HWND root) {
  for (Window* w = findWindow(hwnd); w && hwnd != root; hwnd = w->parent, w = findWindow(hwnd))
    if (!w->visible()) return false;
  return true;
}

}  // namespace

Bitmap* sim::ui::snapshot(HWND hwnd) {
  Window* w = findWindow(hwnd);
  if (!w || hwnd == desktopWindow() || w->width() <= 0 || w->height() <= 0) return nullptr;
  for (HWND h : subtree(hwnd)) {
    Window* c = findWindow(h);
    if (!c || !shownWithin(h, hwnd)) continue;
    c->invalid = c->erase = true;
    c->update = {0, 0, c->width(), c->height()};
  }
  // Parents paint before their children; each paint may change or destroy any window.
  for (HWND h : subtree(hwnd)) {
    Window* c = findWindow(h);
    if (!c || !c->invalid || !shownWithin(h, hwnd)) continue;
    MSG m{h, WM_PAINT, 0, 0, 0, {0, 0}};
    DispatchMessage(&m);
  }
  w = findWindow(hwnd);
  Window* top = findWindow(topLevelOf(hwnd));
  if (!w || !top) return nullptr;
  BitmapInfo bi;
  bi.SetType(BMM_TRUE_32);
  bi.SetWidth(w->width());
  bi.SetHeight(w->height());
  Bitmap* bm = TheManager->Create(&bi);
  if (!bm) return nullptr;
  POINT o = surfaceOrigin(hwnd);
  const Surface& s = top->surface;
  std::vector<BMM_Color_fl> row(std::size_t(w->width()));
  for (int y = 0; y < w->height(); ++y) {
    for (int x = 0; x < w->width(); ++x) {
      int sx = o.x + x, sy = o.y + y;
      COLORREF c = sx >= 0 && sy >= 0 && sx < s.width && sy < s.height
                       ? s.pixels[std::size_t(sy) * std::size_t(s.width) + std::size_t(sx)]
                       : 0;
      row[std::size_t(x)] = {GetRValue(c) / 255.0f, GetGValue(c) / 255.0f, GetBValue(c) / 255.0f, 1.0f};
    }
    bm->PutPixels(0, y, w->width(), row.data());
  }
  return bm;
}
