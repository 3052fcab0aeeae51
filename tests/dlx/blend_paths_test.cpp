// The pixel steps of a cropped row run as vector code where the build has SSE2 and as plain code
// elsewhere; the Windows and Linux builds take the vector path, so only holding the two side by side
// keeps the plain one honest. Every step, on random rows of many widths, must give the same bits.
#include "dlx/bitmap_crop_blend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using Row = std::vector<BMM_Color_fl>;

// Widths with every tail a four-float vector or an unrolled loop could leave, none and long ones.
const int kWidths[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 31, 33, 64, 127, 1000, 1023};

// Values where the steps decide something (alpha of exactly 0 or 1, the overlay's half, just either
// side of them), values outside 0 to 1, and values that are not numbers or not finite.
const float kEdges[] = {0.0f, -0.0f, 1.0f, 0.5f, 0.49999997f, 0.50000006f, 0.99999994f, 1.0000001f, 1e-38f,
                        -0.25f, 2.0f, 255.0f, std::numeric_limits<float>::quiet_NaN(),
                        std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};

class RandomRows {
 public:
  explicit RandomRows(unsigned seed) : engine_(seed) {}

  // Mostly ordinary values in and a little beyond 0 to 1, one in four an edge value.
  float value() {
    if (std::uniform_int_distribution<int>(0, 3)(engine_) == 0)
      return kEdges[std::uniform_int_distribution<size_t>(0, std::size(kEdges) - 1)(engine_)];
    return std::uniform_real_distribution<float>(-0.5f, 1.5f)(engine_);
  }
  // An alpha that is exactly 0 or 1 one time in three each, so those branches run on many pixels.
  float alpha() {
    switch (std::uniform_int_distribution<int>(0, 2)(engine_)) {
      case 0: return 0.0f;
      case 1: return 1.0f;
      default: return value();
    }
  }
  Row row(int width) {
    Row r(static_cast<size_t>(width));
    for (BMM_Color_fl& p : r) p = BMM_Color_fl(value(), value(), value(), alpha());
    return r;
  }

 private:
  std::mt19937 engine_;
};

// The same bits, but that any not-a-number equals any other: where two of them meet in an addition
// or a product, which one comes out is the compiler's choice of operand order, not the formula's.
bool sameChannel(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}
bool samePixel(const BMM_Color_fl& a, const BMM_Color_fl& b) {
  return sameChannel(a.r, b.r) && sameChannel(a.g, b.g) && sameChannel(a.b, b.b) && sameChannel(a.a, b.a);
}
bool sameBits(const Row& a, const Row& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (!samePixel(a[i], b[i])) return false;
  return true;
}

// The first pixel where the rows differ, for the failure message.
std::string firstDifference(const Row& vector, const Row& plain) {
  for (size_t i = 0; i < vector.size(); ++i) {
    if (samePixel(vector[i], plain[i])) continue;
    const BMM_Color_fl &v = vector[i], &p = plain[i];
    return testing::PrintToString(i) + ": vector (" + std::to_string(v.r) + ", " + std::to_string(v.g) + ", " +
           std::to_string(v.b) + ", " + std::to_string(v.a) + ") plain (" + std::to_string(p.r) + ", " +
           std::to_string(p.g) + ", " + std::to_string(p.b) + ", " + std::to_string(p.a) + ")";
  }
  return "";
}

TEST(BlendPaths, TakingAlphaFromTheGreenChannelGivesTheSameBitsOnBothPaths) {
  RandomRows random(1);
  for (int width : kWidths) {
    SCOPED_TRACE(testing::Message() << "width " << width);
    for (int round = 0; round < 4; ++round) {
      Row vector = random.row(width), alpha = random.row(width);
      Row plain = vector;
      qzmdlx::takeAlpha(vector.data(), alpha.data(), width);
      qzmdlx::plain::takeAlpha(plain.data(), alpha.data(), width);
      ASSERT_TRUE(sameBits(vector, plain)) << firstDifference(vector, plain);
    }
  }
}

TEST(BlendPaths, CompositingOverTheBackgroundGivesTheSameBitsOnBothPaths) {
  RandomRows random(2);
  for (int width : kWidths) {
    SCOPED_TRACE(testing::Message() << "width " << width);
    for (int round = 0; round < 4; ++round) {
      Row vector = random.row(width), background = random.row(width);
      Row plain = vector;
      qzmdlx::overBackground(vector.data(), background.data(), width);
      qzmdlx::plain::overBackground(plain.data(), background.data(), width);
      ASSERT_TRUE(sameBits(vector, plain)) << firstDifference(vector, plain);
    }
  }
}

TEST(BlendPaths, EveryOverlayModeGivesTheSameBitsOnBothPathsAtEveryOpacity) {
  RandomRows random(3);
  // 6 and -1 are no mode: both paths leave the row alone.
  for (int mode : {0, 1, 2, 3, 4, 5, 6, -1}) {
    for (float opacity : {0.0f, 1.0f, 0.5f, 0.3f, 0.99999994f, 1.5f, -0.5f}) {
      for (int width : kWidths) {
        SCOPED_TRACE(testing::Message() << "mode " << mode << " opacity " << opacity << " width " << width);
        Row vector = random.row(width), overlay = random.row(width);
        Row plain = vector;
        qzmdlx::blendOverlay(vector.data(), overlay.data(), width, opacity, mode);
        qzmdlx::plain::blendOverlay(plain.data(), overlay.data(), width, opacity, mode);
        ASSERT_TRUE(sameBits(vector, plain)) << firstDifference(vector, plain);
      }
    }
  }
}

// A few exact values, so that a mistake made alike in both paths (or a comparison that compares
// nothing) does not pass: the over mode at full and no overlay alpha, and overlay's two halves.
TEST(BlendPaths, BothPathsGiveTheFormulasValuesAtTheAlphaEdges) {
  for (auto blend : {&qzmdlx::blendOverlay, &qzmdlx::plain::blendOverlay}) {
    // An overlay alpha of 1 replaces the pixel, one of 0 leaves it.
    Row row{{0.25f, 0.5f, 1.0f, 0.5f}, {0.25f, 0.5f, 1.0f, 0.5f}};
    const Row overlay{{1.0f, 0.0f, 0.5f, 1.0f}, {1.0f, 0.0f, 0.5f, 0.0f}};
    blend(row.data(), overlay.data(), 2, 1.0f, 0);
    const Row over{{1.0f, 0.0f, 0.5f, 1.0f}, {0.25f, 0.5f, 1.0f, 0.5f}};
    EXPECT_TRUE(sameBits(row, over)) << firstDifference(row, over);

    // Tested on the image: the dark half gives 2cv, the light half 2(c + v - cv) - 1; 0.5 is dark.
    Row mix{{0.25f, 0.75f, 0.5f, 1.0f}};
    const Row by{{0.25f, 0.25f, 0.75f, 0.5f}};
    blend(mix.data(), by.data(), 1, 1.0f, 4);
    const Row mixed{{0.125f, 0.625f, 0.75f, 1.0f}};
    EXPECT_TRUE(sameBits(mix, mixed)) << firstDifference(mix, mixed);
  }
  for (auto over : {&qzmdlx::overBackground, &qzmdlx::plain::overBackground}) {
    Row row{{0.5f, 0.5f, 0.5f, 0.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {1.0f, 1.0f, 1.0f, 0.25f}};
    const Row background(3, BMM_Color_fl(0.0f, 0.25f, 1.0f, 0.75f));
    over(row.data(), background.data(), 3);
    const Row expected{{0.0f, 0.25f, 1.0f, 0.0f}, {0.5f, 0.5f, 0.5f, 1.0f}, {0.25f, 0.4375f, 1.0f, 0.25f}};
    EXPECT_TRUE(sameBits(row, expected)) << firstDifference(row, expected);
  }
}

}  // namespace
