// Dialogs made from the material module's template 101, as the material editor makes its panel.
// The Windows build runs these on the system's user32 (under a virtual display).
#include "os/dynamic_library.h"
#include "win_ui.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kGlobalClass = 0x4000;  // CS_GLOBALCLASS: the host's controls serve every module
const char* const kCustomClasses[] = {"CustEdit", "CustButton", "SpinnerControl"};

struct Seen {
  std::vector<UINT> messages;
  LPARAM initParam = 0;
  HWND scrollBarAtInit = nullptr;
};
Seen* seen = nullptr;

INT_PTR CALLBACK recordingProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
  if (!seen) return FALSE;
  seen->messages.push_back(msg);
  if (msg == WM_INITDIALOG) {
    seen->initParam = lParam;
    seen->scrollBarAtInit = GetDlgItem(hwnd, 1004);
    return TRUE;
  }
  return FALSE;
}

class PanelTemplate : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    module_ = sim::os::openLibrary(std::string(QZM_PLUGIN_DIR) + "/QZMMaterial.dlt", error);
    ASSERT_TRUE(module_) << error;
    parent_ = CreateWindowEx(0, "Static", "editor", WS_POPUP, 0, 0, 400, 600, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(parent_);
    seen = &seen_;
    // The host may have registered its own controls already: each test starts without them.
    for (const char* name : kCustomClasses) UnregisterClass(name, nullptr);
  }
  void TearDown() override {
    seen = nullptr;
    DestroyWindow(parent_);
    for (const char* name : kCustomClasses) UnregisterClass(name, nullptr);
    sim::os::closeLibrary(module_);
  }

  void registerCustomControls() {
    for (const char* name : kCustomClasses) {
      WNDCLASS wc{};
      wc.style = kGlobalClass;
      wc.lpfnWndProc = DefWindowProc;
      wc.lpszClassName = name;
      ASSERT_TRUE(RegisterClass(&wc)) << name;
    }
  }

  HWND createPanel() {
    return CreateDialogParam(static_cast<HINSTANCE>(module_), MAKEINTRESOURCE(101), parent_, recordingProc, 0x5eed);
  }

  void* module_ = nullptr;
  HWND parent_ = nullptr;
  Seen seen_;
};

RECT rectInParent(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  POINT topLeft{r.left, r.top}, bottomRight{r.right, r.bottom};
  ScreenToClient(GetParent(hwnd), &topLeft);
  ScreenToClient(GetParent(hwnd), &bottomRight);
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

TEST_F(PanelTemplate, MakesEveryControlBeforeTheProcedureGetsInitDialogWithItsParameter) {
  registerCustomControls();
  HWND panel = createPanel();
  ASSERT_TRUE(panel);
  EXPECT_EQ(GetParent(panel), parent_);
  EXPECT_EQ(seen_.initParam, 0x5eed);
  EXPECT_EQ(seen_.scrollBarAtInit, GetDlgItem(panel, 1004));
  EXPECT_TRUE(seen_.scrollBarAtInit);

  int controls = 0;
  for (HWND c = GetWindow(panel, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++controls;
  EXPECT_EQ(controls, 65);
  DestroyWindow(panel);
}

TEST_F(PanelTemplate, PlacesControlsInPixelsFromTheFontsDialogUnits) {
  registerCustomControls();
  HWND panel = createPanel();
  ASSERT_TRUE(panel);
  HWND slot = GetDlgItem(panel, 1497);  // the slot button of row 0: (112, 5), 93 x 13
  ASSERT_TRUE(slot);
  EXPECT_EQ(GetDlgCtrlID(slot), 1497);
  char name[32] = {};
  GetClassName(slot, name, sizeof name);
  EXPECT_STREQ(name, "CustButton");
  RECT expected{112, 5, 112 + 93, 5 + 13};
#if defined(_WIN32)
  MapDialogRect(panel, &expected);
#else
  expected = {168, 8, 308, 29};  // "MS Sans Serif" 8: 6 x 13 pixels a character
#endif
  RECT actual = rectInParent(slot);
  EXPECT_EQ(std::vector<LONG>({actual.left, actual.top, actual.right, actual.bottom}),
            std::vector<LONG>({expected.left, expected.top, expected.right, expected.bottom}));
  EXPECT_EQ(GetWindowLong(slot, GWL_STYLE) & (WS_CHILD | WS_VISIBLE | WS_TABSTOP), WS_CHILD | WS_VISIBLE | WS_TABSTOP);
  DestroyWindow(panel);
}

TEST_F(PanelTemplate, FailsWithoutItsCustomControlsAndLeavesNoWindowBehind) {
  EXPECT_EQ(createPanel(), nullptr);
  EXPECT_EQ(GetWindow(parent_, GW_CHILD), nullptr);
  for (UINT msg : seen_.messages) EXPECT_NE(msg, UINT(WM_INITDIALOG));
}

TEST_F(PanelTemplate, AnUnknownTemplateOrModuleGivesNoDialog) {
  registerCustomControls();
  EXPECT_EQ(CreateDialogParam(static_cast<HINSTANCE>(module_), MAKEINTRESOURCE(102), parent_, recordingProc, 0), nullptr);
  EXPECT_EQ(seen_.messages.size(), 0u);
}

}  // namespace
