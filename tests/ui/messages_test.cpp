// The headless window model; on Windows the windows are the system's.
#if !defined(_WIN32)
#include "ui_fixture.h"

#include <algorithm>

using namespace uitest;

namespace {

using Messages = UiTest;

TEST_F(Messages, PostedMessagesWaitForThePumpAndRunInOrder) {
  HWND w = top();
  sim::ui::pumpMessages();
  received().clear();
  ASSERT_TRUE(PostMessage(w, WM_USER + 1, 14, 0));
  ASSERT_TRUE(PostMessage(w, WM_USER + 2, 0, 0));
  EXPECT_TRUE(received().empty());
  EXPECT_EQ(sim::ui::pumpMessages(), 2);
  ASSERT_EQ(received().size(), 2u);
  EXPECT_EQ(received()[0].msg, UINT(WM_USER + 1));
  EXPECT_EQ(received()[0].wParam, 14u);
  EXPECT_EQ(received()[1].msg, UINT(WM_USER + 2));
}

TEST_F(Messages, AMessagePostedToAWindowDestroyedMeanwhileIsDropped) {
  HWND w = top();
  HWND k = child(w, kTestClass, 1, 0, 0, 0, 5, 5);
  sim::ui::pumpMessages();
  PostMessage(k, WM_USER, 0, 0);
  DestroyWindow(k);
  received().clear();
  sim::ui::pumpMessages();
  EXPECT_TRUE(messagesTo(k).empty());
}

TEST_F(Messages, AWindowThatRepostsForeverDoesNotHangThePump) {
  HWND w = top();
  sim::ui::pumpMessages();
  handler() = [](HWND h, UINT m, WPARAM, LPARAM, LRESULT*) {
    if (m == WM_USER) PostMessage(h, WM_USER, 0, 0);
    return false;
  };
  PostMessage(w, WM_USER, 0, 0);
  EXPECT_EQ(sim::ui::pumpMessages(), sim::ui::kMaxPumpedMessages);
  handler() = nullptr;
  EXPECT_EQ(sim::ui::pumpMessages(), 1);
}

TEST_F(Messages, APeekedMessageStaysUnlessRemovedAndGetMessageEndsWhenNothingIsLeft) {
  HWND w = top();
  sim::ui::pumpMessages();
  PostMessage(w, WM_USER, 1, 0);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
  ASSERT_TRUE(GetMessage(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, UINT(WM_USER));
  EXPECT_FALSE(GetMessage(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, UINT(WM_QUIT));
}

TEST_F(Messages, SendingItselfWithoutEndRunsOutOfDepthNotStack) {
  HWND w = top();
  handler() = [](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
    if (m != WM_USER) return false;
    *r = SendMessage(h, WM_USER, 0, 0) + 1;
    return true;
  };
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 1000);
}

using Paints = UiTest;

TEST_F(Paints, InvalidatedWindowsArePaintedOnceByThePumpWithTheirUpdateRectangle) {
  HWND w = top(40, 30);
  sim::ui::pumpMessages();
  std::vector<RECT> painted;
  std::vector<BOOL> erased;
  handler() = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT*) {
    if (m != WM_PAINT) return false;
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    painted.push_back(ps.rcPaint);
    erased.push_back(ps.fErase);
    EndPaint(h, &ps);
    return true;
  };
  RECT a{0, 0, 10, 10}, b{5, 5, 20, 12};
  InvalidateRect(w, &a, FALSE);
  InvalidateRect(w, &b, FALSE);
  sim::ui::pumpMessages();
  ASSERT_EQ(painted.size(), 1u);
  EXPECT_EQ(painted[0].right, 20);
  EXPECT_EQ(painted[0].bottom, 12);
  // Erased by the class background, so the window need not erase.
  InvalidateRect(w, nullptr, TRUE);
  EXPECT_EQ(messagesTo(w).back(), UINT(WM_PAINT));
  sim::ui::pumpMessages();
  ASSERT_EQ(painted.size(), 2u);
  EXPECT_FALSE(erased[1]);
  // The paint asks for the erase from inside BeginPaint.
  EXPECT_EQ(messagesTo(w).end()[-2], UINT(WM_PAINT));
  EXPECT_EQ(messagesTo(w).back(), UINT(WM_ERASEBKGND));
  EXPECT_EQ(sim::ui::pumpMessages(), 0);
}

TEST_F(Paints, AWindowThatNeverValidatesIsNotAskedAgainAndHiddenOnesAreNotPainted) {
  HWND w = top();
  HWND hidden = CreateWindowEx(0, kTestClass, "", WS_CHILD, 0, 0, 5, 5, w, nullptr, nullptr, nullptr);
  sim::ui::pumpMessages();
  handler() = [](HWND, UINT m, WPARAM, LPARAM, LRESULT*) { return m == WM_PAINT; };
  InvalidateRect(w, nullptr, FALSE);
  InvalidateRect(hidden, nullptr, FALSE);
  EXPECT_EQ(sim::ui::pumpMessages(), 1);
  EXPECT_EQ(sim::ui::pumpMessages(), 0);
  EXPECT_TRUE(messagesTo(hidden).empty() || messagesTo(hidden).back() != WM_PAINT);
}

TEST_F(Paints, InvalidatingAParentRepaintsTheChildrenItCovers) {
  HWND w = top(40, 30);
  HWND in = child(w, kTestClass, 1, 0, 0, 0, 10, 10);
  HWND out = child(w, kTestClass, 2, 0, 20, 20, 10, 10);
  sim::ui::pumpMessages();
  received().clear();
  RECT r{0, 0, 12, 12};
  InvalidateRect(w, &r, TRUE);
  sim::ui::pumpMessages();
  auto got = messagesTo(in);
  EXPECT_NE(std::find(got.begin(), got.end(), UINT(WM_PAINT)), got.end());
  EXPECT_TRUE(messagesTo(out).empty());
}

TEST_F(Messages, ScrollPositionsStayInTheirRange) {
  HWND w = top();
  HWND bar = child(w, "ScrollBar", 1004, SBS_VERT, 30, 0, 8, 30);
  EXPECT_TRUE(SetScrollRange(bar, SB_CTL, 0, 84, FALSE));
  EXPECT_EQ(SetScrollPos(bar, SB_CTL, 86, TRUE), 0);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 84);
  SetScrollPos(bar, SB_CTL, -3, TRUE);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
  int lo = -1, hi = -1;
  SendMessage(bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
  EXPECT_EQ(hi, 84);
  // Only a scroll bar control has SB_CTL.
  EXPECT_FALSE(SetScrollRange(w, SB_CTL, 0, 5, FALSE));
}

TEST_F(Messages, ClickingAScrollBarTellsItsParentAndLeavesThePositionToIt) {
  HWND w = top(40, 100);
  HWND bar = child(w, "ScrollBar", 1004, SBS_VERT, 30, 0, 8, 100);
  SetScrollRange(bar, SB_CTL, 0, 84, FALSE);
  SetScrollPos(bar, SB_CTL, 0, FALSE);
  received().clear();
  auto click = [&](int y) {
    SendMessage(bar, WM_LBUTTONDOWN, 0, MAKELPARAM(4, y));
    SendMessage(bar, WM_LBUTTONUP, 0, MAKELPARAM(4, y));
  };
  click(2);   // the upper arrow
  click(97);  // the lower arrow
  click(60);  // the track below the thumb
  std::vector<int> codes;
  for (auto& r : received())
    if (r.msg == WM_VSCROLL) {
      codes.push_back(LOWORD(r.wParam));
      EXPECT_EQ(r.lParam, reinterpret_cast<LPARAM>(bar));
    }
  std::vector<int> expected{SB_LINEUP, SB_ENDSCROLL, SB_LINEDOWN, SB_ENDSCROLL, SB_PAGEDOWN, SB_ENDSCROLL};
  EXPECT_EQ(codes, expected);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
}

TEST_F(Messages, AButtonClickNotifiesItsParentAndAnAutoCheckBoxToggles) {
  HWND w = top();
  HWND check = child(w, "Button", 1020, BS_AUTOCHECKBOX, 0, 0, 30, 10, "Update Active Stamp Only");
  received().clear();
  SendMessage(check, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessage(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(w, 1020), UINT(BST_CHECKED));
  ASSERT_FALSE(received().empty());
  EXPECT_EQ(received().back().msg, UINT(WM_COMMAND));
  EXPECT_EQ(received().back().wParam, MAKEWPARAM(1020, BN_CLICKED));
  EnableWindow(check, FALSE);
  received().clear();
  SendMessage(check, BM_CLICK, 0, 0);
  EXPECT_TRUE(received().empty());
}

}  // namespace

#endif
