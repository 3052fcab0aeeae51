// The host's user-interface colour table: what its viewports draw selections, frozen objects, grids
// and new helpers in. Entries nobody set are a neutral grey.
#include "gfx.h"

#include <array>

namespace {

std::array<Point3, COLOR_TOTAL>& table() {
  static std::array<Point3, COLOR_TOTAL> colors = [] {
    std::array<Point3, COLOR_TOTAL> c;
    c.fill(Point3(0.5f, 0.5f, 0.5f));
    c[COLOR_SELECTION] = Point3(1.0f, 1.0f, 1.0f);
    c[COLOR_SUBSELECTION] = Point3(1.0f, 0.0f, 0.0f);
    c[COLOR_FREEZE] = Point3(0.2f, 0.2f, 0.2f);
    c[COLOR_POINT_OBJ] = Point3(0.6f, 0.8f, 0.2f);
    return c;
  }();
  return colors;
}

}  // namespace

Point3 GetUIColor(int which) {
  if (which < 0 || which >= COLOR_TOTAL) return Point3();
  return table()[size_t(which)];
}

void SetUIColor(int which, Point3* clr) {
  if (which < 0 || which >= COLOR_TOTAL || !clr) return;
  table()[size_t(which)] = *clr;
}
