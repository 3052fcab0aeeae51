// Window handles as script values. Scripts hold a window as an integer, as the host's language
// gives it; any integer may come back, so every use goes through the window calls, which answer
// nothing for a handle that names no window.
#pragma once

#include "maxscript/classes.h"
#include "win_ui.h"

namespace sim::rt {

// Window handles fit 32 bits on every system (Win64 sign-extends them); ours are below 2^30.
inline Value* hwndValue(HWND h) { return Integer::intern(int(std::intptr_t(h))); }

// The window an integer argument names; the language's conversion error for anything else.
inline HWND hwndArg(Value* v) {
#if defined(_WIN32)
  return reinterpret_cast<HWND>(std::intptr_t(v->to_int()));
#else
  return reinterpret_cast<HWND>(std::uintptr_t(std::uint32_t(v->to_int())));
#endif
}

}  // namespace sim::rt
