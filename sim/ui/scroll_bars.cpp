// Scroll ranges and positions: of a scroll bar control (SB_CTL) and of a window's own bars.
#include "ui/window_model.h"

#include <algorithm>
#include <strings.h>

using namespace sim::ui;

namespace {

ScrollState* barOf(HWND hwnd, int bar) {
  Window* w = findWindow(hwnd);
  if (!w || bar < SB_HORZ || bar > SB_CTL) return nullptr;
  if (bar == SB_CTL && strcasecmp(w->className.c_str(), "ScrollBar") != 0) return nullptr;
  return &w->bars[bar];
}

// A position stays inside the range; a range given upside down holds only its minimum.
int clampPos(const ScrollState& s, int pos) { return std::clamp(pos, s.min, std::max(s.min, s.max)); }

void redraw(HWND hwnd, int bar) {
  if (bar == SB_CTL) InvalidateRect(hwnd, nullptr, TRUE);
}

}  // namespace

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL repaint) {
  ScrollState* s = barOf(hwnd, bar);
  if (!s) return FALSE;
  s->min = minPos;
  s->max = maxPos;
  s->pos = clampPos(*s, s->pos);
  if (repaint) redraw(hwnd, bar);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
  ScrollState* s = barOf(hwnd, bar);
  if (!s || !minPos || !maxPos) return FALSE;
  *minPos = s->min;
  *maxPos = s->max;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL repaint) {
  ScrollState* s = barOf(hwnd, bar);
  if (!s) return 0;
  int old = s->pos;
  s->pos = clampPos(*s, pos);
  if (repaint) redraw(hwnd, bar);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  ScrollState* s = barOf(hwnd, bar);
  return s ? s->pos : 0;
}
