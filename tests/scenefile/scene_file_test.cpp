// Scene files: what a saved scene gives back, what a damaged one does not do, and how a scene whose
// module is missing survives a session without it.
#include "animate.h"
#include "control.h"
#include "core/class_registry.h"
#include "core/core_interface.h"
#include "core/plugin_loader.h"
#include "imtl.h"
#include "inode.h"
#include "istdplug.h"
#include "iparamb2.h"
#include "plugins/scene_test_classes.h"
#include "scene/scene_services.h"
#include "scenefile/chunk_format.h"
#include "scenefile/scene_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <sstream>

using namespace scenetest;

namespace {

const char* kModule = "test_scene_classes.dlo";

// The test module is loaded once and stays: objects of its classes may outlive a test's scene.
void loadTestModule() {
  static bool loaded = [] {
    static sim::PluginLoader loader;
    std::ostringstream errors;
    return loader.loadModule(std::string(QZM_TEST_PLUGIN_DIR) + "/" + kModule, errors);
  }();
  ASSERT_TRUE(loaded);
}

class SceneFile : public ::testing::Test {
 protected:
  void SetUp() override {
    loadTestModule();
    sim::coreInterface()->resetScene();
  }
  void TearDown() override { sim::coreInterface()->resetScene(); }

  template <class T = ReferenceTarget>
  T* create(SClass_ID s, Class_ID c) {
    return dynamic_cast<T*>(static_cast<Animatable*>(ip->CreateInstance(s, c)));
  }
  INode* node(const char* name, Object* obj) {
    INode* n = ip->CreateObjectNode(obj);
    n->SetName(name);
    return n;
  }
  INode* holderNode(const char* name) { return node(name, create<Object>(HELPER_CLASS_ID, kHolderClass)); }
  static IParamBlock2* block(INode* n) { return n->GetObjectRef()->GetParamBlock(0); }

  sim::Bytes save() {
    sim::Bytes bytes;
    std::string error;
    EXPECT_TRUE(sim::writeScene(bytes, error)) << error;
    return bytes;
  }
  sim::SceneLoadResult load(const sim::Bytes& bytes) { return sim::readScene(bytes.data(), bytes.size()); }
  // Loads `bytes` and checks that the loaded scene saves to the same bytes.
  void reload(const sim::Bytes& bytes) {
    sim::SceneLoadResult r = load(bytes);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(save(), bytes);
  }
  INode* byName(const char* name) { return ip->GetINodeByName(name); }

  Interface* ip = GetCOREInterface();
};

// Offsets where a chunk starts or ends, at every depth.
void chunkBoundaries(const sim::Bytes& b, size_t pos, size_t end, std::vector<size_t>& out) {
  while (pos + sim::kChunkHeaderSize <= end) {
    ULONGLONG len;
    std::memcpy(&len, b.data() + pos + 2, sizeof len);
    const bool container = (len & sim::kContainerBit) != 0;
    len &= ~sim::kContainerBit;
    out.push_back(pos);
    out.push_back(pos + sim::kChunkHeaderSize);
    if (container) chunkBoundaries(b, pos + sim::kChunkHeaderSize, pos + sim::kChunkHeaderSize + len, out);
    pos += sim::kChunkHeaderSize + len;
    out.push_back(pos);
  }
}

TEST_F(SceneFile, EveryParameterTypeComesBackAsItWas) {
  INode* target = node("Target", create<Object>(GEOMOBJECT_CLASS_ID, Class_ID(BOXOBJ_CLASS_ID, 0)));
  INode* h = holderNode("Holder");
  IParamBlock2* pb = block(h);
  Mtl* mtl = create<Mtl>(MATERIAL_CLASS_ID, Class_ID(DMTL_CLASS_ID, 0));
  Texmap* map = create<Texmap>(TEXMAP_CLASS_ID, Class_ID(CHECKER_CLASS_ID, 0));
  Matrix3 m;
  m.SetRow(0, Point3(1.0f, 2.0f, 3.0f));
  m.SetRow(3, Point3(-4.0f, 5.5f, 6.0f));
  pb->SetValue(pInt, 0, -42);
  pb->SetValue(pFloat, 0, 0.1f);
  pb->SetValue(pRGBA, 0, Color(0.25f, 0.5f, 1.0f));
  pb->SetValue(pPoint3, 0, Point3(1e30f, -0.0f, 3.0f));
  pb->SetValue(pBool, 0, 1);
  pb->SetValue(pAngle, 0, 3.14159f);
  pb->SetValue(pPcntFrac, 0, 0.75f);
  pb->SetValue(pWorld, 0, 12.5f);
  pb->SetValue(pString, 0, "");  // empty, which is not the same as unset (pFilename stays unset)
  pb->SetValue(pHSV, 0, Point3(0.1f, 0.2f, 0.3f));
  pb->SetValue(pColorChannel, 0, 0.5f);
  pb->SetValue(pTimeValue, 0, 4800);
  pb->SetValue(pRadio, 0, 2);
  pb->SetValue(pIndex, 0, 9);
  pb->SetValue(pMatrix3, 0, m);
  pb->SetValue(pPoint4, 0, Point4(1.0f, 2.0f, 3.0f, 4.0f));
  pb->SetValue(pFRGBA, 0, AColor(0.1f, 0.2f, 0.3f, 0.4f));
  pb->SetValue(pNode, 0, target);
  pb->SetValue(pRefTarg, 0, static_cast<ReferenceTarget*>(target->GetTMController()));
  pb->SetValue(pMtl, 0, static_cast<ReferenceTarget*>(mtl));
  pb->SetValue(pTexmap, 0, static_cast<ReferenceTarget*>(map));
  int ints[] = {1, -2, 3};
  float floats[] = {0.5f, -1e-20f};
  const TCHAR* strings[] = {"a\x01" "b\x01", "", nullptr, "\x01\x01\x01", "tail text with spaces "};
  Point3 points[] = {Point3(1.0f, 2.0f, 3.0f)};
  Matrix3 matrices[] = {m, Matrix3()};
  Point4 point4s[] = {Point4(5.0f, 6.0f, 7.0f, 8.0f)};
  INode* nodes[] = {target, nullptr, target};
  ReferenceTarget* targets[] = {mtl, nullptr, map};
  ReferenceTarget* mtls[] = {mtl};
  pb->Append(pIntTab, 3, ints);
  pb->Append(pFloatTab, 2, floats);
  pb->Append(pStringTab, 5, strings);
  pb->Append(pPoint3Tab, 1, points);
  pb->Append(pMatrix3Tab, 2, matrices);
  pb->Append(pPoint4Tab, 1, point4s);
  pb->Append(pNodeTab, 3, nodes);
  pb->Append(pRefTargTab, 3, targets);
  pb->Append(pMtlTab, 1, mtls);
  pb->SetValue(pAnimFloat, 0, 2.5f);
  pb->Append(pAnimPoint3Tab, 1, points);

  const std::string mtlName = mtl->GetName().str();  // the old scene and its material go with the load
  const sim::Bytes bytes = save();
  reload(bytes);

  INode* h2 = byName("Holder");
  INode* target2 = byName("Target");
  ASSERT_TRUE(h2 && target2);
  IParamBlock2* b = block(h2);
  EXPECT_EQ(b->GetInt(pInt), -42);
  EXPECT_EQ(b->GetFloat(pFloat), 0.1f);
  EXPECT_EQ(b->GetColor(pRGBA), Color(0.25f, 0.5f, 1.0f));
  EXPECT_EQ(b->GetPoint3(pPoint3), Point3(1e30f, -0.0f, 3.0f));
  EXPECT_EQ(b->GetInt(pBool), 1);
  EXPECT_EQ(b->GetFloat(pAngle), 3.14159f);
  EXPECT_EQ(b->GetFloat(pPcntFrac), 0.75f);
  EXPECT_EQ(b->GetFloat(pWorld), 12.5f);
  ASSERT_NE(b->GetStr(pString), nullptr);
  EXPECT_STREQ(b->GetStr(pString), "");
  EXPECT_EQ(b->GetStr(pFilename), nullptr);
  EXPECT_EQ(b->GetPoint3(pHSV), Point3(0.1f, 0.2f, 0.3f));
  EXPECT_EQ(b->GetFloat(pColorChannel), 0.5f);
  EXPECT_EQ(b->GetInt(pTimeValue), 4800);
  EXPECT_EQ(b->GetInt(pRadio), 2);
  EXPECT_EQ(b->GetInt(pIndex), 9);
  EXPECT_EQ(b->GetMatrix3(pMatrix3).GetRow(3), Point3(-4.0f, 5.5f, 6.0f));
  EXPECT_EQ(b->GetPoint4(pPoint4), Point4(1.0f, 2.0f, 3.0f, 4.0f));
  EXPECT_EQ(b->GetAColor(pFRGBA), AColor(0.1f, 0.2f, 0.3f, 0.4f));
  EXPECT_EQ(b->GetINode(pNode), target2);
  EXPECT_EQ(b->GetReferenceTarget(pRefTarg), target2->GetTMController());
  auto* mtl2 = dynamic_cast<Mtl*>(b->GetReferenceTarget(pMtl));
  ASSERT_NE(mtl2, nullptr);
  EXPECT_EQ(mtl2->GetName().str(), mtlName);
  EXPECT_NE(dynamic_cast<Texmap*>(b->GetReferenceTarget(pTexmap)), nullptr);

  EXPECT_EQ(b->Count(pIntTab), 3);
  EXPECT_EQ(b->GetInt(pIntTab, 0, 1), -2);
  EXPECT_EQ(b->GetFloat(pFloatTab, 0, 1), -1e-20f);
  ASSERT_EQ(b->Count(pStringTab), 5);
  EXPECT_STREQ(b->GetStr(pStringTab, 0, 0), "a\x01" "b\x01");
  EXPECT_STREQ(b->GetStr(pStringTab, 0, 1), "");
  EXPECT_EQ(b->GetStr(pStringTab, 0, 2), nullptr);
  EXPECT_STREQ(b->GetStr(pStringTab, 0, 3), "\x01\x01\x01");
  EXPECT_STREQ(b->GetStr(pStringTab, 0, 4), "tail text with spaces ");
  EXPECT_EQ(b->GetPoint3(pPoint3Tab, 0, 0), Point3(1.0f, 2.0f, 3.0f));
  EXPECT_EQ(b->GetMatrix3(pMatrix3Tab, 0, 0).GetRow(0), Point3(1.0f, 2.0f, 3.0f));
  EXPECT_EQ(b->GetPoint4(pPoint4Tab, 0, 0), Point4(5.0f, 6.0f, 7.0f, 8.0f));
  ASSERT_EQ(b->Count(pNodeTab), 3);
  EXPECT_EQ(b->GetINode(pNodeTab, 0, 0), target2);
  EXPECT_EQ(b->GetINode(pNodeTab, 0, 1), nullptr);
  EXPECT_EQ(b->GetINode(pNodeTab, 0, 2), target2);
  EXPECT_EQ(b->GetReferenceTarget(pRefTargTab, 0, 0), mtl2);
  EXPECT_EQ(b->GetReferenceTarget(pRefTargTab, 0, 1), nullptr);
  EXPECT_EQ(b->GetReferenceTarget(pMtlTab, 0, 0), mtl2);
  EXPECT_EQ(b->GetFloat(pAnimFloat), 2.5f);
  EXPECT_EQ(b->Count(pAnimPoint3Tab), 1);
}

TEST_F(SceneFile, SharedTargetsStaySharedAndNodesKeepTheirPlaceAndSettings) {
  INode* a = node("A", create<Object>(GEOMOBJECT_CLASS_ID, Class_ID(BOXOBJ_CLASS_ID, 0)));
  INode* b = node("B", create<Object>(GEOMOBJECT_CLASS_ID, Class_ID(SPHERE_CLASS_ID, 0)));
  INode* c = node("C", create<Object>(HELPER_CLASS_ID, kChunkyClass));
  a->AttachChild(b, 0);
  Mtl* shared = create<Mtl>(MATERIAL_CLASS_ID, Class_ID(DMTL_CLASS_ID, 0));
  a->SetMtl(shared);
  b->SetMtl(shared);
  ReferenceTarget* chunky = c->GetObjectRef();
  chunky->ReplaceReference(0, shared);
  chunky->ReplaceReference(1, a->GetTMController());
  auto* data = static_cast<ChunkyData*>(chunky->GetInterface(kChunkyData));
  data->text = "nested\x01text";
  data->numbers[0] = 1;
  data->numbers[2] = -3;
  data->watched = b;
  b->SetRenderable(FALSE);
  b->SetWireColor(0x00123456);
  b->SetUserPropBuffer("k = v\r\n");
  b->Hide(TRUE);
  ip->SelectNode(c);
  ip->SelectNode(a, 0);
  sim::sceneServices().materialEditor.PutMtlToMtlEditor(shared, 5);

  reload(save());

  INode* a2 = byName("A");
  INode* b2 = byName("B");
  INode* c2 = byName("C");
  ASSERT_TRUE(a2 && b2 && c2);
  EXPECT_EQ(b2->GetParentNode(), a2);
  EXPECT_EQ(ip->GetRootNode()->NumberOfChildren(), 2);
  EXPECT_EQ(a2->GetMtl(), b2->GetMtl());
  ReferenceTarget* chunky2 = c2->GetObjectRef();
  EXPECT_EQ(chunky2->GetReference(0), a2->GetMtl());
  EXPECT_EQ(chunky2->GetReference(1), a2->GetTMController());
  EXPECT_EQ(ip->GetMtlSlot(5), a2->GetMtl());
  EXPECT_EQ(ip->GetSceneMtls()->FindMtl(a2->GetMtl()), 0);
  auto* data2 = static_cast<ChunkyData*>(chunky2->GetInterface(kChunkyData));
  EXPECT_EQ(data2->text, "nested\x01text");
  EXPECT_EQ(data2->numbers[2], -3);
  EXPECT_EQ(data2->watched, b2);
  EXPECT_FALSE(b2->Renderable());
  EXPECT_EQ(b2->GetWireColor(), 0x00123456u);
  EXPECT_TRUE(b2->IsHidden());
  MSTR props;
  b2->GetUserPropBuffer(props);
  EXPECT_EQ(props.str(), "k = v\r\n");
  ASSERT_EQ(ip->GetSelNodeCount(), 2);
  EXPECT_EQ(ip->GetSelNode(0), c2);
  EXPECT_EQ(ip->GetSelNode(1), a2);
}

TEST_F(SceneFile, ControllersModifiersLightsAndCamerasKeepWhatTheyHoldBesideTheirReferences) {
  INode* box = node("Box", create<Object>(GEOMOBJECT_CLASS_ID, Class_ID(BOXOBJ_CLASS_ID, 0)));
  auto* bend = create<Modifier>(OSM_CLASS_ID, Class_ID(BENDOSM_CLASS_ID, 0));
  ASSERT_TRUE(ip->AddModifier(*box, *bend));
  bend->DisableMod();
  bend->SetName("Kink");
  auto* list = create<Control>(CTRL_FLOAT_CLASS_ID, Class_ID(FLOATLIST_CONTROL_CLASS_ID, 0));
  for (float v : {0.25f, 0.5f}) {
    Control* leaf = NewDefaultFloatController();
    leaf->SetValue(0, &v);
    list->AssignController(leaf, dynamic_cast<IListControl*>(list)->GetListCount());
  }
  auto* entries = dynamic_cast<IListControl*>(list);
  entries->SetName(1, "Captured");
  entries->SetActive(1);
  float keyed = 0.75f;
  AnimateOn();
  entries->GetSubCtrl(0)->SetValue(1600, &keyed);
  AnimateOff();
  box->SetVisController(list);
  auto* omni = create<GenLight>(LIGHT_CLASS_ID, Class_ID(OMNI_LIGHT_CLASS_ID, 0));
  omni->SetShadow(1);
  node("Omni", omni);
  auto* cam = create<GenCamera>(CAMERA_CLASS_ID, Class_ID(SIMPLE_CAM_CLASS_ID, 0));
  cam->SetFOV(0, 1.0f);
  node("Cam", cam);

  reload(save());

  INode* box2 = byName("Box");
  auto* derived = dynamic_cast<IDerivedObject*>(box2->GetObjectRef());
  ASSERT_NE(derived, nullptr);
  ASSERT_EQ(derived->NumModifiers(), 1);
  EXPECT_FALSE(derived->GetModifier(0)->IsEnabled());
  EXPECT_EQ(derived->GetModifier(0)->GetName().str(), "Kink");
  auto* list2 = dynamic_cast<IListControl*>(box2->GetVisController());
  ASSERT_NE(list2, nullptr);
  ASSERT_EQ(list2->GetListCount(), 2);
  EXPECT_EQ(list2->GetActive(), 1);
  EXPECT_EQ(list2->GetName(1).str(), "Captured");
  EXPECT_EQ(list2->GetSubCtrl(0)->NumKeys(), 2);
  EXPECT_FLOAT_EQ(box2->GetVisibility(1600), 0.75f + 0.5f);
  Interval valid = FOREVER;
  EXPECT_EQ(dynamic_cast<GenLight*>(byName("Omni")->GetObjectRef())->GetShadow(), 1);
  EXPECT_EQ(dynamic_cast<GenCamera*>(byName("Cam")->GetObjectRef())->GetFOV(0, valid), 1.0f);
}

TEST_F(SceneFile, AFileCutAtAnyChunkBoundaryIsRefusedAndLeavesTheSceneAlone) {
  holderNode("Holder");
  node("Box", create<Object>(GEOMOBJECT_CLASS_ID, Class_ID(BOXOBJ_CLASS_ID, 0)));
  const sim::Bytes bytes = save();
  std::vector<size_t> cuts{0, 4, sim::kSceneHeaderSize - 1};
  chunkBoundaries(bytes, sim::kSceneHeaderSize, bytes.size(), cuts);
  INode* before = byName("Holder");
  for (size_t cut : cuts) {
    if (cut >= bytes.size()) continue;
    sim::SceneLoadResult r = sim::readScene(bytes.data(), cut);
    EXPECT_FALSE(r.ok) << "cut at " << cut;
    if (cut < sim::kSceneHeaderSize) EXPECT_EQ(r.error, "not a scene file");
    else EXPECT_EQ(r.error.rfind("scene file is damaged at byte ", 0), 0u) << r.error;
  }
  EXPECT_EQ(byName("Holder"), before);
  EXPECT_EQ(ip->GetRootNode()->NumberOfChildren(), 2);
}

TEST_F(SceneFile, ForeignNewerAndCorruptFilesGiveOneClearError) {
  holderNode("Holder");
  sim::Bytes bytes = save();
  const std::string text = "just some text that is long enough";
  EXPECT_EQ(sim::readScene(reinterpret_cast<const unsigned char*>(text.data()), text.size()).error, "not a scene file");

  sim::Bytes newer = bytes;
  newer[8] = 2;
  EXPECT_EQ(load(newer).error, "made by a newer version");

  // The first chunk claims more bytes than the file has.
  sim::Bytes corrupt = bytes;
  corrupt[sim::kSceneHeaderSize + 5] = 0x7f;
  EXPECT_EQ(load(corrupt).error, "scene file is damaged at byte 12");
  EXPECT_NE(byName("Holder"), nullptr);
}

TEST_F(SceneFile, AnObjectWhoseModuleIsMissingIsKeptAndSavedBackUnchanged) {
  INode* h = holderNode("Holder");
  const TCHAR* record = "state\x01" "field\x01";
  block(h)->Append(pStringTab, 1, &record);
  INode* c = node("Chunky", create<Object>(HELPER_CLASS_ID, kChunkyClass));
  static_cast<ChunkyData*>(c->GetObjectRef()->GetInterface(kChunkyData))->text = "kept";
  c->GetObjectRef()->ReplaceReference(0, h->GetTMController());
  Mtl* slots = create<Mtl>(MATERIAL_CLASS_ID, kSlotMtlClass);
  h->SetMtl(slots);
  const sim::Bytes bytes = save();

  auto& registry = sim::ClassRegistry::instance();
  std::vector<ClassDesc*> classes;
  for (const auto& e : registry.entries())
    if (e.module == kModule) classes.push_back(e.desc);
  registry.removeModule(kModule);
  sim::SceneLoadResult r = load(bytes);
  for (ClassDesc* cd : classes) registry.add(cd, kModule);
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.warnings.size(), 3u);
  EXPECT_EQ(r.warnings[0], "-- Missing class SceneTestHolder of module test_scene_classes.dlo: its objects are kept as they were saved");
  EXPECT_NE(byName("Holder")->GetObjectRef(), nullptr);
  EXPECT_EQ(byName("Holder")->GetMtl()->SuperClassID(), MATERIAL_CLASS_ID);
  const sim::Bytes again = save();
  EXPECT_EQ(again, bytes);

  // With the module back, the objects are whole again.
  reload(again);
  EXPECT_STREQ(block(byName("Holder"))->GetStr(pStringTab, 0, 0), record);
  ReferenceTarget* chunky = byName("Chunky")->GetObjectRef();
  EXPECT_EQ(static_cast<ChunkyData*>(chunky->GetInterface(kChunkyData))->text, "kept");
  EXPECT_EQ(chunky->GetReference(0), byName("Holder")->GetTMController());
}

TEST_F(SceneFile, AFailedSaveLeavesThePreviousFileAndNoTemporaryFile) {
  test::TempDir dir;
  holderNode("Holder");
  std::string error;
  ASSERT_TRUE(sim::saveSceneFile(dir.file("scene.max"), error)) << error;
  const auto size = std::filesystem::file_size(dir.file("scene.max"));
  // A folder where the file should go: writing works, putting it in place does not.
  std::filesystem::create_directory(dir.file("taken.max"));
  EXPECT_FALSE(sim::saveSceneFile(dir.file("taken.max"), error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(sim::saveSceneFile(dir.file("missing/scene.max"), error));
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1);
  EXPECT_EQ(std::filesystem::file_size(dir.file("scene.max")), size);
  EXPECT_TRUE(sim::loadSceneFile(dir.file("scene.max")).ok);
}

}  // namespace

namespace {

// Where each saved object's reference indices are (the offset of the first index), in object order.
std::vector<size_t> makerRefs(const sim::Bytes& b) {
  std::vector<size_t> out;
  auto walk = [&](auto&& self, size_t pos, size_t end) -> void {
    while (pos + sim::kChunkHeaderSize <= end) {
      USHORT id;
      ULONGLONG len;
      std::memcpy(&id, b.data() + pos, sizeof id);
      std::memcpy(&len, b.data() + pos + 2, sizeof len);
      const bool container = (len & sim::kContainerBit) != 0;
      len &= ~sim::kContainerBit;
      const size_t content = pos + sim::kChunkHeaderSize;
      if (container && (id == sim::kMakers || id == sim::kMaker)) self(self, content, content + len);
      if (id == sim::kMakerRefs) out.push_back(content + 4);
      pos = content + len;
    }
  };
  walk(walk, sim::kSceneHeaderSize, b.size());
  return out;
}

std::int32_t refAt(const sim::Bytes& b, size_t at) {
  std::int32_t v;
  std::memcpy(&v, b.data() + at, sizeof v);
  return v;
}

TEST_F(SceneFile, AFileWhoseReferencesCloseALoopIsRefusedAndLeavesTheSceneAlone) {
  auto* outer = create<Mtl>(MATERIAL_CLASS_ID, kSlotMtlClass);
  auto* inner = create<Mtl>(MATERIAL_CLASS_ID, kSlotMtlClass);
  outer->ReplaceReference(0, inner);
  holderNode("Holder")->SetMtl(outer);
  sim::Bytes bytes = save();
  // The outer material is the one whose first slot holds a material with an empty first slot.
  const std::vector<size_t> refs = makerRefs(bytes);
  int outerIndex = -1, innerIndex = -1;
  for (size_t i = 0; i < refs.size() && outerIndex < 0; ++i) {
    const std::int32_t first = refAt(bytes, refs[i]);
    if (first > 0 && static_cast<size_t>(first) < refs.size() && refAt(bytes, refs[static_cast<size_t>(first)]) == -1 &&
        refAt(bytes, refs[i] + 4) == -1) {
      outerIndex = static_cast<int>(i);
      innerIndex = first;
    }
  }
  ASSERT_GE(innerIndex, 0);
  std::memcpy(&bytes[refs[static_cast<size_t>(innerIndex)]], &outerIndex, sizeof outerIndex);

  sim::SceneLoadResult r = load(bytes);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error.rfind("scene file is damaged at byte ", 0), 0u) << r.error;
  ASSERT_NE(byName("Holder"), nullptr);
  EXPECT_EQ(byName("Holder")->GetMtl(), outer);
}

TEST_F(SceneFile, AVeryLongChainOfMaterialsSavesLoadsAndGoesAway) {
  constexpr int kLength = 60000;  // deeper than the stack allows for a recursive teardown
  Mtl* top = create<Mtl>(MATERIAL_CLASS_ID, kSlotMtlClass);
  for (int i = 1; i < kLength; ++i) {  // from the end, so that each new reference has no loop to look for
    Mtl* outer = create<Mtl>(MATERIAL_CLASS_ID, kSlotMtlClass);
    outer->ReplaceReference(0, top);
    top = outer;
  }
  holderNode("Holder")->SetMtl(top);
  const sim::Bytes bytes = save();
  sim::SceneLoadResult r = load(bytes);
  ASSERT_TRUE(r.ok) << r.error;
  int length = 0;
  for (Mtl* m = byName("Holder")->GetMtl(); m; m = m->GetSubMtl(0)) ++length;
  EXPECT_EQ(length, kLength);
  EXPECT_EQ(save(), bytes);
  ip->GetRootNode()->GetChildNode(0)->Delete(0, FALSE);
  EXPECT_EQ(ip->GetRootNode()->NumberOfChildren(), 0);
}

}  // namespace

namespace {

TEST_F(SceneFile, ASaveTakesAwayTheTemporaryFilesThatKilledSavesOfTheSameFileLeft) {
  test::TempDir dir;
  holderNode("Holder");
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  auto leave = [&](const std::string& name, bool stale) {
    dir.write(name, "partial");
    if (stale) std::filesystem::last_write_time(dir.file(name), old);
  };
  leave("scene.max.0badc0de.saving", true);      // a killed save of this file
  leave("scene.max.1234abcd.saving", false);     // another save of it, still writing
  leave("other.max.0badc0de.saving", true);      // a killed save of another file
  leave("scene.max.notours!.saving", true);      // not a name a save gives
  leave("scene.max.0badc0de.saving.txt", true);
  std::filesystem::create_directory(dir.file("scene.max.abcdef01.saving"));
  std::error_code folderTimes;  // Wine cannot date a folder back; there the folder is merely new
  std::filesystem::last_write_time(dir.file("scene.max.abcdef01.saving"), old, folderTimes);

  std::string error;
  ASSERT_TRUE(sim::saveSceneFile(dir.file("scene.max"), error)) << error;
  std::vector<std::string> left;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) left.push_back(e.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"other.max.0badc0de.saving", "scene.max", "scene.max.0badc0de.saving.txt",
                                            "scene.max.1234abcd.saving", "scene.max.abcdef01.saving",
                                            "scene.max.notours!.saving"}));
  EXPECT_TRUE(sim::loadSceneFile(dir.file("scene.max")).ok);
}

}  // namespace
