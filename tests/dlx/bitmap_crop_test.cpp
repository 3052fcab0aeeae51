// QZMCropBitmap on small images with exact expected pixels: the crop, alpha and background, the
// overlay modes, and the text bands with their font.
#include "bitmap_test_support.h"

#include <vector>

namespace {

using test::ImageFunctions;

// The 19 arguments, with every step off; tests switch on what they look at.
struct CropCall {
  std::string source = "src", alpha = "undefined";
  int x = 0, y = 0, width = 8, height = 6;
  int alphaFlag = 0, topLine = 0, labelFlag = 0;
  std::string label;
  int backgroundFlag = 0;
  std::string background = "undefined";
  int bottomLine = 0;
  std::string bottomText;
  int overlayFlag = 0;
  std::string overlay = "undefined";
  float opacity = 1.0f;
  int mode = 0, frameOffset = 0;

  std::string script() const {
    auto n = [](auto v) { return " (" + std::to_string(v) + ")"; };
    return "r = QZMCropBitmap " + source + " " + alpha + n(x) + n(y) + n(width) + n(height) + n(alphaFlag) + n(topLine) +
           n(labelFlag) + " \"" + label + "\"" + n(backgroundFlag) + " " + background + n(bottomLine) + " \"" +
           bottomText + "\"" + n(overlayFlag) + " " + overlay + n(opacity) + n(mode) + n(frameOffset);
  }
};

class CropBitmap : public ImageFunctions {
 protected:
  // The result of the call, or null when it raised an error.
  static Bitmap* crop(const CropCall& call) {
    run("global r = undefined");  // names first set inside a try block are its own
    std::string error = errorOf(call.script());
    EXPECT_EQ(error, "");
    return error.empty() ? bitmapNamed("r") : nullptr;
  }
};

const BMM_Color_fl kWhite(1, 1, 1, 1);
BMM_Color_fl half(BMM_Color_fl c) { return BMM_Color_fl(c.r / 2, c.g / 2, c.b / 2, c.a / 2); }

TEST_F(CropBitmap, CropTakesTheRectangleAndReadsWhatLiesOutsideAsTransparentBlack) {
  image("src", 8, 6, [](int x, int y) { return BMM_Color_fl(x / 8.0f, y / 8.0f, 0.5f, 1.0f); });
  CropCall call;
  call.x = 3;
  call.y = 2;
  Bitmap* r = crop(call);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(run("format \"%x%\" r.width r.height"), "8x6");
  EXPECT_EQ(r->Type(), BMM_TRUE_64);
  EXPECT_TRUE(r->HasAlpha());
  EXPECT_EQ(pixel(r, 0, 0), BMM_Color_fl(3 / 8.0f, 2 / 8.0f, 0.5f, 1));
  EXPECT_EQ(pixel(r, 4, 3), BMM_Color_fl(7 / 8.0f, 5 / 8.0f, 0.5f, 1));
  EXPECT_EQ(pixel(r, 5, 0), BMM_Color_fl());  // column 8 of the source
  EXPECT_EQ(pixel(r, 0, 4), BMM_Color_fl());  // row 6

  // Rows after a whole row: nothing of the row before stays behind.
  call.x = -2;
  call.y = 4;
  r = crop(call);
  EXPECT_EQ(pixel(r, 1, 0), BMM_Color_fl());
  EXPECT_EQ(pixel(r, 2, 0), BMM_Color_fl(0, 4 / 8.0f, 0.5f, 1));
  EXPECT_EQ(pixel(r, 2, 1), BMM_Color_fl(0, 5 / 8.0f, 0.5f, 1));
  EXPECT_EQ(pixel(r, 2, 2), BMM_Color_fl());

  // No bitmap has no pixels.
  call.width = 0;
  EXPECT_EQ(run(call.script() + "; print r"), "undefined\n");
}

TEST_F(CropBitmap, WithoutAlphaOrTopLineEveryOtherStepIsIgnored) {
  const BMM_Color_fl c(0.25f, 0.75f, 0.5f, 0.0f);
  image("src", 30, 30, c);
  image("other", 30, 30, BMM_Color_fl(1, 0, 1, 0.5f));
  CropCall call;
  call.width = call.height = 30;
  call.alphaFlag = 2;  // only 1 sets a flag
  call.backgroundFlag = call.bottomLine = call.overlayFlag = 1;
  call.background = call.overlay = "other";
  call.bottomText = "Take 1";
  call.mode = 2;
  Bitmap* r = crop(call);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(pixel(r, x, y), c) << x << "," << y;
}

TEST_F(CropBitmap, AlphaComesFromTheGreenChannelAndDecidesTheBackground) {
  image("src", 4, 1, BMM_Color_fl(0.5f, 0.5f, 0.5f, 1));
  const float greens[] = {0.0f, 0.25f, 1.0f, 1.5f};
  image("matte", 4, 1, [&](int x, int) { return BMM_Color_fl(0.9f, greens[x], 0.9f, 0.9f); });
  const BMM_Color_fl bg(0.25f, 0, 1, 0.75f);
  image("bg", 4, 1, bg);
  CropCall call;
  call.width = 4;
  call.height = 1;
  call.alphaFlag = call.backgroundFlag = 1;
  call.alpha = "matte";
  call.background = "bg";
  Bitmap* r = crop(call);
  EXPECT_EQ(pixel(r, 0, 0), BMM_Color_fl(0.25f, 0, 1, 0));  // alpha 0: the background alone
  EXPECT_EQ(pixel(r, 1, 0), BMM_Color_fl(0.3125f, 0.125f, 0.875f, 0.25f));
  EXPECT_EQ(pixel(r, 2, 0), BMM_Color_fl(0.5f, 0.5f, 0.5f, 1));
  EXPECT_EQ(pixel(r, 3, 0), BMM_Color_fl(0.5f, 0.5f, 0.5f, 1.5f));

  // With the top line instead of the alpha flag, the source's own alpha decides.
  image("src", 4, 1, BMM_Color_fl(0.5f, 0.5f, 0.5f, 0));
  call.alphaFlag = 0;
  call.topLine = 1;
  r = crop(call);
  EXPECT_EQ(pixel(r, 2, 0), BMM_Color_fl(0.25f, 0, 1, 0));
}

TEST_F(CropBitmap, EachOverlayModeBlendsByItsFormula) {
  image("src", 2, 1, BMM_Color_fl(0.25f, 0.75f, 0.5f, 0.5f));
  image("ov", 2, 1, [](int x, int) { return x == 0 ? BMM_Color_fl(0.5f, 0.25f, 1, 0.5f) : BMM_Color_fl(1, 1, 1, 0); });
  CropCall call;
  call.width = 2;
  call.height = 1;
  call.topLine = 1;  // switches the pixel stage on; the band lies below this one-row image
  call.overlayFlag = 1;
  call.overlay = "ov";
  call.opacity = 0.5f;
  const BMM_Color_fl expected[] = {
      {0.4375f, 0.6875f, 0.875f, 0.625f},       // 0: over
      {0.4375f, 0.78125f, 0.75f, 0.625f},       // 1: screen
      {0.5f, 0.875f, 1.0f, 0.75f},              // 2: add
      {0.0625f, 0.09375f, 0.25f, 0.125f},       // 3: multiply
      {0.25f, 0.6875f, 0.75f, 0.5f},            // 4: overlay, tested on the image
      {0.25f, 0.5625f, 0.75f, 0.5f},            // 5: overlay, tested on the overlay
  };
  for (int mode = 0; mode < 6; ++mode) {
    call.mode = mode;
    EXPECT_EQ(pixel(crop(call), 0, 0), expected[mode]) << "mode " << mode;
  }
  // An overlay pixel without alpha leaves the image alone in mode 0.
  call.mode = 0;
  EXPECT_EQ(pixel(crop(call), 1, 0), BMM_Color_fl(0.25f, 0.75f, 0.5f, 0.5f));
  // Unknown modes change nothing; the add mode is not clamped.
  for (int mode : {6, -1}) {
    call.mode = mode;
    EXPECT_EQ(pixel(crop(call), 0, 0), BMM_Color_fl(0.25f, 0.75f, 0.5f, 0.5f)) << "mode " << mode;
  }
  call.mode = 2;
  call.opacity = 1.0f;
  EXPECT_EQ(pixel(crop(call), 0, 0), BMM_Color_fl(0.75f, 1.0f, 1.5f, 1.0f));
}

TEST_F(CropBitmap, OverlayOpacityZeroEndsEachPixelBeforeTheOverlayAndTheText) {
  const BMM_Color_fl c(0.25f, 0.75f, 0.5f, 1);
  image("src", 40, 30, c);
  image("matte", 40, 30, BMM_Color_fl(0, 0.5f, 0, 0));
  CropCall call;
  call.width = 40;
  call.height = 30;
  call.alphaFlag = call.topLine = call.bottomLine = call.overlayFlag = 1;
  call.alpha = "matte";
  call.overlay = "src";
  call.bottomText = "0000";
  call.opacity = 0.0f;
  Bitmap* r = crop(call);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(pixel(r, x, y), BMM_Color_fl(c.r, c.g, c.b, 0.5f)) << x << "," << y;
}

// The image is darkened to half under each line of text, with the characters in white, and left
// alone elsewhere.
TEST_F(CropBitmap, TextBandsLieWhereTheirLinesAre) {
  const BMM_Color_fl c(0.5f, 0.25f, 1, 1);
  image("src", 40, 30, c);
  run("sliderTime = 0");
  CropCall call;
  call.width = 40;
  call.height = 30;
  call.topLine = call.bottomLine = 1;
  call.bottomText = "ab";
  Bitmap* r = crop(call);
  int ink = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool topBand = y >= 2 && y <= 13 && x >= 5 && x < 5 + 4 * 7;  // "0000"
      const bool bottomBand = y >= 16 && y <= 27 && x >= 5 && x < 5 + 2 * 7;
      const BMM_Color_fl p = pixel(r, x, y);
      if (!topBand && !bottomBand) {
        ASSERT_EQ(p, c) << x << "," << y;
      } else {
        ASSERT_TRUE(p == half(c) || p == kWhite) << x << "," << y << ": " << p;
        ink += p == kWhite;
      }
    }
  EXPECT_GT(ink, 40);
}

TEST_F(CropBitmap, AGlyphIsDrawnPixelForPixelAndUnknownBytesAsSolidBlocks) {
  const char* glyphA[12] = {".......", ".......", "...#...", "..#.#..", "..#.#..", "..#.#..",
                            "..#.#..", "..###..", ".#...#.", ".#...#.", ".......", "......."};
  const BMM_Color_fl c(0.5f, 0.25f, 1, 1);
  image("src", 40, 20, c);
  CropCall call;
  call.width = 40;
  call.height = 20;
  call.alphaFlag = 1;  // the pixel stage without a top line
  call.alpha = "src";  // green 0.25 becomes the alpha
  call.bottomLine = 1;
  call.bottomText = "A#\xC3\xA9";  // an accented letter is two bytes, both outside the set
  Bitmap* r = crop(call);
  const BMM_Color_fl under(c.r, c.g, c.b, 0.25f);
  for (int row = 0; row < 12; ++row)
    for (int col = 0; col < 7; ++col) {
      BMM_Color_fl p = pixel(r, 5 + col, 6 + row);
      EXPECT_EQ(p, glyphA[row][col] == '#' ? kWhite : half(under)) << "A at " << col << "," << row;
      for (int cell = 1; cell < 4; ++cell) EXPECT_EQ(pixel(r, 5 + 7 * cell + col, 6 + row), kWhite);
    }
  EXPECT_EQ(pixel(r, 5 + 28, 10), under);  // past the text
  EXPECT_EQ(pixel(r, 4, 10), under);       // before it
}

// The top line's text, read by drawing the expected text as the bottom line of the same image:
// both bands then look the same.
class TopLine : public CropBitmap {
 protected:
  static std::string differences(const std::string& frame, CropCall call, const std::string& expected) {
    image("src", 130, 30, BMM_Color_fl(0.5f, 0.25f, 1, 1));
    run("sliderTime = " + frame);
    call.width = 130;
    call.height = 30;
    call.topLine = call.bottomLine = 1;
    call.bottomText = expected;
    Bitmap* r = crop(call);
    std::string where;
    for (int row = 0; row < 12; ++row)
      for (int x = 0; x < 130; ++x)
        if (!(pixel(r, x, 2 + row) == pixel(r, x, 16 + row))) return "differs at " + std::to_string(x) + "," + std::to_string(row);
    return "";
  }
};

TEST_F(TopLine, FrameNumbersHaveFourPlacesAndNegativeOnesCountAsShort) {
  CropCall call;
  EXPECT_EQ(differences("0", call, "0000"), "");
  EXPECT_EQ(differences("0", call, "0001"), "differs at 28,1");  // the comparison does see a digit
  call.frameOffset = 100;
  EXPECT_EQ(differences("5", call, "0105"), "");
  call.frameOffset = 0;
  EXPECT_EQ(differences("1234", call, "1234"), "");
  call.frameOffset = -3;
  EXPECT_EQ(differences("0", call, "000-3"), "");
  call.frameOffset = 0;
  EXPECT_EQ(differences("5.9", call, "0005"), "");  // part frames do not count
}

TEST_F(TopLine, TheLabelFollowsAfterOneSpaceWhenItsFlagIsOne) {
  CropCall call;
  call.label = "Beauty pass";
  EXPECT_EQ(differences("12", call, "0012"), "");
  call.labelFlag = 1;
  EXPECT_EQ(differences("12", call, "0012 Beauty pass"), "");
}

// In a low image the bands overlap: a pixel of the top band outside the top line gets no bottom
// line either, one inside gets both, top first.
TEST_F(CropBitmap, OverlappingBandsDrawTheTopLineFirst) {
  const BMM_Color_fl c(0.5f, 0.25f, 1, 1);
  image("src", 50, 20, c);
  run("sliderTime = 0");
  CropCall call;
  call.width = 50;
  call.height = 20;  // bottom band: rows 6-17
  call.topLine = call.bottomLine = 1;
  call.bottomText = "00000000";
  Bitmap* r = crop(call);
  EXPECT_EQ(pixel(r, 40, 8), c);                // top band, right of "0000"
  EXPECT_EQ(pixel(r, 40, 14), half(c));         // below the top band
  EXPECT_EQ(pixel(r, 5, 8), half(half(c)));     // background of both glyphs
  EXPECT_EQ(pixel(r, 10, 8), kWhite);           // ink of both
}

TEST_F(CropBitmap, BitmapArgumentsAreCheckedWhenTheyAreUsed) {
  image("src", 8, 6, BMM_Color_fl());
  CropCall call;
  call.source = "5";
  EXPECT_EQ(errorOf(call.script()), "-- Type error: Source bitmap not supplied, got: 5");
  call.source = "src";
  call.alphaFlag = 1;
  EXPECT_EQ(errorOf(call.script()), "-- Type error: Alpha bitmap not supplied, got: undefined");
  call.backgroundFlag = 1;
  call.alpha = "src";
  call.background = "#beauty";
  EXPECT_EQ(errorOf(call.script()), "-- Type error: Background bitmap not supplied, got: #beauty");
  call.overlayFlag = 1;
  call.background = "src";
  EXPECT_EQ(errorOf(call.script()), "-- Type error: Overlay bitmap not supplied, got: undefined");
  call.overlayFlag = 0;
  EXPECT_EQ(errorOf(call.script()), "");
}

}  // namespace
