// The panel in the host's material editor: a slot button opens its sub-material in the editor, and
// a drag from one slot button to another moves the material as one undoable step.
#include "panel_fixture.h"
#include "ui/drag_drop.h"
#include "ui/material_editor.h"

namespace panel_test {
namespace {

// The descendant of `parent` with control id `id`.
HWND findControl(HWND parent, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        if (GetDlgCtrlID(hwnd) != s->id) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class PanelInEditor : public MaterialPanel {
 protected:
  void TearDown() override {
    sim::ui::closeMaterialEditor();
    MaterialPanel::TearDown();
  }
  HWND control(int id) { return findControl(sim::ui::materialEditorWindow(), id); }
};

TEST_F(PanelInEditor, ASlotButtonOpensItsSubMaterialInTheEditor) {
  Mtl* sub = coloured(Color(0.0f, 1.0f, 0.0f), "Fifteen");
  params()->SetValue(materialArray, 0, static_cast<ReferenceTarget*>(sub), 14);
  params()->SetValue(uiOffset, 0, 10);
  ASSERT_TRUE(sim::ui::openMaterialEditor(material));
  sim::ui::pumpMessages();
  HWND button = control(kSlotButtons[4]);
  ASSERT_NE(button, nullptr);
  SendMessage(GetParent(button), WM_COMMAND, MAKEWPARAM(kSlotButtons[4], BN_CLICKED), reinterpret_cast<LPARAM>(button));
  sim::ui::pumpMessages();
  EXPECT_EQ(sim::ui::materialEditorMaterial(), sub);
  ASSERT_TRUE(sim::ui::materialEditorGoToParent());
  EXPECT_EQ(sim::ui::materialEditorMaterial(), material);
}

TEST_F(PanelInEditor, ADropBetweenSlotButtonsIsOneStepThatUndoesAndRedoes) {
  Mtl* red = coloured(Color(1.0f, 0.0f, 0.0f), "Red");
  params()->SetValue(materialArray, 0, static_cast<ReferenceTarget*>(red), 0);
  ASSERT_TRUE(sim::ui::openMaterialEditor(material));
  sim::ui::pumpMessages();
  ASSERT_TRUE(sim::ui::dragWindowToWindow(control(kSlotButtons[0]), control(kSlotButtons[3])));
  sim::ui::pumpMessages();
  EXPECT_EQ(material->GetSubMtl(3), red);
  char name[64] = "";
  GetWindowText(control(kSlotButtons[3]), name, sizeof name);
  EXPECT_STREQ(name, "Red ( Standard )");

  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(material->GetSubMtl(3), nullptr);
  GetWindowText(control(kSlotButtons[3]), name, sizeof name);
  EXPECT_STREQ(name, "None");
  ASSERT_TRUE(sim::redo());
  EXPECT_EQ(material->GetSubMtl(3), red);
}

}  // namespace
}  // namespace panel_test
