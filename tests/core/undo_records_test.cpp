// Undo records and the objects they hold: what a record may point at, and that freeing records
// (cancel, release, trimmed or forgotten steps) never records into the hold being cut back.
#include "core/ref_graph.h"
#include "core/undo_stack.h"
#include "hold.h"
#include "support/test_objects.h"

#include <gtest/gtest.h>

using test::Thing;

namespace {

class UndoRecords : public ::testing::Test {
 protected:
  void SetUp() override { Thing::alive = 0; }
  void TearDown() override {
    sim::flushUndo();
    EXPECT_EQ(Thing::alive, 0) << "objects leaked or freed twice";
  }
  // A target nothing references yet, holding one of its own: deleting it drops that reference,
  // which is a change the reference system records whenever a hold is open.
  static Thing* holdingOne() {
    auto* t = new Thing("holds");
    theHold.Suspend();
    t->ReplaceReference(0, new Thing("held"));
    theHold.Resume();
    return t;
  }
};

TEST_F(UndoRecords, AKeeperOnTheStackLeavesNothingToUndo) {
  auto* owner = new Thing("owner");
  auto* t = new Thing("t");
  owner->ReplaceReference(1, t);
  theHold.Begin();
  {
    SingleRefMaker keeper;  // gone long before anyone could undo
    keeper.SetRef(t);
    keeper.SetRef(nullptr);
    keeper.SetRef(t);
  }
  theHold.Accept("watch");
  EXPECT_EQ(sim::undoDepth(), 0) << "a watcher's reference is not an edit";

  theHold.Begin();
  {
    SingleRefMaker keeper;
    keeper.SetRef(t);
    owner->ReplaceReference(0, t);
  }
  theHold.Accept("edit");
  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(owner->GetReference(0), nullptr);
  ASSERT_TRUE(sim::redo());
  EXPECT_EQ(owner->GetReference(0), t);
  owner->DeleteMe();
}

TEST_F(UndoRecords, CancelFreesItsRecordsWithoutRecordingIntoTheOpenHold) {
  auto* owner = new Thing("owner");
  theHold.Begin();
  owner->ReplaceReference(0, holdingOne());  // after the cancel only the record holds it
  theHold.Cancel();
  EXPECT_EQ(owner->GetReference(0), nullptr);
  EXPECT_EQ(Thing::alive, 1) << "the target and what it held went with the record";
  EXPECT_FALSE(theHold.Holding());
  theHold.Begin();
  theHold.Accept("empty");
  EXPECT_EQ(sim::undoDepth(), 0) << "nothing was left behind in the hold";
  owner->DeleteMe();
}

TEST_F(UndoRecords, AnInnerCancelLeavesTheOuterHoldWhole) {
  auto* owner = new Thing("owner");
  auto* kept = new Thing("kept");
  theHold.Begin();
  owner->ReplaceReference(1, kept);
  theHold.Begin();
  owner->ReplaceReference(0, holdingOne());
  theHold.Cancel();
  EXPECT_TRUE(theHold.Holding());
  theHold.Accept("outer");
  EXPECT_EQ(Thing::alive, 2);
  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(owner->GetReference(1), nullptr);
  ASSERT_TRUE(sim::redo());
  EXPECT_EQ(owner->GetReference(1), kept);
  owner->DeleteMe();
}

TEST_F(UndoRecords, ReleaseAndForgottenStepsFreeTheirRecordsSafely) {
  auto* owner = new Thing("owner");
  theHold.Begin();
  owner->ReplaceReference(0, holdingOne());
  owner->ReplaceReference(0, nullptr);  // now only the records hold it
  theHold.Release();
  EXPECT_EQ(Thing::alive, 1);
  EXPECT_FALSE(theHold.Holding());

  // Redo steps forgotten by a new step, and the oldest step trimmed once there are too many.
  theHold.Begin();
  owner->ReplaceReference(0, holdingOne());
  owner->ReplaceReference(0, nullptr);
  theHold.Accept("first");
  ASSERT_TRUE(sim::undo());
  theHold.Begin();
  owner->ReplaceReference(1, holdingOne());
  owner->ReplaceReference(1, nullptr);
  theHold.Accept("second");
  EXPECT_EQ(sim::redoDepth(), 0);
  for (int i = 0; i < 150; ++i) {
    theHold.Begin();
    owner->ReplaceReference(0, holdingOne());
    owner->ReplaceReference(0, nullptr);
    theHold.Accept("more");
  }
  EXPECT_EQ(sim::undoDepth(), 100);
  sim::flushUndo();
  EXPECT_EQ(Thing::alive, 1);
  owner->DeleteMe();
}

}  // namespace
