#include "core/ref_graph.h"
#include "core/undo_stack.h"
#include "hold.h"
#include "maxapi.h"
#include "support/test_objects.h"

#include <gtest/gtest.h>

#include <cstring>

using test::Thing;

namespace {

// Frees whatever a test left unreferenced, so every test starts with no live objects.
class ReferenceGraph : public ::testing::Test {
 protected:
  void SetUp() override { Thing::alive = 0; }
  void TearDown() override { EXPECT_EQ(Thing::alive, 0) << "objects leaked or freed twice"; }
};

struct Collect : DependentEnumProc {
  std::vector<ReferenceMaker*> seen;
  ReferenceMaker* haltAt = nullptr;
  int proc(ReferenceMaker* m) override {
    seen.push_back(m);
    return m == haltAt ? DEP_ENUM_HALT : DEP_ENUM_CONTINUE;
  }
};

TEST_F(ReferenceGraph, ChangeNotificationsReachEveryDependentThroughTheChain) {
  auto* leaf = new Thing("leaf");
  auto* mid = new Thing("mid");
  auto* top = new Thing("top");
  mid->ReplaceReference(0, leaf);
  top->ReplaceReference(0, mid);

  leaf->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);

  ASSERT_EQ(mid->received, std::vector<RefMessage>{REFMSG_CHANGE});
  ASSERT_EQ(top->received, std::vector<RefMessage>{REFMSG_CHANGE});
  EXPECT_EQ(mid->senders[0], leaf);
  EXPECT_EQ(top->senders[0], mid);  // each level hears it from its own target
  top->DeleteMe();
  EXPECT_EQ(Thing::alive, 0) << "the chain goes with its last reference";
}

TEST_F(ReferenceGraph, ChangeMessagesCanBeSwitchedOffButDeletionIsAlwaysTold) {
  auto* t = new Thing;
  auto* d = new Thing;
  d->ReplaceReference(0, t);
  DisableRefMsgs();
  t->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  EnableRefMsgs();
  EXPECT_TRUE(d->received.empty());
  DisableRefMsgs();
  t->DeleteMe();
  EnableRefMsgs();
  EXPECT_EQ(d->received, std::vector<RefMessage>{REFMSG_TARGET_DELETED});
  EXPECT_EQ(d->GetReference(0), nullptr);
  d->DeleteMe();
}

TEST_F(ReferenceGraph, AStopAnswerKeepsTheMessageFromGoingFurther) {
  auto* leaf = new Thing;
  auto* mid = new Thing;
  auto* top = new Thing;
  mid->ReplaceReference(0, leaf);
  top->ReplaceReference(0, mid);
  mid->answer = REF_STOP;

  leaf->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);

  EXPECT_EQ(mid->received.size(), 1u);
  EXPECT_TRUE(top->received.empty());
  top->DeleteMe();
}

TEST_F(ReferenceGraph, EnumerationIsTransitiveVisitsEachMakerOnceAndCanHalt) {
  // A diamond: top references a and b, both reference leaf.
  auto* leaf = new Thing;
  auto* a = new Thing;
  auto* b = new Thing;
  auto* top = new Thing;
  a->ReplaceReference(0, leaf);
  b->ReplaceReference(0, leaf);
  top->ReplaceReference(0, a);
  top->ReplaceReference(1, b);

  Collect all;
  EXPECT_EQ(leaf->DoEnumDependents(&all), 0);
  ASSERT_EQ(all.seen.size(), 4u);
  EXPECT_EQ(all.seen[0], leaf) << "the target itself comes first";
  EXPECT_EQ(std::count(all.seen.begin(), all.seen.end(), top), 1);

  Collect halted;
  halted.haltAt = a;
  EXPECT_EQ(leaf->DoEnumDependents(&halted), 1);
  EXPECT_EQ(halted.seen.back(), a);
  top->DeleteMe();
}

TEST_F(ReferenceGraph, DeletingATargetClearsEveryReferenceToIt) {
  auto* shared = new Thing;
  auto* a = new Thing;
  auto* b = new Thing;
  a->ReplaceReference(0, shared);
  a->ReplaceReference(1, shared);
  b->ReplaceReference(1, shared);

  shared->DeleteMe();

  EXPECT_EQ(a->GetReference(0), nullptr);
  EXPECT_EQ(a->GetReference(1), nullptr);
  EXPECT_EQ(b->GetReference(1), nullptr);
  EXPECT_EQ(a->received.back(), REFMSG_TARGET_DELETED);
  EXPECT_EQ(Thing::alive, 2);
  a->DeleteMe();
  b->DeleteMe();
}

TEST_F(ReferenceGraph, ATargetLivesUntilItsLastReferenceGoes) {
  auto* shared = new Thing;
  auto* a = new Thing;
  auto* b = new Thing;
  a->ReplaceReference(0, shared);
  b->ReplaceReference(0, shared);

  a->DeleteReference(0);
  EXPECT_EQ(Thing::alive, 3);
  b->ReplaceReference(0, nullptr);
  EXPECT_EQ(Thing::alive, 2) << "no reference left: the target deleted itself";

  auto* kept = new Thing;
  a->ReplaceReference(0, kept);
  a->ReplaceReference(0, nullptr, FALSE);
  EXPECT_EQ(Thing::alive, 3) << "without delOld the old target stays";
  kept->DeleteMe();
  a->DeleteMe();
  b->DeleteMe();
}

TEST_F(ReferenceGraph, ManyReferencesToOneTargetKeepItUntilTheLastOneGoes) {
  // References made one after another to the same target share one link: the target hears each
  // message once and lives while any of them remains, however they are taken away.
  auto* shared = new Thing("shared");
  auto* other = new Thing("other");
  auto* many = new Thing("many", 6);
  for (int i : {0, 1, 2}) ASSERT_EQ(many->ReplaceReference(i, shared), REF_SUCCEED);
  ASSERT_EQ(many->ReplaceReference(3, other), REF_SUCCEED);
  ASSERT_EQ(many->ReplaceReference(4, shared), REF_SUCCEED);
  EXPECT_EQ(shared->GetDependents(), std::vector<ReferenceMaker*>{many});

  shared->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  EXPECT_EQ(many->received.size(), 1u);

  many->ReplaceReference(1, nullptr);
  many->ReplaceReference(0, other);
  many->ReplaceReference(4, nullptr);
  EXPECT_EQ(Thing::alive, 3) << "slot 2 still holds it";
  EXPECT_EQ(many->FindRef(shared), 2);
  many->ReplaceReference(2, nullptr);
  EXPECT_EQ(Thing::alive, 2) << "the last reference went: so did the target";

  // A maker freed while it holds such references leaves nothing pointing back at it.
  auto* target = new Thing("target");
  auto* keeper = new Thing("keeper");
  keeper->ReplaceReference(0, target);
  auto* careless = new Thing("careless", 3);
  for (int i : {0, 1, 2}) careless->ReplaceReference(i, target);
  delete careless;
  EXPECT_EQ(target->NumDependents(), 1);
  target->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  keeper->DeleteMe();
  EXPECT_EQ(Thing::alive, 2);

  // Deleting the target clears every slot that held it.
  auto* gone = new Thing("gone");
  for (int i : {0, 1, 5}) many->ReplaceReference(i, gone);
  gone->DeleteMe();
  for (int i : {0, 1, 5}) EXPECT_EQ(many->GetReference(i), nullptr);
  EXPECT_EQ(many->GetReference(3), other);
  many->DeleteMe();
}

TEST_F(ReferenceGraph, AReferenceThatWouldCloseALoopIsRefused) {
  auto* a = new Thing;
  auto* b = new Thing;
  auto* c = new Thing;
  a->ReplaceReference(0, b);
  b->ReplaceReference(0, c);

  EXPECT_EQ(c->ReplaceReference(0, a), REF_FAIL);
  EXPECT_EQ(a->ReplaceReference(1, a), REF_FAIL);
  EXPECT_EQ(c->GetReference(0), nullptr);
  a->DeleteMe();
}

TEST_F(ReferenceGraph, AMakerFreedWithoutDroppingItsReferencesLeavesNoDanglingDependent) {
  auto* target = new Thing;
  auto* keeper = new Thing;
  keeper->ReplaceReference(0, target);
  auto* careless = new Thing;
  careless->ReplaceReference(0, target);

  delete careless;  // no DeleteAllRefs first

  EXPECT_EQ(target->NumDependents(), 1);
  target->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);  // must not reach freed memory
  keeper->DeleteMe();
}

TEST_F(ReferenceGraph, ADependentThatDeletesItselfOnNotificationDoesNotBreakTheWalk) {
  struct SelfDeleting : Thing {
    RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage msg) override {
      if (msg == REFMSG_CHANGE) DeleteMe();
      return REF_SUCCEED;
    }
  };
  auto* target = new Thing;
  auto* first = new SelfDeleting;
  auto* second = new Thing;
  first->ReplaceReference(0, target);
  second->ReplaceReference(0, target);

  target->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);

  EXPECT_EQ(second->received, std::vector<RefMessage>{REFMSG_CHANGE});
  EXPECT_EQ(target->NumDependents(), 1);
  second->DeleteMe();
}

TEST_F(ReferenceGraph, AKeepAliveHoldKeepsADeletedTargetsMemoryUntilReleased) {
  auto* t = new Thing;
  {
    sim::KeepAlive hold(t);
    t->DeleteMe();
    EXPECT_TRUE(t->IsDeleted());
    EXPECT_EQ(Thing::alive, 1);
    EXPECT_EQ(hold.live(), nullptr);
  }
  EXPECT_EQ(Thing::alive, 0);

  // An unreferenced object held only by a keep-alive goes when the hold does.
  { sim::KeepAlive hold(new Thing); }
}

TEST_F(ReferenceGraph, CloningSharesWhatTheOriginalShared) {
  auto* leaf = new Thing("leaf");
  auto* a = new Thing("a");
  auto* b = new Thing("b");
  auto* top = new Thing("top");
  a->ReplaceReference(0, leaf);
  b->ReplaceReference(0, leaf);
  top->ReplaceReference(0, a);
  top->ReplaceReference(1, b);

  DefaultRemapDir remap;
  auto* copy = static_cast<Thing*>(remap.CloneRef(top));

  auto* ca = static_cast<Thing*>(copy->GetReference(0));
  auto* cb = static_cast<Thing*>(copy->GetReference(1));
  ASSERT_NE(ca, a);
  EXPECT_EQ(ca->name, "a'");
  EXPECT_EQ(ca->GetReference(0), cb->GetReference(0)) << "the shared leaf is cloned once";
  EXPECT_NE(ca->GetReference(0), leaf);
  top->DeleteMe();
  copy->DeleteMe();
}

TEST_F(ReferenceGraph, UndoAndRedoPutReferencesBackAndKeepReplacedTargetsAlive) {
  auto* holder = new Thing;
  auto* first = new Thing("first");
  auto* second = new Thing("second");
  holder->ReplaceReference(0, first);

  theHold.Begin();
  holder->ReplaceReference(0, second);
  theHold.Accept("swap");
  EXPECT_EQ(Thing::alive, 3) << "the undo step keeps the replaced target";

  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(holder->GetReference(0), first);
  ASSERT_TRUE(sim::redo());
  EXPECT_EQ(holder->GetReference(0), second);

  sim::flushUndo();
  EXPECT_EQ(Thing::alive, 2) << "once undo forgets it, the unreferenced target goes";
  holder->DeleteMe();
}

}  // namespace

namespace {

TEST_F(ReferenceGraph, ASingleRefMakerKeepsItsTargetAliveAndIsNotADependencyForWalks) {
  auto* owner = new Thing;
  auto* t = new Thing;
  owner->ReplaceReference(0, t);
  {
    SingleRefMaker keeper;
    keeper.SetRef(t);
    owner->DeleteReference(0);
    EXPECT_EQ(Thing::alive, 2) << "the single-reference holder keeps it";
    Collect walk;
    t->DoEnumDependents(&walk);
    EXPECT_EQ(walk.seen.size(), 1u) << "holders are not real dependents";
  }
  EXPECT_EQ(Thing::alive, 1);
  owner->DeleteMe();
}

TEST_F(ReferenceGraph, AppDataIsAddressedByClassSuperClassAndAFull32BitSubId) {
  auto* t = new Thing;
  const Class_ID cid(0x04d64858, 0x16d1751d);
  auto chunk = [](const char* text) {
    auto* p = static_cast<char*>(MAX_malloc(std::strlen(text) + 1));
    std::strcpy(p, text);
    return p;
  };
  t->AddAppDataChunk(cid, 0x1020, 0xffffffff, 3, chunk("-1"));
  t->AddAppDataChunk(cid, 0x1020, 7, 2, chunk("7"));
  t->AddAppDataChunk(cid, 0x1020, 7, 3, chunk("77"));  // replaces
  ASSERT_NE(t->GetAppDataChunk(cid, 0x1020, 0xffffffff), nullptr);
  EXPECT_STREQ(static_cast<char*>(t->GetAppDataChunk(cid, 0x1020, 7)->data), "77");
  EXPECT_EQ(t->GetAppDataChunk(cid, 0x1021, 7), nullptr);
  EXPECT_TRUE(t->RemoveAppDataChunk(cid, 0x1020, 7));
  EXPECT_FALSE(t->RemoveAppDataChunk(cid, 0x1020, 7));
  EXPECT_EQ(t->NumAppDataChunks(), 1);
  t->DeleteMe();  // the remaining chunk is freed with its owner (checked under the sanitizers)
}

}  // namespace

namespace {

// Long enough to overflow the stack when each deletion starts the next from inside itself.
constexpr int kLongChain = 200000;

// A chain of kLongChain targets, each holding the next, ending in `last`; built from the end, as
// the loop test of each new reference then has nothing to walk.
Thing* chainOn(Thing* last) {
  Thing* head = last;
  for (int i = 1; i < kLongChain; ++i) {
    auto* t = new Thing({}, 1);
    t->ReplaceReference(0, head);
    head = t;
  }
  return head;
}

TEST_F(ReferenceGraph, AVeryLongChainGoesWithItsHeadWithoutRecursion) {
  Thing* last = new Thing("last", 1);
  Thing* head = chainOn(last);
  auto* watcher = new Thing("watcher");
  watcher->ReplaceReference(0, last);
  head->DeleteMe();
  EXPECT_EQ(Thing::alive, 2) << "every link but the watched end is gone once the deletion returns";
  EXPECT_EQ(watcher->GetReference(0), last);
  watcher->DeleteMe();
}

TEST_F(ReferenceGraph, AChangeAtTheEndOfAVeryLongChainReachesItsHead) {
  Thing* last = new Thing("last", 1);
  Thing* head = chainOn(last);
  last->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  EXPECT_EQ(head->received, std::vector<RefMessage>{REFMSG_CHANGE});
  head->DeleteMe();
}

TEST_F(ReferenceGraph, ADependentPassesAChangeOnBeforeTheNextDependentHearsIt) {
  // leaf <- a <- top, and leaf <- b: a's dependents hear it before b does.
  auto* leaf = new Thing("leaf");
  auto* a = new Thing("a");
  auto* b = new Thing("b");
  auto* top = new Thing("top");
  a->ReplaceReference(0, leaf);
  b->ReplaceReference(0, leaf);
  top->ReplaceReference(0, a);
  auto* watcher = new Thing("watcher");
  watcher->ReplaceReference(0, top);
  watcher->ReplaceReference(1, b);
  leaf->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  EXPECT_EQ(watcher->senders, (std::vector<RefTargetHandle>{top, b}));
  watcher->DeleteMe();
}

TEST_F(ReferenceGraph, AVeryLongChainGoesWithItsLastReferenceAndItsUndoStep) {
  auto* owner = new Thing("owner", 1);
  Thing* head = chainOn(new Thing("last", 1));
  theHold.Begin();
  owner->ReplaceReference(0, head);
  owner->ReplaceReference(0, nullptr);
  theHold.Accept("chain");
  EXPECT_EQ(Thing::alive, kLongChain + 1) << "the undo step keeps the chain";
  sim::flushUndo();
  EXPECT_EQ(Thing::alive, 1);
  owner->DeleteMe();
}

}  // namespace
