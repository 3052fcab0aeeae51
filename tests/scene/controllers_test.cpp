#include "animate.h"
#include "core/undo_stack.h"
#include "hold.h"
#include "scene/controllers/controllers.h"
#include "scene/scene_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using test::expectNear;

constexpr TimeValue kFrame = 160;

float floatAt(Control* c, TimeValue t) {
  float v = 0;
  Interval valid = FOREVER;
  c->GetValue(t, &v, valid);
  return v;
}

Point3 point3At(Control* c, TimeValue t) {
  Point3 v;
  Interval valid = FOREVER;
  c->GetValue(t, &v, valid);
  return v;
}

void setFloat(Control* c, TimeValue t, float v) { c->SetValue(t, &v); }

class Controllers : public test::SceneFixture {
 protected:
  void TearDown() override {
    AnimateOff();
    SceneFixture::TearDown();
  }
  template <class T>
  T* make(SClass_ID s, Class_ID cid) {
    return create<T>(s, cid);
  }
  Control* bezierFloat() { return make<Control>(CTRL_FLOAT_CLASS_ID, Class_ID(HYBRIDINTERP_FLOAT_CLASS_ID, 0)); }
};

TEST_F(Controllers, KeysFollowTheirTangentsAndHoldTheirEndValuesOutside) {
  Control* c = bezierFloat();
  ASSERT_NE(c, nullptr);
  AnimateOn();
  setFloat(c, 10 * kFrame, 10.0f);
  setFloat(c, 20 * kFrame, 30.0f);
  AnimateOff();
  ASSERT_EQ(c->NumKeys(), 3) << "the first animated change keeps the old value at frame 0";
  EXPECT_EQ(c->GetKeyTime(0), 0);
  // New keys are auto: the end keys ease, the middle key takes the slope through its neighbours.
  EXPECT_FLOAT_EQ(floatAt(c, 5 * kFrame), 3.125f);
  EXPECT_FLOAT_EQ(floatAt(c, 15 * kFrame), 21.875f);
  EXPECT_FLOAT_EQ(floatAt(c, 100 * kFrame), 30.0f);
  EXPECT_FLOAT_EQ(floatAt(c, -50 * kFrame), 0.0f);

  auto* keys = dynamic_cast<sim::KeyEditing*>(c);
  for (int i = 0; i < 3; ++i) {
    keys->setKeyTangent(i, true, sim::TangentType::Linear);
    keys->setKeyTangent(i, false, sim::TangentType::Linear);
  }
  EXPECT_FLOAT_EQ(floatAt(c, 5 * kFrame), 5.0f);
  EXPECT_FLOAT_EQ(floatAt(c, 15 * kFrame), 20.0f);
  c->DeleteMe();
}

TEST_F(Controllers, WithoutAnimateAValueReplacesTheConstantOrShiftsEveryKey) {
  Control* c = bezierFloat();
  setFloat(c, 10 * kFrame, 4.0f);
  EXPECT_EQ(c->NumKeys(), 0);
  EXPECT_FLOAT_EQ(floatAt(c, 0), 4.0f);

  AnimateOn();
  setFloat(c, 0, 7.0f);  // animate on at frame 0 on a track without keys makes no key
  EXPECT_EQ(c->NumKeys(), 0);
  setFloat(c, 10 * kFrame, 17.0f);
  AnimateOff();
  setFloat(c, 10 * kFrame, 27.0f);
  EXPECT_EQ(c->NumKeys(), 2);
  EXPECT_FLOAT_EQ(floatAt(c, 0), 17.0f) << "every key moved by the same amount";
  EXPECT_FLOAT_EQ(floatAt(c, 10 * kFrame), 27.0f);
  c->DeleteMe();
}

TEST_F(Controllers, AnAnimatedChangeIsUndoneAndRedoneAsOneStep) {
  Control* c = bezierFloat();
  theHold.Begin();
  AnimateOn();
  setFloat(c, 10 * kFrame, 5.0f);
  AnimateOff();
  theHold.Accept("key");
  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(c->NumKeys(), 0);
  EXPECT_FLOAT_EQ(floatAt(c, 10 * kFrame), 0.0f);
  ASSERT_TRUE(sim::redo());
  EXPECT_EQ(c->NumKeys(), 2);
  sim::flushUndo();
  c->DeleteMe();
}

TEST_F(Controllers, EulerAnglesRoundTripThroughQuaternions) {
  for (Point3 a : {Point3(0.3f, -0.7f, 1.2f), Point3(0.0f, 0.0f, 1.5707963f), Point3(-2.5f, 0.4f, 0.1f)}) {
    Quat q = sim::eulerToQuat(a);
    Quat back = sim::eulerToQuat(sim::quatToEuler(q));
    float dot = q.x * back.x + q.y * back.y + q.z * back.z + q.w * back.w;
    EXPECT_NEAR(std::fabs(dot), 1.0f, 1e-5f);
  }
  // Gimbal lock still gives a rotation that turns vectors the same way.
  Quat lock = sim::eulerToQuat(Point3(0.2f, 1.5707963f, 0.3f));
  Matrix3 m1, m2;
  lock.MakeMatrix(m1);
  sim::eulerToQuat(sim::quatToEuler(lock)).MakeMatrix(m2);
  expectNear(Point3(0.2f, 0.5f, 0.9f) * m1, Point3(0.2f, 0.5f, 0.9f) * m2, 1e-3f);
}

TEST_F(Controllers, PositionXYZSetsOnlyTheAxesThatChangeAndMergesTheirKeys) {
  auto* pos = make<Control>(CTRL_POSITION_CLASS_ID, IPOS_CONTROL_CLASS_ID);
  ASSERT_NE(pos, nullptr);
  ASSERT_EQ(pos->NumSubs(), 3);
  EXPECT_STREQ(pos->SubAnimName(1).data(), "Y Position");
  AnimateOn();
  Point3 p(5, 0, 0);
  pos->SetValue(10 * kFrame, &p);
  AnimateOff();
  EXPECT_EQ(pos->GetXController()->NumKeys(), 2);
  EXPECT_EQ(pos->GetYController()->NumKeys(), 0) << "an unchanged axis gets no key";
  EXPECT_EQ(pos->NumKeys(), 2);
  expectNear(point3At(pos, 5 * kFrame), Point3(2.5f, 0.0f, 0.0f));
  pos->DeleteMe();
}

TEST_F(Controllers, ATransformControllerAppliesScaleThenRotationThenPosition) {
  Control* prs = NewDefaultMatrix3Controller();
  Point3 pos(10, 0, 0);
  Quat rot = sim::eulerToQuat(Point3(0.0f, 0.0f, 1.5707963f));
  ScaleValue scale(Point3(2, 2, 2));
  prs->GetPositionController()->SetValue(0, &pos);
  prs->GetRotationController()->SetValue(0, &rot);
  prs->GetScaleController()->SetValue(0, &scale);
  Matrix3 m;
  Interval valid = FOREVER;
  prs->GetValue(0, &m, valid, CTRL_ABSOLUTE);
  expectNear(Point3(1, 0, 0) * m, Point3(10, 2, 0));

  // Writing a transform splits it back into the three parts.
  Matrix3 back = m;
  prs->SetValue(0, &back);
  expectNear(point3At(prs->GetPositionController(), 0), pos);
  ScaleValue s;
  prs->GetScaleController()->GetValue(0, &s, valid);
  expectNear(s.s, Point3(2, 2, 2));
  prs->DeleteMe();
}

TEST_F(Controllers, KeysCanBeAddedAtTheCurrentValueAndDeleted) {
  Control* c = bezierFloat();
  AnimateOn();
  setFloat(c, 10 * kFrame, 10.0f);
  AnimateOff();
  c->AddNewKey(5 * kFrame, 0);
  ASSERT_EQ(c->NumKeys(), 3);
  EXPECT_EQ(c->GetKeyIndex(5 * kFrame), 1);
  EXPECT_FLOAT_EQ(floatAt(c, 5 * kFrame), 5.0f) << "a new key holds the value that was there";
  c->AddNewKey(5 * kFrame, 0);
  EXPECT_EQ(c->NumKeys(), 3);
  c->DeleteKeyAtTime(10 * kFrame);
  EXPECT_EQ(c->NumKeys(), 2);
  EXPECT_FLOAT_EQ(floatAt(c, 10 * kFrame), 5.0f);
  c->DeleteKeys(TRACK_DOALL);
  EXPECT_EQ(c->NumKeys(), 0);
  EXPECT_FLOAT_EQ(floatAt(c, 99 * kFrame), 0.0f) << "without keys the track keeps its first key's value";
  c->DeleteMe();
}

TEST_F(Controllers, CopyTakesAnotherControllersAnimationOfTheSameValueType) {
  Control* from = bezierFloat();
  AnimateOn();
  setFloat(from, 10 * kFrame, 3.0f);
  AnimateOff();
  Control* to = bezierFloat();
  to->Copy(from);
  EXPECT_EQ(to->NumKeys(), 2);
  EXPECT_FLOAT_EQ(floatAt(to, 10 * kFrame), 3.0f);
  setFloat(from, 10 * kFrame, 8.0f);
  EXPECT_FLOAT_EQ(floatAt(to, 10 * kFrame), 3.0f) << "a copy, not an instance";

  Control* point = NewDefaultPoint3Controller();
  point->Copy(from);  // another value type: ignored
  EXPECT_EQ(point->NumKeys(), 0);
  // A position controller copies from any position-valued controller.
  Control* xyz = NewDefaultPositionController();
  Control* list = make<Control>(CTRL_POSITION_CLASS_ID, Class_ID(POSLIST_CONTROL_CLASS_ID, 0));
  Control* inner = NewDefaultPositionController();
  Point3 p(1, 2, 3);
  inner->SetValue(0, &p);
  list->AssignController(inner, 0);
  xyz->Copy(list);
  expectNear(point3At(xyz, 0), p);
  for (Control* c : {from, to, point, xyz, list}) c->DeleteMe();
}

class ListControllers : public Controllers {
 protected:
  Control* floatList() { return make<Control>(CTRL_FLOAT_CLASS_ID, Class_ID(FLOATLIST_CONTROL_CLASS_ID, 0)); }
  static IListControl* iface(Control* c) { return GetIListControlInterface(c); }
};

TEST_F(ListControllers, EveryListClassIsMadeByItsIdsAndAnswersTheListInterface) {
  const std::pair<SClass_ID, ULONG> lists[] = {
      {CTRL_FLOAT_CLASS_ID, 0x4b4b1000}, {CTRL_POINT3_CLASS_ID, 0x4b4b1001}, {CTRL_POSITION_CLASS_ID, 0x4b4b1002},
      {CTRL_ROTATION_CLASS_ID, 0x4b4b1003}, {CTRL_SCALE_CLASS_ID, 0x4b4b1004}, {CTRL_POINT4_CLASS_ID, 0x4b4b1005},
      {CTRL_FRGBA_CLASS_ID, 0x4b4b1005}};
  for (auto [sclass, a] : lists) {
    auto* c = make<Control>(sclass, Class_ID(a, 0));
    ASSERT_NE(c, nullptr) << std::hex << sclass;
    EXPECT_EQ(c->SuperClassID(), sclass);
    ASSERT_NE(iface(c), nullptr);
    EXPECT_EQ(iface(c)->GetListCount(), 0);
    c->DeleteMe();
  }
}

TEST_F(ListControllers, AListHoldsTheNodesOwnControllerAsAnInstance) {
  INode* box = makeBox();
  Control* pos = box->GetTMController()->GetPositionController();
  auto* list = make<Control>(CTRL_POINT3_CLASS_ID, Class_ID(POINT3LIST_CONTROL_CLASS_ID, 0));
  ASSERT_TRUE(list->AssignController(pos, 0)) << "a position controller fits a point3 list";
  ASSERT_TRUE(list->AssignController(pos, 1));
  IListControl* l = iface(list);
  ASSERT_EQ(l->GetListCount(), 2);
  EXPECT_EQ(l->GetSubCtrl(0), pos);
  EXPECT_EQ(l->GetSubCtrl(1), pos) << "the same object, not a copy";

  Point3 moved(1, 2, 3);
  pos->SetValue(0, &moved);
  expectNear(point3At(l->GetSubCtrl(0), 0), moved);
  Point3 fromList(4, 5, 6);
  l->GetSubCtrl(1)->SetValue(0, &fromList);
  expectNear(box->GetNodeTM(0).GetTrans(), fromList);

  // Deleting the node leaves the controller alive in the list.
  box->Delete(0, TRUE);
  EXPECT_EQ(l->GetSubCtrl(0), pos);
  expectNear(point3At(pos, 0), fromList);
  list->DeleteMe();
}

TEST_F(ListControllers, EntriesHaveNamesThatDefaultToTheirClassAndCanBeDeleted) {
  Control* list = floatList();
  Control* a = bezierFloat();
  Control* b = bezierFloat();
  ASSERT_TRUE(list->AssignController(a, 0));
  ASSERT_TRUE(list->AssignController(b, 1));
  Control* spare = bezierFloat();
  Control* point = NewDefaultPoint3Controller();
  EXPECT_FALSE(list->AssignController(spare, 5)) << "only the next slot appends";
  EXPECT_FALSE(list->AssignController(point, 2)) << "a point3 does not fit a float list";
  spare->DeleteMe();
  point->DeleteMe();
  IListControl* l = iface(list);
  EXPECT_STREQ(l->GetName(0).data(), "bezier_float");
  l->SetName(1, "Captured");
  l->SetName(7, "ignored");
  EXPECT_STREQ(l->GetName(1).data(), "Captured");
  EXPECT_STREQ(list->SubAnimName(2).data(), "Available");

  l->DeleteItem(0);
  ASSERT_EQ(l->GetListCount(), 1);
  EXPECT_EQ(l->GetSubCtrl(0), b);
  EXPECT_STREQ(l->GetName(0).data(), "Captured") << "names move with their entries";
  l->DeleteItem(3);
  EXPECT_EQ(l->GetListCount(), 1);
  list->DeleteMe();
}

TEST_F(ListControllers, TheValueIsTheWeightedSumAndSettingItChangesTheActiveEntry) {
  Control* list = floatList();
  Control* a = bezierFloat();
  Control* b = bezierFloat();
  setFloat(a, 0, 2.0f);
  setFloat(b, 0, 3.0f);
  list->AssignController(a, 0);
  list->AssignController(b, 1);
  EXPECT_FLOAT_EQ(floatAt(list, 0), 5.0f);
  iface(list)->SetActive(1);
  setFloat(list, 0, 10.0f);
  EXPECT_FLOAT_EQ(floatAt(b, 0), 8.0f);
  EXPECT_FLOAT_EQ(floatAt(a, 0), 2.0f);
  list->DeleteMe();
}

TEST_F(ListControllers, RotationListsTurnInOrderAndScaleListsMultiply) {
  auto* rot = make<Control>(CTRL_ROTATION_CLASS_ID, Class_ID(ROTLIST_CONTROL_CLASS_ID, 0));
  Control* a = NewDefaultRotationController();
  Control* b = NewDefaultRotationController();
  Quat qa = sim::eulerToQuat(Point3(0.0f, 0.0f, 0.5f)), qb = sim::eulerToQuat(Point3(0.0f, 0.0f, 0.25f));
  a->SetValue(0, &qa);
  b->SetValue(0, &qb);
  rot->AssignController(a, 0);
  rot->AssignController(b, 1);
  Quat total;
  Interval valid = FOREVER;
  rot->GetValue(0, &total, valid);
  EXPECT_NEAR(sim::quatToEuler(total).z, 0.75f, 1e-5f);
  // Setting the total turns the active entry only.
  Quat want = sim::eulerToQuat(Point3(0.0f, 0.0f, 1.0f));
  rot->SetValue(0, &want);
  Quat first;
  a->GetValue(0, &first, valid);
  EXPECT_NEAR(sim::quatToEuler(first).z, 0.75f, 1e-5f);

  auto* scale = make<Control>(CTRL_SCALE_CLASS_ID, Class_ID(SCALELIST_CONTROL_CLASS_ID, 0));
  Control* s1 = NewDefaultScaleController();
  Control* s2 = NewDefaultScaleController();
  ScaleValue two(Point3(2, 2, 2)), three(Point3(3, 1, 1));
  s1->SetValue(0, &two);
  s2->SetValue(0, &three);
  scale->AssignController(s1, 0);
  scale->AssignController(s2, 1);
  ScaleValue product;
  scale->GetValue(0, &product, valid);
  expectNear(product.s, Point3(6, 2, 2));
  rot->DeleteMe();
  scale->DeleteMe();
}

TEST_F(ListControllers, AppendingAndDeletingEntriesUndo) {
  Control* list = floatList();
  Control* a = bezierFloat();
  theHold.Begin();
  list->AssignController(a, 0);
  iface(list)->SetName(0, "Null");
  theHold.Accept("append");
  theHold.Begin();
  iface(list)->DeleteItem(0);
  theHold.Accept("delete");

  ASSERT_TRUE(sim::undo());
  ASSERT_EQ(iface(list)->GetListCount(), 1);
  EXPECT_EQ(iface(list)->GetSubCtrl(0), a) << "the deleted controller was kept alive by the undo record";
  EXPECT_STREQ(iface(list)->GetName(0).data(), "Null");
  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(iface(list)->GetListCount(), 0);
  ASSERT_TRUE(sim::redo());
  EXPECT_EQ(iface(list)->GetSubCtrl(0), a);
  sim::flushUndo();
  list->DeleteMe();
}

TEST_F(ListControllers, AListCannotHoldItself) {
  Control* list = floatList();
  Control* outer = floatList();
  outer->AssignController(list, 0);
  EXPECT_FALSE(list->AssignController(list, 0));
  EXPECT_FALSE(list->AssignController(outer, 0)) << "that would make a loop";
  EXPECT_EQ(iface(list)->GetListCount(), 0) << "a refused controller leaves no entry behind";
  outer->DeleteMe();
}

TEST_F(ListControllers, SlotsRefuseControllersOfAnotherValueTypeAndKeepWhatTheyHad) {
  // What a damaged scene file can ask for: each slot would otherwise write a value of the wrong
  // size into its parent's.
  Control* xyz = NewDefaultPositionController();
  Control* axis = static_cast<Control*>(xyz->GetReference(0));
  Control* euler = NewDefaultRotationController();
  EXPECT_EQ(xyz->ReplaceReference(0, euler), REF_FAIL);
  EXPECT_EQ(xyz->GetReference(0), axis);
  Point3 p = point3At(xyz, 0);
  EXPECT_EQ(p, Point3(0, 0, 0));

  Control* prs = NewDefaultMatrix3Controller();
  Control* pos = static_cast<Control*>(prs->GetReference(0));
  Control* single = bezierFloat();
  EXPECT_EQ(prs->ReplaceReference(0, single), REF_FAIL);
  EXPECT_EQ(prs->GetReference(0), pos);

  Control* list = floatList();
  ASSERT_TRUE(list->AssignController(bezierFloat(), 0));
  EXPECT_EQ(list->ReplaceReference(0, euler), REF_FAIL);
  EXPECT_EQ(floatAt(list, 0), 0.0f);
  for (Control* c : {xyz, euler, prs, list, single}) c->DeleteMe();
}

}  // namespace
