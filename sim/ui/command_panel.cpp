// The command panel window and the object whose rollouts it shows (command_panel.h).
#include "ui/command_panel.h"

#include "core/core_interface.h"
#include "core/hold_suspended.h"
#include "hold.h"
#include "object.h"
#include "ui/custom_controls.h"
#include "ui/material_editor_rollup.h"
#include "ui/pick_mode.h"

namespace sim::ui {

namespace {

constexpr const char* kPanelClass = "CommandPanel";
constexpr const char* kPanelTitle = "Command Panel";
constexpr ULONG kEndEditRemoveUI = 1;
// Posted to itself once the object it showed was deleted: the reference is dropped outside the
// deletion's notification.
constexpr UINT kForgetDeleted = WM_USER + 0x1A20;

LRESULT CALLBACK panelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

class CommandPanel : public ReferenceMaker {
 public:
  CommandPanel() {
    registerCustomControls();
    registerRollupTitleClass();
    static bool registered = false;
    if (!registered) {
      registered = true;
      WNDCLASS wc{};
      wc.lpfnWndProc = panelProc;
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = kPanelClass;
      RegisterClass(&wc);
    }
    hwnd_ = CreateWindowEx(0, kPanelClass, kPanelTitle, WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 400, 40, 180, 100,
                           nullptr, nullptr, nullptr, nullptr);
    rollup_ = MtlEditorRollup(hwnd_, 4);
    rollup_.layout();
  }

  ~CommandPanel() override {
    edit(nullptr);
    HWND h = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(h);
  }

  HWND hwnd() const { return hwnd_; }
  BaseObject* object() const { return deleted_ ? nullptr : obj_; }

  void edit(BaseObject* obj) {
    if (obj == object() && !deleted_) return;
    endEditing(obj);
    setObject(obj);
    deleted_ = false;
    if (obj_) obj_->BeginEditParams(coreInterface(), 0, nullptr);
    rollup_.layout();
  }

  HWND addPage(HINSTANCE inst, const MCHAR* dlgTemplate, DLGPROC proc, const MCHAR* title, LPARAM param, int category) {
    return IsWindow(hwnd_) ? rollup_.add(inst, dlgTemplate, proc, title, param, category) : nullptr;
  }
  void deletePage(HWND page) { rollup_.remove(page); }

  void forgetDeleted() {
    if (!deleted_) return;
    setObject(nullptr);
    deleted_ = false;
  }

  // ---- ReferenceMaker: the object shown ----
  SClass_ID SuperClassID() override { return REF_MAKER_CLASS_ID; }
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? obj_ : nullptr; }
  void SetReference(int i, RefTargetHandle t) override {
    if (i == 0) obj_ = dynamic_cast<BaseObject*>(t);
  }
  BOOL IsRealDependency(ReferenceTarget*) override { return FALSE; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage message) override {
    // The object is still whole while its dependents are told: its rollouts go now.
    if (message == REFMSG_TARGET_DELETED && !deleted_) {
      endEditing(nullptr);
      deleted_ = true;
      PostMessage(hwnd_, kForgetDeleted, 0, 0);
    }
    return REF_SUCCEED;
  }

 private:
  void endEditing(BaseObject* next) {
    if (obj_ && !deleted_) obj_->EndEditParams(coreInterface(), kEndEditRemoveUI, next);
    // Pages an object left behind go with it.
    rollup_.clear();
  }

  void setObject(BaseObject* obj) {
    HoldSuspended quiet;
    if (obj) ReplaceReference(0, obj);
    else DeleteReference(0);
    obj_ = obj;
  }

  HWND hwnd_ = nullptr;
  MtlEditorRollup rollup_{nullptr, 0};
  BaseObject* obj_ = nullptr;
  bool deleted_ = false;
};

CommandPanel* panel = nullptr;

LRESULT CALLBACK panelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CommandPanel* p = panel && panel->hwnd() == hwnd ? panel : nullptr;
  if (!p) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case kForgetDeleted: p->forgetDeleted(); return 0;
    case WM_CLOSE: setCommandPanelModifyMode(false); return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void setCommandPanelModifyMode(bool on) {
  if (on) {
    if (panel && !IsWindow(panel->hwnd())) setCommandPanelModifyMode(false);
    if (!panel) panel = new CommandPanel;
    return;
  }
  CommandPanel* p = panel;
  panel = nullptr;
  delete p;
}

bool commandPanelModifyMode() { return panel != nullptr; }

HWND commandPanelWindow() { return panel && IsWindow(panel->hwnd()) ? panel->hwnd() : nullptr; }

void commandPanelEdit(BaseObject* obj) {
  if (commandPanelWindow()) panel->edit(obj);
}

BaseObject* commandPanelObject() { return commandPanelWindow() ? panel->object() : nullptr; }

}  // namespace sim::ui

HWND sim::CoreInterface::AddRollupPage(HINSTANCE hInst, const MCHAR* dlgTemplate, RollupPageProc dlgProc,
                                       const MCHAR* title, std::intptr_t param, DWORD, int category) {
  return ui::panel ? ui::panel->addPage(hInst, dlgTemplate, dlgProc, title, param, category) : nullptr;
}

void sim::CoreInterface::DeleteRollupPage(HWND hRollup) {
  if (ui::panel) ui::panel->deletePage(hRollup);
}
