// Undo and redo of parameter blocks: values, strings and table edits come back entry for entry,
// reference entries keep what they replaced alive, and each reference change is recorded once.
#include "param_block_test_objects.h"

#include "hold.h"

namespace {

using namespace pbtest;

class ParamBlockUndo : public ParamBlock {};

TEST_F(ParamBlockUndo, UndoAndRedoPutValuesBack) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  theHold.Begin();
  pb->SetValue(hp_whichPass, 0, 5000);
  pb->SetValue(hp_iconsize, 0, 2.5f);
  pb->SetValue(hp_thisName, 0, "holder\x01name");
  theHold.Accept("values");

  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(pb->GetInt(hp_whichPass), 1);
  EXPECT_FLOAT_EQ(pb->GetFloat(hp_iconsize), 1.0f);
  EXPECT_EQ(pb->GetStr(hp_thisName), nullptr);
  h->changes.clear();
  ASSERT_TRUE(sim::redo());
  EXPECT_EQ(pb->GetInt(hp_whichPass), 5000);
  EXPECT_FLOAT_EQ(pb->GetFloat(hp_iconsize), 2.5f);
  EXPECT_STREQ(pb->GetStr(hp_thisName), "holder\x01name");
  EXPECT_EQ(h->changes.size(), 3u) << "redo notifies as the change did";
  h->DeleteMe();
}

TEST_F(ParamBlockUndo, UndoAndRedoPutTableEditsBackEntryForEntry) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  std::vector<Strings> seen{strings(pb, hp_propertyName)};
  auto step = [&](auto&& edit) {
    theHold.Begin();
    edit();
    theHold.Accept("edit");
    seen.push_back(strings(pb, hp_propertyName));
  };
  const TCHAR* abc[] = {"a", "b", "c"};
  step([&] { pb->Append(hp_propertyName, 3, abc); });
  step([&] { pb->SetValue(hp_propertyName, 0, "B\x01", 1); });
  step([&] { pb->Insert(hp_propertyName, 0, 2, abc); });
  step([&] { pb->Delete(hp_propertyName, 1, 3); });
  step([&] {
    pb->SetCount(hp_propertyName, 6);
    pb->SetValue(hp_propertyName, 0, "", 5);
    pb->Delete(hp_propertyName, 0, 1);
  });
  step([&] { pb->ZeroCount(hp_propertyName); });

  for (size_t i = seen.size() - 1; i-- > 0;) {
    ASSERT_TRUE(sim::undo());
    EXPECT_EQ(strings(pb, hp_propertyName), seen[i]) << "after undoing step " << i + 1;
  }
  for (size_t i = 1; i < seen.size(); ++i) {
    ASSERT_TRUE(sim::redo());
    EXPECT_EQ(strings(pb, hp_propertyName), seen[i]) << "after redoing step " << i;
  }
  h->DeleteMe();
}

TEST_F(ParamBlockUndo, UndoAndRedoOfReferenceTablesKeepRemovedTargetsAliveAndPutEveryOneBack) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  auto* a = new Thing("a");
  auto* b = new Thing("b");
  auto* c = new Thing("c");
  theHold.Begin();
  ReferenceTarget* ab[] = {a, b};
  pb->Append(hp_propertyObject, 2, ab);
  ReferenceTarget* justC[] = {c};
  pb->Insert(hp_propertyObject, 0, 1, justC);  // a and b move up one
  pb->SetValue(hp_propertyObject, 0, static_cast<ReferenceTarget*>(nullptr), 2);  // b's only entry
  pb->Delete(hp_propertyObject, 0, 1);                                            // c's only entry
  theHold.Accept("objects");
  EXPECT_EQ(targets(pb, hp_propertyObject), (std::vector<ReferenceTarget*>{a, nullptr}));
  EXPECT_EQ(Thing::alive, 3) << "the undo step keeps b and c";

  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(pb->Count(hp_propertyObject), 0);
  EXPECT_EQ(Thing::alive, 3);
  ASSERT_TRUE(sim::redo());
  EXPECT_EQ(targets(pb, hp_propertyObject), (std::vector<ReferenceTarget*>{a, nullptr}))
      << "each reference change was recorded once, by the block";

  theHold.Begin();
  pb->ZeroCount(hp_propertyObject);
  theHold.Accept("clear");
  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(targets(pb, hp_propertyObject), (std::vector<ReferenceTarget*>{a, nullptr}));
  EXPECT_EQ(a->GetDependents(), std::vector<ReferenceMaker*>{pb});

  sim::flushUndo();
  EXPECT_EQ(Thing::alive, 1) << "once undo forgets them, unreferenced targets go";
  h->DeleteMe();
}

TEST_F(ParamBlockUndo, UndoOfOwnersReferencesGoesThroughTheOwner) {
  auto* m = new OwnerMaterial;
  auto* red = new SubMtl("red");
  auto* blue = new SubMtl("blue");
  m->pblock->SetValue(mp_materialArray, 0, red, 3);
  theHold.Begin();
  m->pblock->SetValue(mp_materialArray, 0, blue, 3);
  theHold.Accept("assign");
  EXPECT_EQ(Thing::alive, 2);
  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(m->GetReference(3), red);
  ASSERT_TRUE(sim::redo());
  EXPECT_EQ(m->GetReference(3), blue);
  sim::flushUndo();
  EXPECT_EQ(Thing::alive, 1);
  m->DeleteMe();
}

TEST_F(ParamBlockUndo, ACancelledHoldLeavesNothingChanged) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  auto* t = new Thing;
  theHold.Begin();
  pb->SetCount(hp_propertyObject, 2);
  pb->SetValue(hp_propertyObject, 0, t, 1);
  pb->SetValue(hp_whichPass, 0, 9);
  theHold.Cancel();
  EXPECT_EQ(pb->Count(hp_propertyObject), 0);
  EXPECT_EQ(pb->GetInt(hp_whichPass), 1);
  EXPECT_EQ(Thing::alive, 0) << "the target was only ever held by the cancelled records";
  h->DeleteMe();
}

TEST_F(ParamBlockUndo, ABlockWithoutOwnerCanBeUsedAndFreed) {
  IParamBlock2* pb = CreateParameterBlock2(&holderBlock, nullptr);
  EXPECT_EQ(pb->GetOwner(), nullptr);
  auto* t = new Thing;
  pb->SetCount(hp_propertyObject, 1);
  theHold.Begin();
  pb->SetValue(hp_propertyObject, 0, t, 0);
  theHold.Accept("set");
  pb->DeleteMe();
  EXPECT_EQ(Thing::alive, 0) << "the deleted block let its target go";
  sim::flushUndo();  // the record still had the block's memory
  EXPECT_EQ(CreateParameterBlock2(nullptr, nullptr), nullptr);
}

}  // namespace
