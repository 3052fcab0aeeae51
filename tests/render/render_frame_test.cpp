// The renderer's own output, below the script command: G-buffer images handed to render elements
// (in builds without image files too) and previews that have nowhere to go or too much to do.
#include "render/render_output.h"
#include "render/render_preview.h"
#include "renderelements.h"
#include "scene/scene_fixture.h"
#include "scene/scene_services.h"
#include "scene/materials/stdmat.h"

namespace {

class RenderFrame : public test::SceneFixture {
 protected:
  // A box seen from above, filling the middle of an 8 x 8 image.
  INode* boxUnderCamera(sim::RenderRequest& request) {
    INode* box = makeBox();
    INode* camera = makeNode(CAMERA_CLASS_ID, Class_ID(SIMPLE_CAM_CLASS_ID, 0));
    Matrix3 tm;
    tm.SetTrans(Point3(0, 0, 100));
    camera->SetNodeTM(0, tm);
    request.camera = camera;
    request.width = request.height = 8;
    return box;
  }
};

TEST_F(RenderFrame, ObjectAndMaterialIdsLandInTheirElementsImages) {
  IRenderElementMgr* elements = ip->GetCurRenderElementMgr();
  auto* objects = create<IRenderElement>(RENDER_ELEMENT_CLASS_ID, sim::kObjectIdElementClassID);
  auto* materials = create<IRenderElement>(RENDER_ELEMENT_CLASS_ID, sim::kMaterialIdElementClassID);
  ASSERT_TRUE(objects && materials);
  elements->AddRenderElement(objects);
  elements->AddRenderElement(materials);
  sim::RenderRequest request;
  INode* box = boxUnderCamera(request);
  box->SetGBufID(9);

  sim::RenderOutput out = sim::renderToBitmap(request);
  ASSERT_NE(out.image, nullptr);
  out.image->DeleteThis();
  PBBitmap* ids = nullptr;
  objects->GetPBBitmap(ids);
  ASSERT_TRUE(ids && ids->bm);
  EXPECT_EQ(ids->bi.Width(), 8);
  BMM_Color_fl centre, corner;
  ids->bm->GetPixels(4, 4, 1, &centre);
  ids->bm->GetPixels(0, 0, 1, &corner);
  EXPECT_FLOAT_EQ(centre.r * 255.0f, 9.0f);
  EXPECT_EQ(centre.a, 1.0f);
  EXPECT_EQ(corner.a, 0.0f);
  PBBitmap* mats = nullptr;
  materials->GetPBBitmap(mats);
  ASSERT_TRUE(mats && mats->bm);

  // Elements switched off, or all of them inactive, keep what they had.
  Bitmap* before = ids->bm;
  objects->SetEnabled(FALSE);
  out = sim::renderToBitmap(request);
  out.image->DeleteThis();
  objects->GetPBBitmap(ids);
  EXPECT_EQ(ids->bm, before);
}

TEST_F(RenderFrame, APreviewOfAnUnsavedSceneOrOfTooManyFramesRendersNothing) {
  sim::PreviewRecord record;
  PreviewParams params;
  sim::renderPreview(params, "", record);
  EXPECT_EQ(record.error, "the scene has not been saved, so the preview has no folder");
  EXPECT_TRUE(record.images.empty());

  params.start = 0;
  params.end = 2000000;
  sim::renderPreview(params, "nowhere/shot.png", record);
  EXPECT_EQ(record.error, "the frame range 0 to 2000000 has more than 10000 frames");
  params.end = -1;
  sim::renderPreview(params, "nowhere/shot.png", record);
  EXPECT_EQ(record.error, "the frame range 0 to -1 is empty");
  EXPECT_TRUE(record.images.empty());
}

TEST_F(RenderFrame, TransparentSurfacesShowWhatLiesBehindAndLowerTheAlpha) {
  sim::RenderRequest request;
  INode* box = boxUnderCamera(request);
  auto* glass = create<StdMat>(MATERIAL_CLASS_ID, Class_ID(DMTL_CLASS_ID, 0));
  ASSERT_NE(glass, nullptr);
  glass->SetDiffuse(Color(1.0f, 0.0f, 0.0f), 0);
  glass->SetOpacity(0.25f, 0);
  glass->SetSelfIllum(1.0f, 0);
  box->SetMtl(glass);
  request.background = Color(0.0f, 0.0f, 1.0f);
  sim::RenderedFrame frame = sim::renderFrame(request);
  ASSERT_TRUE(frame.error.empty());
  const float* centre = &frame.rgba[(4 * 8 + 4) * 4];
  // Front and back faces of the box each let three quarters through: 1 - 0.75^2 is covered.
  EXPECT_NEAR(centre[3], 1.0f - 0.75f * 0.75f, 1e-5f);
  EXPECT_NEAR(centre[2], 0.75f * 0.75f, 1e-5f);
  EXPECT_GT(centre[0], 0.4f);
}

}  // namespace
