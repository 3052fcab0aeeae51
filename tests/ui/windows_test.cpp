// The headless window model; on Windows the windows are the system's.
#if !defined(_WIN32)
#include "ui_fixture.h"

#include <algorithm>
#include <cstring>

using namespace uitest;

namespace {

using Windows = UiTest;

TEST_F(Windows, ChildrenAreFoundByIdInCreationOrderAndKnowTheirParent) {
  HWND dlg = top();
  HWND a = child(dlg, "Static", 1005, 0, 0, 0, 10, 10, "1");
  HWND b = child(dlg, "Button", 1497, BS_PUSHBUTTON, 0, 10, 10, 10, "None");
  EXPECT_EQ(GetDlgItem(dlg, 1497), b);
  EXPECT_EQ(GetDlgItem(dlg, 77), nullptr);
  EXPECT_EQ(GetDlgCtrlID(a), 1005);
  EXPECT_EQ(GetParent(b), dlg);
  EXPECT_EQ(GetWindow(dlg, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), nullptr);
  char cls[16];
  EXPECT_EQ(GetClassName(b, cls, sizeof cls), 6);
  EXPECT_STREQ(cls, "Button");
  std::vector<HWND> found;
  EnumChildWindows(
      GetDesktopWindow(),
      [](HWND h, LPARAM l) {
        reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  auto at = [&](HWND h) { return std::find(found.begin(), found.end(), h) - found.begin(); };
  EXPECT_LT(at(dlg), at(a));
  EXPECT_LT(at(a), at(b));
  EXPECT_LT(at(b), std::ptrdiff_t(found.size()));
}

TEST_F(Windows, TextsGoThroughTheMessagesAndAreCutToTheBuffer) {
  HWND dlg = top();
  child(dlg, "Edit", 1503, 0, 0, 0, 80, 13, "SampleText");
  char buf[7];
  EXPECT_EQ(GetDlgItemText(dlg, 1503, buf, sizeof buf), 6u);
  EXPECT_STREQ(buf, "Sample");
  EXPECT_TRUE(SetDlgItemText(dlg, 1503, "pass \xE9t\xE9"));
  EXPECT_EQ(GetWindowTextLength(GetDlgItem(dlg, 1503)), 8);
  EXPECT_TRUE(SetDlgItemInt(dlg, 1503, UINT(-12), TRUE));
  BOOL ok = FALSE;
  EXPECT_EQ(int(GetDlgItemInt(dlg, 1503, &ok, TRUE)), -12);
  EXPECT_TRUE(ok);
}

TEST_F(Windows, SubclassingPutsAProcedureInFrontOfTheClassOne) {
  HWND dlg = top();
  HWND s = child(dlg, "Static", 1879, SS_BLACKFRAME, 0, 0, 16, 15);
  static WNDPROC original;
  static int seen;
  seen = 0;
  original = reinterpret_cast<WNDPROC>(SetWindowLongPtr(
      s, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_SETTEXT) ++seen;
        return CallWindowProc(original, h, m, w, l);
      })));
  ASSERT_NE(original, nullptr);
  SetWindowText(s, "x");
  EXPECT_EQ(seen, 1);
  char buf[4];
  GetWindowText(s, buf, sizeof buf);
  EXPECT_STREQ(buf, "x");
  // A null procedure is refused: the window keeps the one it has.
  EXPECT_EQ(SetWindowLongPtr(s, GWLP_WNDPROC, 0), 0);
  SetWindowText(s, "y");
  EXPECT_EQ(seen, 2);
}

TEST_F(Windows, UserDataAndDialogSlotsAreKeptPerWindow) {
  HWND dlg = CreateWindowEx(0, WC_DIALOG, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(dlg, nullptr);
  SetWindowLongPtr(dlg, GWLP_USERDATA, 42);
  SetWindowLongPtr(dlg, DWLP_USER, 7);
  EXPECT_EQ(GetWindowLongPtr(dlg, GWLP_USERDATA), 42);
  EXPECT_EQ(GetWindowLongPtr(dlg, DWLP_USER), 7);
  // Past the window's extra bytes there is nothing to read or write.
  EXPECT_EQ(SetWindowLongPtr(dlg, DLGWINDOWEXTRA, 5), 0);
  EXPECT_EQ(GetWindowLongPtr(dlg, DLGWINDOWEXTRA), 0);
  DestroyWindow(dlg);
}

TEST_F(Windows, ADialogProcedureAnswersThroughItsResultSlot) {
  HWND dlg = CreateWindowEx(0, WC_DIALOG, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetWindowLongPtr(dlg, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM, LPARAM) -> INT_PTR {
                     if (m == WM_INITDIALOG) return 5;
                     if (m != WM_USER) return FALSE;
                     SetWindowLongPtr(h, DWLP_MSGRESULT, 99);
                     return TRUE;
                   }));
  EXPECT_EQ(SendMessage(dlg, WM_USER, 0, 0), 99);
  EXPECT_EQ(SendMessage(dlg, WM_INITDIALOG, 0, 0), 5);
  EXPECT_EQ(SendMessage(dlg, WM_USER + 1, 0, 0), 0);
  DestroyWindow(dlg);
}

TEST_F(Windows, DestroyingSendsDestroyParentFirstAndNcDestroyChildrenFirst) {
  HWND dlg = top();
  HWND kid = child(dlg, kTestClass, 1, 0, 0, 0, 5, 5);
  received().clear();
  ASSERT_TRUE(DestroyWindow(dlg));
  std::vector<std::pair<HWND, UINT>> order;
  for (auto& r : received())
    if (r.msg == WM_DESTROY || r.msg == WM_NCDESTROY) order.push_back({r.hwnd, r.msg});
  std::vector<std::pair<HWND, UINT>> expected{
      {dlg, WM_DESTROY}, {kid, WM_DESTROY}, {kid, WM_NCDESTROY}, {dlg, WM_NCDESTROY}};
  EXPECT_EQ(order, expected);
  EXPECT_FALSE(IsWindow(dlg));
  EXPECT_FALSE(IsWindow(kid));
}

TEST_F(Windows, ADestroyedHandleAnswersNothingAndIsNotReused) {
  HWND dlg = top();
  HWND gone = child(dlg, kTestClass, 1, 0, 0, 0, 5, 5);
  DestroyWindow(gone);
  received().clear();
  EXPECT_EQ(SendMessage(gone, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessage(gone, WM_USER, 0, 0));
  EXPECT_FALSE(SetWindowText(gone, "x"));
  EXPECT_EQ(GetWindowLongPtr(gone, GWLP_USERDATA), 0);
  EXPECT_EQ(SetScrollPos(gone, SB_CTL, 3, TRUE), 0);
  EXPECT_FALSE(DestroyWindow(gone));
  EXPECT_TRUE(received().empty());
  // Windows made afterwards get handles of their own, even in the freed slots.
  std::vector<HWND> some;
  for (int i = 0; i < 200; ++i) some.push_back(child(dlg, kTestClass, 2, 0, 0, 0, 5, 5));
  for (HWND h : some) DestroyWindow(h);
  for (int i = 0; i < 200; ++i) EXPECT_NE(child(dlg, kTestClass, 3, 0, 0, 0, 5, 5), gone);
  EXPECT_FALSE(IsWindow(gone));
  received().clear();
  EXPECT_EQ(SendMessage(gone, WM_USER, 0, 0), 0);
  EXPECT_TRUE(received().empty());
}

TEST_F(Windows, AWindowMayDestroyItselfAndItsParentFromItsOwnProcedure) {
  HWND dlg = top();
  HWND button = child(dlg, kTestClass, 3, 0, 0, 0, 5, 5);
  handler() = [this, dlg](HWND h, UINT m, WPARAM, LPARAM, LRESULT*) {
    if (m == WM_USER) DestroyWindow(dlg);
    // Destroying again from the destruction messages does nothing more, and nothing new can be
    // made inside a window on its way out.
    if (m == WM_DESTROY) {
      EXPECT_TRUE(DestroyWindow(h));
      EXPECT_EQ(child(h, kTestClass, 9, 0, 0, 0, 1, 1), nullptr);
    }
    return false;
  };
  EXPECT_EQ(SendMessage(button, WM_USER, 0, 0), 0);
  EXPECT_FALSE(IsWindow(button));
  EXPECT_FALSE(IsWindow(dlg));
  auto got = messagesTo(button);
  EXPECT_EQ(std::count(got.begin(), got.end(), UINT(WM_DESTROY)), 1);
  EXPECT_EQ(got.back(), UINT(WM_NCDESTROY));
}

TEST_F(Windows, FocusMovesWithKillFocusThenSetFocusAndLeavesWithTheWindow) {
  HWND dlg = top();
  HWND a = child(dlg, kTestClass, 1, 0, 0, 0, 5, 5);
  HWND b = child(dlg, kTestClass, 2, 0, 0, 0, 5, 5);
  SetFocus(a);
  received().clear();
  EXPECT_EQ(SetFocus(b), a);
  ASSERT_EQ(received().size(), 2u);
  EXPECT_EQ(received()[0].hwnd, a);
  EXPECT_EQ(received()[0].msg, UINT(WM_KILLFOCUS));
  EXPECT_EQ(received()[0].wParam, reinterpret_cast<WPARAM>(b));
  EXPECT_EQ(received()[1].hwnd, b);
  EXPECT_EQ(received()[1].msg, UINT(WM_SETFOCUS));
  DestroyWindow(b);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(Windows, NestingStopsWhereWindowsStopsIt) {
  HWND h = top();
  int depth = 1;
  while (HWND k = child(h, kTestClass, 1, 0, 0, 0, 1, 1)) {
    h = k;
    if (++depth > 60) break;
  }
  EXPECT_EQ(depth, 50);
}

TEST_F(Windows, GeometryIsRelativeToTheParentAndHugeSizesAreCut) {
  HWND dlg = top(100, 100);
  MoveWindow(dlg, 10, 20, 100, 100, FALSE);
  HWND k = child(dlg, kTestClass, 1, 0, 5, 6, 7, 8);
  RECT r;
  GetWindowRect(k, &r);
  EXPECT_EQ(r.left, 15);
  EXPECT_EQ(r.top, 26);
  GetClientRect(k, &r);
  EXPECT_EQ(r.right, 7);
  EXPECT_EQ(r.bottom, 8);
  POINT p{16, 27};
  EXPECT_EQ(WindowFromPoint(p), k);
  MoveWindow(k, 0, 0, 1 << 30, 1 << 30, TRUE);
  GetClientRect(k, &r);
  EXPECT_EQ(r.right, 4096);
}

}  // namespace

#endif
