#include "animate.h"
#include "core/ref_graph.h"
#include "hold.h"
#include "inodeexposure.h"
#include "scene/node_index.h"
#include "scene/scene_fixture.h"
#include "triobj.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>

namespace {

using test::expectNear;

class Nodes : public test::SceneFixture {};

TEST_F(Nodes, EveryRenderAndDisplayFlagSurvivesSetAndGet) {
  INode* n = makeBox();
  struct Flag {
    const char* name;
    int (*get)(INode*);
    void (*set)(INode*, BOOL);
    bool initially;
  };
  const Flag flags[] = {
      {"renderable", [](INode* x) { return x->Renderable(); }, [](INode* x, BOOL b) { x->SetRenderable(b); }, true},
      {"primary", [](INode* x) { return int(x->GetPrimaryVisibility()); }, [](INode* x, BOOL b) { x->SetPrimaryVisibility(b); }, true},
      {"secondary", [](INode* x) { return int(x->GetSecondaryVisibility()); }, [](INode* x, BOOL b) { x->SetSecondaryVisibility(b); }, true},
      {"inherit", [](INode* x) { return x->GetInheritVisibility(); }, [](INode* x, BOOL b) { x->SetInheritVisibility(b); }, true},
      {"receive", [](INode* x) { return x->RcvShadows(); }, [](INode* x, BOOL b) { x->SetRcvShadows(b); }, true},
      {"cast", [](INode* x) { return x->CastShadows(); }, [](INode* x, BOOL b) { x->SetCastShadows(b); }, true},
      {"atmos", [](INode* x) { return x->ApplyAtmospherics(); }, [](INode* x, BOOL b) { x->SetApplyAtmospherics(b); }, true},
      {"occluded", [](INode* x) { return x->GetRenderOccluded(); }, [](INode* x, BOOL b) { x->SetRenderOccluded(b); }, false},
      {"blurOn", [](INode* x) { return int(x->GetMotBlurOnOff(0)); }, [](INode* x, BOOL b) { x->SetMotBlurOnOff(0, b); }, true},
      {"frozen", [](INode* x) { return x->IsFrozen(); }, [](INode* x, BOOL b) { x->Freeze(b); }, false},
      {"xray", [](INode* x) { return x->HasObjXRayMtl(); }, [](INode* x, BOOL b) { x->XRayMtl(b); }, false},
      {"trajectory", [](INode* x) { return x->GetTrajectoryON(); }, [](INode* x, BOOL b) { x->SetTrajectoryON(b); }, false},
      {"backcull", [](INode* x) { return x->GetBackCull(); }, [](INode* x, BOOL b) { x->BackCull(b); }, false},
      {"frozenWithMtl", [](INode* x) { return x->ShowFrozenWithMtl(); }, [](INode* x, BOOL b) { x->SetShowFrozenWithMtl(b); }, false},
      {"caustics", [](INode* x) { return x->GetGenerateCaustics(); }, [](INode* x, BOOL b) { x->SetGenerateCaustics(b); }, false},
      {"gi", [](INode* x) { return x->GetGenerateGlobalIllum(); }, [](INode* x, BOOL b) { x->SetGenerateGlobalIllum(b); }, false},
      {"box", [](INode* x) { return x->GetBoxMode(); }, [](INode* x, BOOL b) { x->BoxMode(b); }, false},
      {"hidden", [](INode* x) { return x->IsNodeHidden(); }, [](INode* x, BOOL b) { x->Hide(b); }, false},
  };
  for (const Flag& f : flags) {
    EXPECT_EQ(f.get(n) != 0, f.initially) << f.name;
    f.set(n, !f.initially);
    EXPECT_EQ(f.get(n) != 0, !f.initially) << f.name;
  }
  // Flags are independent: each one kept its flipped value while the others changed.
  for (const Flag& f : flags) EXPECT_EQ(f.get(n) != 0, !f.initially) << f.name;

  n->SetMotBlur(MOTION_BLUR_IMAGE);
  EXPECT_EQ(n->MotBlur(), MOTION_BLUR_IMAGE);
  n->SetWireColor(0x000000FF);
  EXPECT_EQ(n->GetWireColor(), 0x000000FFu);
  EXPECT_EQ(Color(n->GetWireColor()), Color(1.0f, 0.0f, 0.0f)) << "red sits in the low byte";
}

TEST_F(Nodes, NodeSettersAreUndoneTogetherAsOneStep) {
  INode* n = makeBox();
  std::string oldName = n->GetName();
  DWORD oldWire = n->GetWireColor();
  theHold.Begin();
  n->SetName("Renamed");
  n->SetRenderable(FALSE);
  n->SetWireColor(0x00123456);
  n->SetMotBlur(MOTION_BLUR_OBJECT);
  n->SetUserPropBuffer("a = 1");
  n->SetObjOffsetPos(Point3(1.0f, 2.0f, 3.0f));
  INodeExposure::GetINodeExposure(*n)->SetExposed(false, INodeExposure::kSelectObjects);
  theHold.Accept("node changes");

  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(n->GetName(), oldName);
  EXPECT_EQ(ip->GetINodeByName(oldName.c_str()), n) << "the name index follows undo";
  EXPECT_EQ(ip->GetINodeByName("Renamed"), nullptr);
  EXPECT_TRUE(n->Renderable());
  EXPECT_EQ(n->GetWireColor(), oldWire);
  EXPECT_EQ(n->MotBlur(), MOTION_BLUR_NONE);
  MSTR buf;
  n->GetUserPropBuffer(buf);
  EXPECT_TRUE(buf.isNull());
  expectNear(n->GetObjOffsetPos(), Point3());
  EXPECT_TRUE(INodeExposure::GetINodeExposure(*n)->IsExposed(INodeExposure::kSelectObjects));

  ASSERT_TRUE(sim::redo());
  EXPECT_STREQ(n->GetName(), "Renamed");
  EXPECT_FALSE(n->Renderable());
  EXPECT_EQ(n->GetWireColor(), 0x00123456u);
}

TEST_F(Nodes, ExposureCategoriesAreIndependentAndOutsideOnesStayExposed) {
  INode* n = makeBox();
  INodeExposure* e = INodeExposure::GetINodeExposure(*n);
  ASSERT_NE(e, nullptr);
  // The sequence the holder primitives use to hide a node: every category but scripting.
  for (int c : {6, 7, 8, 3, 4, 5, 1, 0}) e->SetExposed(false, c);
  for (int c = 0; c < 9; ++c) EXPECT_EQ(e->IsExposed(c), c == 2) << "category " << c;
  e->SetExposed(true, 7);
  EXPECT_TRUE(e->IsExposed(7));
  EXPECT_FALSE(e->IsExposed(6));
  e->SetExposed(false, 42);
  EXPECT_TRUE(e->IsExposed(42));
  EXPECT_TRUE(e->IsExposed(-1));
  // Scripts reach the same through the published functions.
  FPParams p(2, TYPE_bool, true, TYPE_INT, 0);
  ASSERT_EQ(e->Invoke(INodeExposure::kSetExposed, &p), FPS_OK);
  FPParams q(1, TYPE_INT, 0);
  FPValue shown;
  ASSERT_EQ(e->Invoke(INodeExposure::kIsExposed, shown, &q), FPS_OK);
  EXPECT_TRUE(shown.b);
  // A hidden node is still found by name.
  EXPECT_EQ(ip->GetINodeByName(n->GetName()), n);
}

TEST_F(Nodes, UserPropertiesAreLinesOfKeyEqualsValue) {
  INode* n = makeBox();
  n->SetUserPropBuffer("speed = 5\r\nName=Lamp\r\n");
  MSTR v;
  ASSERT_TRUE(n->GetUserPropString("NAME", v));
  EXPECT_STREQ(v.data(), "Lamp");
  n->SetUserPropString("speed", "7");
  n->SetUserPropString("new", "x");
  MSTR buf;
  n->GetUserPropBuffer(buf);
  EXPECT_STREQ(buf.data(), "speed = 7\r\nName=Lamp\r\nnew = x\r\n");
  EXPECT_FALSE(n->UserPropExists("missing"));
}

TEST_F(Nodes, ATransformComposesWithTheParentsAndAttachingKeepsTheWorldPlace) {
  INode* parent = makeBox();
  INode* child = makeBox();
  Matrix3 p = RotateZMatrix(1.5707963f) * TransMatrix(Point3(10.0f, 0.0f, 0.0f));
  parent->SetNodeTM(0, p);
  Matrix3 c = TransMatrix(Point3(0.0f, 5.0f, 0.0f));
  child->SetNodeTM(0, c);

  parent->AttachChild(child, 1);
  expectNear(child->GetNodeTM(0).GetTrans(), Point3(0.0f, 5.0f, 0.0f));
  expectNear(Point3(1.0f, 0.0f, 0.0f) * child->GetNodeTM(0), Point3(1.0f, 5.0f, 0.0f));  // and its world rotation
  // Moving the parent carries the child along.
  Point3 moved(20.0f, 0.0f, 0.0f);
  parent->GetTMController()->GetPositionController()->SetValue(0, &moved);
  expectNear(child->GetNodeTM(0).GetTrans(), Point3(10.0f, 5.0f, 0.0f));
  expectNear(child->GetParentTM(0).GetTrans(), moved);

  // The object offset applies before the node transform.
  child->SetObjOffsetPos(Point3(0.0f, 0.0f, 2.0f));
  expectNear(child->GetObjectTM(0).GetTrans(), Point3(10.0f, 5.0f, 2.0f));
  expectNear(child->GetNodeTM(0).GetTrans(), Point3(10.0f, 5.0f, 0.0f));
}

TEST_F(Nodes, AnimatedTransformsInterpolateBetweenKeys) {
  INode* n = makeBox();
  AnimateOn();
  Matrix3 m = TransMatrix(Point3(0.0f, 100.0f, 0.0f));
  n->SetNodeTM(10 * 160, m);
  AnimateOff();
  expectNear(n->GetNodeTM(5 * 160).GetTrans(), Point3(0.0f, 50.0f, 0.0f));
  expectNear(n->GetNodeTM(0).GetTrans(), Point3());
  EXPECT_EQ(n->GetTMController()->GetRotationController()->NumKeys(), 0) << "an unchanged rotation gets no key";
}

TEST_F(Nodes, AHierarchyAHundredThousandDeepNeedsNoRecursion) {
  constexpr int kDepth = 100000;
  INode* top = makeBox();
  INode* last = top;
  Point3 step(1.0f, 0.0f, 0.0f);
  top->GetTMController()->GetPositionController()->SetValue(0, &step);
  for (int i = 1; i < kDepth; ++i) {
    INode* n = makeBox();
    n->GetTMController()->GetPositionController()->SetValue(0, &step);
    last->AttachChild(n, 0);
    last = n;
  }
  EXPECT_NEAR(last->GetNodeTM(0).GetTrans().x, float(kDepth), 1.0f);
  // A change at the top reaches the bottom.
  Point3 up(1.0f, 0.0f, 1.0f);
  top->GetTMController()->GetPositionController()->SetValue(0, &up);
  EXPECT_NEAR(last->GetNodeTM(0).GetTrans().z, 1.0f, 1e-3f);
  last->Delete(0, TRUE);
  sim::coreInterface()->resetScene();  // frees the whole chain without recursing
}

TEST_F(Nodes, FindingANodeByNameDoesNotGetSlowerAsTheSceneGrows) {
  for (int i = 0; i < 20000; ++i) makeBox();
  EXPECT_STREQ(ip->CreateObjectNode(nullptr)->GetName(), "Object01");
  INode* last = makeBox();
  EXPECT_STREQ(last->GetName(), "Box20001");
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 20000; ++i) ASSERT_EQ(ip->GetINodeByName("box20001"), last);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

  last->SetName("Lamp");
  EXPECT_EQ(ip->GetINodeByName("LAMP"), last);
  EXPECT_EQ(ip->GetINodeByName("Box20001"), nullptr);
  EXPECT_STREQ(makeBox()->GetName(), "Box20001") << "the freed number is used again";
  INode* seventh = ip->GetINodeByName("Box07");
  ASSERT_NE(seventh, nullptr);
  seventh->Delete(0, TRUE);
  EXPECT_STREQ(makeBox()->GetName(), "Box07");
}

TEST_F(Nodes, TwoNodesOfOneNameAreFoundInTheOrderTheyWereMade) {
  INode* a = makeBox();
  INode* b = makeBox();
  b->SetName("Twin");
  a->SetName("Twin");
  EXPECT_EQ(ip->GetINodeByName("twin"), a);
  a->Delete(0, TRUE);
  EXPECT_EQ(ip->GetINodeByName("twin"), b);
}

TEST_F(Nodes, DeletingANodeKeepsItsChildrenWhereTheyAreInTheWorldAndFreesWhatOnlyItHeld) {
  INode* parent = makeBox();
  INode* child = makeBox();
  Point3 at(5.0f, 0.0f, 0.0f);
  parent->GetTMController()->GetPositionController()->SetValue(0, &at);
  parent->AttachChild(child, 0);
  expectNear(child->GetNodeTM(0).GetTrans(), at);
  Object* obj = parent->GetObjectRef();
  sim::KeepAlive watch(obj);  // frees it once the test looks no more, as nothing else holds it

  parent->Delete(0, TRUE);
  EXPECT_TRUE(child->GetParentNode()->IsRootNode());
  expectNear(child->GetNodeTM(0).GetTrans(), at);
  EXPECT_EQ(obj->NumDependents(), 0) << "nothing holds the object of the deleted node";
  EXPECT_EQ(ip->GetINodeByName("Box01"), nullptr);
  EXPECT_EQ(ip->GetINodeByName("Box02"), child);
}

TEST_F(Nodes, InstancedObjectsAndSharedControllersStayOneObject) {
  INode* a = makeBox();
  INode* b = ip->CreateObjectNode(a->GetObjectRef());
  EXPECT_EQ(a->GetObjectRef(), b->GetObjectRef());
  b->SetTMController(a->GetTMController());
  Point3 p(0.0f, 7.0f, 0.0f);
  a->GetTMController()->GetPositionController()->SetValue(0, &p);
  expectNear(b->GetNodeTM(0).GetTrans(), p);  // both nodes moved: their cached transforms were dropped
  a->Delete(0, TRUE);
  EXPECT_FALSE(b->GetObjectRef()->IsDeleted());
  expectNear(b->GetNodeTM(0).GetTrans(), p);
  Control* point = NewDefaultPoint3Controller();
  EXPECT_FALSE(b->SetTMController(point)) << "only a transform controller drives a node";
  point->DeleteMe();
}

TEST_F(Nodes, VisibilityAndBlurMultiplierControllersAreMadeWhenFirstSet) {
  INode* n = makeBox();
  EXPECT_EQ(n->GetVisController(), nullptr);
  EXPECT_FLOAT_EQ(n->GetVisibility(0), 1.0f);
  n->SetVisibility(0, 0.25f);
  ASSERT_NE(n->GetVisController(), nullptr);
  EXPECT_FLOAT_EQ(n->GetVisibility(0), 0.25f);

  Control* mult = NewDefaultFloatController();
  float two = 2.0f;
  mult->SetValue(0, &two);
  n->SetImageBlurMultController(mult);
  EXPECT_EQ(n->GetImageBlurMultController(), mult);
  EXPECT_FLOAT_EQ(n->GetImageBlurMultiplier(0), 2.0f);
  Control* point = NewDefaultPoint3Controller();
  n->SetVisController(point);
  EXPECT_NE(n->GetVisController(), point) << "only float controllers drive visibility";
  point->DeleteMe();
  n->SetVisController(nullptr);
  EXPECT_FLOAT_EQ(n->GetVisibility(0), 1.0f);

  // Scripts assign through the sub-animations, numbered as the application does: 0 visibility,
  // 1 space warps (no controller), 2 transform, 3 object, 4 material, 5 blur multiplier.
  Control* vis = NewDefaultFloatController();
  EXPECT_TRUE(n->AssignController(vis, 0));
  EXPECT_EQ(n->GetVisController(), vis);
  EXPECT_STREQ(n->SubAnimName(0).data(), "Visibility");
  Control* prs = NewDefaultMatrix3Controller();
  EXPECT_FALSE(n->AssignController(prs, 1)) << "the space-warp slot takes no controller";
  EXPECT_TRUE(n->AssignController(prs, 2));
  EXPECT_EQ(n->GetTMController(), prs);
  EXPECT_STREQ(n->SubAnimName(2).data(), "Transform");
  EXPECT_FALSE(n->AssignController(prs, 0)) << "a transform does not drive visibility";
  EXPECT_FALSE(n->AssignController(vis, 3)) << "the object is no controller slot";
}

TEST_F(Nodes, SelectionKeepsItsOrderAndForgetsDeletedNodes) {
  INode* a = makeBox();
  INode* b = makeBox();
  ip->SelectNode(b);
  ip->SelectNode(a, 0);
  ASSERT_EQ(ip->GetSelNodeCount(), 2);
  EXPECT_EQ(ip->GetSelNode(0), b);
  EXPECT_TRUE(a->Selected());
  b->Delete(0, TRUE);
  EXPECT_EQ(ip->GetSelNodeCount(), 1);
  ip->SelectNode(a);
  EXPECT_EQ(ip->GetSelNodeCount(), 1);
  ip->ClearNodeSelection();
  EXPECT_FALSE(a->Selected());
}

TEST_F(Nodes, ATargetCameraLooksAtItsTargetNode) {
  INode* cam = makeNode(CAMERA_CLASS_ID, Class_ID(LOOKAT_CAM_CLASS_ID, 0));
  INode* target = cam->GetTarget();
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(std::string(target->GetName()), std::string(cam->GetName()) + ".Target");
  Matrix3 m = TransMatrix(Point3(0.0f, -100.0f, 0.0f));
  cam->SetNodeTM(0, m);
  Matrix3 t = TransMatrix(Point3(0.0f, 0.0f, 0.0f));
  target->SetNodeTM(0, t);
  // The camera looks down its -z: towards the target.
  Point3 forward = -cam->GetNodeTM(0).GetRow(2);
  expectNear(forward, Point3(0.0f, 1.0f, 0.0f));
}

}  // namespace

namespace {

// Scene walks look nodes up by handle once per node, so the lookup must not scan the scene.
TEST_F(Nodes, NodesAreFoundByHandleUntilTheyLeaveTheScene) {
  INode* a = makeBox();
  INode* child = makeBox();
  a->AttachChild(child);
  EXPECT_EQ(ip->GetINodeByHandle(a->GetHandle()), a);
  EXPECT_EQ(ip->GetINodeByHandle(child->GetHandle()), child);
  EXPECT_EQ(ip->GetINodeByHandle(ip->GetRootNode()->GetHandle()), ip->GetRootNode());
  const ULONG gone = child->GetHandle();
  child->Delete(0, FALSE);
  EXPECT_EQ(ip->GetINodeByHandle(gone), nullptr);
  EXPECT_EQ(ip->GetINodeByHandle(0xFFFFFFF0u), nullptr);
}

}  // namespace
