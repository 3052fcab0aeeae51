// The holder's rollout as the command panel makes it: each opening gets a procedure of its own,
// the block's changes show in the controls, and a small known rollout looks as stored.
#include "bitmap.h"
#include "bitmap/image_files.h"
#include "core/class_registry.h"
#include "core/plugin_loader.h"
#include "core/undo_stack.h"
#include "custcont.h"
#include "iparamb2.h"
#include "object.h"
#include "ui/command_panel.h"
#include "ui/ui.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include "support/stored_picture.h"
#include "support/holder_module_suite.h"

namespace {

const Class_ID kHolderClass(0xa5d9dbeb, 0x5710a701);
enum { whichPass = 0, viewportIcon = 2, iconsize = 3 };

struct BitmapDeleter {
  void operator()(Bitmap* b) const {
    if (b) b->DeleteThis();
  }
};
using BitmapPtr = std::unique_ptr<Bitmap, BitmapDeleter>;

class HolderRollout : public test::HolderModuleSuite {
 protected:
  void SetUp() override { sim::ui::setCommandPanelModifyMode(true); }
  void TearDown() override {
    sim::ui::setCommandPanelModifyMode(false);
    sim::ui::pumpMessages();
    sim::flushUndo();
    holders_.clear();
  }

  BaseObject* newHolder() {
    // The class descriptor makes a HelperObject.
    auto* h = static_cast<HelperObject*>(sim::createInstance(HELPER_CLASS_ID, kHolderClass));
    holders_.push_back(std::make_unique<SingleRefMaker>());
    holders_.back()->SetRef(h);
    return h;
  }
  // The rollout page: the only dialog in the panel.
  HWND page() {
    HWND panel = sim::ui::commandPanelWindow();
    for (HWND w = GetWindow(panel, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
      if (GetDlgItem(w, 1490)) return w;
    return nullptr;
  }
  std::string text(int id) {
    char buf[64] = {};
    GetWindowText(GetDlgItem(page(), id), buf, int(sizeof buf));
    return buf;
  }

  std::vector<std::unique_ptr<SingleRefMaker>> holders_;
};

TEST_F(HolderRollout, EachOpeningServesItsOwnHolderAndClosingRemovesTheRollout) {
  BaseObject* first = newHolder();
  BaseObject* second = newHolder();
  first->GetParamBlock(0)->SetValue(whichPass, 0, 7);
  second->GetParamBlock(0)->SetValue(whichPass, 0, 9);
  auto* cd = dynamic_cast<ClassDesc2*>(sim::ClassRegistry::instance().findByInternalName("QZMPropHolder"));
  ASSERT_NE(cd, nullptr);

  sim::ui::commandPanelEdit(first);
  ASSERT_NE(page(), nullptr);
  EXPECT_EQ(text(1490), "7");
  ParamMap2UserDlgProc* firstProc = cd->GetParamMap(cd->GetParamBlockDesc(0))->GetUserDlgProc();
  ASSERT_NE(firstProc, nullptr);

  sim::ui::commandPanelEdit(second);
  EXPECT_EQ(cd->NumParamMaps(), 1);
  EXPECT_EQ(text(1490), "9");
  EXPECT_NE(cd->GetParamMap(cd->GetParamBlockDesc(0))->GetUserDlgProc(), nullptr);
  // A change of the holder shown refreshes its control; one of the holder put away touches nothing.
  second->GetParamBlock(0)->SetValue(iconsize, 0, 3.5f);
  first->GetParamBlock(0)->SetValue(iconsize, 0, 8.0f);
  EXPECT_EQ(text(1491), "3.5");

  sim::ui::commandPanelEdit(nullptr);
  EXPECT_EQ(page(), nullptr);
  EXPECT_EQ(cd->NumParamMaps(), 0);
  EXPECT_EQ(cd->GetUserDlgProc(cd->GetParamBlockDesc(0)), nullptr);  // deleted with its rollout
}

#if !defined(_WIN32)
// The headless host draws the same pixels on every run; on Windows the page is a real window whose
// look is the system's.
TEST_F(HolderRollout, ASmallKnownRolloutLooksAsStored) {
  if (!sim::imageFilesAvailable()) GTEST_SKIP() << "this build reads no image files";
  BaseObject* h = newHolder();
  h->GetParamBlock(0)->SetValue(whichPass, 0, 5003);
  h->GetParamBlock(0)->SetValue(viewportIcon, 0, 1);
  h->GetParamBlock(0)->SetValue(iconsize, 0, 2.5f);
  sim::ui::commandPanelEdit(h);
  sim::ui::pumpMessages();
  BitmapPtr picture(sim::ui::snapshot(page()));
  ASSERT_NE(picture, nullptr);

  EXPECT_EQ(test::differenceFromStoredPicture(*picture, "tests/propholder/data/holder_rollout.png"), "");
}
#endif

}  // namespace
