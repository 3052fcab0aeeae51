// IObjParam: what the command panel hands an object whose parameters it shows (BeginEditParams /
// EndEditParams): the core services and the panel's rollup, where the object's pages go. Objects
// whose blocks have automatic rollouts leave the pages to ClassDesc2 and need not include this.
#pragma once

#include "maxapi.h"

#include <cstdint>

class HOST_API IObjParam : public Interface {
 public:
  // A dialog procedure (DLGPROC); spelled out so that this header does without the Win32 one.
  using RollupPageProc = INT_PTR (*)(HWND, UINT, std::uintptr_t, std::intptr_t);

  // A page made from `dlgTemplate` of `hInst` (MAKEINTRESOURCE or a name), run by `dlgProc`, which
  // gets `param` with WM_INITDIALOG; null when the panel is closed or the template cannot be made.
  // Pages stack in category order (ROLLUP_CAT_STANDARD 4000), then in the order they came.
  virtual HWND AddRollupPage(HINSTANCE hInst, const MCHAR* dlgTemplate, RollupPageProc dlgProc, const MCHAR* title,
                             std::intptr_t param = 0, DWORD flags = 0, int category = 4000) = 0;
  // Destroys a page of the panel; any other window is left alone.
  virtual void DeleteRollupPage(HWND hRollup) = 0;
};
