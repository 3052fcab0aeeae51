// Filling a list controller up to a slot in one change, and the names its entries share.
#include "core/undo_stack.h"
#include "hold.h"
#include "scene/controllers/controllers.h"
#include "scene/scene_fixture.h"
#include "support/test_objects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class ListFill : public test::SceneFixture {
 protected:
  Control* floatList() { return create<Control>(CTRL_FLOAT_CLASS_ID, Class_ID(FLOATLIST_CONTROL_CLASS_ID, 0)); }
  Control* bezierFloat() { return create<Control>(CTRL_FLOAT_CLASS_ID, Class_ID(HYBRIDINTERP_FLOAT_CLASS_ID, 0)); }
  static IListControl* iface(Control* c) { return GetIListControlInterface(c); }

  // What a list shows: each entry's controller and name, and the active index.
  struct Shown {
    std::vector<Control*> ctrls;
    std::vector<std::string> names;
    int active;
    bool operator==(const Shown& o) const { return ctrls == o.ctrls && names == o.names && active == o.active; }
  };
  static Shown shown(Control* list) {
    Shown s{{}, {}, iface(list)->GetActive()};
    for (int i = 0; i < iface(list)->GetListCount(); ++i) {
      s.ctrls.push_back(iface(list)->GetSubCtrl(i));
      s.names.push_back(iface(list)->GetName(i).str());
    }
    return s;
  }
  static int count(const test::Thing& watcher, RefMessage msg) {
    return static_cast<int>(std::count(watcher.received.begin(), watcher.received.end(), msg));
  }
};

TEST_F(ListFill, AFillGivesWhatFillingEntryByEntryGivesWithOneChangeMessage) {
  Control* first = bezierFloat();
  Control* captured = bezierFloat();
  Control* byEntry = floatList();
  Control* filled = floatList();
  for (Control* list : {byEntry, filled}) {
    ASSERT_TRUE(list->AssignController(first, 0));
    iface(list)->SetActive(0);
  }
  for (int i = 1; i < 6; ++i) {
    ASSERT_TRUE(byEntry->AssignController(captured, i));
    iface(byEntry)->SetName(i, i < 5 ? "Null" : "Captured");
  }
  auto* watcher = new test::Thing("watcher", 1);
  watcher->ReplaceReference(0, filled);

  ASSERT_TRUE(iface(filled)->AssignPadded(captured, 5, "Null", "Captured"));
  EXPECT_TRUE(shown(filled) == shown(byEntry));
  EXPECT_EQ(iface(filled)->GetSubCtrl(3), captured) << "the same controller, not a copy";
  EXPECT_EQ(count(*watcher, REFMSG_SUBANIM_STRUCTURE_CHANGED), 1);
  EXPECT_EQ(count(*watcher, REFMSG_CHANGE), 1);

  // Below the count the entry is replaced and renamed, the list keeps its length.
  ASSERT_TRUE(iface(filled)->AssignPadded(first, 2, "Null", "Again"));
  EXPECT_EQ(iface(filled)->GetListCount(), 6);
  EXPECT_EQ(iface(filled)->GetSubCtrl(2), first);
  EXPECT_EQ(iface(filled)->GetName(2).str(), "Again");
  EXPECT_EQ(iface(filled)->GetName(3).str(), "Null");
  byEntry->DeleteMe();
  filled->DeleteMe();
  watcher->DeleteMe();
}

TEST_F(ListFill, ARefusedFillChangesNothingAndTellsNobody) {
  Control* list = floatList();
  Control* outer = floatList();
  ASSERT_TRUE(outer->AssignController(list, 0));
  Control* point = NewDefaultPoint3Controller();
  auto* watcher = new test::Thing("watcher", 1);
  watcher->ReplaceReference(0, list);
  EXPECT_FALSE(iface(list)->AssignPadded(point, 3, "Null", "Captured")) << "a point3 does not fit a float list";
  EXPECT_FALSE(iface(list)->AssignPadded(outer, 3, "Null", "Captured")) << "that would make a loop";
  EXPECT_FALSE(iface(list)->AssignPadded(list, 0, "Null", "Captured"));
  Control* refused = bezierFloat();
  EXPECT_FALSE(iface(list)->AssignPadded(refused, -1, "Null", "Captured"));
  EXPECT_FALSE(iface(list)->AssignPadded(nullptr, 2, "Null", "Captured"));
  EXPECT_EQ(iface(list)->GetListCount(), 0);
  EXPECT_TRUE(watcher->received.empty());
  watcher->DeleteMe();
  point->DeleteMe();
  outer->DeleteMe();
  refused->DeleteMe();
}

TEST_F(ListFill, AFillIsOneUndoStepThatPutsTheListBackAsItWas) {
  Control* list = floatList();
  Control* first = bezierFloat();
  Control* captured = bezierFloat();
  ASSERT_TRUE(list->AssignController(first, 0));
  iface(list)->SetName(0, "Mine");
  const Shown before = shown(list);
  const int depth = sim::undoDepth();

  theHold.Begin();
  ASSERT_TRUE(iface(list)->AssignPadded(captured, 40, "Null", "Captured"));
  theHold.Accept("fill");
  const Shown after = shown(list);
  ASSERT_EQ(after.ctrls.size(), 41u);
  EXPECT_EQ(sim::undoDepth(), depth + 1);

  ASSERT_TRUE(sim::undo());
  EXPECT_TRUE(shown(list) == before);
  ASSERT_TRUE(sim::redo());
  EXPECT_TRUE(shown(list) == after);
  ASSERT_TRUE(sim::undo());
  EXPECT_TRUE(shown(list) == before);
  sim::flushUndo();
  list->DeleteMe();
}

TEST_F(ListFill, EntriesShareTheirNamesAndAnEmptyNameIsStillAName) {
  const size_t texts = sim::ListEntryName::distinctTexts();
  Control* list = floatList();
  Control* other = floatList();
  Control* c = bezierFloat();
  ASSERT_TRUE(iface(list)->AssignPadded(c, 999, "pad name seen nowhere else", "last name seen nowhere else"));
  ASSERT_TRUE(iface(other)->AssignPadded(c, 9, "pad name seen nowhere else", "last name seen nowhere else"));
  EXPECT_EQ(sim::ListEntryName::distinctTexts(), texts + 2) << "a thousand entries, two texts";
  EXPECT_EQ(iface(list)->GetName(500).str(), "pad name seen nowhere else");

  iface(list)->SetName(3, "");
  EXPECT_EQ(iface(list)->GetName(3).str(), "") << "named empty, not shown by its class";
  list->DeleteMe();
  EXPECT_EQ(sim::ListEntryName::distinctTexts(), texts + 2) << "the other list still uses both";
  other->DeleteMe();
  EXPECT_EQ(sim::ListEntryName::distinctTexts(), texts) << "the texts go with the last entries using them";
}

}  // namespace
