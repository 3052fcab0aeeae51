// The two lines of text a cropped image can carry: the top line (frame number and label) and the
// bottom line, each a band 12 rows high whose cells, 7 pixels wide per byte, start at column 5. Ink
// is opaque white; the rest of a cell halves the image under it.
#pragma once

#include "bitmap.h"

#include <string>
#include <vector>

namespace qzmdlx {

// The frame number with at least four places: "000" before one digit, "00" before two, "0" before
// three; a negative number counts as short, so -3 reads 000-3.
std::string frameNumberText(long long frame);

// One line of text: the glyph of each of its bytes.
struct StampLine {
  std::vector<int> glyphs;

  // The columns [first, end) of a row `width` pixels wide that its cells cover (empty when none).
  int first(int width) const;
  int end(int width) const;
  // Draws row `glyphRow` (0-11) of the cells into the columns [from, to) of `row`, which must lie
  // within [first, end).
  void drawRow(BMM_Color_fl* row, int glyphRow, int from, int to) const;
};

// Stamps the text bands into output row k of an image `height` rows high: the top line (rows 2-13)
// when `top` is given, the bottom line (the 12 rows that end 2 rows above the image's bottom) when
// `bottom` is given. In the top band the top line comes first, and a pixel of the top band outside
// the top line's cells gets no bottom-line treatment either.
void stampTextRow(BMM_Color_fl* row, int width, int k, int height, const StampLine* top, const StampLine* bottom);

}  // namespace qzmdlx
