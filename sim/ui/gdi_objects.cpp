// Brushes, pens, fonts and device contexts.
#include "ui/painting.h"

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

using namespace sim::ui;

namespace {

struct GdiState {
  HandleTable<GdiObject> objects{1};
  HandleTable<DeviceContext> contexts{2};
  std::map<int, HGDIOBJ> stock;      // by GetStockObject index
  std::map<int, HBRUSH> sysBrushes;  // by system colour index
};

GdiState& gdi() {
  static GdiState s;
  return s;
}

HGDIOBJ addObject(GdiObject o) { return gdi().objects.add(std::make_unique<GdiObject>(o)); }

HGDIOBJ makeStock(int which) {
  GdiObject o;
  o.stock = true;
  switch (which) {
    case WHITE_BRUSH: o.color = RGB(255, 255, 255); break;
    case LTGRAY_BRUSH: o.color = RGB(192, 192, 192); break;
    case GRAY_BRUSH: o.color = RGB(128, 128, 128); break;
    case DKGRAY_BRUSH: o.color = RGB(64, 64, 64); break;
    case BLACK_BRUSH: o.color = RGB(0, 0, 0); break;
    case NULL_BRUSH: o.style = PS_NULL; break;
    case WHITE_PEN: o.kind = GdiObject::Pen; o.color = RGB(255, 255, 255); break;
    case BLACK_PEN: o.kind = GdiObject::Pen; break;
    case NULL_PEN: o.kind = GdiObject::Pen; o.style = PS_NULL; break;
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT: o.kind = GdiObject::Font; break;
    default: return nullptr;
  }
  return addObject(o);
}

bool selectedAnywhere(HGDIOBJ obj) {
  bool found = false;
  gdi().contexts.forEach([&](void*, const DeviceContext& dc) {
    found = found || dc.brush == obj || dc.pen == obj || dc.font == obj;
  });
  return found;
}

}  // namespace

namespace sim::ui {

DeviceContext* findDC(HDC hdc) { return gdi().contexts.find(hdc); }

HDC makeDC(HWND hwnd, const RECT& clip) {
  Window* w = findWindow(hwnd);
  HWND top = topLevelOf(hwnd);
  if (!w || !top) return nullptr;
  auto dc = std::make_unique<DeviceContext>();
  dc->hwnd = hwnd;
  dc->top = top;
  dc->origin = surfaceOrigin(hwnd);
  RECT inSurface = clip;
  OffsetRect(&inSurface, dc->origin.x, dc->origin.y);
  RECT windowClip = surfaceClip(hwnd);
  if (!IntersectRect(&dc->clip, &inSurface, &windowClip)) SetRectEmpty(&dc->clip);
  dc->brush = GetStockObject(WHITE_BRUSH);
  dc->pen = GetStockObject(BLACK_PEN);
  dc->font = GetStockObject(SYSTEM_FONT);
  return gdi().contexts.add(std::move(dc));
}

void releaseDC(HDC hdc) { gdi().contexts.remove(hdc); }

Surface* surfaceOf(const DeviceContext& dc) {
  Window* top = findWindow(dc.top);
  return top ? &top->surface : nullptr;
}

GdiObject* findGdiObject(HGDIOBJ obj) { return gdi().objects.find(obj); }

bool brushColor(HBRUSH brush, COLORREF* color) {
  auto v = reinterpret_cast<std::uintptr_t>(brush);
  if (v >= 1 && v <= 31) {
    *color = GetSysColor(int(v - 1));
    return true;
  }
  GdiObject* o = findGdiObject(brush);
  if (!o || o->kind != GdiObject::Brush || o->style == PS_NULL) return false;
  *color = o->color;
  return true;
}

void plot(const DeviceContext& dc, int x, int y, COLORREF color) {
  Surface* s = surfaceOf(dc);
  x += dc.origin.x;
  y += dc.origin.y;
  if (!s || x < dc.clip.left || x >= dc.clip.right || y < dc.clip.top || y >= dc.clip.bottom) return;
  if (x < 0 || y < 0 || x >= s->width || y >= s->height) return;
  s->pixels[std::size_t(y) * std::size_t(s->width) + std::size_t(x)] = color & 0xFFFFFF;
}

void fill(const DeviceContext& dc, RECT r, COLORREF color) {
  Surface* s = surfaceOf(dc);
  if (!s) return;
  OffsetRect(&r, dc.origin.x, dc.origin.y);
  RECT bounds{0, 0, s->width, s->height};
  if (!IntersectRect(&r, &r, &dc.clip) || !IntersectRect(&r, &r, &bounds)) return;
  for (int y = r.top; y < r.bottom; ++y)
    std::fill_n(s->pixels.begin() + std::ptrdiff_t(y) * s->width + r.left, r.right - r.left, color & 0xFFFFFF);
}

}  // namespace sim::ui

HGDIOBJ GetStockObject(int which) {
  auto& stock = gdi().stock;
  auto it = stock.find(which);
  if (it != stock.end()) return it->second;
  HGDIOBJ obj = makeStock(which);
  if (obj) stock[which] = obj;
  return obj;
}

HBRUSH CreateSolidBrush(COLORREF color) {
  GdiObject o;
  o.color = color & 0xFFFFFF;
  return addObject(o);
}

HPEN CreatePen(int style, int width, COLORREF color) {
  GdiObject o;
  o.kind = GdiObject::Pen;
  o.style = style;
  o.width = std::clamp(width, 1, 64);
  o.color = color & 0xFFFFFF;
  return addObject(o);
}

// Stock objects are never deleted; an object still selected into a context stays until it is not.
BOOL DeleteObject(HGDIOBJ obj) {
  GdiObject* o = findGdiObject(obj);
  if (!o) return FALSE;
  if (o->stock) return TRUE;
  if (selectedAnywhere(obj)) return FALSE;
  gdi().objects.remove(obj);
  return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj) {
  DeviceContext* dc = findDC(hdc);
  GdiObject* o = findGdiObject(obj);
  if (!dc || !o) return nullptr;
  HGDIOBJ* slot = o->kind == GdiObject::Brush ? &dc->brush : o->kind == GdiObject::Pen ? &dc->pen : &dc->font;
  HGDIOBJ old = *slot;
  *slot = obj;
  return old;
}

DWORD GetSysColor(int index) {
  switch (index) {
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_BTNFACE: return RGB(192, 192, 192);
    case COLOR_BTNSHADOW: return RGB(128, 128, 128);
    default: return RGB(0, 0, 0);
  }
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index > 30) return nullptr;
  auto& brushes = gdi().sysBrushes;
  auto it = brushes.find(index);
  if (it != brushes.end()) return it->second;
  GdiObject o;
  o.color = GetSysColor(index);
  o.stock = true;
  return brushes[index] = addObject(o);
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = findDC(hdc);
  if (!dc) return CLR_INVALID;
  return std::exchange(dc->textColor, color & 0xFFFFFF);
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = findDC(hdc);
  if (!dc) return CLR_INVALID;
  return std::exchange(dc->bkColor, color & 0xFFFFFF);
}

int SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = findDC(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(dc->bkMode, mode);
}
