// The panel's rows and scrolling: which slots the 15 rows show, what a row's button asks the editor,
// and which window belongs to which slot.
#include "panel_fixture.h"

namespace panel_test {
namespace {

TEST_F(MaterialPanel, OpeningShowsTheFirstFifteenSlotsAndTheScrollBarsRange) {
  params()->SetValue(materialArray, 0, static_cast<ReferenceTarget*>(coloured(Color(1.0f, 0.0f, 0.0f), "Red")), 1);
  params()->SetValue(labels, 0, "Beauty", 1);
  open();
  EXPECT_EQ(text(kFirstPassNumber), "1");
  EXPECT_EQ(text(kFirstPassNumber + 14), "15");
  EXPECT_EQ(text(kSlotButtons[0]), "None");
  EXPECT_EQ(text(kSlotButtons[1]), "Red ( Standard )");
  EXPECT_EQ(text(kLabelFields[1]), "Beauty");
  int low = -1, high = -1;
  GetScrollRange(item(kScrollBar), SB_CTL, &low, &high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 84);
}

TEST_F(MaterialPanel, PagesStopAtTheEndsAndTheThumbIsKeptWithinTheSlots) {
  open();
  params()->SetValue(uiOffset, 0, 80);
  scroll(SB_PAGEDOWN);
  EXPECT_EQ(param(uiOffset), 86);
  EXPECT_EQ(GetScrollPos(item(kScrollBar), SB_CTL), 84);  // the bar's own range ends before
  params()->SetValue(uiOffset, 0, 3);
  scroll(SB_PAGEUP);
  EXPECT_EQ(param(uiOffset), 0);
  scroll(SB_LINEUP);
  EXPECT_EQ(param(uiOffset), 0);
  scroll(SB_THUMBPOSITION, 120);
  EXPECT_EQ(param(uiOffset), 86);
  scroll(SB_THUMBTRACK, -4);  // the position is a signed word
  EXPECT_EQ(param(uiOffset), 0);
  scroll(SB_LINEDOWN);
  EXPECT_EQ(param(uiOffset), 1);
  scroll(SB_ENDSCROLL, 50);
  EXPECT_EQ(param(uiOffset), 1);
}

TEST_F(MaterialPanel, AtTheLastOffsetTheRowsShowPasses87To101) {
  params()->SetValue(materialArray, 0, static_cast<ReferenceTarget*>(coloured(Color(0.0f, 1.0f, 0.0f), "Last")), 100);
  open();
  scroll(SB_THUMBPOSITION, 86);
  for (int r = 0; r < 15; ++r) EXPECT_EQ(text(kFirstPassNumber + r), std::to_string(87 + r));
  EXPECT_EQ(text(kSlotButtons[14]), "Last ( Standard )");
}

// A script may store any offset; the rows still read only the 101 slots.
TEST_F(MaterialPanel, AnOffsetStoredOutsideTheSlotsIsReadAsTheNearestEnd) {
  open();
  params()->SetValue(uiOffset, 0, 5000);  // the material refreshes the rows of its open panel
  EXPECT_EQ(text(kFirstPassNumber), "87");
  EXPECT_EQ(text(kFirstPassNumber + 14), "101");
  EXPECT_EQ(dlg->FindSubMtlFromHWND(item(kSlotButtons[0])), 86);
  params()->SetValue(uiOffset, 0, -7);
  sim::ui::pumpMessages();
  EXPECT_EQ(text(kFirstPassNumber), "1");
  scroll(SB_LINEUP);
  EXPECT_EQ(param(uiOffset), 0);
}

TEST_F(MaterialPanel, ARowsSlotButtonAsksTheEditorToOpenThatSlot) {
  open();
  params()->SetValue(uiOffset, 0, 10);
  command(kSlotButtons[4]);
  EXPECT_TRUE(postedOpens().empty());  // posted, not sent
  sim::ui::pumpMessages();
  ASSERT_EQ(postedOpens().size(), 1u);
  EXPECT_EQ(postedOpens()[0].slot, 14u);
  EXPECT_EQ(postedOpens()[0].material, reinterpret_cast<LPARAM>(material));
}

TEST_F(MaterialPanel, OnlySlotButtonsBelongToSlots) {
  open();
  params()->SetValue(uiOffset, 0, 5);
  EXPECT_EQ(dlg->FindSubMtlFromHWND(item(kSlotButtons[2])), 7);
  EXPECT_EQ(dlg->FindSubMtlFromHWND(item(kLabelFields[2])), -1);
  EXPECT_EQ(dlg->FindSubMtlFromHWND(item(kFirstStamp + 2)), -1);
  EXPECT_EQ(dlg->FindSubMtlFromHWND(nullptr), -1);
}

TEST_F(MaterialPanel, TheCheckButtonSetsActiveStampOnly) {
  open();
  ICustButton* check = GetICustButton(item(kActiveStampOnly));
  ASSERT_NE(check, nullptr);
  check->SetCheck(TRUE);
  command(kActiveStampOnly);
  EXPECT_EQ(param(activeStampOnly), 1);
  check->SetCheck(FALSE);
  enter(kActiveStampOnly);
  ReleaseICustButton(check);
  EXPECT_EQ(param(activeStampOnly), 0);
  EXPECT_EQ(listener(), "WM_CUSTEDIT_ENTER, IDC_ONLYACTIVESTAMP\n");
}

}  // namespace
}  // namespace panel_test
