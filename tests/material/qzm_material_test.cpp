// The per-pass material, loaded from its module and reached as the host reaches it: by class id,
// through Mtl, its published interface and its translation interface.
#include "IMtlRender_Compatibility.h"
#include "core/class_registry.h"
#include "core/plugin_loader.h"
#include "core/undo_stack.h"
#include "hold.h"
#include "iparamb2.h"
#include "render/mr_shader.h"
#include "scene/materials/stdmat.h"
#include "support/memory_io.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

const Class_ID kMaterialClass(0x9350465d, 0x60d9022e);
const Interface_ID kMaterialInterface(0xae24a15f, 0x8e13a9d1);
enum { whichPass, materialArray, labels, enableOMaterial, uiOffset, activeStampOnly };

// A point to shade that remembers which G-buffer ids it was given.
class RecordingShadeContext : public ShadeContext {
 public:
  TimeValue CurTime() override { return 0; }
  Point3 P() override { return Point3(0.0f, 0.0f, -1.0f); }
  Point3 Normal() override { return Point3(0.0f, 0.0f, 1.0f); }
  Point3 V() override { return Point3(0.0f, 0.0f, -1.0f); }
  void SetGBufferID(int id) override {
    gbufferIds.push_back(id);
    ShadeContext::SetGBufferID(id);
  }
  std::vector<int> gbufferIds;
};

class PerPassMaterial : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    loader_ = new sim::PluginLoader;
    std::ostringstream errors;
    loader_->loadModule(std::string(QZM_PLUGIN_DIR) + "/QZMMaterial.dlt", errors);
    ASSERT_EQ(errors.str(), "");
  }
  static void TearDownTestSuite() {
    loader_->unloadAll();
    delete loader_;
  }
  void TearDown() override {
    sim::flushUndo();
    holders_.clear();
  }

  // Targets stay alive while the test holds them.
  template <class T>
  T* held(T* target) {
    holders_.push_back(std::make_unique<SingleRefMaker>());
    holders_.back()->SetRef(target);
    return target;
  }
  Mtl* newMaterial() { return held(static_cast<Mtl*>(sim::createInstance(MATERIAL_CLASS_ID, kMaterialClass))); }
  StdMat* coloured(const Color& c, const char* name = nullptr) {
    StdMat* m = held(NewDefaultStdMat());
    m->SetDiffuse(c, 0);
    if (name) m->SetName(MSTR(name));
    return m;
  }
  static IParamBlock2* params(Mtl* m) { return m->GetParamBlock(0); }
  static void assign(Mtl* m, Mtl* sub, int pass) {
    auto* fpi = dynamic_cast<FPInterface*>(m->GetInterface(kMaterialInterface));
    ASSERT_NE(fpi, nullptr);
    FPParams p(2, TYPE_MTL, sub, TYPE_INT, pass);
    EXPECT_EQ(fpi->Invoke(0, &p), FPS_OK);
  }

  static sim::PluginLoader* loader_;
  std::vector<std::unique_ptr<SingleRefMaker>> holders_;
};

sim::PluginLoader* PerPassMaterial::loader_ = nullptr;

TEST_F(PerPassMaterial, TheActiveSlotIsWhichPassClampedTo1To101OrTheOverrideSlot) {
  Mtl* m = newMaterial();
  const std::pair<int, int> passToSlot[] = {{0, 0}, {1, 0}, {99, 98}, {100, 99}, {101, 100}, {102, 100}, {-5, 0}};
  for (auto [pass, slot] : passToSlot) {
    params(m)->SetValue(whichPass, 0, pass);
    EXPECT_EQ(m->VPDisplaySubMtl(), slot) << "pass " << pass;
  }
  params(m)->SetValue(enableOMaterial, 0, 1);
  params(m)->SetValue(whichPass, 0, 3);
  EXPECT_EQ(m->VPDisplaySubMtl(), 99);
}

TEST_F(PerPassMaterial, AnEmptyOverrideSlotLeavesTheShadeContextAloneAndAnswersBlack) {
  Mtl* m = newMaterial();
  assign(m, coloured(Color(1.0f, 0.0f, 0.0f)), 1);
  params(m)->SetValue(enableOMaterial, 0, 1);
  RecordingShadeContext sc;
  sc.out.c = Color(0.25f, 0.5f, 0.75f);
  m->Shade(sc);
  EXPECT_EQ(sc.out.c, Color(0.25f, 0.5f, 0.75f));
  EXPECT_EQ(m->GetDiffuse(0, FALSE), Color(0.0f, 0.0f, 0.0f));
  EXPECT_EQ(m->GetShininess(0, FALSE), 0.0f);
  EXPECT_EQ(m->WireSize(0, FALSE), 0.0f);
  EXPECT_TRUE(m->IsOutputConst(sc, ID_DI));
  Color c;
  EXPECT_FALSE(m->EvalColorStdChannel(sc, ID_DI, c));
  EXPECT_EQ(m->Requirements(0), 0u);
  EXPECT_EQ(m->DisplacementValidity(0), FOREVER);
}

TEST_F(PerPassMaterial, ShadeGivesTheSlotsGBufferIdBeforeForwardingAndNoneWithoutOne) {
  Mtl* m = newMaterial();
  StdMat* plain = coloured(Color(0.0f, 1.0f, 0.0f));
  StdMat* tagged = coloured(Color(0.0f, 0.0f, 1.0f));
  tagged->SetGBufID(5);
  assign(m, plain, 1);
  assign(m, tagged, 2);

  RecordingShadeContext sc;
  sc.nLights = 0;
  m->Shade(sc);
  EXPECT_TRUE(sc.gbufferIds.empty());

  params(m)->SetValue(whichPass, 0, 2);
  RecordingShadeContext tagged_sc;
  m->Shade(tagged_sc);
  ASSERT_FALSE(tagged_sc.gbufferIds.empty());
  EXPECT_EQ(tagged_sc.gbufferIds.front(), 5);
  EXPECT_EQ(m->GetDiffuse(0, FALSE), Color(0.0f, 0.0f, 1.0f));
}

TEST_F(PerPassMaterial, AssignMaterialFillsPasses1To101AndIgnoresOthers) {
  Mtl* m = newMaterial();
  StdMat* s = coloured(Color(1.0f, 1.0f, 1.0f));
  assign(m, s, 0);
  assign(m, s, 102);
  for (int i = 0; i < m->NumSubMtls(); ++i) EXPECT_EQ(m->GetSubMtl(i), nullptr) << i;
  assign(m, s, 101);
  EXPECT_EQ(m->GetSubMtl(100), s);
  EXPECT_EQ(params(m)->GetReferenceTarget(materialArray, 0, 100), s);
  EXPECT_EQ(m->GetSubMtl(101), nullptr);

  auto* fpi = dynamic_cast<FPInterface*>(m->GetInterface(kMaterialInterface));
  FPValue result;
  EXPECT_EQ(fpi->Invoke(1, 0, result, nullptr), FPS_NO_SUCH_FUNCTION);
}

TEST_F(PerPassMaterial, SlotAndSubAnimNamesShowLabelsAndMaterials) {
  Mtl* m = newMaterial();
  EXPECT_EQ(m->NumSubs(), 102);
  EXPECT_EQ(m->GetSubMtlSlotName(4).str(), "QZM 5 : ");
  EXPECT_EQ(m->SubAnimName(2).str(), "(3): None");
  EXPECT_EQ(m->SubAnimName(101).str(), "");
  EXPECT_EQ(m->SubAnim(101), params(m));

  params(m)->SetValue(labels, 0, "Beauty", 4);
  assign(m, coloured(Color(1.0f, 0.0f, 0.0f), "Red"), 5);
  EXPECT_EQ(m->GetSubMtlSlotName(4).str(), "QZM 5 : Beauty");
  EXPECT_EQ(m->SubAnimName(4).str(), "(5) Beauty: Red ( Standard )");
  params(m)->SetValue(labels, 0, "", 4);
  EXPECT_EQ(m->SubAnimName(4).str(), "(5) : Red ( Standard )");
}

TEST_F(PerPassMaterial, SetSubMtlWithoutAHoldIsOneUndoStepThatUndoesAndRedoesAgainAndAgain) {
  Mtl* m = newMaterial();
  StdMat* first = coloured(Color(1.0f, 0.0f, 0.0f));
  StdMat* second = coloured(Color(0.0f, 1.0f, 0.0f));
  m->SetSubMtl(3, first);
  m->SetSubMtl(3, second);
  EXPECT_EQ(sim::undoLabel(), "QZMaterial Operation");
  EXPECT_FALSE(theHold.Holding());

  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(sim::undo());
    EXPECT_EQ(m->GetSubMtl(3), first);
    ASSERT_TRUE(sim::redo());
    EXPECT_EQ(m->GetSubMtl(3), second);
  }
  ASSERT_TRUE(sim::undo());
  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(m->GetSubMtl(3), nullptr);
}

TEST_F(PerPassMaterial, SetSubMtlInsideACallersHoldLeavesThatHoldOpenForTheCallersOtherChanges) {
  Mtl* m = newMaterial();
  StdMat* s = coloured(Color(1.0f, 0.0f, 0.0f));
  const int stepsBefore = sim::undoDepth();
  theHold.Begin();
  m->SetSubMtl(0, s);
  EXPECT_TRUE(theHold.Holding());
  params(m)->SetValue(whichPass, 0, 7);
  theHold.Accept("Caller");
  EXPECT_EQ(sim::undoDepth(), stepsBefore + 1);
  EXPECT_EQ(sim::undoLabel(), "Caller");

  ASSERT_TRUE(sim::undo());
  EXPECT_EQ(m->GetSubMtl(0), nullptr);
  EXPECT_EQ(params(m)->GetInt(whichPass), 1);
  ASSERT_TRUE(sim::redo());
  EXPECT_EQ(m->GetSubMtl(0), s);
  EXPECT_EQ(params(m)->GetInt(whichPass), 7);
}

TEST_F(PerPassMaterial, SetSubMtlOfAMaterialIntoItselfChangesAndRecordsNothing) {
  Mtl* m = newMaterial();
  const int stepsBefore = sim::undoDepth();
  m->SetSubMtl(0, m);
  EXPECT_EQ(m->GetSubMtl(0), nullptr);
  EXPECT_FALSE(theHold.Holding());
  EXPECT_EQ(sim::undoDepth(), stepsBefore);
  m->SetSubMtl(101, coloured(Color(1.0f, 0.0f, 0.0f)));
  m->SetSubMtl(-1, coloured(Color(1.0f, 0.0f, 0.0f)));
  EXPECT_EQ(sim::undoDepth(), stepsBefore);
}

TEST_F(PerPassMaterial, AChangedSlotMaterialLosesItsTinyStampOnly) {
  Mtl* m = newMaterial();
  StdMat* changed = coloured(Color(1.0f, 0.0f, 0.0f));
  StdMat* other = coloured(Color(0.0f, 1.0f, 0.0f));
  assign(m, changed, 2);
  assign(m, other, 3);
  assign(m, changed, 5);
  changed->CreatePStamp(PS_TINY);
  changed->CreatePStamp(PS_SMALL);
  other->CreatePStamp(PS_TINY);

  changed->SetName(MSTR("Renamed"));
  EXPECT_EQ(changed->GetPStamp(PS_TINY), nullptr);
  EXPECT_NE(changed->GetPStamp(PS_SMALL), nullptr);
  EXPECT_NE(other->GetPStamp(PS_TINY), nullptr);
}

TEST_F(PerPassMaterial, ACloneHoldsClonesOfEverySlotAndTheSameSettings) {
  Mtl* m = newMaterial();
  StdMat* shared = coloured(Color(1.0f, 0.0f, 0.0f));
  assign(m, shared, 1);
  assign(m, shared, 50);
  assign(m, coloured(Color(0.0f, 0.0f, 1.0f)), 101);
  params(m)->SetValue(labels, 0, "Key", 49);
  params(m)->SetValue(whichPass, 0, 50);
  m->SetName(MSTR("Passes"));

  DefaultRemapDir remap;
  auto* c = held(static_cast<Mtl*>(m->Clone(remap)));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->GetName().str(), "Passes");
  EXPECT_NE(params(c), params(m));
  EXPECT_EQ(params(c)->GetInt(whichPass), 50);
  EXPECT_STREQ(params(c)->GetStr(labels, 0, 49), "Key");
  ASSERT_NE(c->GetSubMtl(0), nullptr);
  EXPECT_NE(c->GetSubMtl(0), shared);
  EXPECT_EQ(c->GetSubMtl(49), c->GetSubMtl(0));
  EXPECT_EQ(c->GetSubMtl(0)->GetDiffuse(), Color(1.0f, 0.0f, 0.0f));
  ASSERT_NE(c->GetSubMtl(100), nullptr);
  EXPECT_NE(c->GetSubMtl(100), m->GetSubMtl(100));
  EXPECT_EQ(c->GetSubMtl(1), nullptr);
}

TEST_F(PerPassMaterial, SavesItsNameInChunk0x4000AndLoadsItBack) {
  Mtl* m = newMaterial();
  m->SetName(MSTR("Passes"));
  m->SetGBufID(3);
  test::MemorySave save;
  ASSERT_EQ(m->Save(&save), IO_OK);
  ASSERT_GE(save.bytes.size(), 2u);
  EXPECT_EQ(save.bytes[0] | (save.bytes[1] << 8), 0x4000);

  ClassDesc* cd = sim::ClassRegistry::instance().find(MATERIAL_CLASS_ID, kMaterialClass);
  auto* loaded = held(static_cast<Mtl*>(cd->Create(TRUE)));
  test::MemoryLoad load(save.bytes);
  EXPECT_EQ(loaded->Load(load.reader()), IO_OK);
  EXPECT_EQ(loaded->GetName().str(), "Passes");
  EXPECT_EQ(loaded->GetGBufID(), 3);

  // A file cut short inside chunk 0x4000 reports the error.
  std::vector<unsigned char> cut(save.bytes.begin(), save.bytes.begin() + 16);
  test::MemoryLoad damaged(cut);
  EXPECT_EQ(held(static_cast<Mtl*>(cd->Create(TRUE)))->Load(damaged.reader()), IO_ERROR);
}

TEST_F(PerPassMaterial, TranslatesToItsPhenomenonWithTheActiveSlotsMaterial) {
  Mtl* m = newMaterial();
  StdMat* one = coloured(Color(1.0f, 0.0f, 0.0f));
  StdMat* three = coloured(Color(0.0f, 0.0f, 1.0f));
  assign(m, one, 1);
  assign(m, three, 3);
  m->SetName(MSTR("Passes"));

  sim::MrTranslator translator;
  Interval valid = FOREVER;
  imrShader* shader = translator.translate(m, valid);
  ASSERT_NE(shader, nullptr);
  EXPECT_STREQ(shader->GetName(), "Passes ( QZMMaterial )");
  EXPECT_EQ(shader->GetParametersParamBlock()->GetReferenceTarget(0), one);

  params(m)->SetValue(whichPass, 0, 3);
  EXPECT_EQ(translator.translate(m, valid)->GetParametersParamBlock()->GetReferenceTarget(0), three);
  params(m)->SetValue(whichPass, 0, 4);
  EXPECT_EQ(translator.translate(m, valid)->GetParametersParamBlock()->GetReferenceTarget(0), nullptr);
}

TEST_F(PerPassMaterial, TheMaterialParameterIsFoundIgnoringCaseAfterOtherParameters) {
  static ParamBlockDesc2 declaration(0, _T("test_phen"), 0, nullptr, 0,
      0, _T("enable"), TYPE_BOOL, 0, 0, p_end,
      1, _T("MATERIAL"), TYPE_MTL, 0, 0, p_end,
      p_end);
  ParamBlockDesc2* builtIn = sim::mrShaderDeclaration("max_QZMMaterial_phen");
  sim::declareMrShader("max_QZMMaterial_phen", &declaration);
  Mtl* m = newMaterial();
  StdMat* s = coloured(Color(1.0f, 0.0f, 0.0f));
  assign(m, s, 1);
  sim::MrTranslator translator;
  Interval valid = FOREVER;
  imrShader* shader = translator.translate(m, valid);
  sim::declareMrShader("max_QZMMaterial_phen", builtIn);
  ASSERT_NE(shader, nullptr);
  EXPECT_EQ(shader->GetParametersParamBlock()->GetReferenceTarget(1), s);
}

TEST_F(PerPassMaterial, TheDescriptorSaysTheMaterialWorksWithEveryRenderer) {
  ClassDesc* cd = sim::ClassRegistry::instance().find(MATERIAL_CLASS_ID, kMaterialClass);
  ASSERT_NE(cd, nullptr);
  IMtlRender_Compatibility_MtlBase* compat = Get_IMtlRender_Compatibility_MtlBase(*cd);
  ASSERT_NE(compat, nullptr);
  EXPECT_EQ(cd->GetInterface(_T("IMtlRender_Compability_MtlBase")), compat);
  EXPECT_TRUE(AreMtlAndRendererCompatible(*cd, *cd));
  HIMAGELIST list = nullptr;
  int a = 0, b = 0, c = 0;
  EXPECT_FALSE(compat->GetCustomMtlBrowserIcon(list, a, b, c));
}

}  // namespace
