// The 7 x 12 pixel font of the frame-number and text stamps: 75 glyphs, cells placed side by side
// without gaps (the spacing is drawn into the glyphs).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qzmdlx {

constexpr int kGlyphWidth = 7;
constexpr int kGlyphHeight = 12;

// The characters the font has, in the order of its glyphs.
extern const char kStampCharacters[];
constexpr int kStampGlyphCount = 75;

// One byte per glyph row, top row first; bit 0x40 is the leftmost column, 0x01 the rightmost.
using GlyphRows = std::array<std::uint8_t, kGlyphHeight>;
extern const GlyphRows kStampGlyphs[kStampGlyphCount];

// A byte the font does not have is drawn as a cell of ink everywhere.
constexpr int kSolidBlock = -1;

// The glyph of every byte of `text`, kSolidBlock for bytes outside the character set (compared with
// case).
std::vector<int> stampGlyphs(const std::string& text);

// Whether column `column` (0-6) of row `row` (0-11) of glyph `glyph` is ink.
inline bool stampInk(int glyph, int row, int column) {
  if (glyph == kSolidBlock) return true;
  return ((kStampGlyphs[glyph][static_cast<size_t>(row)] >> (kGlyphWidth - 1 - column)) & 1) != 0;
}

}  // namespace qzmdlx
