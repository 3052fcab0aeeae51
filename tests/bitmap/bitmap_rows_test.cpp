#include "bitmap.h"
#include "bitmap/image_formats.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct BitmapDeleter {
  void operator()(Bitmap* b) const {
    if (b) b->DeleteThis();
  }
};
using BitmapPtr = std::unique_ptr<Bitmap, BitmapDeleter>;

BitmapPtr create(int w, int h, int type = BMM_TRUE_64, DWORD flags = MAP_HAS_ALPHA) {
  BitmapInfo bi;
  bi.SetType(type);
  bi.SetWidth(w);
  bi.SetHeight(h);
  bi.SetFlags(flags);
  return BitmapPtr(TheManager->Create(&bi));
}

// Pixel (x, y) of the test pattern: every pixel and channel different.
BMM_Color_fl pattern(int x, int y) { return {x * 0.1f, y * 0.1f, 0.5f + x, -1.0f - y}; }

void fillPattern(Bitmap& b) {
  std::vector<BMM_Color_fl> row(size_t(b.Width()));
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) row[size_t(x)] = pattern(x, y);
    ASSERT_EQ(b.PutPixels(0, y, b.Width(), row.data()), b.Width());
  }
}

bool same(const BMM_Color_fl& a, const BMM_Color_fl& b) { return std::memcmp(&a, &b, sizeof(a)) == 0; }

const BMM_Color_fl kSentinel{7, 7, 7, 7};

TEST(Bitmaps, TheManagerRefusesSizesBelowOneAndImagesTooLargeToHold) {
  EXPECT_EQ(TheManager->Create(nullptr), nullptr);
  EXPECT_EQ(create(0, 5), nullptr);
  EXPECT_EQ(create(5, 0), nullptr);
  EXPECT_EQ(create(-3, 5), nullptr);
  EXPECT_EQ(create(5, INT_MIN), nullptr);
  EXPECT_EQ(create(70000, 1), nullptr);
  EXPECT_EQ(create(65535, 65535), nullptr);
  BitmapPtr b = create(1, 1);
  ASSERT_NE(b, nullptr);
  BMM_Color_fl p = kSentinel;
  EXPECT_EQ(b->GetPixels(0, 0, 1, &p), 1);
  EXPECT_TRUE(same(p, BMM_Color_fl(0, 0, 0, 0))) << "a new bitmap is all zero";
}

TEST(Bitmaps, ARunReachingOutsideMovesOnlyThePartInsideToItsOwnColumns) {
  BitmapPtr b = create(8, 6);
  fillPattern(*b);
  struct Case {
    int x, y, n, moved, firstInside;
  } cases[] = {
      {-3, 2, 5, 2, 3},  // left edge: buffer elements 3 and 4 are columns 0 and 1
      {6, 2, 5, 2, 0},   // right edge
      {-2, 0, 12, 8, 2}, // both edges, top row
      {0, 5, 8, 8, 0},   // bottom row
      {8, 1, 3, 0, 0},   // just right of the bitmap
      {-5, 1, 5, 0, 0},  // just left
      {0, -1, 8, 0, 0},  // above
      {0, 6, 8, 0, 0},   // below
      {2, 1, 0, 0, 0},   // nothing asked
      {2, 1, -4, 0, 0},
      {INT_MAX - 1, 1, INT_MAX, 0, 0},  // x + n beyond int
      {INT_MIN, 1, INT_MAX, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "x " << c.x << " y " << c.y << " n " << c.n);
    std::vector<BMM_Color_fl> buf(16, kSentinel);
    EXPECT_EQ(b->GetPixels(c.x, c.y, c.n, buf.data()), c.moved);
    for (int i = 0; i < 16; ++i) {
      bool inside = i >= c.firstInside && i < c.firstInside + c.moved;
      EXPECT_TRUE(same(buf[size_t(i)], inside ? pattern(c.x + i, c.y) : kSentinel)) << "element " << i;
    }
  }
}

TEST(Bitmaps, PuttingARunThatReachesOutsideWritesOnlyThePixelsInside) {
  BitmapPtr b = create(8, 6);
  fillPattern(*b);
  std::vector<BMM_Color_fl> ones(5, BMM_Color_fl(1, 1, 1, 1));
  EXPECT_EQ(b->PutPixels(-3, 2, 5, ones.data()), 2);
  EXPECT_EQ(b->PutPixels(7, 2, 5, ones.data()), 1);
  EXPECT_EQ(b->PutPixels(0, 6, 5, ones.data()), 0);
  std::vector<BMM_Color_fl> row(8);
  ASSERT_EQ(b->GetPixels(0, 2, 8, row.data()), 8);
  for (int x = 0; x < 8; ++x)
    EXPECT_TRUE(same(row[size_t(x)], x < 2 || x == 7 ? BMM_Color_fl(1, 1, 1, 1) : pattern(x, 2))) << "column " << x;
  ASSERT_EQ(b->GetPixels(0, 3, 8, row.data()), 8);
  EXPECT_TRUE(same(row[0], pattern(0, 3))) << "the next row is untouched";
}

TEST(Bitmaps, The64BitAndFloatFormsAgree) {
  BitmapPtr b = create(4, 1);
  BMM_Color_64 in[4] = {{0, 1, 32768, 65535}, {257, 514, 1000, 65534}, {65535, 65535, 65535, 65535}, {0, 0, 0, 0}};
  ASSERT_EQ(b->PutPixels(0, 0, 4, in), 4);
  BMM_Color_fl f[4];
  ASSERT_EQ(b->GetPixels(0, 0, 4, f), 4);
  EXPECT_FLOAT_EQ(f[0].b, 32768.0f / 65535.0f);
  EXPECT_FLOAT_EQ(f[1].r, 257.0f / 65535.0f);
  EXPECT_EQ(f[2].a, 1.0f);
  BMM_Color_64 out[4];
  ASSERT_EQ(b->GetPixels(0, 0, 4, out), 4);
  EXPECT_EQ(std::memcmp(in, out, sizeof(in)), 0) << "every 16-bit value comes back as it went in";
}

TEST(Bitmaps, The64BitFormClampsAndRoundsWhileFloatsKeepValuesOutsideZeroToOne) {
  BitmapPtr b = create(3, 1);
  BMM_Color_fl f[3] = {{2.5f, -0.25f, 0.5f, 1.0f}, {NAN, 1.0f / 131070.0f, 0.999999f, 0.0f}, {1e30f, -1e30f, 0.25f, 0.75f}};
  ASSERT_EQ(b->PutPixels(0, 0, 3, f), 3);
  BMM_Color_64 w[3];
  ASSERT_EQ(b->GetPixels(0, 0, 3, w), 3);
  EXPECT_EQ(w[0].r, 65535);
  EXPECT_EQ(w[0].g, 0);
  EXPECT_EQ(w[0].b, 32768) << "0.5 rounds up";
  EXPECT_EQ(w[1].r, 0) << "not a number reads as 0";
  EXPECT_EQ(w[1].g, 1) << "half a step rounds up";
  EXPECT_EQ(w[1].b, 65535);
  EXPECT_EQ(w[2].a, 49151);
  BMM_Color_fl back[3];
  ASSERT_EQ(b->GetPixels(0, 0, 3, back), 3);
  EXPECT_EQ(back[0].r, 2.5f);
  EXPECT_EQ(back[0].g, -0.25f);
  EXPECT_EQ(back[2].r, 1e30f);
}

TEST(Bitmaps, ABitmapWithoutStorageMovesNothing) {
  BitmapPtr b = create(4, 4);
  b->DeleteStorage();
  EXPECT_FALSE(b->HasStorage());
  EXPECT_EQ(b->Width(), 4);
  BMM_Color_fl f[4] = {kSentinel, kSentinel, kSentinel, kSentinel};
  BMM_Color_64 w[4];
  EXPECT_EQ(b->GetPixels(0, 0, 4, f), 0);
  EXPECT_TRUE(same(f[0], kSentinel));
  EXPECT_EQ(b->PutPixels(0, 0, 4, f), 0);
  EXPECT_EQ(b->GetPixels(0, 0, 4, w), 0);
  EXPECT_EQ(b->PutPixels(0, 0, 4, w), 0);
  EXPECT_FALSE(b->Fill(kSentinel));
  BitmapInfo bi("never.png");
  EXPECT_EQ(b->Write(&bi), BMMRES_INVALIDUSAGE);
  EXPECT_EQ(create(2, 2)->GetPixels(0, 0, 2, static_cast<BMM_Color_fl*>(nullptr)), 0);
}

TEST(Bitmaps, TheFormatBlockHoldsTheFileHandlersDefaultsForTheNamesEnding) {
  BitmapInfo bi("shots/beauty.0001.EXR");
  bi.SetType(BMM_TRUE_64);
  bi.SetFlags(MAP_HAS_ALPHA);
  ASSERT_TRUE(bi.CreateFmtSpecBlock());
  EXPECT_STREQ(bi.Device(), "OpenEXR");
  ASSERT_EQ(bi.GetPiDataSize(), sizeof(sim::ImageFileSettings));
  auto* s = static_cast<const sim::ImageFileSettings*>(bi.GetPiData());
  EXPECT_EQ(s->bitsPerChannel, 32);
  EXPECT_EQ(s->alpha, 1);

  bi.SetName("beauty.png");
  ASSERT_TRUE(bi.CreateFmtSpecBlock());
  EXPECT_EQ(static_cast<const sim::ImageFileSettings*>(bi.GetPiData())->bitsPerChannel, 16) << "64-bit colour keeps 16 bits";
  bi.SetType(BMM_TRUE_32);
  ASSERT_TRUE(bi.CreateFmtSpecBlock());
  EXPECT_EQ(static_cast<const sim::ImageFileSettings*>(bi.GetPiData())->bitsPerChannel, 8);
  bi.SetName("beauty.jpg");
  ASSERT_TRUE(bi.CreateFmtSpecBlock());
  EXPECT_EQ(static_cast<const sim::ImageFileSettings*>(bi.GetPiData())->alpha, 0) << "JPEG has no alpha";

  for (const char* name : {"", "beauty", "beauty.doc", "dir.png/beauty"}) {
    bi.SetName(name);
    EXPECT_FALSE(bi.CreateFmtSpecBlock()) << name;
    EXPECT_EQ(bi.GetPiData(), nullptr);
  }
}

}  // namespace
