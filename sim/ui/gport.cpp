// The graphics port, drawing through the device context's own DIB call.
#include "gport.h"

#include <algorithm>

namespace {

class HostGPort : public GPort {
 public:
  void DisplayMap(HDC hdc, Rect& dest, int srcx, int srcy, UBYTE* map, int bytesPerLine) override {
    if (!hdc || !map || srcx < 0 || srcy < 0 || bytesPerLine <= 0 || bytesPerLine % 4 != 0) return;
    // Only whole pixels of a row are drawn, never the padding or past the row's end.
    int width = std::min(dest.w(), bytesPerLine / 3 - srcx);
    int height = dest.h();
    if (width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bytesPerLine / 3;
    info.bmiHeader.biHeight = srcy + height;  // bottom row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    // A bottom-up image counts source rows from its bottom: the rows wanted are its lowest `height`.
    SetDIBitsToDevice(hdc, dest.left, dest.top, DWORD(width), DWORD(height), srcx, 0, 0, UINT(srcy + height), map,
                      &info, DIB_RGB_COLORS);
  }
};

}  // namespace

GPort* GetGPort() {
  static HostGPort port;
  return &port;
}
