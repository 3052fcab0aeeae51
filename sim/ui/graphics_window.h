// The host's graphics window: a viewport's drawing surface, kept as pixels in memory. Drawing is
// exact and the same on every platform: lines are rasterised one pixel wide without smoothing,
// clipped to the window and, in perspective, to the near plane.
//
// Screen coordinates: pixel (i, j) covers [i, i+1) x [j, j+1), row 0 at the top; a projected point
// lands in the pixel whose square holds it.
#pragma once

#include "bitmap.h"
#include "gfx.h"

#include <cstdint>
#include <vector>

namespace sim::ui {

// Where a viewport looks from: world to view space (looking down -z, +y up) and the projection.
struct HOST_API ViewProjection {
  Matrix3 worldToView;
  bool perspective = true;
  float fov = 0.7853982f;  // across the width, radians (perspective)
  float width = 400.0f;    // world units across the window (orthographic)
  int winX = 1, winY = 1;

  // Pixels per unit of view-space x (and y) at depth 1 (perspective) or everywhere (orthographic).
  double scale() const;
  // A view-space point to screen coordinates and depth; false for a point at or behind the eye's
  // near plane in perspective, or for a point that is not finite.
  bool project(const Point3& view, double& sx, double& sy) const;
  // The view-space ray under screen point (sx, sy): origin and direction.
  void unproject(double sx, double sy, Point3& origin, Point3& dir) const;
};

constexpr float kNearPlane = 0.1f;

class HOST_API BitmapGraphicsWindow : public GraphicsWindow {
 public:
  BitmapGraphicsWindow(int width, int height);

  void setView(const ViewProjection& view);
  const ViewProjection& view() const { return view_; }
  // Packed 0x00BBGGRR per pixel, row 0 at the top.
  uint32_t pixel(int x, int y) const;
  // A new 32-bit bitmap with the window's pixels (alpha 1); the caller owns it.
  Bitmap* toBitmap() const;

  void setTransform(const Matrix3& m) override;
  Matrix3 getTransform() override { return objToWorld_; }
  void setRndLimits(DWORD limits) override { limits_ = limits; }
  DWORD getRndLimits() override { return limits_; }
  int getWinSizeX() override { return view_.winX; }
  int getWinSizeY() override { return view_.winY; }
  BOOL isPerspectiveView() override { return view_.perspective; }

  void setColor(ColorType t, float r, float g, float b) override;
  using GraphicsWindow::setColor;
  Point3 getColor(ColorType t) override;
  void setMaterial(const Material& m, int index = 0) override { material_ = m; }
  Material* getMaterial() override { return &material_; }

  DWORD hTransPoint(const Point3* in, IPoint3* out) override;
  DWORD wTransPoint(const Point3* in, IPoint3* out) override;
  void transPoint(const Point3* in, Point3* out) override;

  void polyline(int ct, Point3* xyz, Point3* rgb, int closed, int* es) override;
  void text(Point3* xyz, const TCHAR* s) override;
  void marker(Point3* xyz, MarkerType type) override;
  void clearScreen(RECT* rp = nullptr, int useBkg = FALSE) override;

  void setHitRegion(HitRegion* rgn) override;
  void clearHitCode() override;
  BOOL checkHitCode() override;
  DWORD getHitDistance() override { return hitDistance_; }

  // A filled triangle of the current transform, for hit tests only (draws nothing): counts when the
  // region's point lies inside it.
  void hitTriangle(const Point3& a, const Point3& b, const Point3& c);
  bool hitTesting() const { return hitting_; }

 private:
  // Object space to view space.
  Point3 toView(const Point3& p) const { return p * objToView_; }
  bool toScreen(const Point3& objPoint, double& sx, double& sy) const;
  void segment(const Point3& a, const Point3& b);
  void rasterLine(double x0, double y0, double x1, double y1);
  void plot(int x, int y, uint32_t c);
  void hitPoint(double sx, double sy);
  void hitSegment(double x0, double y0, double x1, double y1);

  ViewProjection view_;
  Matrix3 objToWorld_, objToView_;
  DWORD limits_ = GW_WIREFRAME;
  uint32_t colors_[4] = {0xFFFFFF, 0x808080, 0xFFFFFF, 0x000000};
  Material material_;
  std::vector<uint32_t> pixels_;

  bool hitting_ = false;
  HitRegion region_;
  bool touched_ = false;      // something drawn met the region
  bool outside_ = false;      // (window regions) something drawn lay outside it
  DWORD hitDistance_ = 0xFFFFFFFF;
};

// A colour channel 0..1 as a byte, clamped and rounded.
HOST_API uint32_t packColor(float r, float g, float b);

}  // namespace sim::ui
