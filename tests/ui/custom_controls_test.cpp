// The host's custom controls, driven by the messages a user's mouse and keyboard make.
#include "custcont.h"
#include "ui/custom_controls.h"  // the key codes

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Notice {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

std::vector<Notice> notices;

LRESULT CALLBACK recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND || msg == WM_CUSTEDIT_ENTER || (msg >= CC_SPINNER_CHANGE && msg <= CC_SPINNER_BUTTONUP))
    notices.push_back({msg, wParam, lParam});
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

class CustomControls : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCustomControls(nullptr);
    static bool registered = false;
    if (!registered) {
      WNDCLASS wc{};
      wc.lpfnWndProc = recordingProc;
      wc.lpszClassName = "CustomControlsTestParent";
      RegisterClass(&wc);
      registered = true;
    }
    parent = CreateWindowEx(0, "CustomControlsTestParent", "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                            nullptr, nullptr, nullptr);
    notices.clear();
  }
  void TearDown() override { DestroyWindow(parent); }

  HWND child(const char* cls, int id, int x, int y, int w, int h) {
    return CreateWindowEx(0, cls, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, w, h, parent,
                          reinterpret_cast<HMENU>(INT_PTR(id)), nullptr, nullptr);
  }

  HWND parent = nullptr;
};

TEST_F(CustomControls, AClickOnACheckButtonFlipsItAndTellsTheParent) {
  HWND h = child("CustButton", 1020, 0, 0, 100, 16);
  ICustButton* b = GetICustButton(h);
  ASSERT_NE(b, nullptr);
  b->SetType(CBT_CHECK);
  SendMessage(h, WM_LBUTTONDOWN, 0, at(5, 5));
  SendMessage(h, WM_LBUTTONUP, 0, at(5, 5));
  EXPECT_TRUE(b->IsChecked());
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].msg, UINT(WM_COMMAND));
  EXPECT_EQ(notices[0].wParam, MAKEWPARAM(1020, BN_CLICKED));
  EXPECT_EQ(notices[0].lParam, reinterpret_cast<LPARAM>(h));
  SendMessage(h, WM_LBUTTONDOWN, 0, at(5, 5));
  SendMessage(h, WM_LBUTTONUP, 0, at(5, 5));
  EXPECT_FALSE(b->IsChecked());
  ReleaseICustButton(b);
}

TEST_F(CustomControls, APushButtonStaysUncheckedAndAReleaseOutsideIsNoClick) {
  HWND h = child("CustButton", 7, 0, 0, 100, 16);
  ICustButton* b = GetICustButton(h);
  SendMessage(h, WM_LBUTTONDOWN, 0, at(5, 5));
  SendMessage(h, WM_LBUTTONUP, 0, at(5, 5));
  EXPECT_FALSE(b->IsChecked());
  EXPECT_EQ(notices.size(), 1u);
  SendMessage(h, WM_LBUTTONDOWN, 0, at(5, 5));
  SendMessage(h, WM_LBUTTONUP, 0, at(150, 100));
  EXPECT_EQ(notices.size(), 1u);
  b->SetText("Slot");
  char text[3];
  b->GetText(text, 3);
  EXPECT_STREQ(text, "Sl");
  ReleaseICustButton(b);
}

TEST_F(CustomControls, InterfacesAreOnlyForTheirOwnClassAndOutliveTheirWindow) {
  HWND h = child("CustEdit", 1, 0, 0, 50, 14);
  EXPECT_EQ(GetICustButton(h), nullptr);
  EXPECT_EQ(GetISpinner(h), nullptr);
  ICustEdit* e = GetICustEdit(h);
  ASSERT_NE(e, nullptr);
  DestroyWindow(h);
  e->SetText("x");
  char text[8] = "keep";
  e->GetText(text, 8);
  EXPECT_STREQ(text, "");
  EXPECT_FALSE(e->HasFocus());
  ReleaseICustEdit(e);
}

TEST_F(CustomControls, EnterInAnEditSendsItsIdAndTheEditKeepsTheFocus) {
  HWND a = child("CustEdit", 1503, 0, 0, 80, 14);
  HWND b = child("CustEdit", 1558, 0, 20, 80, 14);
  ICustEdit* ea = GetICustEdit(a);
  ICustEdit* eb = GetICustEdit(b);
  SendMessage(a, WM_LBUTTONDOWN, 0, at(2, 2));
  for (char c : std::string("Key"))
    SendMessage(a, WM_CHAR, WPARAM(c), 0);
  SendMessage(a, WM_CHAR, VK_BACK, 0);
  SendMessage(a, WM_KEYDOWN, VK_RETURN, 0);
  char text[16];
  ea->GetText(text, 16);
  EXPECT_STREQ(text, "Ke");
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].msg, UINT(WM_CUSTEDIT_ENTER));
  EXPECT_EQ(notices[0].wParam, WPARAM(1503));
  EXPECT_TRUE(ea->HasFocus());
  // Another field taking the focus commits the first one once more.
  SendMessage(b, WM_LBUTTONDOWN, 0, at(2, 2));
  EXPECT_FALSE(ea->HasFocus());
  EXPECT_TRUE(eb->HasFocus());
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[1].wParam, WPARAM(1503));
  ReleaseICustEdit(ea);
  ReleaseICustEdit(eb);
}

TEST_F(CustomControls, GetIntReadsOnlyWholeNumbers) {
  ICustEdit* e = GetICustEdit(child("CustEdit", 1, 0, 0, 50, 14));
  BOOL valid = FALSE;
  e->SetText(" -42 ");
  EXPECT_EQ(e->GetInt(&valid), -42);
  EXPECT_TRUE(valid);
  for (const char* bad : {"", "4x", "99999999999"}) {
    e->SetText(bad);
    EXPECT_EQ(e->GetInt(&valid), 0) << bad;
    EXPECT_FALSE(valid) << bad;
  }
  ReleaseICustEdit(e);
}

class Spinners : public CustomControls {
 protected:
  void SetUp() override {
    CustomControls::SetUp();
    spinHwnd = child("SpinnerControl", 1496, 208, 100, 10, 16);
    editHwnd = child("CustEdit", 1490, 170, 100, 35, 16);
    spin = SetupIntSpinner(parent, 1496, 1490, 1, 99, 1);
    notices.clear();
  }
  void TearDown() override {
    ReleaseISpinner(spin);
    CustomControls::TearDown();
  }
  std::string editText() {
    char text[32];
    GetWindowText(editHwnd, text, 32);
    return text;
  }
  HWND spinHwnd = nullptr, editHwnd = nullptr;
  ISpinnerControl* spin = nullptr;
};

TEST_F(Spinners, SetupLinksTheEditAndValuesStayInsideTheLimits) {
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(spin->GetIVal(), 1);
  EXPECT_EQ(editText(), "1");
  spin->SetValue(150, FALSE);
  EXPECT_EQ(spin->GetIVal(), 99);
  EXPECT_EQ(editText(), "99");
  EXPECT_TRUE(notices.empty());
  spin->SetValue(-3, TRUE);
  EXPECT_EQ(spin->GetIVal(), 1);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].msg, UINT(CC_SPINNER_CHANGE));
  spin->SetLimits(10, 20, TRUE);
  EXPECT_EQ(spin->GetIVal(), 10);
  EXPECT_EQ(SetupIntSpinner(parent, 1496, 4242, 1, 99, 1), nullptr);
}

TEST_F(Spinners, ADragChangesTheValueAndEndsWithAnAcceptedButtonUp) {
  spin->SetValue(5, FALSE);
  SendMessage(spinHwnd, WM_LBUTTONDOWN, 0, at(5, 8));
  SendMessage(spinHwnd, WM_MOUSEMOVE, 0, at(5, 5));  // three pixels up
  SendMessage(spinHwnd, WM_MOUSEMOVE, 0, at(5, 5));  // no change, no message
  SendMessage(spinHwnd, WM_LBUTTONUP, 0, at(5, 5));
  EXPECT_EQ(spin->GetIVal(), 8);
  EXPECT_EQ(editText(), "8");
  ASSERT_EQ(notices.size(), 3u);
  EXPECT_EQ(notices[0].msg, UINT(CC_SPINNER_BUTTONDOWN));
  EXPECT_EQ(notices[1].msg, UINT(CC_SPINNER_CHANGE));
  EXPECT_EQ(LOWORD(notices[1].wParam), 1496);
  EXPECT_EQ(notices[1].lParam, reinterpret_cast<LPARAM>(spinHwnd));
  EXPECT_EQ(notices[2].msg, UINT(CC_SPINNER_BUTTONUP));
  EXPECT_EQ(notices[2].wParam, MAKEWPARAM(1496, 1));
}

TEST_F(Spinners, ACancelledDragPutsTheValueBackAndSaysSoInButtonUp) {
  spin->SetValue(5, FALSE);
  for (bool escape : {false, true}) {
    notices.clear();
    SendMessage(spinHwnd, WM_LBUTTONDOWN, 0, at(5, 8));
    SendMessage(spinHwnd, WM_MOUSEMOVE, 0, at(5, 200));  // far down: clamped to 1
    EXPECT_EQ(spin->GetIVal(), 1);
    if (escape) SendMessage(spinHwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    else SendMessage(spinHwnd, WM_RBUTTONDOWN, 0, at(5, 200));
    EXPECT_EQ(spin->GetIVal(), 5);
    EXPECT_EQ(editText(), "5");
    ASSERT_FALSE(notices.empty());
    EXPECT_EQ(notices.back().msg, UINT(CC_SPINNER_BUTTONUP));
    EXPECT_EQ(HIWORD(notices.back().wParam), 0);
    // The release after a cancel is no second end.
    size_t before = notices.size();
    SendMessage(spinHwnd, WM_LBUTTONUP, 0, at(5, 200));
    EXPECT_EQ(notices.size(), before);
  }
}

TEST_F(Spinners, EnterInTheLinkedEditSetsTheValueBeforeTheParentHearsOfIt) {
  SetWindowText(editHwnd, "120");
  SendMessage(editHwnd, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(spin->GetIVal(), 99);
  EXPECT_EQ(editText(), "99");
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].msg, UINT(CC_SPINNER_CHANGE));
  EXPECT_EQ(notices[1].msg, UINT(WM_CUSTEDIT_ENTER));
  SetWindowText(editHwnd, "abc");
  SendMessage(editHwnd, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(spin->GetIVal(), 99);
  EXPECT_EQ(editText(), "99");
}

TEST_F(Spinners, AFloatSpinnerStepsByItsScaleAndReadsTextWithAPoint) {
  ISpinnerControl* f = SetupFloatSpinner(parent, 1496, 1490, 0.0f, 100000.0f, 1.0f, 0.01f);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(editText(), "1.0");
  SendMessage(spinHwnd, WM_LBUTTONDOWN, 0, at(5, 8));
  SendMessage(spinHwnd, WM_MOUSEMOVE, 0, at(5, 5));  // three pixels up: three steps
  SendMessage(spinHwnd, WM_LBUTTONUP, 0, at(5, 5));
  EXPECT_FLOAT_EQ(f->GetFVal(), 1.03f);
  EXPECT_EQ(editText(), "1.03");
  SetWindowText(editHwnd, " 2.5 ");
  SendMessage(editHwnd, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FLOAT_EQ(f->GetFVal(), 2.5f);
  for (const char* bad : {"2,5", "abc", "nan", "1e999"}) {
    SetWindowText(editHwnd, bad);
    SendMessage(editHwnd, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FLOAT_EQ(f->GetFVal(), 2.5f) << bad;
    EXPECT_EQ(editText(), "2.5") << bad;
  }
  SetWindowText(editHwnd, "-5");
  SendMessage(editHwnd, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(editText(), "0.0");
  ReleaseISpinner(f);
}

TEST(ColorManager, BrushesAndColoursAreTheSystemsOnes) {
  IColorManager* cm = GetColorManager();
  ASSERT_NE(cm, nullptr);
  EXPECT_EQ(cm->GetColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(cm->GetBrush(COLOR_BTNFACE), GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace
