#include "ui/graphics_window.h"

#include "ui/builtin_font.h"

#include <algorithm>
#include <cmath>

namespace sim::ui {

uint32_t packColor(float r, float g, float b) {
  auto c = [](float v) -> uint32_t {
    if (!(v > 0.0f)) return 0;  // also NaN
    if (v >= 1.0f) return 255;
    return uint32_t(v * 255.0f + 0.5f);
  };
  return c(r) | (c(g) << 8) | (c(b) << 16);
}

// ---- projection ----------------------------------------------------------------------------------

double ViewProjection::scale() const {
  if (perspective) {
    double half = std::tan(std::clamp(double(fov), 1e-4, 3.1415) * 0.5);
    return winX * 0.5 / half;
  }
  double w = std::isfinite(width) && width > 1e-6f ? width : 1e-6;
  return winX / w;
}

bool ViewProjection::project(const Point3& v, double& sx, double& sy) const {
  if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) return false;
  double s = scale();
  double x = v.x, y = v.y;
  if (perspective) {
    if (v.z > -kNearPlane) return false;
    x /= -v.z;
    y /= -v.z;
  }
  sx = winX * 0.5 + x * s;
  sy = winY * 0.5 - y * s;
  return std::isfinite(sx) && std::isfinite(sy);
}

void ViewProjection::unproject(double sx, double sy, Point3& origin, Point3& dir) const {
  double s = scale();
  double x = (sx - winX * 0.5) / s, y = -(sy - winY * 0.5) / s;
  if (perspective) {
    origin = Point3();
    dir = Point3(x, y, -1.0);
  } else {
    origin = Point3(x, y, 0.0);
    dir = Point3(0.0f, 0.0f, -1.0f);
  }
}

// ---- the window ----------------------------------------------------------------------------------

BitmapGraphicsWindow::BitmapGraphicsWindow(int width, int height) {
  ViewProjection v;
  v.winX = std::max(1, width);
  v.winY = std::max(1, height);
  setView(v);
}

void BitmapGraphicsWindow::setView(const ViewProjection& view) {
  view_ = view;
  view_.winX = std::max(1, view_.winX);
  view_.winY = std::max(1, view_.winY);
  pixels_.assign(size_t(view_.winX) * size_t(view_.winY), colors_[CLEAR_COLOR]);
  setTransform(objToWorld_);
}

uint32_t BitmapGraphicsWindow::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= view_.winX || y >= view_.winY) return 0;
  return pixels_[size_t(y) * size_t(view_.winX) + size_t(x)];
}

Bitmap* BitmapGraphicsWindow::toBitmap() const {
  BitmapInfo bi;
  bi.SetType(BMM_TRUE_32);
  bi.SetWidth(view_.winX);
  bi.SetHeight(view_.winY);
  bi.SetFlags(MAP_HAS_ALPHA);
  Bitmap* bm = TheManager->Create(&bi);
  if (!bm) return nullptr;
  std::vector<BMM_Color_fl> row(size_t(view_.winX));
  for (int y = 0; y < view_.winY; ++y) {
    for (int x = 0; x < view_.winX; ++x) {
      uint32_t c = pixel(x, y);
      row[size_t(x)] = BMM_Color_fl(float(c & 0xff) / 255.0f, float((c >> 8) & 0xff) / 255.0f,
                                    float((c >> 16) & 0xff) / 255.0f, 1.0f);
    }
    bm->PutPixels(0, y, view_.winX, row.data());
  }
  return bm;
}

void BitmapGraphicsWindow::setTransform(const Matrix3& m) {
  objToWorld_ = m;
  objToView_ = m * view_.worldToView;
}

void BitmapGraphicsWindow::setColor(ColorType t, float r, float g, float b) {
  if (t < LINE_COLOR || t > CLEAR_COLOR) return;
  colors_[t] = packColor(r, g, b);
}

Point3 BitmapGraphicsWindow::getColor(ColorType t) {
  if (t < LINE_COLOR || t > CLEAR_COLOR) return Point3();
  uint32_t c = colors_[t];
  return Point3(float(c & 0xff) / 255.0f, float((c >> 8) & 0xff) / 255.0f, float((c >> 16) & 0xff) / 255.0f);
}

bool BitmapGraphicsWindow::toScreen(const Point3& objPoint, double& sx, double& sy) const {
  return view_.project(toView(objPoint), sx, sy);
}

DWORD BitmapGraphicsWindow::hTransPoint(const Point3* in, IPoint3* out) {
  double sx = 0, sy = 0;
  if (!in || !toScreen(*in, sx, sy) || std::fabs(sx) > 1e9 || std::fabs(sy) > 1e9) return 1;
  Point3 v = toView(*in);
  if (out) *out = IPoint3(int(std::floor(sx)), int(std::floor(sy)), int(std::clamp(-v.z, -1e9f, 1e9f)));
  return 0;
}

DWORD BitmapGraphicsWindow::wTransPoint(const Point3* in, IPoint3* out) {
  Matrix3 keep = objToWorld_;
  setTransform(Matrix3());
  DWORD r = hTransPoint(in, out);
  setTransform(keep);
  return r;
}

void BitmapGraphicsWindow::transPoint(const Point3* in, Point3* out) {
  double sx = 0, sy = 0;
  if (!in || !out) return;
  if (!toScreen(*in, sx, sy)) {
    *out = Point3();
    return;
  }
  *out = Point3(sx, sy, double(-toView(*in).z));
}

// ---- drawing -------------------------------------------------------------------------------------

void BitmapGraphicsWindow::polyline(int ct, Point3* xyz, Point3*, int closed, int* es) {
  if (!xyz || ct <= 0) return;
  if (ct == 1) {
    segment(xyz[0], xyz[0]);
    return;
  }
  int segments = closed ? ct : ct - 1;
  for (int i = 0; i < segments; ++i)
    if (!es || es[i] != GW_EDGE_SKIP) segment(xyz[i], xyz[(i + 1) % ct]);
}

void BitmapGraphicsWindow::segment(const Point3& a, const Point3& b) {
  Point3 va = toView(a), vb = toView(b);
  if (view_.perspective) {
    // Near-plane clip in view space, before the divide.
    const float zn = -kNearPlane;
    bool ina = va.z <= zn, inb = vb.z <= zn;
    if (!ina && !inb) return;
    if (ina != inb) {
      float t = (zn - va.z) / (vb.z - va.z);
      Point3 cut = va + (vb - va) * t;
      cut.z = zn;
      (ina ? vb : va) = cut;
    }
  }
  double x0, y0, x1, y1;
  if (!view_.project(va, x0, y0) || !view_.project(vb, x1, y1)) return;
  if (hitting_) hitSegment(x0, y0, x1, y1);
  else rasterLine(x0, y0, x1, y1);
}

namespace {
// Liang-Barsky: cuts the segment to [xmin, xmax] x [ymin, ymax]; false when nothing is left.
bool clipSegment(double& x0, double& y0, double& x1, double& y1, double xmin, double ymin, double xmax, double ymax) {
  double t0 = 0.0, t1 = 1.0, dx = x1 - x0, dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - xmin, xmax - x0, y0 - ymin, ymax - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    double r = q[i] / p[i];
    if (p[i] < 0.0) t0 = std::max(t0, r);
    else t1 = std::min(t1, r);
    if (t0 > t1) return false;
  }
  double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
  x1 = x0 + t1 * dx;
  y1 = y0 + t1 * dy;
  x0 = nx0;
  y0 = ny0;
  return true;
}

double distanceToSegment(double px, double py, double x0, double y0, double x1, double y1) {
  double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
  double t = len2 > 0.0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0, 1.0) : 0.0;
  return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
}
}  // namespace

void BitmapGraphicsWindow::rasterLine(double x0, double y0, double x1, double y1) {
  const double w = view_.winX, h = view_.winY;
  if (!clipSegment(x0, y0, x1, y1, 0.0, 0.0, w, h)) return;
  auto cell = [](double v, int n) { return std::clamp(int(std::floor(v)), 0, n - 1); };
  int ix0 = cell(x0, view_.winX), iy0 = cell(y0, view_.winY);
  int ix1 = cell(x1, view_.winX), iy1 = cell(y1, view_.winY);
  // Bresenham between the end pixels.
  int dx = std::abs(ix1 - ix0), sx = ix0 < ix1 ? 1 : -1;
  int dy = -std::abs(iy1 - iy0), sy = iy0 < iy1 ? 1 : -1;
  int err = dx + dy;
  uint32_t c = colors_[LINE_COLOR];
  for (;;) {
    plot(ix0, iy0, c);
    if (ix0 == ix1 && iy0 == iy1) break;
    int e2 = 2 * err;
    if (e2 >= dy) { err += dy; ix0 += sx; }
    if (e2 <= dx) { err += dx; iy0 += sy; }
  }
}

void BitmapGraphicsWindow::plot(int x, int y, uint32_t c) {
  if (x < 0 || y < 0 || x >= view_.winX || y >= view_.winY) return;
  pixels_[size_t(y) * size_t(view_.winX) + size_t(x)] = c;
}

void BitmapGraphicsWindow::text(Point3* xyz, const TCHAR* s) {
  double sx, sy;
  if (!xyz || !s || !toScreen(*xyz, sx, sy)) return;
  if (hitting_) {
    hitPoint(sx, sy);
    return;
  }
  if (std::fabs(sx) > 1e7 || std::fabs(sy) > 1e7) return;
  int x = int(std::floor(sx)), y = int(std::floor(sy));
  uint32_t c = colors_[TEXT_COLOR];
  for (const TCHAR* p = s; *p && x < view_.winX; ++p, x += kFontCellWidth) {
    const unsigned char* g = builtinGlyph(static_cast<unsigned char>(*p));
    for (int row = 0; row < 7; ++row)
      for (int col = 0; col < 5; ++col)
        if (g[row] & (0x10 >> col)) plot(x + col, y + row, c);
  }
}

void BitmapGraphicsWindow::marker(Point3* xyz, MarkerType type) {
  double sx, sy;
  if (!xyz || !toScreen(*xyz, sx, sy)) return;
  if (hitting_) {
    hitPoint(sx, sy);
    return;
  }
  if (std::fabs(sx) > 1e7 || std::fabs(sy) > 1e7) return;
  int x = int(std::floor(sx)), y = int(std::floor(sy));
  uint32_t c = colors_[LINE_COLOR];
  auto box = [&](int r, bool filled) {
    for (int j = -r; j <= r; ++j)
      for (int i = -r; i <= r; ++i)
        if (filled || std::abs(i) == r || std::abs(j) == r) plot(x + i, y + j, c);
  };
  switch (type) {
    case POINT_MRKR: plot(x, y, c); break;
    case PLUS_SIGN_MRKR:
      for (int i = -2; i <= 2; ++i) { plot(x + i, y, c); plot(x, y + i, c); }
      break;
    case X_MRKR:
      for (int i = -2; i <= 2; ++i) { plot(x + i, y + i, c); plot(x + i, y - i, c); }
      break;
    case ASTERISK_MRKR:
      for (int i = -2; i <= 2; ++i) { plot(x + i, y, c); plot(x, y + i, c); plot(x + i, y + i, c); plot(x + i, y - i, c); }
      break;
    case DOT_MRKR: box(1, true); break;
    case SM_DOT_MRKR: plot(x, y, c); break;
    case BIG_BOX_MRKR: box(3, false); break;
    case SM_HOLLOW_BOX_MRKR: box(1, false); break;
    default: box(2, false); break;
  }
}

void BitmapGraphicsWindow::clearScreen(RECT*, int) {
  std::fill(pixels_.begin(), pixels_.end(), colors_[CLEAR_COLOR]);
}

// ---- hit testing ---------------------------------------------------------------------------------

void BitmapGraphicsWindow::setHitRegion(HitRegion* rgn) {
  hitting_ = rgn != nullptr;
  if (rgn) region_ = *rgn;
  clearHitCode();
}

void BitmapGraphicsWindow::clearHitCode() {
  touched_ = false;
  outside_ = false;
  hitDistance_ = 0xFFFFFFFF;
}

BOOL BitmapGraphicsWindow::checkHitCode() {
  bool window = !region_.crossing && (region_.type == RECT_RGN || region_.type == CIRCLE_RGN);
  return touched_ && !(window && outside_);
}

void BitmapGraphicsWindow::hitPoint(double sx, double sy) { hitSegment(sx, sy, sx, sy); }

void BitmapGraphicsWindow::hitSegment(double x0, double y0, double x1, double y1) {
  auto touch = [&](double d) {
    touched_ = true;
    DWORD di = DWORD(std::min(d, 1e9));
    hitDistance_ = std::min(hitDistance_, di);
  };
  switch (region_.type) {
    case POINT_RGN: {
      double d = distanceToSegment(region_.pt.x + 0.5, region_.pt.y + 0.5, x0, y0, x1, y1);
      if (d <= region_.epsilon) touch(d);
      break;
    }
    case RECT_RGN: {
      double l = std::min(region_.rect.left, region_.rect.right), r = std::max(region_.rect.left, region_.rect.right) + 1.0;
      double t = std::min(region_.rect.top, region_.rect.bottom), b = std::max(region_.rect.top, region_.rect.bottom) + 1.0;
      if (region_.crossing) {
        if (clipSegment(x0, y0, x1, y1, l, t, r, b)) touch(0);
      } else {
        bool in = x0 >= l && x0 <= r && x1 >= l && x1 <= r && y0 >= t && y0 <= b && y1 >= t && y1 <= b;
        if (in) touch(0);
        else outside_ = true;
      }
      break;
    }
    case CIRCLE_RGN: {
      double cx = region_.circle.x + 0.5, cy = region_.circle.y + 0.5, rad = region_.circle.r;
      if (region_.crossing) {
        double d = distanceToSegment(cx, cy, x0, y0, x1, y1);
        if (d <= rad) touch(d);
      } else if (std::hypot(x0 - cx, y0 - cy) <= rad && std::hypot(x1 - cx, y1 - cy) <= rad) {
        touch(0);
      } else {
        outside_ = true;
      }
      break;
    }
    default: break;  // fence regions: this host picks nothing with them
  }
}

void BitmapGraphicsWindow::hitTriangle(const Point3& a, const Point3& b, const Point3& c) {
  if (!hitting_ || region_.type != POINT_RGN) return;
  double x[3], y[3];
  if (!toScreen(a, x[0], y[0]) || !toScreen(b, x[1], y[1]) || !toScreen(c, x[2], y[2])) return;
  double px = region_.pt.x + 0.5, py = region_.pt.y + 0.5;
  double s[3];
  for (int i = 0; i < 3; ++i) {
    int j = (i + 1) % 3;
    s[i] = (x[j] - x[i]) * (py - y[i]) - (y[j] - y[i]) * (px - x[i]);
  }
  bool allPos = s[0] >= 0 && s[1] >= 0 && s[2] >= 0, allNeg = s[0] <= 0 && s[1] <= 0 && s[2] <= 0;
  double area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
  if ((allPos || allNeg) && area != 0.0) {
    touched_ = true;
    hitDistance_ = 0;
  }
}

// ---- hit regions ---------------------------------------------------------------------------------

}  // namespace sim::ui

void MakeHitRegion(HitRegion& hr, int type, int crossing, int epsi, IPoint2* p) {
  hr = HitRegion();
  hr.crossing = crossing;
  hr.epsilon = std::max(0, epsi);
  if (!p) {
    hr.type = FENCE_RGN;  // nothing to test against: hits nothing
    return;
  }
  switch (type) {
    case HITTYPE_POINT:
      hr.type = POINT_RGN;
      hr.pt = {p[0].x, p[0].y};
      break;
    case HITTYPE_BOX:
      hr.type = RECT_RGN;
      hr.rect = {std::min(p[0].x, p[1].x), std::min(p[0].y, p[1].y), std::max(p[0].x, p[1].x), std::max(p[0].y, p[1].y)};
      break;
    case HITTYPE_CIRCLE: {
      hr.type = CIRCLE_RGN;
      double r = std::hypot(double(p[1].x - p[0].x), double(p[1].y - p[0].y));
      hr.circle = {p[0].x, p[0].y, LONG(std::min(r, 1e9))};
      break;
    }
    default:
      hr.type = FENCE_RGN;
      break;
  }
}
