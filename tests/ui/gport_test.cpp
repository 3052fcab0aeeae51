// The graphics port drawing postage-stamp images into a window.
#include "gport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(GPort, DisplayMapDrawsBottomUpRowsOfBlueGreenRedAndNothingPastTheirEnd) {
  HWND w = CreateWindowEx(0, "Static", "", WS_POPUP | WS_VISIBLE | SS_WHITERECT, 0, 0, 20, 20, nullptr, nullptr,
                          nullptr, nullptr);
  ASSERT_TRUE(w);
  // 3 x 2 pixels, rows of 12 bytes (9 and 3 of padding); the bottom row comes first.
  std::vector<UBYTE> map = {
      255, 0, 0, 0, 255, 0, 0, 0, 255, 7, 7, 7,        // bottom: blue, green, red
      0, 0, 0, 255, 255, 255, 10, 20, 30, 7, 7, 7,     // top: black, white, (r30 g20 b10)
  };
  HDC hdc = GetDC(w);
  Rect dest;
  SetRect(&dest, 2, 2, 8, 4);  // wider than the rows: nothing past a row's 12 bytes is read
  COLORREF past = GetPixel(hdc, 6, 3);
  GetGPort()->DisplayMap(hdc, dest, 0, 0, map.data(), 12);
  EXPECT_EQ(GetPixel(hdc, 2, 2), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(hdc, 3, 2), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(hdc, 4, 2), RGB(30, 20, 10));
  EXPECT_EQ(GetPixel(hdc, 2, 3), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(hdc, 3, 3), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(hdc, 4, 3), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(hdc, 6, 3), past);
  // A source origin inside the map: pixel (1, 1) from the top left, the bottom row's green, lands at
  // the rectangle's corner.
  SetRect(&dest, 10, 10, 12, 11);
  GetGPort()->DisplayMap(hdc, dest, 1, 1, map.data(), 12);
  EXPECT_EQ(GetPixel(hdc, 10, 10), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(hdc, 11, 10), RGB(255, 0, 0));
  // Rows that are not padded to 4 bytes are refused rather than drawn askew.
  SetRect(&dest, 0, 0, 3, 2);
  COLORREF before = GetPixel(hdc, 0, 0);
  GetGPort()->DisplayMap(hdc, dest, 0, 0, map.data(), 9);
  EXPECT_EQ(GetPixel(hdc, 0, 0), before);
  ReleaseDC(w, hdc);
  DestroyWindow(w);
}

}  // namespace
