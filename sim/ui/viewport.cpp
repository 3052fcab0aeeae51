#include "ui/viewport.h"

#include "maxapi.h"
#include "object.h"
#include "scene/scene_walk.h"
#include "ui/snap_settings.h"
#include "ui/viewport_objects.h"

#include <algorithm>
#include <cmath>

namespace sim::ui {

namespace {

// A placement looking from `eye` at `target` with +Z up, as a world-to-view transform.
Matrix3 lookAt(const Point3& eye, const Point3& target) {
  Point3 z = Normalize(eye - target);
  Point3 x = Normalize(CrossProd(Point3::ZAxis, z));
  if (x.LengthSquared() < 1e-12f) x = Point3::XAxis;
  Point3 y = CrossProd(z, x);
  return Inverse(Matrix3(x, y, z, eye));
}

// The axes (x right, y up, z towards the viewer) of the axis views.
bool axisRows(ViewType type, Point3& x, Point3& y, Point3& z) {
  switch (type) {
    case VIEW_TOP: x = {1.0f, 0.0f, 0.0f}; y = {0.0f, 1.0f, 0.0f}; z = {0.0f, 0.0f, 1.0f}; return true;
    case VIEW_BOTTOM: x = {1.0f, 0.0f, 0.0f}; y = {0.0f, -1.0f, 0.0f}; z = {0.0f, 0.0f, -1.0f}; return true;
    case VIEW_FRONT: x = {1.0f, 0.0f, 0.0f}; y = {0.0f, 0.0f, 1.0f}; z = {0.0f, -1.0f, 0.0f}; return true;
    case VIEW_BACK: x = {-1.0f, 0.0f, 0.0f}; y = {0.0f, 0.0f, 1.0f}; z = {0.0f, 1.0f, 0.0f}; return true;
    case VIEW_LEFT: x = {0.0f, -1.0f, 0.0f}; y = {0.0f, 0.0f, 1.0f}; z = {-1.0f, 0.0f, 0.0f}; return true;
    case VIEW_RIGHT: x = {0.0f, 1.0f, 0.0f}; y = {0.0f, 0.0f, 1.0f}; z = {1.0f, 0.0f, 0.0f}; return true;
    default: return false;
  }
}

bool finite(const Point3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

}  // namespace

Viewport::Viewport(ViewType type) : gw_(400, 300), type_(type) {
  userTM_ = lookAt(Point3(250.0f, -300.0f, 200.0f), Point3());
  updateView();
}

BOOL Viewport::IsPerspView() { return gw_.view().perspective; }

bool Viewport::setType(ViewType type) {
  Point3 x, y, z;
  if (!axisRows(type, x, y, z) && type != VIEW_PERSP_USER && type != VIEW_ISO_USER && type != VIEW_CAMERA) return false;
  if (type == VIEW_CAMERA && !camera()) return false;
  type_ = type;
  updateView();
  return true;
}

bool Viewport::setTM(const Matrix3& worldToView) {
  for (int i = 0; i < 4; ++i)
    if (!finite(worldToView[i])) return false;
  userTM_ = worldToView;
  if (type_ != VIEW_PERSP_USER) type_ = VIEW_ISO_USER;
  updateView();
  return true;
}

bool Viewport::setCamera(INode* node) {
  Object* obj = node ? node->EvalWorldState(GetCOREInterface()->GetTime()).obj : nullptr;
  if (!obj || obj->SuperClassID() != CAMERA_CLASS_ID) return false;
  cameraHandle_ = node->GetHandle();
  type_ = VIEW_CAMERA;
  updateView();
  return true;
}

INode* Viewport::camera() const {
  return cameraHandle_ ? GetCOREInterface()->GetINodeByHandle(cameraHandle_) : nullptr;
}

void Viewport::setSize(int width, int height) {
  ViewProjection v = gw_.view();
  v.winX = std::clamp(width, 1, kMaxViewportSide);
  v.winY = std::clamp(height, 1, kMaxViewportSide);
  gw_.setView(v);
}

void Viewport::setOrthoWidth(float width) {
  if (!std::isfinite(width) || width <= 0.0f) return;
  orthoWidth_ = width;
  updateView();
}

void Viewport::setFocus(const Point3& p) {
  if (!finite(p)) return;
  focus_ = p;
  updateView();
}

bool Viewport::zoomToBounds(const Box3& box) {
  if (box.IsEmpty() || !finite(box.pmin) || !finite(box.pmax)) return false;
  Point3 centre = box.Center();
  const ViewProjection& v = gw_.view();
  // The box's extent along the view's own axes.
  Point3 vx(v.worldToView[0].x, v.worldToView[1].x, v.worldToView[2].x);
  Point3 vy(v.worldToView[0].y, v.worldToView[1].y, v.worldToView[2].y);
  float across = 0.0f, up = 0.0f;
  for (int i = 0; i < 8; ++i) {
    Point3 c((i & 1) ? box.pmax.x : box.pmin.x, (i & 2) ? box.pmax.y : box.pmin.y, (i & 4) ? box.pmax.z : box.pmin.z);
    across = std::max(across, 2.0f * std::fabs(DotProd(c - centre, vx)));
    up = std::max(up, 2.0f * std::fabs(DotProd(c - centre, vy)));
  }
  float width = std::max(across, up * float(v.winX) / float(v.winY));
  if (!std::isfinite(width)) return false;  // a box too large to look at
  if (!(width > 0.0f)) width = 1.0f;
  if (type_ == VIEW_PERSP_USER) {
    Matrix3 placement = Inverse(userTM_);
    Point3 back = Normalize(placement[2]);
    float distance = 0.5f * width / std::tan(v.fov * 0.5f) + 0.5f * (box.pmax - box.pmin).Length();
    placement.SetTrans(centre + back * distance);
    userTM_ = Inverse(placement);
  } else if (type_ != VIEW_CAMERA) {
    focus_ = centre;
    orthoWidth_ = width;
  }
  updateView();
  return true;
}

void Viewport::updateView() {
  ViewProjection v = gw_.view();
  Point3 x, y, z;
  TimeValue t = GetCOREInterface()->GetTime();
  auto* cam = type_ == VIEW_CAMERA ? camera() : nullptr;
  auto* camObj = cam ? dynamic_cast<GenCamera*>(cam->EvalWorldState(t).obj) : nullptr;
  if (axisRows(type_, x, y, z)) {
    v.worldToView = Inverse(Matrix3(x, y, z, focus_));
    v.perspective = false;
    v.width = orthoWidth_;
  } else if (camObj) {
    Matrix3 tm = cam->GetObjectTM(t);
    Matrix3 placement(Normalize(tm[0]), Normalize(tm[1]), Normalize(tm[2]), tm[3]);
    v.worldToView = Inverse(placement);
    float fov = camObj->GetFOV(t);
    v.fov = std::isfinite(fov) && fov > 0.0f ? fov : 0.785398f;
    v.perspective = !camObj->IsOrtho();
    v.width = 2.0f * camObj->GetTDist(t) * std::tan(v.fov * 0.5f);
  } else {
    if (type_ == VIEW_CAMERA) type_ = VIEW_PERSP_USER;  // its camera went away
    v.worldToView = userTM_;
    v.perspective = type_ != VIEW_ISO_USER;
    v.width = orthoWidth_;
    v.fov = 0.785398f;
  }
  gw_.setView(v);
}

void Viewport::GetAffineTM(Matrix3& tm) { tm = gw_.view().worldToView; }

void Viewport::GetConstructionTM(Matrix3& tm) {
  // Axis views build on the plane facing them; the others on the home grid.
  Point3 x, y, z;
  tm = axisRows(type_, x, y, z) ? Matrix3(x, y, z, Point3()) : Matrix3();
}

Point3 Viewport::GetPointOnCP(const IPoint2& ps) {
  Point3 origin, dir;
  gw_.view().unproject(ps.x + 0.5, ps.y + 0.5, origin, dir);
  Matrix3 viewToWorld = Inverse(gw_.view().worldToView);
  Matrix3 cp;
  GetConstructionTM(cp);
  Matrix3 toCP = viewToWorld * Inverse(cp);
  Point3 o = origin * toCP, d = VectorTransform(toCP, dir);
  Point3 p(o.x, o.y, 0.0f);
  if (std::fabs(d.z) > 1e-9f) {
    float k = -o.z / d.z;
    p = o + d * k;
    p.z = 0.0f;
  }
  return finite(p) ? p : Point3();
}

Point3 Viewport::snapSearch(const IPoint2& in, IPoint2& out, bool& found) {
  SnapResult& result = lastSnap();
  result = SnapResult();
  found = false;
  out = in;
  const SnapSettings& settings = snapSettings();
  if (!settings.active) return GetPointOnCP(in);
  SnapInfo snap;
  snap.snapType = settings.type;
  snap.strength = settings.strength;
  snap.vertPriority = 1;
  snap.edgePriority = 2;
  GetConstructionTM(snap.plane);
  TimeValue t = GetCOREInterface()->GetTime();
  IPoint2 cursor = in;
  Matrix3 keep = gw_.getTransform();
  forEachSceneNode([&](INode* n) {
    if (n->IsNodeHidden()) return;
    Object* obj = n->EvalWorldState(t).obj;
    if (!obj) return;
    Mesh mesh;
    if (isHostClass(obj) && meshOf(obj, t, mesh)) {
      Matrix3 tm = n->GetObjTMAfterWSM(t);
      gw_.setTransform(tm);
      snapMeshVertices(mesh, tm, snap, cursor, gw_);
    } else {
      obj->Snap(t, n, &snap, &cursor, this);
    }
  });
  gw_.setTransform(keep);
  if (!snap.found() || !finite(snap.bestWorld)) return GetPointOnCP(in);
  found = true;
  out = snap.bestScreen;
  result = SnapResult{true, snap.bestWorld, snap.bestScreen};
  Point3 onPlane = snap.bestWorld * Inverse(snap.plane);
  if (settings.type != SNAP_3D) onPlane.z = 0.0f;  // 2D and 2.5D snaps land in the plane
  return onPlane;
}

Point3 Viewport::SnapPoint(const IPoint2& in, IPoint2& out, Matrix3*, DWORD) {
  bool found = false;
  return snapSearch(in, out, found);
}

void Viewport::SnapPreview(const IPoint2& in, IPoint2& out, Matrix3*, DWORD) {
  // There is no cursor to draw the preview at: what it would show is kept (lastSnap).
  bool found = false;
  snapSearch(in, out, found);
}

float Viewport::GetVPWorldWidth(const Point3& p) {
  const ViewProjection& v = gw_.view();
  if (!v.perspective) return v.width;
  float depth = -(p * v.worldToView).z;
  return 2.0f * std::max(depth, kNearPlane) * std::tan(v.fov * 0.5f);
}

// ---- the set of viewports ------------------------------------------------------------------------

Viewports::Viewports() { reset(); }

Viewports& Viewports::instance() {
  static Viewports views;
  return views;
}

void Viewports::reset() {
  views_.clear();
  for (ViewType t : {VIEW_TOP, VIEW_FRONT, VIEW_LEFT, VIEW_PERSP_USER}) views_.push_back(std::make_unique<Viewport>(t));
  active_ = 3;
}

Viewport& Viewports::active() { return *views_[size_t(active_)]; }

bool Viewports::setActive(int index) {
  if (index < 0 || index >= count()) return false;
  active_ = index;
  return true;
}

void Viewports::setSize(int width, int height) {
  for (auto& v : views_) v->setSize(width, height);
}

}  // namespace sim::ui
