// The host's custom controls: buttons, edits and spinners that panels place in their dialog
// templates by class name ("CustButton", "CustEdit", "SpinnerControl"), the interfaces a panel
// drives them through, the drag-and-drop manager a button carries, and the colour manager.
//
// A Get... call hands out an interface bound to the control's window; the panel gives it back with
// the matching Release... call. An interface whose window was destroyed does nothing and answers 0.
#pragma once

#include "host_api.h"
#include "iparamm2.h"  // EditSpinnerType
#include "maxtypes.h"
#include "win_ui.h"

class ReferenceTarget;

// Registers the control classes for the host's windows; panels may call it more than once.
HOST_API void InitCustomControls(HINSTANCE hInst);

// ---- messages a control sends its parent -----------------------------------------------------------
// Spinners: wParam LOWORD is the control id (for BUTTONUP the HIWORD is non-zero when the drag was
// accepted, 0 when it was cancelled); lParam is the spinner's window.
#define CC_SPINNER_CHANGE (WM_USER + 600)
#define CC_SPINNER_BUTTONDOWN (WM_USER + 601)
#define CC_SPINNER_BUTTONUP (WM_USER + 602)
// An edit's Enter key: wParam is the control id, lParam the edit's window.
#define WM_CUSTEDIT_ENTER (WM_USER + 685)

// ---- drag and drop ---------------------------------------------------------------------------------
// What a control with a drag-and-drop manager asks it: what can be dragged from a window, whether it
// may be dropped on another, what is dragged, and the drop itself.
class HOST_API DADMgr {
 public:
  virtual ~DADMgr() = default;
  // The super class of what a drag from `hwnd` carries; 0 when nothing can be dragged from it.
  virtual SClass_ID GetDragType(HWND hwnd, POINT p) = 0;
  virtual BOOL OkToDrop(ReferenceTarget* dropThis, HWND hfrom, HWND hto, POINT p, SClass_ID type,
                        BOOL isNew = FALSE) = 0;
  virtual ReferenceTarget* GetInstance(HWND hwnd, POINT p, SClass_ID type) = 0;
  virtual void Drop(ReferenceTarget* dropThis, HWND hwnd, POINT p, SClass_ID type, DADMgr* srcMgr = nullptr,
                    BOOL bSrcClone = FALSE) = 0;
};

// ---- controls --------------------------------------------------------------------------------------
class HOST_API ICustomControl {
 public:
  virtual ~ICustomControl() = default;
  virtual HWND GetHwnd() = 0;
  virtual void Enable(BOOL onOff = TRUE) = 0;
  virtual void Disable() = 0;
  virtual BOOL IsEnabled() = 0;
};

enum CustButType { CBT_PUSH, CBT_CHECK };

// A click sends WM_COMMAND (id, BN_CLICKED) to the parent; a check button flips its state first.
class HOST_API ICustButton : public ICustomControl {
 public:
  virtual void GetText(MCHAR* text, int ct) = 0;
  virtual void SetText(const MCHAR* text) = 0;
  virtual void SetType(CustButType type) = 0;
  virtual BOOL IsChecked() = 0;
  virtual void SetCheck(BOOL checked) = 0;
  // The manager is the panel's: the button only uses it, never deletes it.
  virtual void SetDADMgr(DADMgr* dad) = 0;
  virtual DADMgr* GetDADMgr() = 0;
};

// Enter sends WM_CUSTEDIT_ENTER to the parent. The edit keeps the keyboard focus until another
// control takes it.
class HOST_API ICustEdit : public ICustomControl {
 public:
  // Copies at most ct - 1 characters and a terminating zero.
  virtual void GetText(MCHAR* text, int ct) = 0;
  virtual int GetTextLength() = 0;
  virtual void SetText(const MCHAR* text) = 0;
  virtual void SetText(int i) = 0;
  // The text read as a decimal integer; *valid (when given) says whether it was one.
  virtual int GetInt(BOOL* valid = nullptr) = 0;
  virtual BOOL HasFocus() = 0;
  virtual void GiveFocus() = 0;
};


// A spinner of integers, or of floats once linked to a float edit kind or given float limits or a
// float value: a drag sends CC_SPINNER_BUTTONDOWN, a CC_SPINNER_CHANGE per changed value and
// CC_SPINNER_BUTTONUP; the value stays inside the limits and is written into the linked edit.
class HOST_API ISpinnerControl : public ICustomControl {
 public:
  virtual int GetIVal() = 0;
  virtual float GetFVal() = 0;
  // The value clamped to the limits; `notify` sends CC_SPINNER_CHANGE when it changed.
  virtual void SetValue(int v, int notify) = 0;
  virtual void SetValue(float v, int notify) = 0;
  virtual void SetLimits(int min, int max, int limitCurValue = TRUE) = 0;
  virtual void SetLimits(float min, float max, int limitCurValue = TRUE) = 0;
  // Value units per pixel of mouse movement.
  virtual void SetScale(float s) = 0;
  // The edit shows the value; Enter in it sets the value from its text.
  virtual void LinkToEdit(HWND hEdit, EditSpinnerType type) = 0;
};

// Null when the window is not a control of that class.
HOST_API ICustButton* GetICustButton(HWND hCtrl);
HOST_API ICustEdit* GetICustEdit(HWND hCtrl);
HOST_API ISpinnerControl* GetISpinner(HWND hCtrl);
HOST_API void ReleaseICustButton(ICustButton* btn);
HOST_API void ReleaseICustEdit(ICustEdit* edit);
HOST_API void ReleaseISpinner(ISpinnerControl* spin);

// Links spinner idSpin to edit idEdit of the dialog, with limits and a value; the caller releases
// the spinner it answers (null when either control is missing).
HOST_API ISpinnerControl* SetupIntSpinner(HWND hwnd, int idSpin, int idEdit, int min, int max, int val);
// The same for floats; `scale` is the value per pixel of a drag and the step of a click.
HOST_API ISpinnerControl* SetupFloatSpinner(HWND hwnd, int idSpin, int idEdit, float min, float max, float val,
                                            float scale = 0.1f);

// ---- colours ---------------------------------------------------------------------------------------
using ColorId = DWORD;

// The host's interface colours, by the system colour indexes (COLOR_BTNFACE...).
class HOST_API IColorManager {
 public:
  virtual ~IColorManager() = default;
  // A brush the manager owns: never delete it.
  virtual HBRUSH GetBrush(ColorId id) = 0;
  virtual COLORREF GetColor(ColorId id) = 0;
};

HOST_API IColorManager* GetColorManager();
