// The material editor's side of a material's panel: what CreateParamDlg is given (the editor's
// rollup, its time, its change notice) and the drag-and-drop manager of sub-material buttons. Apart
// from imtl.h because it needs the Win32 window calls, which most material code does not.
#pragma once

#include "custcont.h"
#include "imtl.h"

constexpr int ROLLUP_CAT_STANDARD = 4000;

// Posted by a panel to the editor window: open sub-material wParam (the slot) of material lParam in
// place of its parent.
#define WM_SUB_MTL_BUTTON 0x4401

class HOST_API IMtlParams {
 public:
  virtual ~IMtlParams() = default;
  // Tells the editor the material changed (it redraws its sample).
  virtual void MtlChanged() = 0;
  // Makes a page from the module's dialog template `dlgTemplate` (MAKEINTRESOURCE or a name) with
  // `dlgProc` and `param` (the WM_INITDIALOG lParam) under a title bar reading `title`, and answers
  // its window; null when the template is missing. Pages stack in category order, then in the order
  // they were added.
  virtual HWND AddRollupPage(HINSTANCE hInst, const MCHAR* dlgTemplate, DLGPROC dlgProc, const MCHAR* title,
                             LPARAM param = 0, DWORD flags = 0, int category = ROLLUP_CAT_STANDARD) = 0;
  // Destroys a page this editor made; any other window is left alone.
  virtual void DeleteRollupPage(HWND hRollup) = 0;
  virtual TimeValue GetTime() = 0;
};

// The material editor's drag-and-drop manager for a panel's sub-material buttons: slots are found
// with the panel's FindSubMtlFromHWND and read and written through the material's GetSubMtl and
// SetSubMtl, so a drop records itself in theHold as the material's own change does.
class HOST_API MtlDADMgr : public DADMgr {
 public:
  explicit MtlDADMgr(ParamDlg* d = nullptr) : dlg_(d) {}
  void Init(ParamDlg* d) { dlg_ = d; }
  SClass_ID GetDragType(HWND hwnd, POINT p) override;
  BOOL OkToDrop(ReferenceTarget* dropThis, HWND hfrom, HWND hto, POINT p, SClass_ID type,
                BOOL isNew = FALSE) override;
  ReferenceTarget* GetInstance(HWND hwnd, POINT p, SClass_ID type) override;
  void Drop(ReferenceTarget* dropThis, HWND hwnd, POINT p, SClass_ID type, DADMgr* srcMgr = nullptr,
            BOOL bSrcClone = FALSE) override;

 private:
  ParamDlg* dlg_;
};
