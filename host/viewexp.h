// Viewports as objects see them: the viewport of a drawing, picking or creation call, the snap
// record an object's Snap fills, and the mouse procedure that places a new object.
#pragma once

#include "gfx.h"
#include "host_api.h"
#include "matrix3.h"

class INode;

// ---- snapping ----------------------------------------------------------------------------------
// Snap types: in the construction plane (2D), projected onto it (2.5D), anywhere (3D).
constexpr int SNAP_2D = 1;
constexpr int SNAP_25D = 2;
constexpr int SNAP_3D = 3;
// SnapInfo::flags: the candidate must lie in the snap plane.
constexpr DWORD SNAP_IN_PLANE = 1 << 0;
// Flags of ViewExp::SnapPoint and SnapPreview.
constexpr DWORD SNAP_IN_3D = 0;
constexpr DWORD SNAP_FORCE_3D_RESULT = 1 << 1;

// One snap search: what it looks for and, in the best* fields, the best candidate so far. Smaller
// priorities are better; a priority of 0 means "not wanted". `plane` is the snap plane (the
// construction plane) in world coordinates.
class SnapInfo {
 public:
  int snapType = SNAP_3D;
  int strength = 8;  // pixels
  int vertPriority = 1;
  int edgePriority = 2;
  int priority = 0x7fffffff;  // best priority so far; a large value until something is found
  Point3 bestWorld;
  IPoint2 bestScreen;
  int bestDist = 0x7fffffff;
  Matrix3 plane;
  DWORD flags = 0;
  int found() const { return priority != 0x7fffffff; }
};

// ---- viewports ---------------------------------------------------------------------------------
// View types of ViewExp::GetViewType, as the script's viewport.setType names them.
enum ViewType { VIEW_LEFT = 0, VIEW_RIGHT, VIEW_TOP, VIEW_BOTTOM, VIEW_FRONT, VIEW_BACK, VIEW_ISO_USER,
                VIEW_PERSP_USER, VIEW_CAMERA, VIEW_GRID, VIEW_NONE, VIEW_TRACK, VIEW_SPOT, VIEW_SHAPE,
                VIEW_SCHEMATIC, VIEW_RENDER };

class HOST_API ViewExp {
 public:
  virtual ~ViewExp() = default;
  virtual GraphicsWindow* getGW() = 0;
  virtual int GetViewType() = 0;
  virtual BOOL IsPerspView() = 0;
  // World to view (the camera's inverse placement): view space looks down -z with +y up.
  virtual void GetAffineTM(Matrix3& tm) = 0;
  // The construction plane (its own z = 0) in world coordinates.
  virtual void GetConstructionTM(Matrix3& tm) = 0;
  // The point of the construction plane under screen point `ps`, in construction-plane coordinates.
  virtual Point3 GetPointOnCP(const IPoint2& ps) = 0;
  // The point under `in` as creation uses it: the snapped point when snapping is on and finds one,
  // otherwise the point of the construction plane; in construction-plane coordinates. `out` is the
  // screen point of the result. `plane2d` is accepted and not used.
  virtual Point3 SnapPoint(const IPoint2& in, IPoint2& out, Matrix3* plane2d = nullptr, DWORD flags = 0) = 0;
  // Shows where SnapPoint would go, without creating anything.
  virtual void SnapPreview(const IPoint2& in, IPoint2& out, Matrix3* plane2d = nullptr, DWORD flags = 0) = 0;
  // The width of the window in world units at the depth of `p` (world): what screen-sized icons
  // scale by.
  virtual float GetVPWorldWidth(const Point3& p) = 0;
  virtual float NonScalingObjectSize() { return 1.0f; }
};

// ---- creation by mouse ---------------------------------------------------------------------------
constexpr int MOUSE_ABORT = 0;
constexpr int MOUSE_IDLE = 0;
constexpr int MOUSE_POINT = 1;
constexpr int MOUSE_MOVE = 2;
constexpr int MOUSE_DBLCLICK = 3;
constexpr int MOUSE_INIT = 4;
constexpr int MOUSE_UNINIT = 5;
constexpr int MOUSE_FREEMOVE = 6;

constexpr int CREATE_CONTINUE = 1;
constexpr int CREATE_STOP = 0;
constexpr int CREATE_ABORT = -1;

// An object's way of being placed by mouse. The host calls proc with each mouse event of the
// creation: `point` counts the points given so far (0 until the first button press is done), `m`
// is the cursor in window pixels, and `mat` the new node's transform relative to the construction
// plane, which the procedure changes and the host applies after every call.
class HOST_API CreateMouseCallBack {
 public:
  virtual ~CreateMouseCallBack() = default;
  virtual int proc(ViewExp* vpt, int msg, int point, int flags, IPoint2 m, Matrix3& mat) = 0;
};
