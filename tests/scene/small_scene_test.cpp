// A small scene of every kind of object the holder tells apart (a box with a bend, a light, a camera,
// a dummy, a wind space warp, an external reference), read back and written through the script
// property tables the way the holder's script texts reach them.
#include "animate.h"
#include "ixrefobj.h"
#include "iparamb2.h"
#include "maxscript/maxobjects.h"
#include "scene/scene_fixture.h"
#include "script/property_table.h"
#include "script/value_heap.h"
#include "scene/materials/stdmat.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class SmallScene : public test::SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    box = makeBox();
    bend = create<Modifier>(OSM_CLASS_ID, Class_ID(BENDOSM_CLASS_ID, 0));
    ip->AddModifier(*box, *bend);
    light = makeNode(LIGHT_CLASS_ID, Class_ID(OMNI_LIGHT_CLASS_ID, 0));
    camera = makeNode(CAMERA_CLASS_ID, Class_ID(SIMPLE_CAM_CLASS_ID, 0));
    dummy = makeNode(HELPER_CLASS_ID, Class_ID(DUMMY_CLASS_ID, 0));
    wind = makeNode(WSM_OBJECT_CLASS_ID, WINDOBJECT_CLASS_ID);
    auto* x = create<Object>(SYSTEM_CLASS_ID, XREFOBJ_CLASS_ID);
    x->ReplaceReference(0, create<Object>(GEOMOBJECT_CLASS_ID, Class_ID(SPHERE_CLASS_ID, 0)));
    xref = ip->CreateObjectNode(x);
  }
  void TearDown() override {
    AnimateOff();
    SceneFixture::TearDown();
  }

  Value* get(ReferenceTarget* t, const char* name, TimeValue time = 0) {
    const sim::PropertyEntry* e = sim::findPropertyEntry(t, Name::intern(name));
    if (!e) ADD_FAILURE() << "no property " << name;
    return e ? e->get(t, time) : undefined;
  }
  void set(ReferenceTarget* t, const char* name, Value* v, TimeValue time = 0) {
    const sim::PropertyEntry* e = sim::findPropertyEntry(t, Name::intern(name));
    if (!e || !e->set) {
      ADD_FAILURE() << "no settable property " << name;
      return;
    }
    e->set(t, time, v);
  }
  std::string text(Value* v) { return value_to_text(v); }

  sim::AllocFrame frame;
  INode *box, *light, *camera, *dummy, *wind, *xref;
  Modifier* bend;
};

TEST_F(SmallScene, EveryNodeAndObjectHasTheKindTheHolderTellsApart) {
  EXPECT_EQ(box->GetObjectRef()->SuperClassID(), GEN_DERIVOB_CLASS_ID);
  EXPECT_EQ(static_cast<IDerivedObject*>(box->GetObjectRef())->GetObjRef()->SuperClassID(), GEOMOBJECT_CLASS_ID);
  EXPECT_EQ(box->EvalWorldState(0).obj->SuperClassID(), GEOMOBJECT_CLASS_ID);
  EXPECT_EQ(light->GetObjectRef()->SuperClassID(), LIGHT_CLASS_ID);
  EXPECT_EQ(camera->GetObjectRef()->SuperClassID(), CAMERA_CLASS_ID);
  EXPECT_EQ(dummy->GetObjectRef()->SuperClassID(), HELPER_CLASS_ID);
  EXPECT_EQ(wind->GetObjectRef()->SuperClassID(), WSM_OBJECT_CLASS_ID);
  Object* x = xref->GetObjectRef();
  EXPECT_EQ(x->SuperClassID(), SYSTEM_CLASS_ID);
  EXPECT_EQ(x->ClassID(), Class_ID(0x92aab38c, 0));
  auto* xi = static_cast<IXRefObject8*>(x->GetInterface(Interface_ID(0x470145ad, 0x3daa64e1)));
  ASSERT_NE(xi, nullptr);
  EXPECT_EQ(xi->GetSourceObject(false, nullptr)->SuperClassID(), GEOMOBJECT_CLASS_ID);
  EXPECT_STREQ(box->GetName(), "Box01");
  EXPECT_STREQ(light->GetName(), "Omni01");
  EXPECT_STREQ(xref->GetName(), "Sphere01") << "an external reference is named after its source";
}

TEST_F(SmallScene, NodeFlagsReadAndWriteThroughTheScriptPropertyTable) {
  const char* const flags[] = {"renderable", "primaryVisibility", "secondaryVisibility", "inheritVisibility",
                               "receiveShadows", "castShadows", "applyAtmospherics", "renderOccluded",
                               "motionBlurOn", "isFrozen", "xray", "showTrajectory", "backfaceCull",
                               "showFrozenInGray", "generateCaustics", "generateGlobalIllum", "boxMode", "isHidden",
                               "isSelected"};
  for (const char* f : flags) {
    bool was = get(box, f) == true_value;
    set(box, f, bool_result(!was));
    EXPECT_EQ(get(box, f) == true_value, !was) << f;
    EXPECT_EQ(get(dummy, f) == true_value, was) << f << " of another node is untouched";
  }
  EXPECT_TRUE(box->ShowFrozenWithMtl()) << "showFrozenInGray off shows frozen nodes with their material";
  EXPECT_TRUE(box->IsNodeHidden());
  EXPECT_EQ(ip->GetSelNode(0), box);
  // Names are matched without case, as script matches them.
  EXPECT_EQ(get(box, "RENDERABLE"), get(box, "renderable"));
}

TEST_F(SmallScene, TransformWireColourMotionBlurAndUserDataSurviveSetAndGet) {
  set(box, "pos", new Point3Value(10.0f, 20.0f, 30.0f));
  EXPECT_EQ(text(get(box, "position")), "[10,20,30]");
  set(box, "rotation", new QuatValue(Quat(0.0f, 0.0f, 0.7071068f, 0.7071068f)));
  Quat q = static_cast<QuatValue*>(get(box, "rotation"))->q;
  EXPECT_NEAR(q.z, 0.7071068f, 1e-5f);
  EXPECT_EQ(text(get(box, "pos")), "[10,20,30]") << "rotating keeps the position";
  set(box, "scale", new Point3Value(2.0f, 2.0f, 2.0f));
  EXPECT_EQ(text(get(box, "scale")), "[2,2,2]");
  Matrix3 tm = static_cast<Matrix3Value*>(get(box, "transform"))->m;
  EXPECT_NEAR(tm[0].Length(), 2.0f, 1e-5f);

  set(box, "wirecolor", new ColorValue(255.0f, 0.0f, 0.0f));
  EXPECT_EQ(box->GetWireColor(), 255u);
  set(box, "wirecolor", new ColorValue(0.0f, 0.0f, 255.0f));
  EXPECT_EQ(static_cast<int>(box->GetWireColor()), 16711680);

  EXPECT_EQ(text(get(box, "motionBlur")), "#none");
  set(box, "motionBlur", Name::intern("image"));
  EXPECT_EQ(box->MotBlur(), MOTION_BLUR_IMAGE);
  set(box, "motionBlur", Integer::intern(1));
  EXPECT_EQ(text(get(box, "motionBlur")), "#object");

  EXPECT_EQ(get(box, "visibility"), true_value);
  set(box, "visibility", Float::intern(0.5f));
  EXPECT_EQ(text(get(box, "visibility")), "0.5");
  EXPECT_NE(box->GetVisController(), nullptr);
  set(box, "imageMotionBlurMultiplier", Float::intern(2.0f));
  EXPECT_EQ(text(get(box, "imageMotionBlurMultiplier")), "2.0");

  box->SetUserPropBuffer("pass = beauty");
  MSTR buf;
  box->GetUserPropBuffer(buf);
  EXPECT_STREQ(buf.data(), "pass = beauty");
}

TEST_F(SmallScene, AnimatingAPropertyInsideAnimateMakesKeysOnItsController) {
  AnimateOn();
  set(box, "pos", new Point3Value(100.0f, 0.0f, 0.0f), 10 * 160);
  AnimateOff();
  EXPECT_EQ(text(get(box, "pos", 5 * 160)), "[50,0,0]");
  Control* pos = box->GetTMController()->GetPositionController();
  EXPECT_EQ(text(get(pos, "value", 10 * 160)), "[100,0,0]");
  EXPECT_EQ(text(get(pos, "keys")), "#keys(0f, 10f)");
}

TEST_F(SmallScene, HierarchyMaterialAndModifiersReadBackAsSceneObjects) {
  set(dummy, "parent", MAXNode::intern(box));
  EXPECT_EQ(dummy->GetParentNode(), box);
  auto* kids = static_cast<Array*>(get(box, "children"));
  ASSERT_EQ(kids->size, 1);
  EXPECT_EQ(kids->data[0]->to_node(), dummy);
  set(dummy, "parent", undefined);
  EXPECT_TRUE(dummy->GetParentNode()->IsRootNode());
  EXPECT_EQ(get(dummy, "parent"), undefined);

  StdMat* m = NewDefaultStdMat();
  set(box, "material", sim::wrapTarget(m));
  EXPECT_EQ(box->GetMtl(), m);
  EXPECT_EQ(get(box, "material")->to_mtl(), m);
  set(m, "name", new String("Red"));
  EXPECT_STREQ(m->GetName().data(), "Red");

  EXPECT_EQ(get(box, "baseObject")->to_reftarg()->SuperClassID(), GEOMOBJECT_CLASS_ID);
  auto* mods = static_cast<Array*>(get(box, "modifiers"));
  ASSERT_EQ(mods->size, 1);
  EXPECT_EQ(mods->data[0]->to_reftarg(), bend);
  EXPECT_EQ(get(bend, "enabled"), true_value);
  const sim::MethodEntry* activate = sim::findMethodEntry(bend, Name::intern("activate"));
  const sim::MethodEntry* isActivated = sim::findMethodEntry(bend, Name::intern("isActivated"));
  ASSERT_TRUE(activate && isActivated);
  Value* off = false_value;
  activate->fn(bend, &off, 1);
  EXPECT_FALSE(bend->IsEnabled());
  EXPECT_EQ(isActivated->fn(bend, nullptr, 0), false_value);
}

TEST_F(SmallScene, LightCameraAndObjectParametersReadAndWrite) {
  ReferenceTarget* omni = light->GetObjectRef();
  EXPECT_EQ(get(omni, "castShadows"), false_value);
  set(omni, "castShadows", true_value);
  EXPECT_EQ(static_cast<GenLight*>(omni)->GetShadow(), 1);
  EXPECT_EQ(text(get(omni, "color")), "(color 255 255 255)");
  set(omni, "color", new ColorValue(255.0f, 128.0f, 0.0f));
  EXPECT_NEAR(static_cast<GenLight*>(omni)->GetRGBColor(0).y, 128.0f / 255.0f, 1e-5f);
  set(omni, "multiplier", Float::intern(1.5f));
  EXPECT_EQ(text(get(omni, "multiplier")), "1.5");
  EXPECT_EQ(omni->SubAnimName(0), TSTR("Color")) << "so getPropertyController finds the colour track";

  ReferenceTarget* cam = camera->GetObjectRef();
  EXPECT_EQ(text(get(cam, "fov")), "45.0");
  set(cam, "fov", Float::intern(60.0f));
  EXPECT_NEAR(static_cast<GenCamera*>(cam)->GetFOV(0), 1.0471976f, 1e-5f);

  // Object parameters live in parameter blocks under the names scripts use.
  IParamBlock2* box = static_cast<IDerivedObject*>(this->box->GetObjectRef())->GetObjRef()->GetParamBlock(0);
  ASSERT_NE(box, nullptr);
  ParamBlockDesc2* d = box->GetDesc();
  EXPECT_FLOAT_EQ(box->GetFloat(d->IndextoID(d->NameToIndex("height"))), 25.0f);
  IParamBlock2* w = wind->GetObjectRef()->GetParamBlock(0);
  EXPECT_FLOAT_EQ(w->GetFloat(w->GetDesc()->IndextoID(w->GetDesc()->NameToIndex("strength"))), 1.0f);

  ReferenceTarget* x = xref->GetObjectRef();
  set(x, "fileName", new String("props.max"));
  EXPECT_EQ(text(get(x, "fileName")), "\"props.max\"");
  EXPECT_EQ(get(x, "sourceObject")->to_reftarg()->SuperClassID(), GEOMOBJECT_CLASS_ID);
}

TEST_F(SmallScene, ListControllerPropertiesCountFromOne) {
  auto* list = create<Control>(CTRL_FLOAT_CLASS_ID, Class_ID(FLOATLIST_CONTROL_CLASS_ID, 0));
  list->AssignController(NewDefaultFloatController(), 0);
  list->AssignController(NewDefaultFloatController(), 1);
  EXPECT_EQ(text(get(list, "count")), "2");
  set(list, "active", Integer::intern(2));
  EXPECT_EQ(GetIListControlInterface(list)->GetActive(), 1);
  Value* args[] = {Integer::intern(2), new String("Captured")};
  sim::findMethodEntry(list, Name::intern("setName"))->fn(list, args, 2);
  EXPECT_EQ(text(sim::findMethodEntry(list, Name::intern("getName"))->fn(list, args, 1)), "\"Captured\"");
  list->DeleteMe();
}

}  // namespace
