// QZMMaterialDlg: the per-pass material's panel in the material editor. One rollup page shows 15 of
// the 101 slots as rows (postage stamp, pass number, label, slot button); a scroll bar moves the rows
// over the slots, a spinner sets the active pass, a check button limits stamps to the active pass.
//
// The panel and its material point at each other: the material records the panel it shows, and
// whichever goes first tells the other (DeleteThis, or the material's Detach call), so neither keeps a
// pointer to something freed. A detached panel ignores its messages until SetThing gives it a
// material again.
#pragma once

#include "custcont.h"
#include "imtl.h"
#include "imtlparams.h"
#include "win_ui.h"

#include <array>

class QZMMaterial;

class QZMMaterialDlg : public ParamDlg {
 public:
  static constexpr int kRows = 15;
  // The first slot shown is kept within 0..kMaxOffset: 101 slots less the 15 rows.
  static constexpr int kMaxOffset = 86;
  // The scroll bar's own range stops short of kMaxOffset: its thumb reaches the rows up to pass 99,
  // the arrows and page steps those up to pass 101.
  static constexpr int kScrollBarMax = 84;

  // Opens the page in the editor through `imp` and shows `material` on it.
  QZMMaterialDlg(HWND hwMtlEdit, IMtlParams* imp, QZMMaterial* material);

  // ---- ParamDlg ----
  Class_ID ClassID() override;
  void SetThing(ReferenceTarget* m) override;
  ReferenceTarget* GetThing() override;
  void SetTime(TimeValue t) override;
  void ReloadDialog() override;
  void DeleteThis() override;
  void ActivateDlg(BOOL) override {}
  int FindSubTexFromHWND(HWND) override { return -1; }
  // The slot under a row's slot button; -1 for any other window.
  int FindSubMtlFromHWND(HWND hwnd) override;
  INT_PTR Execute(int, ULONG_PTR = 0, ULONG_PTR = 0, ULONG_PTR = 0) override { return 0; }

  // ---- rows ----
  // Shows the slot names, labels, pass numbers and stamps of the rows anew, then the pass spinner
  // and the scroll bar. Does nothing while a label is being committed.
  void UpdateSubMtlNames();
  void UpdatePassSpinner();
  // Draws the postage stamp of row `row`'s slot into `rect` of `hdc`.
  void DrawSlotStamp(HDC hdc, const RECT& rect, int row);

  // The material went away (deleted or reset): the panel forgets it.
  void Detach();

  // The panel-valid flag: 0 asks for a refresh of the rows at the next paint.
  int valid = 0;

  HWND Window() const { return hPanel_; }
  QZMMaterial* Material() const { return material_; }

 private:
  friend INT_PTR CALLBACK QZMMaterialPanelProc(HWND, UINT, WPARAM, LPARAM);

  ~QZMMaterialDlg() override = default;

  INT_PTR handleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void initDialog(HWND hwnd);
  void scroll(int code, int position);
  void commitLabel(int row);
  void onSpinner(UINT msg, WPARAM wParam);
  void setActiveStampOnlyFromButton();
  // Records the panel in `material_` and brings the material and the rows up to date.
  void attach();
  // UIOffset as the rows read it: a script may store any number, the rows stay within the slots.
  int rowOffset();
  TimeValue hostTime();

  HWND hwMtlEdit_;
  IMtlParams* imp_;
  QZMMaterial* material_;
  HWND hPanel_ = nullptr;
  HWND hScroll_ = nullptr;
  TimeValue curTime_ = 0;
  int inProc_ = 0;
  // 1 while a label edit is being committed; it stays 1 while that field keeps the focus.
  int labelCommit_ = 0;
  std::array<ICustButton*, kRows> buttons_{};
  std::array<ICustEdit*, kRows> edits_{};
  MtlDADMgr dadMgr_;
};

// The page's dialog procedure, given to AddRollupPage with the panel as its parameter.
INT_PTR CALLBACK QZMMaterialPanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The window procedure of the rows' stamp frames: paints the slot's postage stamp.
LRESULT CALLBACK QZMMaterialStampProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
