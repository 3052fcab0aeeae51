// Destroying windows, their relations, their data, geometry, visibility and focus.
#include "ui/window_model.h"
#include "ui/ui.h"

#include <algorithm>
#include <climits>
#include <cstring>

using namespace sim::ui;

namespace {

// WM_DESTROY goes to a window before its children, as the children are destroyed after it.
void sendDestroy(HWND hwnd) {
  Window* w = findWindow(hwnd);
  if (!w) return;
  w->destroying = true;
  if (focusWindow() == hwnd) setFocusWindow(nullptr);
  if (captureWindow() == hwnd) setCaptureWindow(nullptr);
  send(hwnd, WM_DESTROY, 0, 0);
  w = findWindow(hwnd);
  if (!w) return;
  std::vector<HWND> kids = w->children;
  for (HWND k : kids) sendDestroy(k);
}

// WM_NCDESTROY is the last message a window gets: children first, then the window itself, which
// then leaves its parent and the table.
void sendNcDestroy(HWND hwnd) {
  Window* w = findWindow(hwnd);
  if (!w) return;
  std::vector<HWND> kids = w->children;
  for (HWND k : kids) sendNcDestroy(k);
  send(hwnd, WM_NCDESTROY, 0, 0);
  w = findWindow(hwnd);
  if (!w) return;
  if (Window* p = findWindow(w->parent)) {
    auto& c = p->children;
    c.erase(std::remove(c.begin(), c.end(), hwnd), c.end());
  }
  removeWindow(hwnd);
}

}  // namespace

void sim::ui::destroyAllWindows() {
  Window* desktop = findWindow(desktopWindow());
  if (!desktop) return;
  std::vector<HWND> tops = desktop->children;
  for (HWND h : tops) DestroyWindow(h);
}

BOOL DestroyWindow(HWND hwnd) {
  Window* w = findWindow(hwnd);
  if (!w || hwnd == desktopWindow()) return FALSE;
  // A window destroyed again from one of its own destruction messages is already on its way out.
  if (w->destroying) return TRUE;
  if (w->visible() && (w->style & WS_CHILD)) {
    RECT r = w->rect;
    InvalidateRect(w->parent, &r, TRUE);
  }
  HWND focus = focusWindow();
  for (HWND f = focus; f; f = GetParent(f)) {
    if (f != hwnd) continue;
    setFocusWindow(nullptr);
    send(focus, WM_KILLFOCUS, 0, 0);
    break;
  }
  sendDestroy(hwnd);
  sendNcDestroy(hwnd);
  return TRUE;
}

HWND GetParent(HWND hwnd) {
  Window* w = findWindow(hwnd);
  if (!w) return nullptr;
  if (w->style & WS_CHILD) return w->parent;
  return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND GetDlgItem(HWND dialog, int id) {
  Window* w = findWindow(dialog);
  if (!w) return nullptr;
  for (HWND k : w->children)
    if (Window* c = findWindow(k); c && c->id == id) return k;
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  Window* w = findWindow(hwnd);
  return w && (w->style & WS_CHILD) ? w->id : 0;
}

HWND GetWindow(HWND hwnd, UINT relation) {
  Window* w = findWindow(hwnd);
  if (!w) return nullptr;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (relation == GW_OWNER) return w->owner;
  Window* p = findWindow(w->parent);
  if (!p) return nullptr;
  const auto& s = p->children;
  auto it = std::find(s.begin(), s.end(), hwnd);
  if (it == s.end()) return nullptr;
  switch (relation) {
    case GW_HWNDFIRST: return s.front();
    case GW_HWNDLAST: return s.back();
    case GW_HWNDNEXT: return it + 1 == s.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV: return it == s.begin() ? nullptr : *(it - 1);
    default: return nullptr;
  }
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  if (!parent) parent = desktopWindow();
  std::vector<HWND> all = subtree(parent);
  // Taken before the first call: windows the callback makes are not visited, the ones it
  // destroys are skipped.
  for (std::size_t i = 1; i < all.size(); ++i)
    if (findWindow(all[i]) && !proc(all[i], lParam)) break;
  return TRUE;
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  Window* w = findWindow(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(GetParent(hwnd));
    case GWLP_ID: return w->id;
    case GWL_STYLE: return LONG_PTR(w->style);
    case GWL_EXSTYLE: return LONG_PTR(w->exStyle);
    case GWLP_USERDATA: return w->userData;
    default: break;
  }
  if (index < 0 || std::size_t(index) + sizeof(LONG_PTR) > w->extra.size()) return 0;
  LONG_PTR v;
  std::memcpy(&v, w->extra.data() + index, sizeof v);
  return v;
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  Window* w = findWindow(hwnd);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongPtr(hwnd, index);
  switch (index) {
    case GWLP_WNDPROC:
      // A window without a procedure could not take its next message.
      if (!value) return 0;
      w->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWLP_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); return old;
    case GWLP_ID: w->id = int(value); return old;
    case GWL_STYLE: w->style = DWORD(value); return old;
    case GWL_EXSTYLE: w->exStyle = DWORD(value); return old;
    case GWLP_USERDATA: w->userData = value; return old;
    case GWLP_HWNDPARENT: return 0;
    default: break;
  }
  if (index < 0 || std::size_t(index) + sizeof(LONG_PTR) > w->extra.size()) return 0;
  std::memcpy(w->extra.data() + index, &value, sizeof value);
  return old;
}

LONG GetWindowLong(HWND hwnd, int index) { return LONG(GetWindowLongPtr(hwnd, index)); }
LONG SetWindowLong(HWND hwnd, int index, LONG value) {
  if (index == GWLP_WNDPROC) return 0;  // a procedure does not fit in 32 bits
  return LONG(SetWindowLongPtr(hwnd, index, value));
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = findWindow(hwnd);
  if (!w || !rect) return FALSE;
  *rect = {0, 0, w->width(), w->height()};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* pt) {
  if (!findWindow(hwnd) || !pt) return FALSE;
  for (Window* w = findWindow(hwnd); w && w->parent; w = findWindow(w->parent)) {
    pt->x += w->rect.left;
    pt->y += w->rect.top;
  }
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt) {
  POINT o{0, 0};
  if (!pt || !ClientToScreen(hwnd, &o)) return FALSE;
  pt->x -= o.x;
  pt->y -= o.y;
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = findWindow(hwnd);
  POINT o{0, 0};
  if (!w || !rect || !ClientToScreen(hwnd, &o)) return FALSE;
  *rect = {o.x, o.y, o.x + w->width(), o.y + w->height()};
  return TRUE;
}

static void invalidateWhereItIs(HWND hwnd) {
  Window* w = findWindow(hwnd);
  if (!w) return;
  if (w->style & WS_CHILD) {
    RECT r = w->rect;
    InvalidateRect(w->parent, &r, TRUE);
  } else {
    InvalidateRect(hwnd, nullptr, TRUE);
  }
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  Window* w = findWindow(hwnd);
  if (!w || hwnd == desktopWindow()) return FALSE;
  if (repaint && w->visible()) invalidateWhereItIs(hwnd);
  width = std::clamp(width, 0, kMaxWindowSide);
  height = std::clamp(height, 0, kMaxWindowSide);
  bool sized = width != w->width() || height != w->height();
  w->rect = {x, y, x + width, y + height};
  if (!(w->style & WS_CHILD)) w->surface.resize(width, height);
  if (repaint && w->visible()) invalidateWhereItIs(hwnd);
  send(hwnd, WM_MOVE, 0, MAKELPARAM(x, y));
  if (sized) send(hwnd, WM_SIZE, 0, MAKELPARAM(width, height));
  return TRUE;
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  Window* w = findWindow(hwnd);
  if (!w || hwnd == desktopWindow()) return FALSE;
  bool was = w->visible();
  bool show = cmd != SW_HIDE;
  if (was == show) return was;
  send(hwnd, WM_SHOWWINDOW, show, 0);
  w = findWindow(hwnd);
  if (!w) return was;
  if (show) {
    w->style |= WS_VISIBLE;
    InvalidateRect(hwnd, nullptr, TRUE);
  } else {
    invalidateWhereItIs(hwnd);
    if (Window* again = findWindow(hwnd)) again->style &= ~DWORD(WS_VISIBLE);
  }
  return was;
}

BOOL IsWindowVisible(HWND hwnd) { return shownOnScreen(hwnd); }

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = findWindow(hwnd);
  if (!w) return FALSE;
  bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) {
    w->style &= ~DWORD(WS_DISABLED);
  } else {
    w->style |= WS_DISABLED;
    if (focusWindow() == hwnd) SetFocus(nullptr);
  }
  send(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  InvalidateRect(hwnd, nullptr, TRUE);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = findWindow(hwnd);
  return w && !(w->style & WS_DISABLED);
}

HWND WindowFromPoint(POINT pt) {
  HWND at = nullptr;
  HWND desktop = desktopWindow();
  for (HWND h = desktop;;) {
    Window* w = findWindow(h);
    HWND hit = nullptr;
    // Later windows are drawn over earlier ones, so the last one that holds the point is on top.
    for (HWND k : w->children) {
      Window* c = findWindow(k);
      if (c && c->visible() && pt.x >= c->rect.left && pt.x < c->rect.right && pt.y >= c->rect.top &&
          pt.y < c->rect.bottom)
        hit = k;
    }
    if (!hit) return at;
    Window* c = findWindow(hit);
    pt.x -= c->rect.left;
    pt.y -= c->rect.top;
    at = h = hit;
  }
}

// Focus moves with WM_KILLFOCUS to the window that loses it, then WM_SETFOCUS to the one that gets
// it, each naming the other.
HWND SetFocus(HWND hwnd) {
  if (hwnd && (!findWindow(hwnd) || hwnd == desktopWindow() || findWindow(hwnd)->destroying)) return nullptr;
  HWND old = focusWindow();
  if (old == hwnd) return old;
  setFocusWindow(hwnd);
  if (old) send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && focusWindow() == hwnd) send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() {
  HWND f = focusWindow();
  return findWindow(f) ? f : nullptr;
}

HWND SetCapture(HWND hwnd) {
  HWND old = captureWindow();
  if (findWindow(hwnd)) setCaptureWindow(hwnd);
  return old;
}

BOOL ReleaseCapture() {
  setCaptureWindow(nullptr);
  return TRUE;
}

HWND GetCapture() { return captureWindow(); }
