// Controllers of animatable parameters: an entry set with the animate state on at a time other
// than 0 gets a controller that keeps its old value at 0, the block reads through it, undo takes it
// away again, and SetControllerByID takes only controllers of the entry's value type.
#include "param_block_test_objects.h"

#include "animate.h"
#include "control.h"
#include "hold.h"

namespace {

using namespace pbtest;

class ParamBlockControllers : public ParamBlock {
 protected:
  void TearDown() override {
    AnimateOff();
    ParamBlock::TearDown();
  }
};

TEST_F(ParamBlockControllers, AnAnimatedWriteGivesTheEntryAControllerKeepingItsOldValueAtZero) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  pb->SetValue(hp_whichPass, 0, 5000);
  EXPECT_EQ(pb->GetControllerByID(hp_whichPass), nullptr) << "a write at time 0 stays a plain value";
  AnimateOn();
  pb->SetValue(hp_whichPass, 0, 5001);
  EXPECT_EQ(pb->GetControllerByID(hp_whichPass), nullptr);

  pb->SetValue(hp_whichPass, 10 * 160, 5100);
  Control* c = pb->GetControllerByID(hp_whichPass);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->SuperClassID(), CTRL_FLOAT_CLASS_ID) << "int entries are driven by float controllers";
  EXPECT_EQ(c->NumKeys(), 2);
  EXPECT_EQ(pb->GetInt(hp_whichPass, 0), 5001);
  EXPECT_EQ(pb->GetInt(hp_whichPass, 10 * 160), 5100);
  EXPECT_EQ(pb->GetReference(pb->GetControllerRefNum(pb->IDtoIndex(hp_whichPass))), c);

  EXPECT_EQ(pb->GetControllerByID(hp_iconsize), nullptr) << "entries that are not animatable never get one";
  pb->SetValue(hp_iconsize, 10 * 160, 3.0f);
  EXPECT_EQ(pb->GetControllerByID(hp_iconsize), nullptr);
  EXPECT_FLOAT_EQ(pb->GetFloat(hp_iconsize), 3.0f);
  h->DeleteMe();
}

TEST_F(ParamBlockControllers, UndoTakesTheNewControllerAway) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  AnimateOn();
  theHold.Begin();
  pb->SetValue(hp_whichPass, 20 * 160, 7);
  theHold.Accept("animate");
  ASSERT_NE(pb->GetControllerByID(hp_whichPass), nullptr);
  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(pb->GetControllerByID(hp_whichPass), nullptr);
  EXPECT_EQ(pb->GetInt(hp_whichPass, 20 * 160), 1);
  h->DeleteMe();
}

TEST_F(ParamBlockControllers, SetControllerByIDTakesOnlyControllersOfTheEntrysType) {
  auto* h = new Holder;
  IParamBlock2* pb = h->pblock;
  pb->SetValue(hp_whichPass, 0, 42);
  Control* point = NewDefaultPoint3Controller();
  EXPECT_FALSE(pb->SetControllerByID(hp_whichPass, 0, point));
  point->MaybeAutoDelete();
  Control* unused = NewDefaultFloatController();
  EXPECT_FALSE(pb->SetControllerByID(hp_iconsize, 0, unused)) << "an entry without a controller slot";
  unused->MaybeAutoDelete();

  Control* f = NewDefaultFloatController();
  ASSERT_TRUE(pb->SetControllerByID(hp_whichPass, 0, f));
  EXPECT_EQ(pb->GetControllerByID(hp_whichPass), f);
  EXPECT_EQ(pb->GetInt(hp_whichPass), 42) << "the value at 0 carries over to the new controller";
  pb->SetValue(hp_whichPass, 0, 43);
  float v = 0;
  Interval valid = FOREVER;
  f->GetValue(0, &v, valid);
  EXPECT_FLOAT_EQ(v, 43.0f) << "writes go to the controller";

  ASSERT_TRUE(pb->SetControllerByID(hp_whichPass, 0, nullptr));
  EXPECT_EQ(pb->GetControllerByID(hp_whichPass), nullptr);
  EXPECT_EQ(pb->GetInt(hp_whichPass), 43) << "back to a plain value holding what the controller showed";
  h->DeleteMe();
}

}  // namespace
