// Editing through the panel: the pass spinner and its undo, labels, and what happens when the panel
// or its material goes away first.
#include "panel_fixture.h"

namespace panel_test {
namespace {

TEST_F(MaterialPanel, ACancelledSpinnerDragPrintsFalseAndKeepsThePass) {
  params()->SetValue(whichPass, 0, 4);
  open();
  spinner(CC_SPINNER_BUTTONDOWN);
  setSpinner(9);
  spinner(CC_SPINNER_CHANGE);
  EXPECT_EQ(param(whichPass), 9);
  setSpinner(12);
  spinner(CC_SPINNER_CHANGE);
  EXPECT_EQ(param(whichPass), 12);
  spinner(CC_SPINNER_BUTTONUP, 0);
  EXPECT_EQ(listener(), "false\n");
  EXPECT_EQ(param(whichPass), 4);
  EXPECT_EQ(sim::undoDepth(), 0);
  ISpinnerControl* spin = GetISpinner(item(kPassSpinner));
  EXPECT_EQ(spin->GetIVal(), 4);
  ReleaseISpinner(spin);
}

TEST_F(MaterialPanel, AnAcceptedDragIsOneUndoStepThatUndoesAndRedoesAfterThePanelClosed) {
  open();
  spinner(CC_SPINNER_BUTTONDOWN);
  for (int v : {2, 3, 5}) {
    setSpinner(v);
    spinner(CC_SPINNER_CHANGE);
  }
  spinner(CC_SPINNER_BUTTONUP, 1);
  EXPECT_EQ(listener(), "");
  EXPECT_EQ(param(whichPass), 5);
  EXPECT_EQ(sim::undoLabel(), "QZMMaterial Spinner Change");
  close();
  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(param(whichPass), 1);
  ASSERT_TRUE(sim::redo());
  EXPECT_EQ(param(whichPass), 5);
}

TEST_F(MaterialPanel, APassTypedIntoTheFieldIsAcceptedByEnter) {
  open();
  setSpinner(7);
  spinner(CC_SPINNER_CHANGE);
  enter(kPassEdit);
  EXPECT_EQ(param(whichPass), 7);
  EXPECT_EQ(sim::undoLabel(), "QZMMaterial Spinner Change");
  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(param(whichPass), 1);
}

TEST_F(MaterialPanel, ALabelIsCommittedByEnterIntoTheSlotOfItsRow) {
  open();
  scroll(SB_THUMBPOSITION, 20);
  setLabelField(3, "Shadow");
  enter(kLabelFields[3]);
  EXPECT_STREQ(params()->GetStr(labels, 0, 23), "Shadow");
  // Without the focus the field lets the rows refresh again at once.
  params()->SetValue(materialArray, 0, static_cast<ReferenceTarget*>(coloured(Color(1.0f, 1.0f, 0.0f), "Gold")), 20);
  EXPECT_EQ(text(kSlotButtons[0]), "Gold ( Standard )");
}

TEST_F(MaterialPanel, WhileTheCommittedFieldKeepsTheFocusTheRowsAreNotRefreshed) {
  open();
  SetFocus(item(kLabelFields[0]));
  setLabelField(0, "Beauty");
  enter(kLabelFields[0]);
  EXPECT_STREQ(params()->GetStr(labels, 0, 0), "Beauty");
  params()->SetValue(materialArray, 0, static_cast<ReferenceTarget*>(coloured(Color(1.0f, 1.0f, 0.0f), "Gold")), 1);
  EXPECT_EQ(text(kSlotButtons[1]), "None");
  // A later commit from a field without the focus ends it.
  SetFocus(item(kSlotButtons[5]));
  setLabelField(2, "Matte");
  enter(kLabelFields[2]);
  params()->SetValue(labels, 0, "Again", 4);
  EXPECT_EQ(text(kSlotButtons[1]), "Gold ( Standard )");
  EXPECT_EQ(text(kLabelFields[4]), "Again");
}

TEST_F(MaterialPanel, LabelsAreCutTo199BytesWithoutSplittingACharacter) {
  open();
  setLabelField(0, std::string(300, 'x'));
  enter(kLabelFields[0]);
  EXPECT_EQ(std::string(params()->GetStr(labels, 0, 0)), std::string(199, 'x'));
  std::string accented = std::string(198, 'a') + "\xC3\xA9" + "b";  // e acute across byte 199
  setLabelField(1, accented);
  enter(kLabelFields[1]);
  EXPECT_EQ(std::string(params()->GetStr(labels, 0, 1)), std::string(198, 'a'));
  setLabelField(2, "Z\xC3\xBCrich");
  enter(kLabelFields[2]);
  EXPECT_STREQ(params()->GetStr(labels, 0, 2), "Z\xC3\xBCrich");
}

TEST_F(MaterialPanel, MessagesToAClosedPanelDoNothing) {
  open();
  HWND oldPage = page;
  HWND oldButton = item(kSlotButtons[0]);
  close();
  EXPECT_EQ(SendMessage(oldPage, WM_VSCROLL, SB_PAGEDOWN, 0), 0);
  EXPECT_EQ(SendMessage(oldButton, WM_COMMAND, 0, 0), 0);
  EXPECT_EQ(param(uiOffset), 0);
  params()->SetValue(uiOffset, 0, 4);  // the material no longer reaches for the panel
  sim::ui::pumpMessages();
}

TEST_F(MaterialPanel, APanelOutlivesItsDeletedMaterialAndClosesLater) {
  open();
  material->DeleteMe();
  material = nullptr;
  EXPECT_EQ(scroll(SB_PAGEDOWN), 0);
  InvalidateRect(page, nullptr, FALSE);
  InvalidateRect(item(kFirstStamp), nullptr, FALSE);
  sim::ui::pumpMessages();
  EXPECT_EQ(dlg->FindSubMtlFromHWND(item(kSlotButtons[0])), -1);
  dlg->SetTime(100);
  dlg->ReloadDialog();
  close();
}

TEST_F(MaterialPanel, AResetMaterialLetsItsPanelGo) {
  open();
  material->Reset();
  params()->SetValue(uiOffset, 0, 30);
  EXPECT_EQ(text(kFirstPassNumber), "1");
  dlg->SetThing(material);
  EXPECT_EQ(text(kFirstPassNumber), "31");
}

TEST_F(MaterialPanel, AMaterialDeletedAfterAResetLeavesNoPanelPointingAtIt) {
  open();
  material->Reset();
  material->DeleteMe();
  material = nullptr;
  EXPECT_EQ(scroll(SB_PAGEDOWN), 0);
  EXPECT_EQ(dlg->FindSubMtlFromHWND(item(kSlotButtons[0])), -1);
  close();
}

}  // namespace
}  // namespace panel_test
