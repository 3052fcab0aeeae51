// The scroll bar control: arrows at both ends, a track and a square thumb at the position. It
// tells its parent what the mouse asks for (WM_VSCROLL or WM_HSCROLL) and leaves moving the thumb to
// the parent, as on Windows.
#include "ui/painting.h"

#include <algorithm>

using namespace sim::ui;

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0), kTrack = RGB(224, 224, 224);

// The bar's parts along its length: [0, arrow) and [length - arrow, length) are the arrows, the
// thumb starts at `thumb` and is `thumbLength` long.
struct Layout {
  bool vertical = true;
  int length = 0, across = 0, arrow = 0, thumb = 0, thumbLength = 0;
};

Layout layoutOf(HWND hwnd) {
  Layout l;
  Window* w = findWindow(hwnd);
  if (!w) return l;
  l.vertical = w->style & SBS_VERT;
  l.length = l.vertical ? w->height() : w->width();
  l.across = l.vertical ? w->width() : w->height();
  l.arrow = std::min(l.across, l.length / 2);
  int track = l.length - 2 * l.arrow;
  l.thumbLength = std::min(l.arrow, track);
  const ScrollState& s = w->bars[SB_CTL];
  long long range = (long long)s.max - s.min;
  l.thumb = l.arrow + (range > 0 ? int((long long)(s.pos - s.min) * (track - l.thumbLength) / range) : 0);
  return l;
}

// A rectangle from positions along and across the bar.
RECT part(const Layout& l, int from, int to) {
  return l.vertical ? RECT{0, from, l.across, to} : RECT{from, 0, to, l.across};
}

void frame(const DeviceContext& dc, const RECT& r) {
  if (IsRectEmpty(&r)) return;
  fill(dc, {r.left, r.top, r.right, r.top + 1}, kBlack);
  fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, kBlack);
  fill(dc, {r.left, r.top, r.left + 1, r.bottom}, kBlack);
  fill(dc, {r.right - 1, r.top, r.right, r.bottom}, kBlack);
}

// A small triangle pointing to the start (`first`) or the end of the bar.
void arrowMark(const DeviceContext& dc, const Layout& l, const RECT& box, bool first) {
  int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  for (int i = 0; i < 3; ++i) {
    int row = first ? i - 1 : 1 - i;  // the tip is one row before or after the centre
    if (l.vertical)
      fill(dc, {cx - i, cy + row, cx + i + 1, cy + row + 1}, kBlack);
    else
      fill(dc, {cx + row, cy - i, cx + row + 1, cy + i + 1}, kBlack);
  }
}

void paintBar(const DeviceContext& dc, HWND hwnd) {
  Layout l = layoutOf(hwnd);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  fill(dc, part(l, l.arrow, l.length - l.arrow), kTrack);
  RECT up = part(l, 0, l.arrow), down = part(l, l.length - l.arrow, l.length);
  RECT thumb = part(l, l.thumb, l.thumb + l.thumbLength);
  for (const RECT* r : {&up, &down, &thumb}) {
    fill(dc, *r, face);
    frame(dc, *r);
  }
  arrowMark(dc, l, up, true);
  arrowMark(dc, l, down, false);
}

void tell(HWND hwnd, int code, int pos) {
  Window* w = findWindow(hwnd);
  if (!w) return;
  UINT msg = (w->style & SBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
  send(w->parent, msg, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(hwnd));
}

// The position the thumb would have with its start at `along`.
int positionAt(HWND hwnd, const Layout& l, int along) {
  const ScrollState& s = findWindow(hwnd)->bars[SB_CTL];
  int track = l.length - 2 * l.arrow - l.thumbLength;
  if (track <= 0 || s.max <= s.min) return s.min;
  long long p = s.min + (long long)(along - l.arrow) * ((long long)s.max - s.min) / track;
  return int(std::clamp<long long>(p, s.min, s.max));
}

struct Drag {
  HWND bar = nullptr;
  int grip = 0;  // where in the thumb it was taken
  int pos = 0;
};
Drag drag;

}  // namespace

LRESULT CALLBACK sim::ui::scrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!findWindow(hwnd)) return 0;
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (HDC hdc = BeginPaint(hwnd, &ps)) {
        if (DeviceContext* dc = findDC(hdc)) paintBar(*dc, hwnd);
        EndPaint(hwnd, &ps);
      }
      return 0;
    }
    case SBM_SETPOS: return SetScrollPos(hwnd, SB_CTL, int(wParam), BOOL(lParam));
    case SBM_GETPOS: return GetScrollPos(hwnd, SB_CTL);
    case SBM_SETRANGE: return SetScrollRange(hwnd, SB_CTL, int(wParam), int(lParam), FALSE);
    case SBM_SETRANGEREDRAW: return SetScrollRange(hwnd, SB_CTL, int(wParam), int(lParam), TRUE);
    case SBM_GETRANGE: {
      auto* lo = reinterpret_cast<int*>(wParam);
      auto* hi = reinterpret_cast<int*>(lParam);
      int a, b;
      GetScrollRange(hwnd, SB_CTL, &a, &b);
      if (lo) *lo = a;
      if (hi) *hi = b;
      return 0;
    }
    case WM_LBUTTONDOWN: {
      Layout l = layoutOf(hwnd);
      int along = l.vertical ? short(HIWORD(lParam)) : short(LOWORD(lParam));
      SetCapture(hwnd);
      if (along >= l.thumb && along < l.thumb + l.thumbLength) {
        drag = {hwnd, along - l.thumb, GetScrollPos(hwnd, SB_CTL)};
        return 0;
      }
      int code = along < l.arrow ? SB_LINEUP
                 : along >= l.length - l.arrow ? SB_LINEDOWN
                 : along < l.thumb ? SB_PAGEUP
                                   : SB_PAGEDOWN;
      tell(hwnd, code, 0);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (drag.bar == hwnd && GetCapture() == hwnd) {
        Layout l = layoutOf(hwnd);
        int along = l.vertical ? short(HIWORD(lParam)) : short(LOWORD(lParam));
        drag.pos = positionAt(hwnd, l, along - drag.grip);
        tell(hwnd, SB_THUMBTRACK, drag.pos);
      }
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() != hwnd) return 0;
      ReleaseCapture();
      if (drag.bar == hwnd) {
        drag.bar = nullptr;
        tell(hwnd, SB_THUMBPOSITION, drag.pos);
      }
      tell(hwnd, SB_ENDSCROLL, 0);
      return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}
