// Shapes, pixels and device-independent bitmaps drawn through a device context.
#include "ui/painting.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace sim::ui;

namespace {

bool penOf(const DeviceContext& dc, COLORREF* color, int* width) {
  GdiObject* p = findGdiObject(dc.pen);
  if (!p || p->kind != GdiObject::Pen || p->style == PS_NULL) return false;
  *color = p->color;
  *width = p->width;
  return true;
}

void frame(const DeviceContext& dc, const RECT& r, int width, COLORREF color) {
  fill(dc, {r.left, r.top, r.right, r.top + width}, color);
  fill(dc, {r.left, r.bottom - width, r.right, r.bottom}, color);
  fill(dc, {r.left, r.top + width, r.left + width, r.bottom - width}, color);
  fill(dc, {r.right - width, r.top + width, r.right, r.bottom - width}, color);
}

// What a 24- or 32-bit bottom-up or top-down DIB holds, checked once.
struct DibLayout {
  int width = 0, height = 0, bytesPerPixel = 0;
  bool bottomUp = true;
  std::size_t rowBytes = 0;
};

bool dibLayout(const BITMAPINFO* info, DibLayout* out) {
  if (!info) return false;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biCompression != BI_RGB || (h.biBitCount != 24 && h.biBitCount != 32) || h.biWidth <= 0 || h.biHeight == 0)
    return false;
  if (h.biWidth > 65535 || h.biHeight > 65535 || h.biHeight < -65535) return false;
  out->width = h.biWidth;
  out->height = std::abs(h.biHeight);
  out->bottomUp = h.biHeight > 0;
  out->bytesPerPixel = h.biBitCount / 8;
  // Rows are padded to a multiple of 4 bytes.
  out->rowBytes = ((std::size_t(out->width) * std::size_t(out->bytesPerPixel) + 3) / 4) * 4;
  return true;
}

// Source pixel (x, y), y counted from the top of the image; `lines` rows from `startScan` are in
// `bits`, scan lines counted from the bottom for a bottom-up image.
bool dibPixel(const DibLayout& l, const BYTE* bits, UINT startScan, UINT lines, int x, int y, COLORREF* c) {
  if (x < 0 || y < 0 || x >= l.width || y >= l.height) return false;
  long long scan = l.bottomUp ? (l.height - 1 - y) : y;
  long long row = scan - (long long)startScan;
  if (row < 0 || row >= (long long)lines) return false;
  // The rows in memory start with the scan line startScan: bottom first for a bottom-up image.
  const BYTE* p = bits + std::size_t(row) * l.rowBytes + std::size_t(x) * std::size_t(l.bytesPerPixel);
  *c = RGB(p[2], p[1], p[0]);
  return true;
}

}  // namespace

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = findDC(hdc);
  if (!dc) return FALSE;
  RECT r{left, top, right, bottom};
  COLORREF pen;
  int width = 0;
  if (!penOf(*dc, &pen, &width)) width = 0;
  COLORREF brush;
  if (brushColor(dc->brush, &brush)) {
    RECT inner = r;
    InflateRect(&inner, -width, -width);
    fill(*dc, inner, brush);
  }
  if (width > 0) frame(*dc, r, width, pen);
  return TRUE;
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = findDC(hdc);
  COLORREF c;
  if (!dc || !rect || !brushColor(brush, &c)) return 0;
  fill(*dc, *rect, c);
  return 1;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = findDC(hdc);
  COLORREF c;
  if (!dc || !rect || !brushColor(brush, &c)) return 0;
  if (!IsRectEmpty(rect)) frame(*dc, *rect, 1, c);
  return 1;
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous) {
  DeviceContext* dc = findDC(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->position;
  dc->position = {x, y};
  return TRUE;
}

// Draws from the current position up to, not including, (x, y), which becomes the position.
BOOL LineTo(HDC hdc, int x, int y) {
  DeviceContext* dc = findDC(hdc);
  if (!dc) return FALSE;
  COLORREF c;
  int width;
  long long x0 = dc->position.x, y0 = dc->position.y;
  dc->position = {x, y};
  if (!penOf(*dc, &c, &width)) return TRUE;
  long long dx = std::llabs(x - x0), dy = -std::llabs(y - y0);
  int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
  long long err = dx + dy;
  // Only the part that can land on a surface is walked, so a far-away end costs nothing.
  for (int steps = 0; (x0 != x || y0 != y) && steps < 2 * kMaxWindowSide + 2; ++steps) {
    plot(*dc, int(x0), int(y0), c);
    long long e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
  return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  DeviceContext* dc = findDC(hdc);
  if (!dc) return CLR_INVALID;
  plot(*dc, x, y, color);
  return color & 0xFFFFFF;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  DeviceContext* dc = findDC(hdc);
  Surface* s = dc ? surfaceOf(*dc) : nullptr;
  if (!s) return CLR_INVALID;
  x += dc->origin.x;
  y += dc->origin.y;
  if (x < dc->clip.left || x >= dc->clip.right || y < dc->clip.top || y >= dc->clip.bottom) return CLR_INVALID;
  if (x < 0 || y < 0 || x >= s->width || y >= s->height) return CLR_INVALID;
  return s->pixels[std::size_t(y) * std::size_t(s->width) + std::size_t(x)];
}

// The source rectangle's origin is its lower-left corner for a bottom-up image, as in GDI.
int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT) {
  DeviceContext* dc = findDC(hdc);
  DibLayout l;
  if (!dc || !bits || !dibLayout(info, &l)) return 0;
  int w = int(std::min<DWORD>(width, DWORD(l.width))), h = int(std::min<DWORD>(height, DWORD(l.height)));
  int top = l.bottomUp ? l.height - ySrc - h : ySrc;
  for (int dy = 0; dy < h; ++dy)
    for (int dx = 0; dx < w; ++dx) {
      COLORREF c;
      if (dibPixel(l, static_cast<const BYTE*>(bits), startScan, lines, xSrc + dx, top + dy, &c))
        plot(*dc, xDest + dx, yDest + dy, c);
    }
  return int(lines);
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT, DWORD) {
  DeviceContext* dc = findDC(hdc);
  DibLayout l;
  if (!dc || !bits || !dibLayout(info, &l) || destWidth == 0 || destHeight == 0 || srcWidth <= 0 || srcHeight <= 0)
    return 0;
  // Negative sizes mirror, as in GDI.
  int stepX = destWidth < 0 ? -1 : 1, stepY = destHeight < 0 ? -1 : 1;
  int w = std::min(std::abs(destWidth), kMaxWindowSide), h = std::min(std::abs(destHeight), kMaxWindowSide);
  int top = l.bottomUp ? l.height - ySrc - srcHeight : ySrc;
  for (int dy = 0; dy < h; ++dy)
    for (int dx = 0; dx < w; ++dx) {
      int sx = xSrc + int((long long)dx * srcWidth / w), sy = top + int((long long)dy * srcHeight / h);
      COLORREF c;
      if (dibPixel(l, static_cast<const BYTE*>(bits), 0, UINT(l.height), sx, sy, &c))
        plot(*dc, xDest + stepX * dx, yDest + stepY * dy, c);
    }
  return srcHeight;
}
