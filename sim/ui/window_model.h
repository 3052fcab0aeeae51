// The state behind the host's windows: classes, windows, their tree, focus and capture.
//
// Rule for every caller: a Window* is good only until the next call into a window procedure (which
// may destroy any window); after such a call, look the handle up again.
#pragma once

#include "handle_table.h"
#include "win_ui.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sim::ui {

struct WindowClass {
  std::string name;
  WNDPROC proc = nullptr;
  UINT style = 0;
  int wndExtra = 0;
  HBRUSH background = nullptr;
  HINSTANCE instance = nullptr;
};

struct ScrollState {
  int min = 0, max = 100, pos = 0;
};

// Pixels of a top-level window, 0x00BBGGRR as COLORREF, row 0 on top.
struct Surface {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  void resize(int w, int h);
};

struct Window {
  std::string className;
  HBRUSH classBackground = nullptr;
  WNDPROC proc = nullptr;
  std::string text;
  DWORD style = 0, exStyle = 0;
  RECT rect{};  // in the parent's client coordinates (the screen's for top-level windows)
  HWND parent = nullptr;  // the desktop for top-level windows
  HWND owner = nullptr;
  int id = 0;
  int depth = 0;  // 0 for the desktop
  HINSTANCE instance = nullptr;
  LONG_PTR userData = 0;
  std::vector<unsigned char> extra;
  std::vector<HWND> children;  // in creation order; later ones are drawn over earlier ones
  ScrollState bars[3];  // SB_HORZ, SB_VERT, SB_CTL
  HFONT font = nullptr;
  UINT buttonState = 0;  // BST_* of buttons
  int textLimit = 0;     // edits: 0 is no limit
  bool destroying = false;
  // The update region, kept as one rectangle in client coordinates.
  bool invalid = false, erase = false;
  RECT update{};
  unsigned invalidations = 0;  // counts InvalidateRect calls
  Surface surface;  // top-level windows only

  int width() const { return rect.right - rect.left; }
  int height() const { return rect.bottom - rect.top; }
  bool visible() const { return (style & WS_VISIBLE) != 0; }
};

// The largest window side the host keeps: a window asked to be larger gets this.
constexpr int kMaxWindowSide = 4096;
// Windows nest at most this deep below the desktop, as on Windows.
constexpr int kMaxWindowDepth = 50;

Window* findWindow(HWND hwnd);
// Frees the window's record: its handle finds nothing from now on.
void removeWindow(HWND hwnd);
HWND desktopWindow();
// The top-level window that holds `hwnd` (itself when top-level); null for the desktop.
HWND topLevelOf(HWND hwnd);
// The window's client origin in its top-level window's surface.
POINT surfaceOrigin(HWND hwnd);
// The part of the surface the window may draw on: its rectangle cut by every ancestor's.
RECT surfaceClip(HWND hwnd);
// Whether the window and every ancestor up to the desktop are visible.
bool shownOnScreen(HWND hwnd);
// The window and every descendant, parents before children.
std::vector<HWND> subtree(HWND hwnd);

const WindowClass* findClass(const char* name);
// The classes every host has ("Static", "Button", "Edit", "ScrollBar", dialogs); registered on
// first use of any class.
void registerBuiltInClasses();
void addBuiltInClass(const char* name, WNDPROC proc, int wndExtra, HBRUSH background);

HWND focusWindow();
void setFocusWindow(HWND hwnd);
HWND captureWindow();
void setCaptureWindow(HWND hwnd);

// Sends a message with a nesting bound: a procedure that keeps sending itself messages gets 0 past
// the bound instead of running out of stack.
LRESULT send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Sends a notification to the parent as WM_COMMAND (id, code), as a control does.
void notifyParent(HWND hwnd, WORD code);

}  // namespace sim::ui
