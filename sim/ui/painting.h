// Device contexts and GDI objects behind the drawing calls.
//
// A device context draws on the surface of its window's top-level window, at the window's origin,
// clipped to the window's rectangle cut by its ancestors' (and, for a paint, to the update
// rectangle). Coordinates given to drawing calls are the window's client coordinates.
#pragma once

#include "ui/window_model.h"

namespace sim::ui {

struct DeviceContext {
  HWND hwnd = nullptr;
  HWND top = nullptr;
  POINT origin{};  // of the window's client area in the surface
  RECT clip{};     // in the surface
  HBRUSH brush = nullptr;
  HPEN pen = nullptr;
  HFONT font = nullptr;
  COLORREF textColor = 0x000000;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  POINT position{};
};

struct GdiObject {
  enum Kind { Brush, Pen, Font } kind = Brush;
  COLORREF color = 0;
  int style = 0;  // PS_* of pens; PS_NULL also stands for the null brush
  int width = 1;
  bool stock = false;
};

DeviceContext* findDC(HDC hdc);
// A context for the window's client area, clipped to `clip` (client coordinates).
HDC makeDC(HWND hwnd, const RECT& clip);
void releaseDC(HDC hdc);
Surface* surfaceOf(const DeviceContext& dc);

GdiObject* findGdiObject(HGDIOBJ obj);
// The colour a brush paints with; false for the null brush and for what is not a brush. System
// colour indexes plus one (COLOR_BTNFACE + 1) are brushes too, as in window classes.
bool brushColor(HBRUSH brush, COLORREF* color);

// One pixel and one filled rectangle, in client coordinates, inside the clip.
void plot(const DeviceContext& dc, int x, int y, COLORREF color);
void fill(const DeviceContext& dc, RECT r, COLORREF color);

// The procedure of the "ScrollBar" class.
LRESULT CALLBACK scrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace sim::ui
