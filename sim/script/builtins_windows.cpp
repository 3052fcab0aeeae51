// The `windows` struct: finding the host's windows, sending and posting them messages, running the
// message queue and taking a window's picture, as script writers drive the real application's
// windows. Windows are integers here (see window_handles.h).
#include "bitmap.h"
#include "core/text.h"
#include "maxapi.h"
#include "maxscript/bitmaps.h"
#include "maxscript/maxscript.h"
#include "script/evaluator.h"
#include "script/idle_step.h"
#include "script/window_handles.h"
#include "ui/drag_drop.h"
#include "ui/ui.h"

#include <algorithm>

#include <string>
#include <vector>

using sim::rt::hwndArg;
using sim::rt::keep;
using sim::rt::hwndValue;

namespace {

void checkCount(const char* fn, Value** arg_list, int count, int expected) {
  int given = count_positional_args(arg_list, count);
  if (given != expected) throw ArgCountError(fn, expected, given);
}

std::string windowText(HWND h) {
  int length = GetWindowTextLength(h);
  if (length <= 0) return {};
  std::string text(std::size_t(length) + 1, '\0');
  text.resize(std::size_t(std::max(0, GetWindowText(h, text.data(), length + 1))));
  return text;
}

std::string className(HWND h) {
  char name[256] = {};
  int n = GetClassName(h, name, int(sizeof(name)));
  return std::string(name, std::size_t(std::max(0, n)));
}

// The parent that is not an owner: a top-level window's is the desktop.
HWND ancestorParent(HWND h) {
  return (GetWindowLong(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : GetDesktopWindow();
}

// One entry of getChildrenHWND, as the language lists a window:
//   #(hwnd, parent, parent or owner, class name, text, owner, root, root owner)
Value* describe(HWND h) {
  HWND desktop = GetDesktopWindow();
  HWND root = h;
  // A tree is never deeper than the windows there are; the bound only keeps a broken one finite.
  for (int i = 0; i < 10000 && (GetWindowLong(root, GWL_STYLE) & WS_CHILD) && GetParent(root); ++i)
    root = GetParent(root);
  HWND rootOwner = root;
  for (int i = 0; i < 10000 && GetWindow(rootOwner, GW_OWNER) && GetWindow(rootOwner, GW_OWNER) != desktop; ++i)
    rootOwner = GetWindow(rootOwner, GW_OWNER);
  auto* a = new Array(8);
  a->append(hwndValue(h));
  a->append(hwndValue(ancestorParent(h)));
  a->append(hwndValue(GetParent(h)));
  a->append(new String(className(h).c_str()));
  a->append(new String(windowText(h).c_str()));
  a->append(hwndValue(GetWindow(h, GW_OWNER)));
  a->append(hwndValue(root));
  a->append(hwndValue(rootOwner));
  return a;
}

// The windows under `h`: every descendant, or for 0 (the desktop) the top-level windows only, as the
// language does. With `parent`, only the direct children of that window.
std::vector<HWND> windowsUnder(HWND h, HWND parent) {
  std::vector<HWND> found;
  if (!h || h == GetDesktopWindow()) {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w && found.size() < 100000; w = GetWindow(w, GW_HWNDNEXT))
      found.push_back(w);
  } else {
    EnumChildWindows(
        h,
        [](HWND w, LPARAM list) -> BOOL {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
  }
  if (parent) std::erase_if(found, [&](HWND w) { return ancestorParent(w) != parent; });
  return found;
}

HWND parentKey(Value** arg_list, int count) {
  Value* p = key_arg(parent);
  return p == &unsupplied || p == undefined ? nullptr : hwndArg(p);
}

// sendMessage and postMessage reach one window only: to user32 some integers that name no window
// mean every top-level window of the desktop (HWND_BROADCAST, and -1 to Wine), and 0 the thread's
// own queue, none of which a script meant by a handle it held.

// Messages whose parameters are addresses in the receiving program, or that only the dialog
// manager sends: from a script they could only carry a made-up address.
void checkScriptMessage(const char* fn, UINT msg, LPARAM lParam) {
  bool addressInLParam = msg == WM_SETTEXT || msg == WM_GETTEXT || msg == WM_CREATE || msg == WM_NCCREATE;
  if (msg == WM_INITDIALOG || (addressInLParam && lParam != 0))
    throw RuntimeError((std::string(fn) + ": this message carries an address, which a script cannot give: ").c_str(),
                       Integer::intern(int(msg)));
}

}  // namespace

def_struct_primitive(win_getDesktopHWND, windows, "getDesktopHWND");
Value* win_getDesktopHWND_cf(Value** arg_list, int count) {
  checkCount("getDesktopHWND", arg_list, count, 0);
  return hwndValue(GetDesktopWindow());
}

// The headless host has no main window of its own: 0, which every window function takes harmlessly.
def_struct_primitive(win_getMAXHWND, windows, "getMAXHWND");
Value* win_getMAXHWND_cf(Value** arg_list, int count) {
  checkCount("getMAXHWND", arg_list, count, 0);
  return hwndValue(GetCOREInterface() ? GetCOREInterface()->GetMAXHWnd() : nullptr);
}

def_struct_primitive(win_getChildrenHWND, windows, "getChildrenHWND");
Value* win_getChildrenHWND_cf(Value** arg_list, int count) {
  checkCount("getChildrenHWND", arg_list, count, 1);
  HWND h = hwndArg(arg_list[0]);
  if (h && !IsWindow(h)) return undefined;
  auto* result = static_cast<Array*>(keep(new Array));
  for (HWND w : windowsUnder(h, parentKey(arg_list, count))) result->append(describe(w));
  return result;
}

// The first window under `hwnd` whose text is `text` (without regard to case), described as by
// getChildrenHWND; undefined when there is none.
def_struct_primitive(win_getChildHWND, windows, "getChildHWND");
Value* win_getChildHWND_cf(Value** arg_list, int count) {
  checkCount("getChildHWND", arg_list, count, 2);
  HWND h = hwndArg(arg_list[0]);
  std::string wanted = arg_list[1]->to_string();
  if (h && !IsWindow(h)) return undefined;
  for (HWND w : windowsUnder(h, parentKey(arg_list, count)))
    if (sim::equalsIgnoreCase(windowText(w), wanted)) return describe(w);
  return undefined;
}

def_struct_primitive(win_sendMessage, windows, "sendMessage");
Value* win_sendMessage_cf(Value** arg_list, int count) {
  checkCount("sendMessage", arg_list, count, 4);
  HWND h = hwndArg(arg_list[0]);
  auto msg = UINT(arg_list[1]->to_int());
  auto wParam = WPARAM(std::uint32_t(arg_list[2]->to_int()));
  auto lParam = LPARAM(arg_list[3]->to_int());
  checkScriptMessage("windows.sendMessage", msg, lParam);
  return Integer::intern(IsWindow(h) ? int(SendMessage(h, msg, wParam, lParam)) : 0);
}

def_struct_primitive(win_postMessage, windows, "postMessage");
Value* win_postMessage_cf(Value** arg_list, int count) {
  checkCount("postMessage", arg_list, count, 4);
  HWND h = hwndArg(arg_list[0]);
  auto msg = UINT(arg_list[1]->to_int());
  auto wParam = WPARAM(std::uint32_t(arg_list[2]->to_int()));
  auto lParam = LPARAM(arg_list[3]->to_int());
  checkScriptMessage("windows.postMessage", msg, lParam);
  return bool_result(IsWindow(h) && PostMessage(h, msg, wParam, lParam) != 0);
}

def_struct_primitive(win_processPostedMessages, windows, "processPostedMessages");
Value* win_processPostedMessages_cf(Value**, int) {
  sim::rt::runIdleStep();
  return ok;
}

// windows.snapshot hwnd [gammaCorrect:] [captureAlpha:] [captureScreenPixels:]: the window as it
// looks once what waits in the queue has run. The keywords are taken and have no effect: the
// picture is the window's own pixels, opaque. Undefined for a handle that names no window.
def_struct_primitive(win_snapshot, windows, "snapshot");
Value* win_snapshot_cf(Value** arg_list, int count) {
  checkCount("snapshot", arg_list, count, 1);
  HWND h = hwndArg(arg_list[0]);
  sim::rt::runIdleStep();
  Bitmap* picture = IsWindow(h) ? sim::ui::snapshot(h) : nullptr;
  if (!picture) return undefined;
  BitmapInfo info;
  info.SetWidth(picture->Width());
  info.SetHeight(picture->Height());
  info.SetType(BMM_TRUE_32);
  return new MAXBitMap(info, picture);
}

// Not in the host's language, which has no way to drag: drags from the middle of `from` to the
// middle of `to` as a user's mouse does (press, move, release); what the drop posted runs before it
// answers. True when the drag was made (whether the target took anything shows in what it shows);
// false when either is no window.
def_struct_primitive(win_dragWindow, windows, "dragWindow");
Value* win_dragWindow_cf(Value** arg_list, int count) {
  checkCount("dragWindow", arg_list, count, 2);
  HWND from = hwndArg(arg_list[0]), to = hwndArg(arg_list[1]);
  if (!IsWindow(from) || !IsWindow(to)) return false_value;
  bool dragged = sim::ui::dragWindowToWindow(from, to);
  sim::rt::runIdleStep();
  return bool_result(dragged);
}
