// The host's one built-in font: 5 x 7 dots in a cell of 6 x 8 pixels, ASCII only; any other byte is
// drawn as a box.
#pragma once

namespace sim::ui {

constexpr int kFontCellWidth = 6, kFontCellHeight = 8;
// Seven rows top to bottom of the glyph of `c`, bit 4 the leftmost dot.
const unsigned char* builtinGlyph(unsigned char c);

}  // namespace sim::ui
