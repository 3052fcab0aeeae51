// Classes, the window table and the tree of windows.
#include "ui/window_model.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <strings.h>

namespace sim::ui {
namespace {

struct WindowState {
  HandleTable<Window> windows{0};
  std::vector<std::unique_ptr<WindowClass>> classes;
  HWND desktop = nullptr;
  HWND focus = nullptr;
  HWND capture = nullptr;
  int sendDepth = 0;
};

WindowState& state() {
  static WindowState s;
  return s;
}

bool sameName(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// Class names may be atoms (MAKEINTRESOURCE): the dialog class is known by its atom 0x8002.
std::string className(const char* name) {
  if (!name) return {};
  if (IS_INTRESOURCE(name)) return reinterpret_cast<std::uintptr_t>(name) == 0x8002 ? "#32770" : std::string();
  return name;
}

}  // namespace

void Surface::resize(int w, int h) {
  std::vector<COLORREF> next(std::size_t(w) * std::size_t(h), GetSysColor(COLOR_BTNFACE));
  for (int y = 0; y < std::min(h, height); ++y)
    std::copy_n(pixels.begin() + std::ptrdiff_t(y) * width, std::min(w, width), next.begin() + std::ptrdiff_t(y) * w);
  pixels.swap(next);
  width = w;
  height = h;
}

Window* findWindow(HWND hwnd) { return state().windows.find(hwnd); }
void removeWindow(HWND hwnd) { state().windows.remove(hwnd); }

HWND desktopWindow() {
  WindowState& s = state();
  if (!s.desktop) {
    auto w = std::make_unique<Window>();
    w->className = "#32769";
    w->proc = DefWindowProc;
    w->style = WS_VISIBLE;
    w->rect = {0, 0, 1920, 1080};
    s.desktop = s.windows.add(std::move(w));
  }
  return s.desktop;
}

HWND topLevelOf(HWND hwnd) {
  HWND desktop = desktopWindow();
  for (Window* w = findWindow(hwnd); w && hwnd != desktop; w = findWindow(w->parent)) {
    if (w->parent == desktop) return hwnd;
    hwnd = w->parent;
  }
  return nullptr;
}

POINT surfaceOrigin(HWND hwnd) {
  POINT p{0, 0};
  HWND desktop = desktopWindow();
  for (Window* w = findWindow(hwnd); w && w->parent && w->parent != desktop; w = findWindow(w->parent)) {
    p.x += w->rect.left;
    p.y += w->rect.top;
  }
  return p;
}

RECT surfaceClip(HWND hwnd) {
  POINT o = surfaceOrigin(hwnd);
  Window* w = findWindow(hwnd);
  if (!w) return {};
  RECT clip{o.x, o.y, o.x + w->width(), o.y + w->height()};
  HWND desktop = desktopWindow();
  while (w && w->parent && w->parent != desktop) {
    HWND parent = w->parent;
    POINT po = surfaceOrigin(parent);
    w = findWindow(parent);
    if (!w) break;
    RECT pr{po.x, po.y, po.x + w->width(), po.y + w->height()};
    IntersectRect(&clip, &clip, &pr);
  }
  return clip;
}

bool shownOnScreen(HWND hwnd) {
  for (Window* w = findWindow(hwnd); w; w = findWindow(w->parent))
    if (!w->visible()) return false;
  return findWindow(hwnd) != nullptr;
}

std::vector<HWND> subtree(HWND hwnd) {
  std::vector<HWND> out;
  if (!findWindow(hwnd)) return out;
  out.push_back(hwnd);
  // Breadth of each level kept in order: parents always come before their children.
  for (std::size_t i = 0; i < out.size(); ++i) {
    Window* w = findWindow(out[i]);
    if (!w) continue;
    std::vector<HWND> kids = w->children;
    out.insert(out.begin() + std::ptrdiff_t(i) + 1, kids.begin(), kids.end());
  }
  return out;
}

const WindowClass* findClass(const char* name) {
  registerBuiltInClasses();
  std::string n = className(name);
  if (n.empty()) return nullptr;
  for (auto& c : state().classes)
    if (sameName(c->name, n.c_str())) return c.get();
  return nullptr;
}

static ATOM addClass(const WindowClass& wc) {
  if (wc.name.empty() || !wc.proc || wc.wndExtra < 0 || wc.wndExtra > 4096) return 0;
  auto& classes = state().classes;
  for (auto& c : classes)
    if (sameName(c->name, wc.name.c_str())) return 0;
  classes.push_back(std::make_unique<WindowClass>(wc));
  return ATOM(0xC000 + classes.size());
}

HWND focusWindow() { return state().focus; }
void setFocusWindow(HWND hwnd) { state().focus = hwnd; }
HWND captureWindow() {
  if (state().capture && !findWindow(state().capture)) state().capture = nullptr;
  return state().capture;
}
void setCaptureWindow(HWND hwnd) { state().capture = hwnd; }

LRESULT send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  constexpr int kMaxSendDepth = 1000;
  Window* w = findWindow(hwnd);
  WindowState& s = state();
  if (!w || !w->proc || s.sendDepth >= kMaxSendDepth) return 0;
  WNDPROC proc = w->proc;
  ++s.sendDepth;
  LRESULT r = proc(hwnd, msg, wParam, lParam);
  --s.sendDepth;
  return r;
}

void notifyParent(HWND hwnd, WORD code) {
  Window* w = findWindow(hwnd);
  if (!w || !(w->style & WS_CHILD)) return;
  send(w->parent, WM_COMMAND, MAKEWPARAM(w->id, code), reinterpret_cast<LPARAM>(hwnd));
}

// Called by the built-in controls' file once they are known.
void addBuiltInClass(const char* name, WNDPROC proc, int wndExtra, HBRUSH background) {
  WindowClass wc;
  wc.name = name;
  wc.proc = proc;
  wc.wndExtra = wndExtra;
  wc.background = background;
  addClass(wc);
}

}  // namespace sim::ui

using namespace sim::ui;

ATOM RegisterClass(const WNDCLASS* wc) {
  if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName)) return 0;
  registerBuiltInClasses();
  return addClass({wc->lpszClassName, wc->lpfnWndProc, wc->style, wc->cbWndExtra, wc->hbrBackground, wc->hInstance});
}

ATOM RegisterClassEx(const WNDCLASSEX* wc) {
  if (!wc || wc->cbSize != sizeof(WNDCLASSEX) || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName)) return 0;
  registerBuiltInClasses();
  return addClass({wc->lpszClassName, wc->lpfnWndProc, wc->style, wc->cbWndExtra, wc->hbrBackground, wc->hInstance});
}

BOOL UnregisterClass(LPCSTR name, HINSTANCE) {
  registerBuiltInClasses();
  std::string n = className(name);
  auto& classes = state().classes;
  for (auto it = classes.begin(); it != classes.end(); ++it) {
    if (!sameName((*it)->name, n.c_str())) continue;
    bool inUse = false;
    state().windows.forEach([&](void*, const Window& w) { inUse = inUse || sameName(w.className, n.c_str()); });
    if (inUse) return FALSE;
    classes.erase(it);
    return TRUE;
  }
  return FALSE;
}

int GetClassName(HWND hwnd, LPSTR buffer, int size) {
  Window* w = findWindow(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  int n = int(std::min<std::size_t>(w->className.size(), std::size_t(size - 1)));
  std::memcpy(buffer, w->className.data(), std::size_t(n));
  buffer[n] = '\0';
  return n;
}

HWND GetDesktopWindow() { return desktopWindow(); }
BOOL IsWindow(HWND hwnd) { return findWindow(hwnd) != nullptr; }

static int clampSide(int v) { return std::clamp(v, 0, kMaxWindowSide); }

HWND CreateWindowEx(DWORD exStyle, LPCSTR name, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menuOrId, HINSTANCE inst, LPVOID param) {
  const WindowClass* cls = findClass(name);
  if (!cls) return nullptr;
  HWND desktop = desktopWindow();
  Window* p = nullptr;
  if (style & WS_CHILD) {
    p = findWindow(parent);
    if (!p || p->destroying || p->depth >= kMaxWindowDepth) return nullptr;
  } else if (parent && !findWindow(parent)) {
    return nullptr;
  }
  auto w = std::make_unique<Window>();
  w->className = cls->name;
  w->classBackground = cls->background;
  w->proc = cls->proc;
  w->style = style;
  w->exStyle = exStyle;
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) width = height = 0;
  w->rect = {x, y, x + clampSide(width), y + clampSide(height)};
  w->parent = p ? parent : desktop;
  w->owner = p ? nullptr : parent;
  w->depth = p ? p->depth + 1 : 1;
  w->id = p ? int(reinterpret_cast<std::intptr_t>(menuOrId)) : 0;
  w->instance = inst;
  w->extra.assign(std::size_t(cls->wndExtra), 0);
  if (!p) w->surface.resize(w->width(), w->height());
  HWND hwnd = state().windows.add(std::move(w));
  if (!hwnd) return nullptr;
  findWindow(findWindow(hwnd)->parent)->children.push_back(hwnd);

  CREATESTRUCT cs{param, inst, menuOrId, parent, height, width, y, x, LONG(style), windowName, name, exStyle};
  if (!send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
      send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (findWindow(hwnd) && (style & WS_VISIBLE)) InvalidateRect(hwnd, nullptr, TRUE);
  return findWindow(hwnd) ? hwnd : nullptr;
}
