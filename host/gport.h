// The graphics port: drawing host images (postage stamps) into a device context.
#pragma once

#include "host_api.h"
#include "win_ui.h"

using UBYTE = unsigned char;

class Rect : public RECT {
 public:
  Rect() { left = top = right = bottom = 0; }
  Rect(const RECT& r) : RECT(r) {}
  int w() const { return right - left; }
  int h() const { return bottom - top; }
};

class HOST_API GPort {
 public:
  virtual ~GPort() = default;
  // Draws a 24-bit image (blue-green-red, rows of bytesPerLine bytes padded to 4, the bottom row
  // first as postage stamps keep them) into `dest`. The image is srcy + dest.h() rows tall;
  // (srcx, srcy) is its pixel, counted from the top left, drawn at the top left of `dest`.
  virtual void DisplayMap(HDC hdc, Rect& dest, int srcx, int srcy, UBYTE* map, int bytesPerLine) = 0;
};

HOST_API GPort* GetGPort();
