// Text in the host's one built-in font: 5 x 7 dots in a cell of 6 x 8 pixels, ASCII only; any other
// byte is drawn as a box.
#include "ui/builtin_font.h"
#include "ui/painting.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

using namespace sim::ui;

namespace {

constexpr int kCellWidth = 6, kCellHeight = 8;

const BYTE* glyph(unsigned char c) { return builtinGlyph(c); }

// One line at (x, y): the background of each cell first when the context is opaque.
void drawLine(const DeviceContext& dc, int x, int y, std::string_view text) {
  for (unsigned char c : text) {
    if (x >= kMaxWindowSide * 2) break;
    if (dc.bkMode == OPAQUE) fill(dc, {x, y, x + kCellWidth, y + kCellHeight}, dc.bkColor);
    const BYTE* g = glyph(c);
    for (int row = 0; row < 7; ++row)
      for (int col = 0; col < 5; ++col)
        if (g[row] & (0x10 >> col)) plot(dc, x + col, y + row, dc.textColor);
    x += kCellWidth;
  }
}

std::vector<std::string_view> splitLines(std::string_view text, bool single) {
  std::vector<std::string_view> lines;
  if (single) {
    lines.push_back(text);
    return lines;
  }
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\n') continue;
    std::string_view line = text.substr(start, i - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = i + 1;
  }
  return lines;
}

// Texts longer than a window can show are cut there: nothing past it can land on a surface.
std::string_view textOf(LPCSTR text, int length) {
  if (!text) return {};
  std::size_t n = length < 0 ? std::strlen(text) : std::size_t(length);
  return std::string_view(text, std::min<std::size_t>(n, 1 << 20));
}

}  // namespace

BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int length) {
  DeviceContext* dc = findDC(hdc);
  if (!dc || length < 0 || (!text && length > 0)) return FALSE;
  drawLine(*dc, x, y, textOf(text, length));
  return TRUE;
}

BOOL GetTextExtentPoint32(HDC, LPCSTR text, int length, SIZE* size) {
  if (!size || length < 0 || (!text && length > 0)) return FALSE;
  size->cx = LONG(textOf(text, length).size() * kCellWidth);
  size->cy = kCellHeight;
  return TRUE;
}

// Lines break at line feeds (not at all with DT_SINGLELINE); DT_VCENTER and DT_BOTTOM place a single
// line. Answers the height of the text.
int DrawText(HDC hdc, LPCSTR text, int length, LPRECT rect, UINT format) {
  DeviceContext* dc = findDC(hdc);
  if (!dc || !rect) return 0;
  bool single = format & DT_SINGLELINE;
  std::vector<std::string_view> lines = splitLines(textOf(text, length), single);
  int height = int(lines.size()) * kCellHeight;
  if (format & DT_CALCRECT) {
    std::size_t widest = 0;
    for (auto l : lines) widest = std::max(widest, l.size());
    rect->right = rect->left + LONG(widest * kCellWidth);
    rect->bottom = rect->top + height;
    return height;
  }
  DeviceContext clipped = *dc;
  if (!(format & DT_NOCLIP)) {
    RECT r = *rect;
    OffsetRect(&r, dc->origin.x, dc->origin.y);
    IntersectRect(&clipped.clip, &clipped.clip, &r);
  }
  int y = rect->top;
  if (single && (format & DT_VCENTER)) y = rect->top + (rect->bottom - rect->top - kCellHeight) / 2;
  if (single && (format & DT_BOTTOM)) y = rect->bottom - kCellHeight;
  for (auto line : lines) {
    int width = int(line.size()) * kCellWidth;
    int x = rect->left;
    if (format & DT_CENTER) x = rect->left + (rect->right - rect->left - width) / 2;
    if (format & DT_RIGHT) x = rect->right - width;
    drawLine(clipped, x, y, line);
    y += kCellHeight;
  }
  return height;
}
