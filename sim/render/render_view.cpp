#include "render/render_view.h"

#include "render/finite_values.h"
#include "object.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

const Point3 kWorldUp(0.0f, 0.0f, 1.0f);

}  // namespace

void RenderView::orient(const Point3& eye, const Point3& forward, const Point3& up, float fov, int width, int height) {
  eye_ = eye;
  forward_ = forward.Normalize();
  Point3 right = CrossProd(forward_, up);
  // Looking straight along the up direction: any right angle will do.
  if (right.LengthSquared() < 1e-12f) right = CrossProd(forward_, Point3(0.0f, 1.0f, 0.0f));
  if (right.LengthSquared() < 1e-12f) right = CrossProd(forward_, Point3(1.0f, 0.0f, 0.0f));
  right_ = right.Normalize();
  up_ = CrossProd(right_, forward_);
  width_ = width;
  height_ = height;
  halfW_ = std::tan(std::clamp(fov, 1e-4f, 3.1f) * 0.5f);
  halfH_ = halfW_ * float(height) / float(width);
  // Camera space: x right, y up, looking down -z, as the host's cameras are built.
  Matrix3 camToWorld(right_, up_, -forward_, eye_);
  toCamera_ = camToWorld.Inverse();
}

RenderView RenderView::fromCamera(INode* camera, TimeValue t, int width, int height, std::string& error) {
  RenderView view;
  auto* cam = camera ? dynamic_cast<GenCamera*>(camera->EvalWorldState(t).obj) : nullptr;
  if (!cam) {
    error = "not a camera";
    return view;
  }
  Matrix3 tm = camera->GetNodeTM(t);
  Point3 eye = tm.GetTrans(), forward = -tm.GetRow(2), up = tm.GetRow(1);
  if (INode* target = camera->GetTarget()) {
    forward = target->GetNodeTM(t).GetTrans() - eye;
    up = kWorldUp;
  }
  float fov = cam->GetFOV(t);
  if (!finite(eye) || !finite(forward) || !finite(up) || forward.LengthSquared() < 1e-12f || !std::isfinite(fov)) {
    error = "the camera's transform is not usable";
    return view;
  }
  view.orient(eye, forward, up, fov, width, height);
  if (cam->IsOrtho()) {
    // An orthographic camera shows what a perspective one shows at its target distance.
    float across = cam->GetTDist(t) * view.halfW_;
    view.ortho_ = std::isfinite(across) && across > 0.0f;
    view.halfW_ = across;
    view.halfH_ = across * float(height) / float(width);
  }
  return view;
}

RenderView RenderView::defaultView(const Box3& scene, int width, int height) {
  RenderView view;
  constexpr float kFov = 45.0f * 3.14159265f / 180.0f;
  Point3 centre, size(100.0f, 100.0f, 100.0f);
  if (!scene.IsEmpty() && finite(scene.pmin) && finite(scene.pmax)) {
    centre = scene.Center();
    size = scene.Width();
  }
  float radius = std::max(size.Length() * 0.5f, 1e-3f);
  // Far enough that the bounding sphere fits the narrower of the two angles.
  float halfAngle = std::atan(std::tan(kFov * 0.5f) * float(std::min(width, height)) / float(width));
  float distance = radius / std::sin(halfAngle);
  Point3 from = Point3(1.0f, -1.0f, 0.75f).Normalize();
  view.orient(centre + from * distance, -from, kWorldUp, kFov, width, height);
  return view;
}

Ray RenderView::pixelRay(float x, float y) const {
  float sx = ((x + 0.5f) / float(width_) * 2.0f - 1.0f) * halfW_;
  float sy = (1.0f - (y + 0.5f) / float(height_) * 2.0f) * halfH_;
  if (ortho_) return Ray{eye_ + right_ * sx + up_ * sy, forward_};
  return Ray{eye_, (forward_ + right_ * sx + up_ * sy).Normalize()};
}

}  // namespace sim
