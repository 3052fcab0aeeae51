// The material editor window and what it does for the panel it shows.
//
// Opening a material: the previous panel goes (ParamDlg::DeleteThis, then any page it left), the
// material's CreateParamDlg makes the new one through the editor's IMtlParams. The path from the
// material first opened down to the sub-material shown is kept as references, top first.
#include "ui/material_editor.h"

#include "core/hold_suspended.h"
#include "hold.h"
#include "maxapi.h"
#include "ui/custom_controls.h"
#include "ui/material_editor_rollup.h"

#include <vector>

namespace sim::ui {

namespace {

constexpr int kBarHeight = 24;
// Posted to itself once a material it showed was deleted: references are dropped outside the
// deletion's notification.
constexpr UINT kForgetDeleted = WM_USER + 0x1A10;

LRESULT CALLBACK editorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

class MaterialEditor : public IMtlParams, public ReferenceMaker {
 public:
  MaterialEditor() {
    registerCustomControls();
    registerMtlEditorClasses(editorProc);
    hwnd_ = CreateWindowEx(0, kMtlEditorClass, "Material Editor", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 40, 40,
                           kMinWidth, 200, nullptr, nullptr, nullptr, nullptr);
    nameField_ = CreateWindowEx(0, "Static", "", WS_CHILD | WS_VISIBLE | SS_LEFT, 4, 4, 200, 16, hwnd_,
                                reinterpret_cast<HMENU>(INT_PTR(kMtlEditorNameId)), nullptr, nullptr);
    parentButton_ = CreateWindowEx(0, "Button", "Go to Parent", WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON,
                                   212, 2, 100, 20, hwnd_,
                                   reinterpret_cast<HMENU>(INT_PTR(kMtlEditorParentId)), nullptr, nullptr);
    rollup_ = MtlEditorRollup(hwnd_, kBarHeight + 4);
    rollup_.layout();
  }

  ~MaterialEditor() override {
    closePanel();
    {
      HoldSuspended quiet;
      DeleteAllRefsFromMe();
    }
    HWND h = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(h);
  }

  HWND hwnd() const { return hwnd_; }
  Mtl* current() const { return deleted_ || path_.empty() ? nullptr : path_.back(); }

  void open(Mtl* m) {
    closePanel();
    setPath({m});
    showPanel();
  }

  bool openSub(WPARAM slot, LPARAM mtl) {
    Mtl* m = current();
    // The message may come from anywhere (a script posts it too): only the material shown is
    // taken at its word, never an address it does not know.
    if (!m || mtl != reinterpret_cast<LPARAM>(m) || slot >= WPARAM(m->NumSubMtls())) return false;
    Mtl* sub = m->GetSubMtl(int(slot));
    if (!sub) return false;
    closePanel();
    std::vector<Mtl*> path = path_;
    path.push_back(sub);
    setPath(path);
    showPanel();
    return true;
  }

  bool goToParent() {
    if (deleted_ || path_.size() < 2) return false;
    closePanel();
    std::vector<Mtl*> path(path_.begin(), path_.end() - 1);
    setPath(path);
    showPanel();
    return true;
  }

  void setTime(TimeValue t) {
    time_ = t;
    if (dlg_) dlg_->SetTime(t);
  }

  // A material of the path was deleted: its panel goes at once (the material is still whole while
  // its dependents are told), the references once the deletion is over.
  void materialDeleted() {
    if (deleted_) return;
    deleted_ = true;
    closePanel();
    PostMessage(hwnd_, kForgetDeleted, 0, 0);
  }

  void forgetDeleted() {
    if (!deleted_) return;
    setPath({});
    deleted_ = false;
    showPanel();
  }

  // ---- IMtlParams ----
  void MtlChanged() override { InvalidateRect(hwnd_, nullptr, FALSE); }
  HWND AddRollupPage(HINSTANCE hInst, const MCHAR* dlgTemplate, DLGPROC dlgProc, const MCHAR* title, LPARAM param,
                     DWORD, int category) override {
    return rollup_.add(hInst, dlgTemplate, dlgProc, title, param, category);
  }
  void DeleteRollupPage(HWND hRollup) override { rollup_.remove(hRollup); }
  TimeValue GetTime() override { return time_; }

  // ---- ReferenceMaker: one reference per material of the path ----
  SClass_ID SuperClassID() override { return REF_MAKER_CLASS_ID; }
  int NumRefs() override { return int(path_.size()); }
  RefTargetHandle GetReference(int i) override {
    return i >= 0 && i < NumRefs() ? path_[std::size_t(i)] : nullptr;
  }
  void SetReference(int i, RefTargetHandle t) override {
    if (i >= 0 && i < NumRefs()) path_[std::size_t(i)] = static_cast<Mtl*>(t);
  }
  BOOL IsRealDependency(ReferenceTarget*) override { return FALSE; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage message) override {
    if (message == REFMSG_TARGET_DELETED) materialDeleted();
    return REF_SUCCEED;
  }

 private:
  static constexpr int kMinWidth = 320;

  void setPath(const std::vector<Mtl*>& path) {
    HoldSuspended quiet;
    // The new references come first, after the old ones, so a material on both paths never loses
    // its last reference in between.
    std::size_t old = path_.size();
    path_.resize(old + path.size(), nullptr);
    for (std::size_t i = 0; i < path.size(); ++i) ReplaceReference(int(old + i), path[i]);
    for (std::size_t i = 0; i < old; ++i) DeleteReference(int(i));
    path_.erase(path_.begin(), path_.begin() + std::ptrdiff_t(old));
  }

  void showPanel() {
    Mtl* m = current();
    time_ = GetCOREInterface() ? GetCOREInterface()->GetTime() : 0;
    SetWindowText(nameField_, m ? m->GetName().data() : "");
    EnableWindow(parentButton_, path_.size() > 1 && !deleted_);
    if (m) {
      dlg_ = m->CreateParamDlg(hwnd_, this);
      if (!dlg_) rollup_.addTextPage("Parameters", m->GetName().data());
    }
    rollup_.layout();
    InvalidateRect(hwnd_, nullptr, TRUE);
  }

  void closePanel() {
    if (ParamDlg* d = dlg_) {
      dlg_ = nullptr;
      d->DeleteThis();
    }
    rollup_.clear();
  }

  HWND hwnd_ = nullptr, nameField_ = nullptr, parentButton_ = nullptr;
  MtlEditorRollup rollup_{nullptr, 0};
  std::vector<Mtl*> path_;
  ParamDlg* dlg_ = nullptr;
  TimeValue time_ = 0;
  bool deleted_ = false;
};

MaterialEditor* editor = nullptr;

LRESULT CALLBACK editorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MaterialEditor* e = editor && editor->hwnd() == hwnd ? editor : nullptr;
  if (!e) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_SUB_MTL_BUTTON: e->openSub(wParam, lParam); return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kMtlEditorParentId && HIWORD(wParam) == BN_CLICKED) e->goToParent();
      return 0;
    case kForgetDeleted: e->forgetDeleted(); return 0;
    case WM_CLOSE: closeMaterialEditor(); return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

bool openMaterialEditor(Mtl* m) {
  if (!m) return false;
  if (editor && !IsWindow(editor->hwnd())) closeMaterialEditor();
  if (!editor) editor = new MaterialEditor;
  editor->forgetDeleted();
  editor->open(m);
  return true;
}

void closeMaterialEditor() {
  MaterialEditor* e = editor;
  editor = nullptr;
  delete e;
}

HWND materialEditorWindow() { return editor && IsWindow(editor->hwnd()) ? editor->hwnd() : nullptr; }

// A window destroyed from outside leaves no material shown; the next open makes a new window.
Mtl* materialEditorMaterial() { return materialEditorWindow() ? editor->current() : nullptr; }

bool materialEditorGoToParent() { return editor && editor->goToParent(); }

void materialEditorSetTime(TimeValue t) {
  if (editor) editor->setTime(t);
}

}  // namespace sim::ui
