// The host's graphics window: exact one-pixel lines, clipping to the window and to the eye's near
// plane, and hit regions. An 8 x 6 window seen from above, one world unit per pixel.
#include "ui/graphics_window.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

using sim::ui::BitmapGraphicsWindow;
using sim::ui::ViewProjection;

constexpr uint32_t kInk = 0x0000FF;

BitmapGraphicsWindow topView(int w = 8, int h = 6) {
  BitmapGraphicsWindow gw(w, h);
  ViewProjection v;
  v.winX = w;
  v.winY = h;
  v.perspective = false;
  v.width = float(w);
  gw.setView(v);
  gw.setColor(LINE_COLOR, 1.0f, 0.0f, 0.0f);
  return gw;
}

// The window as rows of '#' (ink) and '.' (anything else).
std::string rows(BitmapGraphicsWindow& gw) {
  std::string s;
  for (int y = 0; y < gw.getWinSizeY(); ++y) {
    for (int x = 0; x < gw.getWinSizeX(); ++x) s += gw.pixel(x, y) == kInk ? '#' : '.';
    s += '\n';
  }
  return s;
}

void line(GraphicsWindow& gw, Point3 a, Point3 b) {
  Point3 p[2] = {a, b};
  gw.polyline(2, p, nullptr, FALSE, nullptr);
}

TEST(GraphicsWindow, DrawsOnePixelWideLinesClippedToTheWindow) {
  BitmapGraphicsWindow gw = topView();
  line(gw, Point3(-3.5f, 2.5f, 0.0f), Point3(2.5f, -0.5f, 0.0f));
  line(gw, Point3(-100.0f, -2.5f, 0.0f), Point3(1e9f, -2.5f, 0.0f));  // runs far beyond both sides
  EXPECT_EQ(rows(gw),
            "#.......\n"
            ".##.....\n"
            "...##...\n"
            ".....##.\n"
            "........\n"
            "########\n");
}

TEST(GraphicsWindow, SkipsHiddenSegmentsAndWhatIsNotANumber) {
  BitmapGraphicsWindow gw = topView();
  Point3 square[4] = {{-2.5f, 1.5f, 0.0f}, {1.5f, 1.5f, 0.0f}, {1.5f, -1.5f, 0.0f}, {-2.5f, -1.5f, 0.0f}};
  int es[4] = {GW_EDGE_VIS, GW_EDGE_SKIP, GW_EDGE_VIS, GW_EDGE_SKIP};
  gw.polyline(4, square, nullptr, TRUE, es);
  line(gw, Point3(0.0f, 0.0f, 0.0f), Point3(std::numeric_limits<float>::quiet_NaN(), 1.0f, 0.0f));
  EXPECT_EQ(rows(gw),
            "........\n"
            ".#####..\n"
            "........\n"
            "........\n"
            ".#####..\n"
            "........\n");
}

TEST(GraphicsWindow, CutsLinesAtTheNearPlaneInPerspective) {
  BitmapGraphicsWindow gw(8, 6);
  ViewProjection v;
  v.winX = 8;
  v.winY = 6;
  v.worldToView = TransMatrix(Point3(0.0f, 0.0f, -10.0f));  // the eye 10 units above the origin
  gw.setView(v);
  gw.setColor(LINE_COLOR, 1.0f, 0.0f, 0.0f);
  line(gw, Point3(0.0f, 0.0f, 0.0f), Point3(0.0f, 0.0f, 50.0f));  // through the eye and beyond
  IPoint3 out;
  const Point3 behind(0.0f, 0.0f, 20.0f);
  EXPECT_NE(gw.hTransPoint(&behind, &out), 0u);
  EXPECT_EQ(gw.pixel(4, 3), kInk);  // the part in front of the eye still shows
}

TEST(GraphicsWindow, RegionsHitByDistanceCrossingOrWholeInside) {
  BitmapGraphicsWindow gw = topView(20, 20);
  auto hits = [&](HitRegion hr, Point3 a, Point3 b) {
    gw.setHitRegion(&hr);
    line(gw, a, b);
    BOOL hit = gw.checkHitCode();
    gw.setHitRegion(nullptr);
    return hit != 0;
  };
  IPoint2 p(10, 10);
  HitRegion point;
  MakeHitRegion(point, HITTYPE_POINT, 0, 2, &p);  // pixel centre (10.5, 10.5): world (0.5, -0.5)
  EXPECT_TRUE(hits(point, Point3(2.4f, -5.0f, 0.0f), Point3(2.4f, 5.0f, 0.0f)));
  EXPECT_FALSE(hits(point, Point3(2.6f, -5.0f, 0.0f), Point3(2.6f, 5.0f, 0.0f)));
  IPoint2 corners[2] = {IPoint2(5, 5), IPoint2(14, 14)};
  HitRegion crossing, window;
  MakeHitRegion(crossing, HITTYPE_BOX, TRUE, 0, corners);
  MakeHitRegion(window, HITTYPE_BOX, FALSE, 0, corners);
  const Point3 a(0.0f, 0.0f, 0.0f), farAway(40.0f, 0.0f, 0.0f), inside(3.0f, 3.0f, 0.0f);
  EXPECT_TRUE(hits(crossing, a, farAway));
  EXPECT_FALSE(hits(window, a, farAway));
  EXPECT_TRUE(hits(window, a, inside));
  EXPECT_EQ(rows(gw).find('#'), std::string::npos);  // hit testing draws nothing
}

}  // namespace
