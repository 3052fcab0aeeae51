#include "gamma.h"
#include "iradiositypreferences.h"
#include "maxapi.h"
#include "radiosity.h"
#include "renderelements.h"
#include "scene/scene_fixture.h"
#include "scene/scene_services.h"
#include "toneop.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class SceneServices : public test::SceneFixture {};

TEST_F(SceneServices, TheRadiositySlotHoldsAnAdvancedLightingPluginWithAnActiveState) {
  auto* rad = static_cast<RadiosityInterface*>(GetCOREInterface(RADIOSITY_INTERFACE_ID));
  ASSERT_NE(rad, nullptr);
  EXPECT_EQ(rad->GetRadiosity(), nullptr);
  auto* tracer = create<RadiosityEffect>(RADIOSITY_CLASS_ID, Class_ID(0x39ff19ec, 0x772d5bff));
  ASSERT_NE(tracer, nullptr);
  rad->SetRadiosity(tracer);
  EXPECT_EQ(rad->GetRadiosity(), tracer);
  EXPECT_TRUE(tracer->GetActive(0));
  tracer->SetActive(false, 0);
  EXPECT_FALSE(rad->GetRadiosity()->GetActive(0));
  rad->SetRadiosity(nullptr);
  EXPECT_EQ(rad->GetRadiosity(), nullptr) << "the plug-in went with its slot";
}

TEST_F(SceneServices, ExposureAndTheAdvancedLightingPreferenceAreCoreInterfaces) {
  auto* exposure = static_cast<ToneOperatorInterface*>(GetCOREInterface(TONE_OPERATOR_INTERFACE));
  ASSERT_NE(exposure, nullptr);
  auto* op = create<ToneOperator>(TONE_OPERATOR_CLASS_ID, Class_ID(0x55897318, 0x34db21ac));
  exposure->SetToneOperator(op);
  EXPECT_EQ(exposure->GetToneOperator(), op);
  exposure->SetToneOperator(nullptr);
  EXPECT_EQ(exposure->GetToneOperator(), nullptr);

  auto* prefs = static_cast<IRadiosityPreferences*>(GetCOREInterface(IRADIOSITYPREFERENCES_INTERFACE));
  ASSERT_NE(prefs, nullptr);
  prefs->SetUseAdvancedLighting(FALSE);
  EXPECT_FALSE(prefs->GetUseAdvancedLighting());
  FPValue result;
  ASSERT_EQ(prefs->Invoke(IRadiosityPreferences::get_use_advanced_lighting, result), FPS_OK);
  EXPECT_EQ(result.i, 0);
  gammaMgr.enable = TRUE;
  EXPECT_TRUE(gammaMgr.IsEnabled());
  sim::coreInterface()->resetScene();
  EXPECT_TRUE(prefs->GetUseAdvancedLighting()) << "a new scene starts from the defaults";
  EXPECT_FALSE(gammaMgr.IsEnabled());
}

TEST_F(SceneServices, RenderElementsAreAListOfTheCurrentRenderer) {
  IRenderElementMgr* mgr = ip->GetCurRenderElementMgr();
  ASSERT_NE(mgr, nullptr);
  auto* diffuse = create<IRenderElement>(RENDER_ELEMENT_CLASS_ID, Class_ID(0x4e2b3a10, 1));
  auto* depth = create<IRenderElement>(RENDER_ELEMENT_CLASS_ID, Class_ID(0x4e2b3a10, 2));
  ASSERT_TRUE(mgr->AddRenderElement(diffuse));
  ASSERT_TRUE(mgr->AddRenderElement(depth));
  EXPECT_FALSE(mgr->AddRenderElement(depth));
  EXPECT_FALSE(mgr->AddRenderElement(nullptr));
  ASSERT_EQ(mgr->NumRenderElements(), 2);
  EXPECT_EQ(mgr->GetRenderElement(1), depth);
  EXPECT_EQ(mgr->GetRenderElement(2), nullptr);
  EXPECT_EQ(mgr->GetRenderElement(-1), nullptr);
  EXPECT_STREQ(depth->ElementName(), "Z_Depth");
  PBBitmap* out = reinterpret_cast<PBBitmap*>(1);
  depth->GetPBBitmap(out);
  EXPECT_EQ(out, nullptr) << "no output image until bitmaps are set up";
  EXPECT_TRUE(mgr->RemoveRenderElement(diffuse));
  EXPECT_EQ(mgr->GetRenderElement(0), depth);
}

TEST_F(SceneServices, ARenderElementKeepsItsOwnCopyOfItsOutputDescription) {
  IRenderElementMgr* mgr = ip->GetCurRenderElementMgr();
  auto* diffuse = create<IRenderElement>(RENDER_ELEMENT_CLASS_ID, Class_ID(0x4e2b3a10, 1));
  ASSERT_TRUE(mgr->AddRenderElement(diffuse));
  mgr->SetRenderElementFilename(0, "passes/diffuse.exr");
  EXPECT_STREQ(mgr->GetRenderElementFilename(0), "passes/diffuse.exr");
  PBBitmap* out = nullptr;
  diffuse->GetPBBitmap(out);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->bi.Type(), BMM_TRUE_64);
  EXPECT_TRUE(out->bi.TestFlags(MAP_HAS_ALPHA));
  EXPECT_TRUE(out->bi.CreateFmtSpecBlock());
  EXPECT_STREQ(out->bi.Device(), "OpenEXR");

  {
    auto given = std::make_unique<PBBitmap>(BitmapInfo("passes/other.png"));
    PBBitmap* p = given.get();
    diffuse->SetPBBitmap(p);
  }
  EXPECT_STREQ(mgr->GetRenderElementFilename(0), "passes/other.png") << "the caller's description may go";
  DefaultRemapDir remap;
  auto* copy = static_cast<IRenderElement*>(diffuse->Clone(remap));
  PBBitmap* copied = nullptr;
  copy->GetPBBitmap(copied);
  ASSERT_NE(copied, nullptr);
  EXPECT_STREQ(copied->bi.Name(), "passes/other.png");
  copy->DeleteMe();

  mgr->SetRenderElementFilename(0, "");
  EXPECT_EQ(mgr->GetRenderElementFilename(0), nullptr);
  mgr->SetRenderElementFilename(5, "nowhere.exr");
  EXPECT_EQ(mgr->GetRenderElementFilename(5), nullptr);
  EXPECT_EQ(mgr->GetRenderElementFilename(-1), nullptr);
}

TEST_F(SceneServices, APreviewRecordsTheSettingsItWasAskedFor) {
  PreviewParams p;
  p.start = 5;
  p.end = 20;
  p.pctSize = 100;
  MSTR file("preview.avi");
  ip->CreatePreview(&p, &file);
  const sim::PreviewRecord& r = sim::sceneServices().preview;
  EXPECT_EQ(r.count, 1);
  EXPECT_EQ(r.params.start, 5);
  EXPECT_EQ(r.params.end, 20);
  EXPECT_EQ(r.fileName, "preview.avi");
  ip->CreatePreview();
  EXPECT_FALSE(sim::sceneServices().preview.hadParams);
}

TEST_F(SceneServices, ReferenceMessagesSwitchOffAndOnWithoutCounting) {
  DisableRefMsgs();
  DisableRefMsgs();
  EXPECT_FALSE(RefMsgsEnabled());
  EnableRefMsgs();
  EXPECT_TRUE(RefMsgsEnabled());
}

}  // namespace
