// The headless window model; on Windows the windows are the system's.
#if !defined(_WIN32)
#include "ui_fixture.h"

#include <memory>
#include <string>

using namespace uitest;

namespace {

using Drawing = UiTest;

struct BitmapDeleter {
  void operator()(Bitmap* b) const {
    if (b) b->DeleteThis();
  }
};
using BitmapPtr = std::unique_ptr<Bitmap, BitmapDeleter>;

// '#' black, '.' the face colour of dialogs, 'w' white.
std::string picture(const Bitmap& bm) {
  std::string out;
  std::vector<BMM_Color_64> row(std::size_t(bm.Width()));
  for (int y = 0; y < bm.Height(); ++y) {
    bm.GetPixels(0, y, bm.Width(), row.data());
    for (auto& p : row) {
      int v = p.r >> 8;
      out += v == 0 ? '#' : v == 192 ? '.' : v == 255 ? 'w' : '?';
    }
    out += '\n';
  }
  return out;
}

TEST_F(Drawing, ASnapshotShowsAFrameAndATextPixelForPixel) {
  HWND w = top(20, 12);
  child(w, "Static", 1879, SS_BLACKFRAME, 1, 1, 6, 5);
  child(w, "Static", 1005, SS_LEFT, 8, 2, 8, 8, "A");
  BitmapPtr bm(sim::ui::snapshot(w));
  ASSERT_TRUE(bm);
  EXPECT_EQ(picture(*bm),
            "....................\n"
            ".######.............\n"
            ".#....#..###........\n"
            ".#....#.#...#.......\n"
            ".#....#.#...#.......\n"
            ".######.#...#.......\n"
            "........#####.......\n"
            "........#...#.......\n"
            "........#...#.......\n"
            "....................\n"
            "....................\n"
            "....................\n");
}

TEST_F(Drawing, ASnapshotOfAChildIsItsOwnRectangleAndLeavesOutHiddenChildren) {
  HWND w = top(20, 12);
  HWND frame = child(w, "Static", 1, SS_BLACKFRAME, 2, 2, 4, 3);
  CreateWindowEx(0, "Static", "", WS_CHILD | SS_BLACKRECT, 1, 1, 2, 1, frame, nullptr, nullptr, nullptr);
  BitmapPtr bm(sim::ui::snapshot(frame));
  ASSERT_TRUE(bm);
  EXPECT_EQ(picture(*bm), "####\n#..#\n####\n");
  EXPECT_EQ(sim::ui::snapshot(nullptr), nullptr);
}

TEST_F(Drawing, DeviceIndependentRowsAreBottomUpAndPaddedToFourBytes) {
  HWND w = top(10, 10);
  sim::ui::pumpMessages();
  // 3 x 2 pixels, 24 bits: 9 bytes of pixels and 3 of padding per row; the bottom row comes first.
  const BYTE bits[24] = {0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 9, 9,        // bottom: red green blue
                         255, 255, 255, 0, 0, 0, 1, 2, 3, 9, 9, 9};  // top: white black (3, 2, 1)
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = 3;
  bi.bmiHeader.biHeight = 2;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  HDC dc = GetDC(w);
  EXPECT_EQ(SetDIBitsToDevice(dc, 4, 5, 3, 2, 0, 0, 0, 2, bits, &bi, DIB_RGB_COLORS), 2);
  EXPECT_EQ(GetPixel(dc, 4, 5), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 6, 5), RGB(3, 2, 1));
  EXPECT_EQ(GetPixel(dc, 4, 6), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 6, 6), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 7, 6), RGB(192, 192, 192));
  // Twice the size: each source pixel covers two by two.
  EXPECT_EQ(StretchDIBits(dc, 0, 0, 6, 4, 0, 0, 3, 2, bits, &bi, DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(GetPixel(dc, 5, 1), RGB(3, 2, 1));
  EXPECT_EQ(GetPixel(dc, 2, 3), RGB(0, 255, 0));
  bi.bmiHeader.biBitCount = 8;
  EXPECT_EQ(SetDIBitsToDevice(dc, 0, 0, 3, 2, 0, 0, 0, 2, bits, &bi, DIB_RGB_COLORS), 0);
  ReleaseDC(w, dc);
}

TEST_F(Drawing, RectanglesUseThePenAndBrushAndAChildDrawsClippedAtItsOffset) {
  HWND w = top(12, 8);
  HWND k = child(w, kTestClass, 1, 0, 2, 2, 4, 3);
  sim::ui::pumpMessages();
  HDC dc = GetDC(k);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(dc, white);
  Rectangle(dc, 0, 0, 10, 10);  // reaches past the child: only its 4 x 3 pixels change
  EXPECT_FALSE(DeleteObject(white));  // still selected
  SelectObject(dc, old);
  EXPECT_TRUE(DeleteObject(white));
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  ReleaseDC(k, dc);
  BitmapPtr bm(sim::ui::snapshot(w));
  // The snapshot paints afresh: draw again after it to see what a context leaves.
  dc = GetDC(k);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  Rectangle(dc, 0, 0, 10, 10);
  ReleaseDC(k, dc);
  HDC top = GetDC(w);
  std::string seen;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 12; ++x) {
      COLORREF c = GetPixel(top, x, y);
      seen += c == 0 ? '#' : c == RGB(255, 255, 255) ? 'w' : '.';
    }
    seen += '\n';
  }
  ReleaseDC(w, top);
  EXPECT_EQ(seen,
            "............\n"
            "............\n"
            "..####......\n"
            "..#www......\n"
            "..#www......\n"
            "............\n"
            "............\n"
            "............\n");
}

TEST_F(Drawing, BytesOutsideAsciiAreDrawnAsABox) {
  HWND w = top(8, 8);
  sim::ui::pumpMessages();
  HDC dc = GetDC(w);
  SetBkMode(dc, TRANSPARENT);
  EXPECT_TRUE(TextOut(dc, 0, 0, "\xE9", 1));
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 4, 6), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 2, 3), RGB(192, 192, 192));
  EXPECT_FALSE(TextOut(dc, 0, 0, "x", -1));
  ReleaseDC(w, dc);
}

}  // namespace

#endif
