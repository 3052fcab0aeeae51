#include "ui/drag_drop.h"

#include "hold.h"

#ifndef MK_LBUTTON
#define MK_LBUTTON 0x0001
#endif

namespace sim::ui {

bool dropOn(HWND from, POINT p, HWND target, POINT screen) {
  DADMgr* source = buttonDADMgr(from);
  DADMgr* dest = buttonDADMgr(target);
  if (!source || !dest) return false;
  SClass_ID type = source->GetDragType(from, p);
  if (!type) return false;
  ReferenceTarget* dragged = source->GetInstance(from, p, type);
  // An empty slot has nothing to carry.
  if (!dragged) return false;
  POINT at = screen;
  ScreenToClient(target, &at);
  if (!dest->OkToDrop(dragged, from, target, at, type)) return false;
  bool own = !theHold.Holding();
  if (own) theHold.Begin();
  dest->Drop(dragged, target, at, type, source);
  if (own) theHold.Accept("Drag and Drop");
  return true;
}

bool dragWindowToWindow(HWND from, HWND to) {
  if (!IsWindow(from) || !IsWindow(to)) return false;
  RECT f, t;
  GetClientRect(from, &f);
  GetClientRect(to, &t);
  POINT start{f.right / 2, f.bottom / 2};
  POINT end{t.right / 2, t.bottom / 2};
  // While the source holds the mouse, every position comes to it in its own client coordinates.
  ClientToScreen(to, &end);
  ScreenToClient(from, &end);
  SendMessage(from, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
  SendMessage(from, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(end.x, end.y));
  SendMessage(from, WM_LBUTTONUP, 0, MAKELPARAM(end.x, end.y));
  return true;
}

}  // namespace sim::ui
