// QZMStereoBitmap's seven modes on a two-row image, and QZMCreatePreview's settings as the host's
// preview receives them.
#include "bitmap_test_support.h"

#include "maxapi.h"
#include "scene/scene_services.h"

namespace {

using test::ImageFunctions;

float luma(const BMM_Color_fl& p) { return 0.299f * p.r + 0.587f * p.g + 0.114f * p.b; }

void expectNear(const BMM_Color_fl& got, const BMM_Color_fl& want, const std::string& where) {
  EXPECT_FLOAT_EQ(got.r, want.r) << where;
  EXPECT_FLOAT_EQ(got.g, want.g) << where;
  EXPECT_FLOAT_EQ(got.b, want.b) << where;
  EXPECT_FLOAT_EQ(got.a, want.a) << where;
}

TEST_F(ImageFunctions, EachStereoModeOnATwoRowImage) {
  const BMM_Color_fl L(0.5f, 0.25f, 1, 0.75f), R(0.25f, 1, 0.5f, 0.5f);
  image("left", 3, 2, L);
  image("right", 3, 2, R);
  const float a = L.a;  // the left image's alpha, always
  struct Case {
    int mode;
    BMM_Color_fl top, second;
  } cases[] = {
      {0, {luma(L), luma(R), luma(R), a}, {luma(L), luma(R), luma(R), a}},
      {1, {L.r, R.g, R.b, a}, {L.r, R.g, R.b, a}},
      {2, {luma(L), R.g, R.b, a}, {luma(L), R.g, R.b, a}},
      {3, {0.7f * L.g + 0.3f * L.b, R.g, R.b, a}, {0.7f * L.g + 0.3f * L.b, R.g, R.b, a}},
      {4, {0.299f * L.r, 0, luma(R), a}, {0.299f * L.r, 0, luma(R), a}},
      {5, L, {R.r, R.g, R.b, a}},
      {6, {R.r, R.g, R.b, a}, L},
      {7, L, L},
      {-1, L, L},
  };
  for (const Case& c : cases) {
    run("s = QZMStereoBitmap left right (" + std::to_string(c.mode) + ")");
    Bitmap* s = bitmapNamed("s");
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->Width(), 3);
    ASSERT_EQ(s->Height(), 2);
    expectNear(pixel(s, 2, 0), c.top, "mode " + std::to_string(c.mode) + ", top row");
    expectNear(pixel(s, 2, 1), c.second, "mode " + std::to_string(c.mode) + ", second row");
  }
  // Red and cyan make white in mode 1.
  image("left", 3, 2, BMM_Color_fl(1, 0, 0, 1));
  image("right", 3, 2, BMM_Color_fl(0, 1, 1, 1));
  run("s = QZMStereoBitmap left right 1");
  EXPECT_EQ(pixel(bitmapNamed("s"), 0, 0), BMM_Color_fl(1, 1, 1, 1));
}

TEST_F(ImageFunctions, ARightImageSmallerThanTheLeftReadsAsBlackBeyondItsEdges) {
  image("left", 3, 2, BMM_Color_fl(0.5f, 0.5f, 0.5f, 1));
  image("right", 2, 1, BMM_Color_fl(0.25f, 0.75f, 1, 1));
  run("s = QZMStereoBitmap left right 1");
  Bitmap* s = bitmapNamed("s");
  EXPECT_EQ(pixel(s, 1, 0), BMM_Color_fl(0.5f, 0.75f, 1, 1));
  EXPECT_EQ(pixel(s, 2, 0), BMM_Color_fl(0.5f, 0, 0, 1));
  EXPECT_EQ(pixel(s, 0, 1), BMM_Color_fl(0.5f, 0, 0, 1));
  // A freed right image has no pixels at all.
  run("free right; s = QZMStereoBitmap left right 6");
  EXPECT_EQ(pixel(bitmapNamed("s"), 1, 0), BMM_Color_fl(0, 0, 0, 1));
}

TEST_F(ImageFunctions, StereoBitmapArgumentsMustBeBitmaps) {
  image("left", 3, 2, BMM_Color_fl());
  EXPECT_EQ(errorOf("QZMStereoBitmap 1 left 0"), "-- Type error: Left bitmap not supplied, got: 1");
  EXPECT_EQ(errorOf("QZMStereoBitmap left \"right\" 0"), "-- Type error: Right bitmap not supplied, got: \"right\"");
}

TEST_F(ImageFunctions, APreviewReceivesEverySettingInItsField) {
  // Size, first, last, step, rate, shading, output type, background, then the display switches
  // geometry, shapes, lights, cameras, helpers, space warps, grid, safe frame, frame numbers.
  EXPECT_EQ(run("print (QZMCreatePreview 75 10 90 2 24 3 1 true  false true false true false true false true false)"),
            "true\n");
  const sim::PreviewRecord& r = sim::sceneServices().preview;
  ASSERT_EQ(r.count, 1);
  ASSERT_TRUE(r.hadParams);
  const PreviewParams& p = r.params;
  EXPECT_EQ(p.outputType, 1);
  EXPECT_EQ(p.pctSize, 75);
  EXPECT_EQ(p.start, 10);
  EXPECT_EQ(p.end, 90);
  EXPECT_EQ(p.skip, 2);
  EXPECT_EQ(p.fps, 24);
  EXPECT_EQ(p.rndLevel, 3);
  EXPECT_TRUE(p.dspBkg);
  const BOOL switches[] = {p.dspGeometry, p.dspShapes,     p.dspLights,    p.dspCameras,  p.dspHelpers,
                           p.dspSpaceWarps, p.dspGrid,     p.dspSafeFrame, p.dspFrameNums};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(switches[i] != FALSE, i % 2 == 1) << "switch " << i;
  // The record is 17 fields of 32 bits, in the host's order.
  static_assert(sizeof(PreviewParams) == 17 * 4, "17 fields of 32 bits");
  EXPECT_EQ(errorOf("QZMCreatePreview 75 10 90 2 24 3 1 true false true false true false true false true 7"),
            "-- Unable to convert: 7 to type: Boolean");
}

}  // namespace
