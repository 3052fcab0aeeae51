// The material editor opening materials and sub-materials, and drops between slot buttons.
#include "core/undo_stack.h"
#include "hold.h"
#include "scene/materials/stdmat.h"
#include "scene/scene_fixture.h"
#include "ui/drag_drop.h"
#include "ui/material_editor.h"
#include "ui/ui.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string text(HWND hwnd) {
  char buf[256] = {};
  GetWindowText(hwnd, buf, int(sizeof buf));
  return buf;
}

class MaterialEditor : public test::SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    multi = create<Mtl>(MATERIAL_CLASS_ID, Class_ID(0x200, 0));
    ASSERT_NE(multi, nullptr);
    holder.SetRef(multi);
    for (int i = 0; i < 2; ++i) {
      StdMat* s = NewDefaultStdMat();
      s->SetName(i == 0 ? "Red" : "Blue");
      multi->SetSubMtl(i, s);
    }
    multi->SetName("Top");
  }
  void TearDown() override {
    sim::ui::closeMaterialEditor();
    holder.SetRef(nullptr);
    SceneFixture::TearDown();
  }
  HWND nameField() { return GetDlgItem(sim::ui::materialEditorWindow(), sim::ui::kMtlEditorNameId); }

  SingleRefMaker holder;
  Mtl* multi = nullptr;
};

TEST_F(MaterialEditor, AMaterialWithoutAPanelGetsAPageWithItsName) {
  ASSERT_TRUE(sim::ui::openMaterialEditor(multi));
  HWND editor = sim::ui::materialEditorWindow();
  ASSERT_TRUE(IsWindow(editor));
  EXPECT_EQ(sim::ui::materialEditorMaterial(), multi);
  EXPECT_EQ(text(nameField()), "Top");
  bool pageFound = false;
  for (HWND h = GetWindow(editor, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    if (text(h) == "Top" && h != nameField()) pageFound = true;
  EXPECT_TRUE(pageFound);
  EXPECT_FALSE(sim::ui::openMaterialEditor(nullptr));
}

TEST_F(MaterialEditor, TheSubMaterialMessageOpensTheSlotInPlaceOfItsParentAndTheWayBack) {
  sim::ui::openMaterialEditor(multi);
  HWND editor = sim::ui::materialEditorWindow();
  PostMessage(editor, WM_SUB_MTL_BUTTON, 1, reinterpret_cast<LPARAM>(multi));
  sim::ui::pumpMessages();
  ASSERT_EQ(sim::ui::materialEditorMaterial(), multi->GetSubMtl(1));
  EXPECT_EQ(text(nameField()), "Blue");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(editor, sim::ui::kMtlEditorParentId)));
  SendMessage(GetDlgItem(editor, sim::ui::kMtlEditorParentId), BM_CLICK, 0, 0);
  sim::ui::pumpMessages();
  EXPECT_EQ(sim::ui::materialEditorMaterial(), multi);
  EXPECT_FALSE(sim::ui::materialEditorGoToParent());
}

TEST_F(MaterialEditor, ASubMaterialMessageForAnotherMaterialOrSlotIsIgnored) {
  sim::ui::openMaterialEditor(multi);
  HWND editor = sim::ui::materialEditorWindow();
  int somewhere = 0;
  SendMessage(editor, WM_SUB_MTL_BUTTON, 1, reinterpret_cast<LPARAM>(&somewhere));
  SendMessage(editor, WM_SUB_MTL_BUTTON, 5000, reinterpret_cast<LPARAM>(multi));
  SendMessage(editor, WM_SUB_MTL_BUTTON, WPARAM(-1), reinterpret_cast<LPARAM>(multi));
  EXPECT_EQ(sim::ui::materialEditorMaterial(), multi);
}

TEST_F(MaterialEditor, DeletingTheShownMaterialClosesItsPanel) {
  sim::ui::openMaterialEditor(multi);
  PostMessage(sim::ui::materialEditorWindow(), WM_SUB_MTL_BUTTON, 0, reinterpret_cast<LPARAM>(multi));
  sim::ui::pumpMessages();
  Mtl* red = multi->GetSubMtl(0);
  red->DeleteMe();
  EXPECT_EQ(sim::ui::materialEditorMaterial(), nullptr);
  sim::ui::pumpMessages();
  EXPECT_EQ(sim::ui::materialEditorMaterial(), nullptr);
  EXPECT_TRUE(sim::ui::openMaterialEditor(multi));
  EXPECT_EQ(sim::ui::materialEditorMaterial(), multi);
}

// A panel of two slot buttons over the first two slots of a material.
class TwoSlotDlg : public ParamDlg {
 public:
  TwoSlotDlg(Mtl* m, HWND a, HWND b) : m_(m), a_(a), b_(b) {}
  Class_ID ClassID() override { return m_->ClassID(); }
  void SetThing(ReferenceTarget*) override {}
  ReferenceTarget* GetThing() override { return m_; }
  void SetTime(TimeValue) override {}
  void ReloadDialog() override {}
  void DeleteThis() override {}
  void ActivateDlg(BOOL) override {}
  int FindSubMtlFromHWND(HWND hwnd) override { return hwnd == a_ ? 0 : hwnd == b_ ? 1 : -1; }

 private:
  Mtl* m_;
  HWND a_, b_;
};

TEST_F(MaterialEditor, ADragFromOneSlotButtonToAnotherDropsTheMaterialUndoably) {
  InitCustomControls(nullptr);
  HWND page = CreateWindowEx(0, "Static", "", WS_POPUP | WS_VISIBLE, 500, 500, 200, 60, nullptr, nullptr, nullptr,
                             nullptr);
  HWND a = CreateWindowEx(0, "CustButton", "Red", WS_CHILD | WS_VISIBLE, 0, 0, 90, 20, page, nullptr, nullptr, nullptr);
  HWND b = CreateWindowEx(0, "CustButton", "Blue", WS_CHILD | WS_VISIBLE, 100, 0, 90, 20, page, nullptr, nullptr,
                          nullptr);
  HWND other = CreateWindowEx(0, "CustButton", "", WS_CHILD | WS_VISIBLE, 0, 30, 90, 20, page, nullptr, nullptr,
                              nullptr);
  TwoSlotDlg dlg(multi, a, b);
  MtlDADMgr dad(&dlg);
  for (HWND h : {a, b, other}) {
    ICustButton* button = GetICustButton(h);
    button->SetDADMgr(&dad);
    ReleaseICustButton(button);
  }
  Mtl* red = multi->GetSubMtl(0);
  Mtl* blue = multi->GetSubMtl(1);
  sim::flushUndo();

  EXPECT_TRUE(sim::ui::dragWindowToWindow(a, b));
  EXPECT_EQ(multi->GetSubMtl(1), red);
  EXPECT_EQ(multi->GetSubMtl(0), red);
  EXPECT_FALSE(theHold.Holding());
  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(multi->GetSubMtl(1), blue);

  // A button that shows no slot neither gives nor takes.
  sim::ui::dragWindowToWindow(other, b);
  sim::ui::dragWindowToWindow(a, other);
  EXPECT_EQ(multi->GetSubMtl(0), red);
  EXPECT_EQ(multi->GetSubMtl(1), blue);
  DestroyWindow(page);
  EXPECT_FALSE(sim::ui::dragWindowToWindow(a, b));
}

}  // namespace
