// UIAccessor: pressing buttons and reading and setting the texts, classes and ids of windows. Each
// answers as for a window with nothing in it when the handle names no window.
#include "maxscript/maxscript.h"
#include "script/window_handles.h"

#include <algorithm>
#include <string>

using sim::rt::hwndArg;
using sim::rt::hwndValue;

namespace {

HWND onlyWindowArg(const char* fn, Value** arg_list, int count, int expected) {
  int given = count_positional_args(arg_list, count);
  if (given != expected) throw ArgCountError(fn, expected, given);
  return hwndArg(arg_list[0]);
}

}  // namespace

// Clicks it as a user does (BM_CLICK: pressed and released over it); true when there was a window.
def_struct_primitive(uia_pressButton, UIAccessor, "PressButton");
Value* uia_pressButton_cf(Value** arg_list, int count) {
  HWND h = onlyWindowArg("PressButton", arg_list, count, 1);
  if (!IsWindow(h)) return false_value;
  SendMessage(h, BM_CLICK, 0, 0);
  return true_value;
}

def_struct_primitive(uia_getWindowText, UIAccessor, "GetWindowText");
Value* uia_getWindowText_cf(Value** arg_list, int count) {
  HWND h = onlyWindowArg("GetWindowText", arg_list, count, 1);
  if (!IsWindow(h)) return undefined;
  int length = std::max(0, GetWindowTextLength(h));
  std::string text(std::size_t(length) + 1, '\0');
  text.resize(std::size_t(std::max(0, GetWindowText(h, text.data(), length + 1))));
  return new String(text.c_str());
}

def_struct_primitive(uia_setWindowText, UIAccessor, "SetWindowText");
Value* uia_setWindowText_cf(Value** arg_list, int count) {
  HWND h = onlyWindowArg("SetWindowText", arg_list, count, 2);
  std::string text = arg_list[1]->to_string();
  return bool_result(IsWindow(h) && SetWindowText(h, text.c_str()));
}

def_struct_primitive(uia_getWindowClassName, UIAccessor, "GetWindowClassName");
Value* uia_getWindowClassName_cf(Value** arg_list, int count) {
  HWND h = onlyWindowArg("GetWindowClassName", arg_list, count, 1);
  char name[256] = {};
  int n = IsWindow(h) ? GetClassName(h, name, int(sizeof(name))) : 0;
  return n > 0 ? static_cast<Value*>(new String(std::string(name, std::size_t(n)).c_str())) : undefined;
}

def_struct_primitive(uia_getWindowResourceID, UIAccessor, "GetWindowResourceID");
Value* uia_getWindowResourceID_cf(Value** arg_list, int count) {
  HWND h = onlyWindowArg("GetWindowResourceID", arg_list, count, 1);
  return Integer::intern(IsWindow(h) ? GetDlgCtrlID(h) : 0);
}

def_struct_primitive(uia_getParentWindow, UIAccessor, "GetParentWindow");
Value* uia_getParentWindow_cf(Value** arg_list, int count) {
  HWND h = onlyWindowArg("GetParentWindow", arg_list, count, 1);
  return hwndValue(IsWindow(h) ? GetParent(h) : nullptr);
}
