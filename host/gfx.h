// Viewport drawing: the graphics window a viewport draws into, the hit regions picking tests
// against, the drawing material, and the host's user-interface colour table.
//
// What every drawing call shares:
// - Points given to a drawing call are in the coordinates of the current transform (setTransform);
//   the window carries them through the viewport's view and projection to pixels, (0, 0) being the
//   top-left pixel and z the depth. Lines are clipped to the window and to the near plane.
// - Colours are set by colour type (LINE_COLOR, FILL_COLOR, TEXT_COLOR, CLEAR_COLOR) and stay until
//   set again; markers are drawn in the line colour.
// - While a hit region is set (setHitRegion), drawing calls draw nothing: they test what they would
//   have drawn against the region, and checkHitCode tells whether anything touched it since
//   clearHitCode. getHitDistance answers the smallest distance in pixels of a touch.
#pragma once

#include "color.h"
#include "host_api.h"
#include "matrix3.h"
#include "point3.h"
#include "win_ui.h"

class IPoint2 {
 public:
  int x = 0, y = 0;
  constexpr IPoint2() = default;
  constexpr IPoint2(int X, int Y) : x(X), y(Y) {}
  constexpr IPoint2 operator+(const IPoint2& o) const { return {x + o.x, y + o.y}; }
  constexpr IPoint2 operator-(const IPoint2& o) const { return {x - o.x, y - o.y}; }
  constexpr bool operator==(const IPoint2& o) const { return x == o.x && y == o.y; }
  constexpr bool operator!=(const IPoint2& o) const { return !(*this == o); }
};

class IPoint3 {
 public:
  int x = 0, y = 0, z = 0;
  constexpr IPoint3() = default;
  constexpr IPoint3(int X, int Y, int Z) : x(X), y(Y), z(Z) {}
};

// ---- render limits (setRndLimits) ----------------------------------------------------------------
constexpr DWORD GW_WIREFRAME = 0x0000001;
constexpr DWORD GW_ILLUM = 0x0000002;
constexpr DWORD GW_FLAT = 0x0000004;
constexpr DWORD GW_Z_BUFFER = 0x0000010;
constexpr DWORD GW_BACKCULL = 0x0000040;
constexpr DWORD GW_VERT_TICKS = 0x0002000;

// ---- colour types (setColor) ---------------------------------------------------------------------
enum ColorType { LINE_COLOR = 0, FILL_COLOR = 1, TEXT_COLOR = 2, CLEAR_COLOR = 3 };

// ---- markers --------------------------------------------------------------------------------------
enum MarkerType { POINT_MRKR, HOLLOW_BOX_MRKR, PLUS_SIGN_MRKR, ASTERISK_MRKR, X_MRKR, BIG_BOX_MRKR, CIRCLE_MRKR,
                  TRIANGLE_MRKR, DIAMOND_MRKR, SM_HOLLOW_BOX_MRKR, SM_CIRCLE_MRKR, SM_TRIANGLE_MRKR,
                  SM_DIAMOND_MRKR, DOT_MRKR, SM_DOT_MRKR, BOX2_MRKR, BOX3_MRKR, BOX4_MRKR, BOX5_MRKR,
                  BOX6_MRKR, BOX7_MRKR, DOT2_MRKR, DOT3_MRKR, DOT4_MRKR, DOT5_MRKR, DOT6_MRKR, DOT7_MRKR };

// ---- components of Mesh::render ------------------------------------------------------------------
constexpr int COMP_TRANSFORM = 0x0001;
constexpr int COMP_LIGHTING = 0x0002;
constexpr int COMP_ALL = 0x00ff;

// ---- hit regions ---------------------------------------------------------------------------------
// Kinds of hit test an object's HitTest is asked for (its `type`).
constexpr int HITTYPE_POINT = 1;
constexpr int HITTYPE_BOX = 2;
constexpr int HITTYPE_CIRCLE = 3;
constexpr int HITTYPE_SOLID = 4;
constexpr int HITTYPE_FENCE = 5;
// Flags of HitTest: stop at the first hit.
constexpr int HIT_ABORTONHIT = 1 << 3;

constexpr int POINT_RGN = 0x0001;
constexpr int RECT_RGN = 0x0002;
constexpr int CIRCLE_RGN = 0x0004;
constexpr int FENCE_RGN = 0x0008;

// A point region hits what passes within `epsilon` pixels of `pt`. A rectangle region hits, when
// `crossing` is set, what lies partly inside; otherwise (window) only what lies wholly inside. A
// circle region is centred on `circle.x/y` with radius `circle.r`.
class HitRegion {
 public:
  int type = POINT_RGN;
  int crossing = TRUE;
  int epsilon = 0;
  POINT pt = {0, 0};
  RECT rect = {0, 0, 0, 0};
  struct { LONG x, y, r; } circle = {0, 0, 0};
};

// The region an object's HitTest of `type` asks for: p[0] is the point (HITTYPE_POINT), p[0] and p[1]
// the corners (HITTYPE_BOX), the centre and a point of the rim (HITTYPE_CIRCLE).
HOST_API void MakeHitRegion(HitRegion& hr, int type, int crossing, int epsi, IPoint2* p);

// ---- materials of viewport drawing ---------------------------------------------------------------
class Material {
 public:
  Point3 Ka{0.0f, 0.0f, 0.0f};
  Point3 Kd{0.5f, 0.5f, 0.5f};
  Point3 Ks{0.0f, 0.0f, 0.0f};
  float shininess = 0.0f;
  float opacity = 1.0f;
};

// ---- the graphics window -------------------------------------------------------------------------
class HOST_API GraphicsWindow {
 public:
  virtual ~GraphicsWindow() = default;

  virtual void setTransform(const Matrix3& m) = 0;
  virtual Matrix3 getTransform() = 0;
  virtual void setRndLimits(DWORD limits) = 0;
  virtual DWORD getRndLimits() = 0;
  virtual int getWinSizeX() = 0;
  virtual int getWinSizeY() = 0;
  virtual BOOL isPerspectiveView() = 0;

  virtual void setColor(ColorType t, float r, float g, float b) = 0;
  void setColor(ColorType t, const Point3& c) { setColor(t, c.x, c.y, c.z); }
  virtual Point3 getColor(ColorType t) = 0;
  virtual void setMaterial(const Material& m, int index = 0) = 0;
  virtual Material* getMaterial() = 0;

  // Points of the current transform to window pixels (x, y) and depth (z, the distance in front of
  // the eye); answers 0 when the point projects, nonzero (clipped) for a point behind the eye's near
  // plane or not finite. wTransPoint takes world points.
  virtual DWORD hTransPoint(const Point3* in, IPoint3* out) = 0;
  virtual DWORD wTransPoint(const Point3* in, IPoint3* out) = 0;
  // The same without rounding to pixels.
  virtual void transPoint(const Point3* in, Point3* out) = 0;

  // A polyline through `ct` points, closed back to the first when `closed`. With `es`, segment i
  // is drawn only when es[i] is set (GW_EDGE_VIS); `rgb` is accepted and not used.
  virtual void polyline(int ct, Point3* xyz, Point3* rgb, int closed, int* es) = 0;
  virtual void text(Point3* xyz, const TCHAR* s) = 0;
  virtual void marker(Point3* xyz, MarkerType type) = 0;
  // The window in one colour (the clear colour).
  virtual void clearScreen(RECT* rp = nullptr, int useBkg = FALSE) = 0;

  virtual void setHitRegion(HitRegion* rgn) = 0;
  virtual void clearHitCode() = 0;
  virtual BOOL checkHitCode() = 0;
  virtual DWORD getHitDistance() = 0;
};

constexpr int GW_EDGE_SKIP = 0;
constexpr int GW_EDGE_VIS = 1;

// ---- user-interface colours ----------------------------------------------------------------------
constexpr int COLOR_SELECTION = 0;
constexpr int COLOR_SUBSELECTION = 1;
constexpr int COLOR_FREEZE = 2;
constexpr int COLOR_POINT_OBJ = 20;
constexpr int COLOR_TOTAL = 96;
// The colour the host draws item `which` of its interface with, each channel 0..1; an index outside
// the table answers black.
HOST_API Point3 GetUIColor(int which);
HOST_API void SetUIColor(int which, Point3* clr);
