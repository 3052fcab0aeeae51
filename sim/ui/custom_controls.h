// What the host's custom control classes share. Written on the Win32 calls alone, so the same
// controls run on the host's window model and on real user32.
//
// Each control keeps its state in a heap object whose address is the window's first extra word,
// made at WM_NCCREATE and freed at WM_NCDESTROY; a message before or after that finds no state and
// does nothing.
#pragma once

#include "custcont.h"

#include <string>

#ifndef VK_RETURN
#define VK_BACK 0x08
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B
#endif

namespace sim::ui {

inline constexpr const char* kCustButtonClass = "CustButton";
inline constexpr const char* kCustEditClass = "CustEdit";
inline constexpr const char* kSpinnerClass = "SpinnerControl";

// Sent by an edit to the spinner linked to it when Enter commits its text; the spinner takes the
// value from the text before the edit tells its parent.
inline constexpr UINT kSpinnerEditEnter = WM_USER + 0x1A01;
// Sent by a spinner to the edit linked to it: the edit remembers it (wParam: the spinner).
inline constexpr UINT kEditLinkSpinner = WM_USER + 0x1A02;

template <class State>
State* controlState(HWND hwnd) {
  return IsWindow(hwnd) ? reinterpret_cast<State*>(GetWindowLongPtr(hwnd, 0)) : nullptr;
}

// Makes the state at WM_NCCREATE and frees it at WM_NCDESTROY; answers the state for every other
// message (null when there is none).
template <class State>
State* trackState(HWND hwnd, UINT msg) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtr(hwnd, 0, reinterpret_cast<LONG_PTR>(new State));
    return controlState<State>(hwnd);
  }
  State* s = controlState<State>(hwnd);
  if (msg == WM_NCDESTROY && s) {
    SetWindowLongPtr(hwnd, 0, 0);
    delete s;
    return nullptr;
  }
  return s;
}

// Registers "CustButton", "CustEdit" and "SpinnerControl" once; InitCustomControls and every
// Get... call and the material editor come here, so its pages find the classes whether or not a
// plug-in asked.
void registerCustomControls();

bool hasClass(HWND hwnd, const char* name);
std::string windowText(HWND hwnd);
// A decimal integer with optional surrounding blanks; 0 and *valid false for anything else
// (empty, other characters, out of int's range).
int parseInt(const std::string& text, BOOL* valid);
// The point of a mouse message's lParam, signed as GET_X_LPARAM and GET_Y_LPARAM read it.
POINT mousePoint(LPARAM lParam);

// Painting shared by the controls: a face filled with `face`, a one-pixel frame, centred text.
void paintControl(HWND hwnd, COLORREF face, COLORREF frame, UINT textFormat);

LRESULT CALLBACK custButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK custEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK spinnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace sim::ui
