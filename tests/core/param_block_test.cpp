// Parameter blocks: values and defaults, tables, strings, reference entries (the block's own and the
// owner's), notification, cloning and reset, on owners shaped like the holder and the material.
#include "param_block_test_objects.h"

#include "core/param_block2.h"

namespace {

using namespace pbtest;

TEST_F(ParamBlock, ANewHolderBlockHoldsTheDeclaredDefaultsAndIsTheOwnersReference) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  ASSERT_NE(pb, nullptr);
  EXPECT_EQ(pb->SuperClassID(), PARAMETER_BLOCK2_CLASS_ID);
  EXPECT_EQ(pb->GetDesc(), &holderBlock);
  EXPECT_EQ(pb->GetOwner(), h);
  EXPECT_EQ(pb->NumParams(), 11);
  EXPECT_EQ(pb->GetInt(hp_whichPass), 1);
  EXPECT_FLOAT_EQ(pb->GetFloat(hp_iconsize), 1.0f);
  EXPECT_EQ(pb->GetInt(hp_viewportIcon), 0);
  EXPECT_EQ(pb->GetINode(hp_node), nullptr);
  EXPECT_EQ(pb->GetStr(hp_thisName), nullptr);
  for (ParamID id : {hp_nodeArray, hp_passlist, hp_propertyName, hp_propertyState, hp_propertyObject})
    EXPECT_EQ(pb->Count(id), 0) << "table " << id;
  EXPECT_EQ(pb->GetLocalName(hp_whichPass), "Which Pass");
  EXPECT_EQ(pb->GetLocalName(hp_nodeArray), "nodeArray") << "no display name: the internal name";
  h->DeleteMe();
}

TEST_F(ParamBlock, ValuesSetFromCodeAreNotClampedToTheirRange) {
  auto* h = new Holder;
  EXPECT_TRUE(h->pblock->SetValue(hp_whichPass, 0, 0));
  EXPECT_EQ(h->pblock->GetInt(hp_whichPass), 0);
  EXPECT_TRUE(h->pblock->SetValue(hp_iconsize, 0, -3.5f));
  EXPECT_FLOAT_EQ(h->pblock->GetFloat(hp_iconsize), -3.5f);
  h->DeleteMe();
}

TEST_F(ParamBlock, NumbersConvertBetweenIntAndFloatAndOtherMismatchesAreRefused) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  EXPECT_TRUE(pb->SetValue(hp_iconsize, 0, 3));
  EXPECT_FLOAT_EQ(pb->GetFloat(hp_iconsize), 3.0f);
  EXPECT_TRUE(pb->SetValue(hp_whichPass, 0, 7.9f));
  EXPECT_EQ(pb->GetInt(hp_whichPass), 7);

  EXPECT_FALSE(pb->SetValue(hp_whichPass, 0, "7"));
  EXPECT_FALSE(pb->SetValue(hp_thisName, 0, 7));
  EXPECT_FALSE(pb->SetValue(77, 0, 7)) << "unknown id";
  Point3 p(9, 9, 9);
  Interval valid = FOREVER;
  EXPECT_FALSE(pb->GetValue(hp_whichPass, 0, p, valid));
  EXPECT_EQ(p, Point3(9, 9, 9)) << "left alone";
  EXPECT_EQ(valid, FOREVER);
  h->DeleteMe();
}

TEST_F(ParamBlock, StringTablesGrowAndShrinkAndEntriesShiftOnInsertAndDelete) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  pb->SetCount(hp_propertyName, 3);
  EXPECT_EQ(strings(pb, hp_propertyName), (Strings{std::nullopt, std::nullopt, std::nullopt})) << "new entries unset";
  EXPECT_TRUE(pb->SetValue(hp_propertyName, 0, "wireColor", 0));
  EXPECT_TRUE(pb->SetValue(hp_propertyName, 0, "renderable", 2));
  EXPECT_FALSE(pb->SetValue(hp_propertyName, 0, "beyond", 3)) << "SetValue does not grow a table";

  const TCHAR* more[] = {"a", "b"};
  EXPECT_EQ(pb->Append(hp_propertyName, 2, more), 3) << "Append answers the previous count";
  EXPECT_EQ(pb->Insert(hp_propertyName, 1, 1, more + 1), 1);
  EXPECT_EQ(strings(pb, hp_propertyName), (Strings{"wireColor", "b", std::nullopt, "renderable", "a", "b"}));
  EXPECT_EQ(pb->Delete(hp_propertyName, 1, 2), 4) << "Delete answers what is left";
  EXPECT_EQ(strings(pb, hp_propertyName), (Strings{"wireColor", "renderable", "a", "b"}));
  EXPECT_EQ(pb->Delete(hp_propertyName, 3, 100), 3) << "a range past the end is cut at the end";
  EXPECT_EQ(pb->Delete(hp_propertyName, 5, 1), 3) << "a start past the end changes nothing";
  pb->ZeroCount(hp_propertyName);
  EXPECT_EQ(pb->Count(hp_propertyName), 0);
  EXPECT_EQ(pb->GetStr(hp_propertyName, 0, 0), nullptr);
  h->DeleteMe();
}

TEST_F(ParamBlock, StringsKeepEveryByteButZeroAndEmptyIsNotUnset) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  const std::string record = "true\x01[1,2,3]\x01\x01\xff\x01";
  pb->SetCount(hp_propertyState, 3);
  pb->SetValue(hp_propertyState, 0, record.c_str(), 0);
  pb->SetValue(hp_propertyState, 0, "", 1);
  ASSERT_NE(pb->GetStr(hp_propertyState, 0, 0), nullptr);
  EXPECT_EQ(std::string(pb->GetStr(hp_propertyState, 0, 0)), record);
  ASSERT_NE(pb->GetStr(hp_propertyState, 0, 1), nullptr);
  EXPECT_STREQ(pb->GetStr(hp_propertyState, 0, 1), "");
  EXPECT_EQ(pb->GetStr(hp_propertyState, 0, 2), nullptr);
  pb->SetValue(hp_propertyState, 0, static_cast<const TCHAR*>(nullptr), 1);
  EXPECT_EQ(pb->GetStr(hp_propertyState, 0, 1), nullptr) << "NULL unsets";
  h->DeleteMe();
}

TEST_F(ParamBlock, AStringStaysValidWhileTheTableAroundItChanges) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  pb->SetCount(hp_propertyName, 1);
  pb->SetValue(hp_propertyName, 0, "pos", 0);  // short enough to live inside a string object
  const TCHAR* text = pb->GetStr(hp_propertyName, 0, 0);
  const TCHAR* first[] = {"x"};
  pb->Insert(hp_propertyName, 0, 1, first);
  pb->SetCount(hp_propertyName, 500);
  EXPECT_EQ(pb->GetStr(hp_propertyName, 0, 1), text);
  EXPECT_STREQ(text, "pos");
  h->DeleteMe();
}

TEST_F(ParamBlock, FixedSizeTablesStartAtTheirDeclaredSize) {
  auto* m = new OwnerMaterial;
  IParamBlock2* pb = m->pblock;
  ASSERT_NE(pb, nullptr);
  EXPECT_EQ(pb->GetOwner(), m);
  EXPECT_EQ(pb->Count(mp_labels), 101);
  EXPECT_EQ(pb->Count(mp_materialArray), 101);
  EXPECT_EQ(pb->GetStr(mp_labels, 0, 100), nullptr);
  EXPECT_EQ(pb->GetInt(mp_whichPass), 1);
  EXPECT_EQ(pb->GetInt(mp_activeStampOnly), FALSE);
  EXPECT_TRUE(pb->SetValue(mp_labels, 0, "Beauty", 4));
  EXPECT_STREQ(pb->GetStr(mp_labels, 0, 4), "Beauty");
  m->DeleteMe();
}

TEST_F(ParamBlock, TablesOfPointsColoursMatricesAndFilesHoldTheirValues) {
  IParamBlock2* pb = CreateParameterBlock2(&kindsBlock, nullptr);
  EXPECT_EQ(pb->GetColor(kp_color), Color(1.0f, 0.5f, 0.0f));
  EXPECT_TRUE(pb->SetValue(kp_color, 0, Point3(0.0f, 1.0f, 0.0f)));
  EXPECT_EQ(pb->GetPoint3(kp_color), Point3(0.0f, 1.0f, 0.0f));
  EXPECT_EQ(pb->GetAColor(kp_frgba), AColor(0.1f, 0.2f, 0.3f, 0.4f));
  EXPECT_TRUE(pb->SetValue(kp_frgba, 0, AColor(1.0f, 1.0f, 1.0f, 0.5f)));
  EXPECT_EQ(pb->GetPoint4(kp_frgba), Point4(1.0f, 1.0f, 1.0f, 0.5f));

  EXPECT_EQ(pb->Count(kp_points), 1);
  EXPECT_EQ(pb->GetPoint3(kp_points, 0, 0), Point3(1, 1, 1)) << "a table's default is its entries' default";
  Point3 a(1, 2, 3), b(4, 5, 6);
  Point3* byPointer[] = {&a, &b};
  EXPECT_EQ(pb->Append(kp_points, 2, byPointer), 1);
  Point3 byValue[] = {Point3(7, 8, 9)};
  EXPECT_EQ(pb->Insert(kp_points, 0, 1, byValue), 0);
  EXPECT_EQ(pb->GetPoint3(kp_points, 0, 0), Point3(7, 8, 9));
  EXPECT_EQ(pb->GetPoint3(kp_points, 0, 3), Point3(4, 5, 6));

  EXPECT_TRUE(pb->GetMatrix3(kp_tm).IsIdentity());
  EXPECT_TRUE(pb->SetValue(kp_tm, 0, TransMatrix(Point3(1, 2, 3))));
  EXPECT_EQ(pb->GetMatrix3(kp_tm).GetTrans(), Point3(1, 2, 3));

  EXPECT_STREQ(pb->GetStr(kp_files, 0, 1), "none.txt");
  pb->SetCount(kp_files, 3);
  EXPECT_STREQ(pb->GetStr(kp_files, 0, 2), "none.txt") << "growth uses the default";

  float fs[] = {0.5f, 1.5f};
  EXPECT_EQ(pb->Append(kp_floats, 2, fs), 0);
  int is[] = {3};
  EXPECT_EQ(pb->Append(kp_floats, 1, is), 2) << "int elements go into a float table";
  EXPECT_FLOAT_EQ(pb->GetFloat(kp_floats, 0, 2), 3.0f);
  EXPECT_EQ(pb->Append(kp_floats, 1, byPointer), -1) << "points do not go into a float table";
  EXPECT_EQ(pb->Count(kp_floats), 3);
  pb->SetCount(kp_ints, 2);
  EXPECT_EQ(pb->GetInt(kp_ints, 0, 1), 7);
  pb->DeleteMe();
}

TEST_F(ParamBlock, ReferenceEntriesKeepTheirTargetsAliveUntilReplacedOrDeleted) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  auto* a = new Thing("a");
  auto* b = new Thing("b");
  pb->SetCount(hp_propertyObject, 3);
  EXPECT_TRUE(pb->SetValue(hp_propertyObject, 0, a, 0));
  EXPECT_TRUE(pb->SetValue(hp_propertyObject, 0, a, 1));
  EXPECT_TRUE(pb->SetValue(hp_propertyObject, 0, b, 2));
  EXPECT_EQ(a->GetDependents(), std::vector<ReferenceMaker*>{pb}) << "the block is a's one dependent";

  pb->Delete(hp_propertyObject, 0, 1);
  EXPECT_EQ(Thing::alive, 2) << "a is still entry 0";
  pb->SetValue(hp_propertyObject, 0, static_cast<ReferenceTarget*>(nullptr), 0);
  EXPECT_EQ(Thing::alive, 1) << "a's last entry went: a deleted itself";
  EXPECT_EQ(targets(pb, hp_propertyObject), (std::vector<ReferenceTarget*>{nullptr, b}));

  h->DeleteMe();
  EXPECT_EQ(Thing::alive, 0) << "the holder's block and its targets go with it";
}

TEST_F(ParamBlock, DeletingATargetClearsItsEntryAndTellsTheOwnerWhichOne) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  auto* node = new Node;
  auto* other = new Node;
  pb->SetValue(hp_node, 0, node);
  INode* nodes[] = {other, node};
  pb->Append(hp_nodeArray, 2, nodes);
  h->changes.clear();

  node->DeleteMe();
  EXPECT_EQ(pb->GetINode(hp_node), nullptr);
  EXPECT_EQ(pb->GetINode(hp_nodeArray, 0, 1), nullptr);
  EXPECT_EQ(pb->Count(hp_nodeArray), 2) << "the entry stays, empty";
  EXPECT_EQ(pb->GetINode(hp_nodeArray, 0, 0), other);
  ASSERT_FALSE(h->changes.empty());
  EXPECT_TRUE(h->changes[0] == (Change{hp_node, -1}));
  h->DeleteMe();
  EXPECT_EQ(Node::alive, 0) << "the other node went with its last reference";
}

TEST_F(ParamBlock, ReferencesAreNumberedByParameterAndEntryInDefinitionOrder) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  auto* node = new Node;
  auto* obj = new Thing("obj");
  // whichPass (animatable: its controller), node, nodeArray entries, propertyObject entries,
  // propertyFloatController entries.
  EXPECT_EQ(pb->NumRefs(), 2);
  const int objIndex = pb->IDtoIndex(hp_propertyObject);
  pb->SetCount(hp_propertyObject, 2);
  pb->SetValue(hp_propertyObject, 0, obj, 1);
  EXPECT_EQ(pb->GetControllerRefNum(pb->IDtoIndex(hp_whichPass)), 0);
  EXPECT_EQ(pb->GetReference(0), nullptr) << "no controller yet";
  EXPECT_EQ(pb->GetControllerByID(hp_whichPass), nullptr);
  pb->SetValue(hp_node, 0, node);
  EXPECT_EQ(pb->GetRefNum(pb->IDtoIndex(hp_node)), 1);
  EXPECT_EQ(pb->GetReference(1), node);
  EXPECT_EQ(pb->GetRefNum(objIndex, 1), 3);
  EXPECT_EQ(pb->GetReference(3), obj);

  pb->SetCount(hp_nodeArray, 5);  // an earlier table grows: later references move up
  EXPECT_EQ(pb->NumRefs(), 9);
  EXPECT_EQ(pb->GetRefNum(objIndex, 1), 8);
  EXPECT_EQ(pb->GetReference(8), obj);
  EXPECT_EQ(pb->GetRefNum(objIndex, 2), -1) << "no such entry";
  int tab = -1;
  EXPECT_EQ(pb->FindRefParam(obj, tab), hp_propertyObject);
  EXPECT_EQ(tab, 1);
  auto* probe = new Thing;
  EXPECT_EQ(pb->FindRefParam(probe, tab), -1);
  probe->DeleteMe();
  h->DeleteMe();
}

TEST_F(ParamBlock, EntriesTakeOnlyTargetsOfTheirTypeAndNoLoops) {
  auto* h = new Holder;
  auto* m = new OwnerMaterial;
  auto* thing = new Thing;
  auto* mtl = new SubMtl("mtl");
  EXPECT_FALSE(h->pblock->SetValue(hp_node, 0, static_cast<ReferenceTarget*>(thing))) << "not a node";
  EXPECT_FALSE(m->pblock->SetValue(mp_materialArray, 0, thing, 0)) << "not a material";
  EXPECT_TRUE(m->pblock->SetValue(mp_materialArray, 0, mtl, 0));
  EXPECT_FALSE(h->pblock->SetValue(hp_propertyObject, 0, h, 0)) << "no such entry yet";
  h->pblock->SetCount(hp_propertyObject, 1);
  EXPECT_FALSE(h->pblock->SetValue(hp_propertyObject, 0, h, 0)) << "the holder references the block: a loop";
  EXPECT_FALSE(h->pblock->SetValue(hp_propertyObject, 0, h->pblock, 0)) << "the block itself";
  ReferenceTarget* loops[] = {thing, h};
  EXPECT_EQ(h->pblock->Append(hp_propertyObject, 2, loops), -1) << "all or nothing";
  EXPECT_EQ(h->pblock->Count(hp_propertyObject), 1);
  EXPECT_EQ(Thing::alive, 2) << "refused targets are still the caller's";
  thing->DeleteMe();
  h->DeleteMe();
  m->DeleteMe();
}

// FindRefParam answers the first parameter, in definition order, that holds the target: an owner's
// entry only when owners are asked about, and where a table's entries have moved, where they are now.
TEST_F(ParamBlock, FindRefParamAnswersWhereATargetIsHeldNow) {
  auto* m = new OwnerMaterial;
  auto* mtl = new SubMtl("m");
  ASSERT_TRUE(m->pblock->SetValue(mp_materialArray, 0, mtl, 7));
  int tab = -1;
  EXPECT_EQ(m->pblock->FindRefParam(mtl, tab), mp_materialArray);
  EXPECT_EQ(tab, 7);

  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  auto* node = new Node;
  auto* obj = new Thing("obj");
  pb->SetValue(hp_node, 0, node);
  pb->SetCount(hp_propertyObject, 3);
  pb->SetValue(hp_propertyObject, 0, obj, 2);
  pb->SetCount(hp_floatController, 2);
  pb->SetValue(hp_floatController, 0, obj, 1);
  EXPECT_EQ(pb->FindRefParam(obj, tab), hp_propertyObject) << "the earlier parameter of two that hold it";
  EXPECT_EQ(tab, 2);
  EXPECT_EQ(pb->FindRefParam(node, tab), hp_node);
  EXPECT_EQ(tab, -1) << "not a table";
  pb->Delete(hp_propertyObject, 0, 2);
  EXPECT_EQ(pb->FindRefParam(obj, tab), hp_propertyObject);
  EXPECT_EQ(tab, 0) << "moved down with the entries before it deleted";
  pb->Delete(hp_propertyObject, 0, 1);
  EXPECT_EQ(pb->FindRefParam(obj, tab), hp_floatController);
  EXPECT_EQ(tab, 1);
  h->DeleteMe();
  m->DeleteMe();
}

TEST_F(ParamBlock, OwnersReferencesAreReadAndWrittenThroughTheOwner) {
  auto* m = new OwnerMaterial;
  IParamBlock2* pb = m->pblock;
  auto* red = new SubMtl("red");
  auto* blue = new SubMtl("blue");
  const int blockRefs = pb->NumRefs();
  EXPECT_TRUE(pb->SetValue(mp_materialArray, 0, red, 5));
  EXPECT_EQ(m->GetReference(5), red) << "entry 5 is the owner's reference 5";
  EXPECT_EQ(pb->NumRefs(), blockRefs) << "the block holds no reference for it";
  EXPECT_EQ(red->GetDependents(), std::vector<ReferenceMaker*>{m});

  m->ReplaceReference(100, blue);
  EXPECT_EQ(pb->GetReferenceTarget(mp_materialArray, 0, 100), blue);

  pb->SetCount(mp_materialArray, 10);
  EXPECT_EQ(pb->Delete(mp_materialArray, 0, 1), 101);
  ReferenceTarget* one[] = {red};
  EXPECT_EQ(pb->Append(mp_materialArray, 1, one), -1);
  EXPECT_EQ(pb->Count(mp_materialArray), 101) << "the owner's references are a fixed range";
  EXPECT_EQ(m->GetReference(5), red);

  pb->SetValue(mp_materialArray, 0, static_cast<ReferenceTarget*>(nullptr), 5);
  EXPECT_EQ(m->GetReference(5), nullptr);
  EXPECT_EQ(Thing::alive, 1) << "red's last reference went";
  m->DeleteMe();
}

TEST_F(ParamBlock, EveryChangeTellsTheOwnerWhichParameterAndEntryChanged) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  h->changes.clear();
  pb->SetValue(hp_whichPass, 0, 5);
  pb->SetCount(hp_propertyName, 4);
  pb->SetValue(hp_propertyName, 0, "x", 3);
  const TCHAR* two[] = {"a", "b"};
  pb->Insert(hp_propertyName, 1, 2, two);
  pb->Delete(hp_propertyName, 2, 1);
  EXPECT_EQ(h->changes, (std::vector<Change>{{hp_whichPass, -1},
                                             {hp_propertyName, -1},
                                             {hp_propertyName, 3},
                                             {hp_propertyName, 1},
                                             {hp_propertyName, 2}}));
  int tab = 0;
  EXPECT_EQ(pb->LastNotifyParamID(tab), hp_propertyName);
  EXPECT_EQ(tab, 2) << "it stays set after the notification";
  ParamID id = -1;
  pb->LastNotifyParamID(id, tab);
  EXPECT_EQ(id, hp_propertyName);

  h->changes.clear();
  pb->EnableNotifications(FALSE);
  pb->SetValue(hp_whichPass, 0, 6);
  pb->EnableNotifications(TRUE);
  EXPECT_TRUE(h->changes.empty());
  EXPECT_EQ(pb->GetInt(hp_whichPass), 6) << "the value changed all the same";
  h->DeleteMe();
}

TEST_F(ParamBlock, ACloneHasItsOwnCopyOfEveryValueAndTable) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  auto* node = new Node;
  auto* obj = new Thing("obj");
  pb->SetValue(hp_whichPass, 0, 5001);
  pb->SetValue(hp_node, 0, node);
  const TCHAR* names[] = {"pos", "wireColor"};
  pb->Append(hp_propertyName, 2, names);
  int passes[] = {5000, 5001};
  pb->Append(hp_passlist, 2, passes);
  ReferenceTarget* objects[] = {obj};
  pb->Append(hp_propertyObject, 1, objects);

  DefaultRemapDir remap;
  auto* copy = static_cast<Holder*>(remap.CloneRef(h));
  IParamBlock2* cb = copy->pblock;
  ASSERT_NE(cb, nullptr);
  ASSERT_NE(cb, pb);
  EXPECT_EQ(cb->GetOwner(), copy);
  EXPECT_EQ(cb->GetInt(hp_whichPass), 5001);
  EXPECT_EQ(cb->GetINode(hp_node), node) << "nodes are shared, not cloned";
  EXPECT_EQ(strings(cb, hp_propertyName), (Strings{"pos", "wireColor"}));
  EXPECT_NE(cb->GetStr(hp_propertyName, 0, 0), pb->GetStr(hp_propertyName, 0, 0));
  EXPECT_EQ(cb->GetInt(hp_passlist, 0, 1), 5001);
  auto* objCopy = static_cast<Thing*>(cb->GetReferenceTarget(hp_propertyObject, 0, 0));
  ASSERT_NE(objCopy, nullptr);
  EXPECT_NE(objCopy, obj);
  EXPECT_EQ(objCopy->name, "obj'");

  cb->SetValue(hp_propertyName, 0, "changed", 0);
  cb->Delete(hp_passlist, 0, 1);
  EXPECT_STREQ(pb->GetStr(hp_propertyName, 0, 0), "pos");
  EXPECT_EQ(pb->Count(hp_passlist), 2);
  copy->DeleteMe();
  EXPECT_EQ(Thing::alive, 1) << "the clone's object went with the clone";
  h->DeleteMe();
}

TEST_F(ParamBlock, ACloneOfTheMaterialBlockLeavesTheOwnersReferencesToTheOwner) {
  auto* m = new OwnerMaterial;
  auto* red = new SubMtl("red");
  m->pblock->SetValue(mp_materialArray, 0, red, 0);
  m->pblock->SetValue(mp_labels, 0, "Beauty", 0);
  auto* cb = static_cast<IParamBlock2*>(m->pblock->Clone(NoRemap()));
  EXPECT_EQ(cb->Count(mp_materialArray), 101);
  EXPECT_EQ(cb->GetReferenceTarget(mp_materialArray, 0, 0), nullptr) << "nobody owns the clone yet";
  EXPECT_STREQ(cb->GetStr(mp_labels, 0, 0), "Beauty");
  cb->DeleteMe();
  m->DeleteMe();
}

TEST_F(ParamBlock, ResetPutsDefaultsAndDeclaredSizesBack) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  auto* t = new Thing;
  pb->SetValue(hp_whichPass, 0, 40);
  ReferenceTarget* objects[] = {t};
  pb->Append(hp_propertyObject, 1, objects);
  const TCHAR* names[] = {"a"};
  pb->Append(hp_propertyName, 1, names);
  theHold.Begin();
  pb->ResetAll();
  theHold.Accept("reset");
  EXPECT_EQ(pb->GetInt(hp_whichPass), 1);
  EXPECT_EQ(pb->Count(hp_propertyObject), 0);
  EXPECT_EQ(pb->Count(hp_propertyName), 0);
  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(pb->GetInt(hp_whichPass), 40);
  EXPECT_EQ(pb->GetReferenceTarget(hp_propertyObject, 0, 0), t);
  EXPECT_STREQ(pb->GetStr(hp_propertyName, 0, 0), "a");

  auto* m = new OwnerMaterial;
  m->pblock->SetValue(mp_labels, 0, "x", 7);
  m->pblock->Reset(mp_labels, 7);
  EXPECT_EQ(m->pblock->GetStr(mp_labels, 0, 7), nullptr);
  EXPECT_EQ(m->pblock->Count(mp_labels), 101);
  m->DeleteMe();
  h->DeleteMe();
}

TEST_F(ParamBlock, AnOwnerWithoutTheAutomaticReferenceFreesTheBlock) {
  struct NoSlots : Owner {
    SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
    IParamBlock2* block() override { return nullptr; }
  };
  auto* o = new NoSlots;
  holderCD.MakeAutoParamBlocks(o);  // reference 0 does not exist: the new block has nowhere to go
  EXPECT_EQ(o->NumRefs(), 0);
  o->DeleteMe();  // the sanitizer build checks that the block did not leak
}

}  // namespace
