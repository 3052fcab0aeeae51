#include "animate.h"
#include "core/core_interface.h"
#include "core/undo_stack.h"
#include "hold.h"
#include "inode.h"
#include "object.h"
#include "random.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Logs restores and redos so tests can see the order undo runs records in.
struct LoggedChange : RestoreObj {
  LoggedChange(std::vector<std::string>& log, std::string name) : log(log), name(std::move(name)) {}
  void Restore(int isUndo) override { log.push_back("restore " + name + (isUndo ? " (undo)" : "")); }
  void Redo() override { log.push_back("redo " + name); }
  std::vector<std::string>& log;
  std::string name;
};

class UndoTest : public ::testing::Test {
 protected:
  void TearDown() override { sim::flushUndo(); }
  std::vector<std::string> log;
};

TEST_F(UndoTest, AnAcceptedHoldUndoesNewestFirstAndRedoesInOrder) {
  theHold.Begin();
  theHold.Put(new LoggedChange(log, "a"));
  theHold.Put(new LoggedChange(log, "b"));
  theHold.Accept("two changes");
  EXPECT_EQ(sim::undoLabel(), "two changes");

  ASSERT_TRUE(sim::undo());
  ASSERT_TRUE(sim::redo());
  EXPECT_EQ(log, (std::vector<std::string>{"restore b (undo)", "restore a (undo)", "redo a", "redo b"}));
  EXPECT_FALSE(sim::redo());
}

TEST_F(UndoTest, NestedHoldsBecomeOneStepAndCancelRestoresOnlyTheInnerPart) {
  theHold.Begin();
  theHold.Put(new LoggedChange(log, "outer"));
  theHold.Begin();
  theHold.Put(new LoggedChange(log, "inner"));
  theHold.Cancel();
  EXPECT_EQ(log, std::vector<std::string>{"restore inner"});
  theHold.Begin();
  theHold.Put(new LoggedChange(log, "kept"));
  theHold.Accept("inner");
  EXPECT_EQ(sim::undoDepth(), 0) << "an inner accept is not a step of its own";
  theHold.Accept("outer");
  EXPECT_EQ(sim::undoDepth(), 1);

  log.clear();
  sim::undo();
  EXPECT_EQ(log, (std::vector<std::string>{"restore kept (undo)", "restore outer (undo)"}));
}

TEST_F(UndoTest, NothingIsRecordedWithoutAHoldWhileSuspendedOrWhileRestoring) {
  EXPECT_FALSE(theHold.Holding());
  theHold.Put(new LoggedChange(log, "dropped"));  // freed, not kept

  struct PutsWhileRestoring : RestoreObj {
    void Restore(int) override { holdingSeen = theHold.Holding(); }
    void Redo() override {}
    int holdingSeen = -1;
  };
  theHold.Begin();
  theHold.Suspend();
  EXPECT_FALSE(theHold.Holding());
  theHold.Put(new LoggedChange(log, "dropped too"));
  theHold.Resume();
  EXPECT_TRUE(theHold.Holding());
  auto* probe = new PutsWhileRestoring;
  theHold.Put(probe);
  theHold.Restore();
  EXPECT_EQ(probe->holdingSeen, 0);
  theHold.Release();
  EXPECT_FALSE(theHold.Holding());
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(sim::undoDepth(), 0);
}

TEST(AnimateState, SuspendAndResumeNestAndRestoreEachEarlierState) {
  AnimateOn();
  SuspendAnimate();
  EXPECT_FALSE(Animating());
  AnimateOn();  // work inside the bracket may switch it
  SuspendAnimate();
  EXPECT_FALSE(Animating());
  ResumeAnimate();
  EXPECT_TRUE(Animating());
  ResumeAnimate();
  EXPECT_TRUE(Animating());
  AnimateOff();
  ResumeAnimate();  // unbalanced: ignored
  EXPECT_FALSE(Animating());
}

TEST(RandomGenerator, TheSameSeedGivesTheSameFixedSequence) {
  Random r;
  r.srand(1);
  std::vector<int> first;
  for (int i = 0; i < 5; ++i) first.push_back(r.rand());
  EXPECT_EQ(first, (std::vector<int>{41, 18467, 6334, 26500, 19169}));
  Random fresh;
  EXPECT_EQ(fresh.rand(), 41) << "a new generator starts from seed 1";
  r.srand(679);
  Random other;
  other.srand(679);
  EXPECT_EQ(r.rand(), other.rand());
}

struct PlainObject : Object {
  SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
  const TCHAR* GetObjectName() override { return "Plain"; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  ~PlainObject() override { ++freed; }
  static inline int freed = 0;
};

class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::coreInterface()->resetScene(); }
  void TearDown() override { sim::coreInterface()->resetScene(); }
  Interface* ip = GetCOREInterface();
};

TEST_F(SceneTest, NewNodesGetNumberedNamesUnderTheRoot) {
  INode* a = ip->CreateObjectNode(new PlainObject);
  INode* b = ip->CreateObjectNode(new PlainObject);
  EXPECT_STREQ(a->GetName(), "Plain01");
  EXPECT_STREQ(b->GetName(), "Plain02");
  EXPECT_EQ(a->GetParentNode(), ip->GetRootNode());
  EXPECT_EQ(ip->GetINodeByName("PLAIN02"), b);
  a->Delete(0, 1);
  INode* c = ip->CreateObjectNode(new PlainObject);
  EXPECT_STREQ(c->GetName(), "Plain01") << "a freed number is used again";
}

TEST_F(SceneTest, DeletingANodeMovesItsChildrenUpAndFreesItsObject) {
  PlainObject::freed = 0;
  INode* parent = ip->CreateObjectNode(new PlainObject);
  INode* child = ip->CreateObjectNode(new PlainObject);
  parent->AttachChild(child);
  EXPECT_EQ(child->GetParentNode(), parent);
  child->AttachChild(parent);  // would make a loop: refused
  EXPECT_EQ(parent->GetParentNode(), ip->GetRootNode());

  parent->Delete(0, 1);

  EXPECT_EQ(child->GetParentNode(), ip->GetRootNode());
  EXPECT_EQ(ip->GetRootNode()->NumberOfChildren(), 1);
  EXPECT_EQ(PlainObject::freed, 1);
  sim::coreInterface()->resetScene();
  EXPECT_EQ(PlainObject::freed, 2);
}

TEST_F(SceneTest, PromptsStackAndTimeAndRangeAreKept) {
  auto* core = sim::coreInterface();
  ip->PushPrompt("first");
  ip->PushPrompt("second");
  EXPECT_EQ(core->prompt(), "second");
  ip->PopPrompt();
  EXPECT_EQ(core->prompt(), "first");
  ip->PopPrompt();
  ip->PopPrompt();  // one too many: harmless
  EXPECT_EQ(core->prompt(), "");

  ip->SetTime(10 * GetTicksPerFrame());
  EXPECT_EQ(ip->GetTime(), 1600);
  EXPECT_EQ(ip->GetAnimRange(), Interval(0, 16000));
}

TEST(TimeAndIntervals, IntervalsIntersectAndTheEmptyOneContainsNothing) {
  EXPECT_EQ(GetTicksPerFrame(), 160);
  Interval a(0, 100), b(50, 200);
  EXPECT_EQ(a & b, Interval(50, 100));
  EXPECT_TRUE((Interval(0, 10) & Interval(20, 30)).Empty());
  EXPECT_FALSE(NEVER.InInterval(0));
  EXPECT_TRUE(FOREVER.InInterval(TIME_PosInfinity));
  EXPECT_EQ(FOREVER & a, a);
}

}  // namespace
