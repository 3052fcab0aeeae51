// Drag and drop between the custom buttons of the host's panels.
#pragma once

#include "custcont.h"

namespace sim::ui {

// The drag-and-drop manager a "CustButton" carries; null for any other window.
DADMgr* buttonDADMgr(HWND hwnd);

// Drops what button `from` shows (pressed at `p`, its client coordinates) on `target`, the window
// under screen point `screen`: when both carry managers, the source has something to give and the
// target's manager accepts it. The drop is one undoable step (inside a hold that is already open, a
// part of it). Answers whether it dropped.
bool dropOn(HWND from, POINT p, HWND target, POINT screen);

// Drags from the middle of `from` to the middle of `to` through the mouse messages a user's drag
// makes (press, move, release, with the release over `to`). False when either window is not there.
HOST_API bool dragWindowToWindow(HWND from, HWND to);

}  // namespace sim::ui
