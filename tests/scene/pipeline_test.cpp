#include "ixrefobj.h"
#include "hold.h"
#include "iparamb2.h"
#include "scene/scene_fixture.h"
#include "triobj.h"

#include <gtest/gtest.h>

namespace {

using test::expectNear;

class Pipeline : public test::SceneFixture {
 protected:
  Modifier* bend(float angle) {
    auto* m = create<Modifier>(OSM_CLASS_ID, Class_ID(BENDOSM_CLASS_ID, 0));
    m->GetParamBlock(0)->SetValue(m->GetParamBlock(0)->IndextoID(0), 0, angle);  // "angle"
    return m;
  }
  static float height(INode* n) {
    const ObjectState& os = n->EvalWorldState(0);
    Box3 b;
    os.obj->GetDeformBBox(0, b);
    return b.Width().z;
  }
};

TEST_F(Pipeline, AModifierMakesTheNodeCarryADerivedObjectAndTheWorldStateATriangleObject) {
  INode* n = makeBox();
  Object* box = n->GetObjectRef();
  EXPECT_EQ(n->EvalWorldState(0).obj, box) << "an unmodified object is its own result";

  ASSERT_TRUE(ip->AddModifier(*n, *bend(90.0f)));
  Object* ref = n->GetObjectRef();
  ASSERT_EQ(ref->SuperClassID(), GEN_DERIVOB_CLASS_ID);
  auto* derived = static_cast<IDerivedObject*>(ref);
  EXPECT_EQ(derived->GetObjRef(), box);
  EXPECT_EQ(derived->NumModifiers(), 1);
  EXPECT_EQ(ref->FindBaseObject(), box);

  const ObjectState& os = n->EvalWorldState(0);
  ASSERT_NE(os.obj, nullptr);
  EXPECT_EQ(os.obj->ClassID(), triObjectClassID);
  EXPECT_EQ(os.obj->SuperClassID(), GEOMOBJECT_CLASS_ID);
  Box3 bent;
  os.obj->GetDeformBBox(0, bent);
  EXPECT_GT(bent.Width().x, 28.0f) << "a 90 degree bend lays the top of the box over sideways";
  // The base object is never changed by its modifiers.
  Box3 base;
  box->GetDeformBBox(0, base);
  EXPECT_FLOAT_EQ(base.Width().z, 25.0f);
}

TEST_F(Pipeline, TheWorldStateFollowsTheObjectsParameters) {
  INode* n = makeBox();
  IParamBlock2* pb = n->GetObjectRef()->GetParamBlock(0);
  ParamBlockDesc2* d = pb->GetDesc();
  pb->SetValue(d->IndextoID(d->NameToIndex("height")), 0, 40.0f);
  pb->SetValue(d->IndextoID(d->NameToIndex("heightsegs")), 0, 3);
  Object* tri = n->EvalWorldState(0).obj->ConvertToType(0, triObjectClassID);
  ASSERT_NE(tri, nullptr);
  Mesh& m = static_cast<TriObject*>(tri)->GetMesh();
  EXPECT_FLOAT_EQ(m.getBoundingBox().Width().z, 40.0f);
  EXPECT_EQ(m.getNumVerts(), 8 + 2 * 4) << "two more rings of four";
  tri->DeleteMe();
}

TEST_F(Pipeline, CloningAModifiedObjectGivesAnIndependentStack) {
  INode* n = makeBox();
  ip->AddModifier(*n, *bend(45.0f));
  DefaultRemapDir remap;
  auto* copy = static_cast<IDerivedObject*>(n->GetObjectRef()->Clone(remap));
  ASSERT_NE(copy, nullptr);
  INode* other = ip->CreateObjectNode(copy);
  auto* original = static_cast<IDerivedObject*>(n->GetObjectRef());
  EXPECT_NE(copy->GetModifier(0), original->GetModifier(0));
  EXPECT_NE(copy->GetObjRef(), original->GetObjRef());
  copy->GetModifier(0)->DisableMod();
  EXPECT_TRUE(original->GetModifier(0)->IsEnabled());
  EXPECT_STREQ(other->GetName(), "Box02") << "a node of a modified object is named after its base object";
}

TEST_F(Pipeline, ADisabledModifierIsSkippedAndHiddenNodesAreEvaluatedToo) {
  INode* n = makeBox();
  Modifier* m = bend(90.0f);
  ip->AddModifier(*n, *m);
  float bent = height(n);
  m->DisableMod();
  EXPECT_FALSE(m->IsEnabled());
  EXPECT_FLOAT_EQ(height(n), 25.0f);
  m->EnableMod();
  n->Hide(TRUE);
  EXPECT_FLOAT_EQ(height(n), bent);
}

TEST_F(Pipeline, ModifiersStackTopFirstAndCanBeDeleted) {
  INode* n = makeBox();
  Modifier* lower = bend(10.0f);
  Modifier* upper = bend(20.0f);
  ip->AddModifier(*n, *lower);
  ip->AddModifier(*n, *upper);
  auto* d = static_cast<IDerivedObject*>(n->GetObjectRef());
  ASSERT_EQ(d->NumModifiers(), 2);
  EXPECT_EQ(d->GetModifier(0), upper);
  EXPECT_STREQ(d->GetModifier(1)->GetName().data(), "Bend");
  upper->SetName("Top");
  EXPECT_STREQ(upper->GetName().data(), "Top");
  ASSERT_TRUE(ip->DeleteModifier(*n, 0));
  EXPECT_EQ(d->GetModifier(0), lower);
  EXPECT_FALSE(ip->DeleteModifier(*n, 5));
}

TEST_F(Pipeline, RemovingAModifierUndoesAndTheModifierComesBack) {
  INode* n = makeBox();
  ip->AddModifier(*n, *bend(45.0f));
  auto* d = static_cast<IDerivedObject*>(n->GetObjectRef());
  Modifier* m = d->GetModifier(0);
  theHold.Begin();
  d->DeleteModifier(0);
  theHold.Accept("delete modifier");
  EXPECT_EQ(d->NumModifiers(), 0);
  ASSERT_TRUE(sim::undo());
  ASSERT_EQ(d->NumModifiers(), 1);
  EXPECT_EQ(d->GetModifier(0), m);
}

TEST_F(Pipeline, ASpaceWarpBindingPutsADerivedObjectAboveTheObjectSpaceOne) {
  INode* n = makeBox();
  ip->AddModifier(*n, *bend(30.0f));
  INode* wind = makeNode(WSM_OBJECT_CLASS_ID, WINDOBJECT_CLASS_ID);
  ASSERT_NE(wind, nullptr);
  EXPECT_EQ(wind->GetObjectRef()->SuperClassID(), WSM_OBJECT_CLASS_ID);
  ASSERT_TRUE(sim::coreInterface()->bindSpaceWarp(n, wind));

  Object* top = n->GetObjOrWSMRef();
  ASSERT_EQ(top->SuperClassID(), GEN_DERIVOB_CLASS_ID);
  EXPECT_EQ(top->ClassID(), WSMDerivObjClassID);
  auto* inner = static_cast<IDerivedObject*>(top)->GetObjRef();
  EXPECT_EQ(inner->SuperClassID(), GEN_DERIVOB_CLASS_ID) << "a derived object inside the derived object";
  EXPECT_EQ(n->GetObjectRef(), inner) << "the object reference is the one below the bindings";
  EXPECT_EQ(static_cast<IDerivedObject*>(top)->GetModifier(0)->SuperClassID(), WSM_CLASS_ID);
  EXPECT_EQ(n->EvalWorldState(0).obj->SuperClassID(), GEOMOBJECT_CLASS_ID);
  EXPECT_FALSE(sim::coreInterface()->bindSpaceWarp(wind, wind)) << "a node is not bound to itself";
}

TEST_F(Pipeline, AShapeStaysAShapeUnderABend) {
  INode* circle = makeNode(SHAPE_CLASS_ID, Class_ID(CIRCLE_CLASS_ID, 0));
  ip->AddModifier(*circle, *bend(90.0f));
  Object* result = circle->EvalWorldState(0).obj;
  EXPECT_EQ(result->SuperClassID(), SHAPE_CLASS_ID);
  EXPECT_GT(result->NumPoints(), 0);
  Object* tri = result->ConvertToType(0, triObjectClassID);
  ASSERT_NE(tri, nullptr);
  EXPECT_EQ(tri->SuperClassID(), GEOMOBJECT_CLASS_ID);
  if (tri != result) tri->DeleteMe();
}

TEST_F(Pipeline, HelpersLightsAndCamerasIgnoreDeformingModifiers) {
  INode* dummy = makeNode(HELPER_CLASS_ID, Class_ID(DUMMY_CLASS_ID, 0));
  ip->AddModifier(*dummy, *bend(90.0f));
  EXPECT_EQ(dummy->EvalWorldState(0).obj->SuperClassID(), HELPER_CLASS_ID);
  EXPECT_EQ(dummy->EvalWorldState(0).obj, dummy->GetObjectRef()->FindBaseObject());
}

TEST_F(Pipeline, AnExternalReferenceAnswersItsInterfaceWithTheSourceObject) {
  auto* source = create<Object>(GEOMOBJECT_CLASS_ID, Class_ID(SPHERE_CLASS_ID, 0));
  auto* xref = create<Object>(SYSTEM_CLASS_ID, XREFOBJ_CLASS_ID);
  ASSERT_NE(xref, nullptr);
  INode* n = ip->CreateObjectNode(xref);
  EXPECT_EQ(xref->SuperClassID(), SYSTEM_CLASS_ID);
  auto* iface = IXRefObject8::GetInterface(*xref);
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->GetSourceObject(false, nullptr), nullptr);
  EXPECT_EQ(n->EvalWorldState(0).obj, xref) << "unresolved: the stand-in itself";

  xref->ReplaceReference(0, source);
  EXPECT_EQ(iface->GetSourceObject(false, nullptr), source);
  EXPECT_EQ(iface->GetSourceObject(false, nullptr)->SuperClassID(), GEOMOBJECT_CLASS_ID);
  EXPECT_EQ(n->EvalWorldState(0).obj, source) << "the node evaluates to the source";
  Object* tri = xref->ConvertToType(0, triObjectClassID);
  ASSERT_NE(tri, nullptr);
  EXPECT_NE(tri, source);
  tri->DeleteMe();
  EXPECT_EQ(static_cast<Animatable*>(source)->GetInterface(IID_XREF_OBJECT8), nullptr);

  // An external reference to an external reference resolves to the end when asked to.
  auto* outer = create<Object>(SYSTEM_CLASS_ID, XREFOBJ_CLASS_ID);
  outer->ReplaceReference(0, xref);
  auto* outerIface = IXRefObject8::GetInterface(*outer);
  EXPECT_EQ(outerIface->GetSourceObject(false, nullptr), xref);
  EXPECT_EQ(outerIface->GetSourceObject(true, nullptr), source);
  outer->DeleteMe();
}

}  // namespace
