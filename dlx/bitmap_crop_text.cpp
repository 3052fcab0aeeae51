#include "bitmap_crop_text.h"

#include "stamp_font.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace qzmdlx {
namespace {

constexpr int kTextColumn = 5;   // cells start this many pixels from the left edge
constexpr int kTopBandRow = 2;   // first row of the top band
constexpr int kBottomMargin = 2; // rows below the bottom band

}  // namespace

std::string frameNumberText(long long frame) {
  const char* pattern = frame < 10 ? "000%lld" : frame < 100 ? "00%lld" : frame < 1000 ? "0%lld" : "%lld";
  char text[32];
  std::snprintf(text, sizeof text, pattern, frame);
  return text;
}

int StampLine::first(int width) const { return glyphs.empty() ? 0 : std::min(kTextColumn, width); }

int StampLine::end(int width) const {
  if (glyphs.empty()) return 0;
  const std::int64_t cells = std::int64_t(kTextColumn) + std::int64_t(kGlyphWidth) * std::int64_t(glyphs.size());
  return static_cast<int>(std::min<std::int64_t>(cells, width));
}

void StampLine::drawRow(BMM_Color_fl* row, int glyphRow, int from, int to) const {
  static const BMM_Color_fl kInk(1.0f, 1.0f, 1.0f, 1.0f);
  for (int l = from; l < to; ++l) {
    const int x = l - kTextColumn;
    BMM_Color_fl& c = row[l];
    if (stampInk(glyphs[static_cast<size_t>(x / kGlyphWidth)], glyphRow, x % kGlyphWidth)) {
      c = kInk;
    } else {
      c.r *= 0.5f;
      c.g *= 0.5f;
      c.b *= 0.5f;
      c.a *= 0.5f;
    }
  }
}

void stampTextRow(BMM_Color_fl* row, int width, int k, int height, const StampLine* top, const StampLine* bottom) {
  const int bottomBand = height - kBottomMargin - kGlyphHeight;
  const bool inTop = top && k >= kTopBandRow && k < kTopBandRow + kGlyphHeight;
  const bool inBottom = bottom && k >= bottomBand && k < bottomBand + kGlyphHeight;
  int from = 0, to = width;
  if (inTop) {
    from = top->first(width);
    to = top->end(width);
    top->drawRow(row, k - kTopBandRow, from, to);
  }
  if (inBottom) {
    from = std::max(from, bottom->first(width));
    to = std::min(to, bottom->end(width));
    bottom->drawRow(row, k - bottomBand, from, to);
  }
}

}  // namespace qzmdlx
