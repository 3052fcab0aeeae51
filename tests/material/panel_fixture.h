// A per-pass material opened in an editor of the test's own: its page is made from the material's
// resource exactly as the material editor makes it (AddRollupPage -> CreateDialogParam), and the
// editor window keeps what the panel posts to it. Tests drive the page with the messages its
// controls send.
#pragma once

#include "core/class_registry.h"
#include "core/plugin_loader.h"
#include "core/undo_stack.h"
#include "custcont.h"
#include "hold.h"
#include "imtlparams.h"
#include "iparamb2.h"
#include "scene/materials/stdmat.h"
#include "script/listener_stream.h"
#include "ui/ui.h"
#include "win_ui.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace panel_test {

const Class_ID kMaterialClass(0x9350465d, 0x60d9022e);
enum { whichPass, materialArray, labels, enableOMaterial, uiOffset, activeStampOnly };

// Control ids of the page.
constexpr int kScrollBar = 1004;
constexpr int kActiveStampOnly = 1020;
constexpr int kPassEdit = 1490;
constexpr int kPassSpinner = 1496;
constexpr int kFirstPassNumber = 1005;
constexpr int kFirstStamp = 1879;
constexpr int kSlotButtons[15] = {1497, 1499, 1501, 1557, 1505, 1507, 1509, 1511, 1513, 1515, 1517, 1519, 1521, 1523, 1525};
constexpr int kLabelFields[15] = {1503, 1558, 1559, 1504, 1560, 1561, 1506, 1562, 1563, 1508, 1564, 1565, 1510, 1566, 1567};

// The editor window: keeps every WM_SUB_MTL_BUTTON it is sent.
struct PostedOpen {
  WPARAM slot;
  LPARAM material;
};
inline std::vector<PostedOpen>& postedOpens() {
  static std::vector<PostedOpen> posted;
  return posted;
}
inline LRESULT CALLBACK editorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SUB_MTL_BUTTON) postedOpens().push_back({wParam, lParam});
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

class TestMtlParams : public IMtlParams {
 public:
  explicit TestMtlParams(HWND editor) : editor_(editor) {}
  void MtlChanged() override {}
  HWND AddRollupPage(HINSTANCE hInst, const MCHAR* dlgTemplate, DLGPROC dlgProc, const MCHAR*, LPARAM param,
                     DWORD, int) override {
    page = CreateDialogParam(hInst, dlgTemplate, editor_, dlgProc, param);
    return page;
  }
  void DeleteRollupPage(HWND hRollup) override { DestroyWindow(hRollup); }
  TimeValue GetTime() override { return 0; }

  HWND page = nullptr;

 private:
  HWND editor_;
};

class MaterialPanel : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    loader_ = new sim::PluginLoader;
    std::ostringstream errors;
    loader_->loadModule(std::string(QZM_PLUGIN_DIR) + "/QZMMaterial.dlt", errors);
    ASSERT_EQ(errors.str(), "");
    InitCustomControls(nullptr);
    WNDCLASS wc{};
    wc.lpfnWndProc = editorProc;
    wc.lpszClassName = "PanelTestEditor";
    RegisterClass(&wc);
  }
  static void TearDownTestSuite() {
    loader_->unloadAll();
    delete loader_;
  }
  void SetUp() override {
    postedOpens().clear();
    sim::listenerStream()->clear();
    editor_ = CreateWindowEx(0, "PanelTestEditor", "Material Editor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 600,
                             nullptr, nullptr, nullptr, nullptr);
    imp_ = std::make_unique<TestMtlParams>(editor_);
    material = newMaterial();
  }
  void TearDown() override {
    close();
    DestroyWindow(editor_);
    sim::ui::pumpMessages();
    sim::flushUndo();
    holders_.clear();
  }

  // Targets stay alive while the test holds them.
  template <class T>
  T* held(T* target) {
    holders_.push_back(std::make_unique<SingleRefMaker>());
    holders_.back()->SetRef(target);
    return target;
  }
  Mtl* newMaterial() { return held(static_cast<Mtl*>(sim::createInstance(MATERIAL_CLASS_ID, kMaterialClass))); }
  StdMat* coloured(const Color& c, const char* name) {
    StdMat* m = held(NewDefaultStdMat());
    m->SetDiffuse(c, 0);
    m->SetName(MSTR(name));
    return m;
  }
  IParamBlock2* params() { return material->GetParamBlock(0); }
  int param(int id) { return params()->GetInt(id, 0); }

  // Opens the panel as the editor does, and lets its first paint run.
  void open() {
    dlg = material->CreateParamDlg(editor_, imp_.get());
    ASSERT_NE(dlg, nullptr);
    page = imp_->page;
    ASSERT_TRUE(IsWindow(page));
    sim::ui::pumpMessages();
  }
  // Closes it as the editor does: the panel first, then its page.
  void close() {
    if (dlg) dlg->DeleteThis();
    dlg = nullptr;
    if (page) imp_->DeleteRollupPage(page);
    page = nullptr;
  }

  HWND item(int id) { return GetDlgItem(page, id); }
  std::string text(int id) {
    char buffer[512] = "";
    GetWindowText(item(id), buffer, sizeof buffer);
    return buffer;
  }
  LRESULT scroll(int code, int position = 0) {
    return SendMessage(page, WM_VSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(item(kScrollBar)));
  }
  LRESULT command(int id) {
    return SendMessage(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item(id)));
  }
  LRESULT enter(int id) {
    return SendMessage(page, WM_CUSTEDIT_ENTER, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(item(id)));
  }
  LRESULT spinner(UINT msg, int high = 0) {
    return SendMessage(page, msg, MAKEWPARAM(kPassSpinner, high), reinterpret_cast<LPARAM>(item(kPassSpinner)));
  }
  void setSpinner(int value) {
    ISpinnerControl* spin = GetISpinner(item(kPassSpinner));
    ASSERT_NE(spin, nullptr);
    spin->SetValue(value, FALSE);
    ReleaseISpinner(spin);
  }
  void setLabelField(int row, const std::string& value) {
    ICustEdit* edit = GetICustEdit(item(kLabelFields[row]));
    ASSERT_NE(edit, nullptr);
    edit->SetText(value.c_str());
    ReleaseICustEdit(edit);
  }
  std::string listener() { return sim::listenerStream()->text(); }

  static inline sim::PluginLoader* loader_ = nullptr;
  Mtl* material = nullptr;
  ParamDlg* dlg = nullptr;
  HWND page = nullptr;
  HWND editor_ = nullptr;
  std::unique_ptr<TestMtlParams> imp_;
  std::vector<std::unique_ptr<SingleRefMaker>> holders_;
};

}  // namespace panel_test
