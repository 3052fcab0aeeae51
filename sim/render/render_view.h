// Where a render looks from: a camera node (free or target, perspective or orthographic, its field
// of view across the image's width) or, without one, a default view of the whole scene. Gives the
// ray through each pixel and the world-to-camera transform materials expect their vectors in.
#pragma once

#include "box3.h"
#include "inode.h"
#include "render/bvh.h"

#include <string>

namespace sim {

class HOST_API RenderView {
 public:
  // The view of `camera` at `t` for an image of width x height; `error` is set when the node is no
  // camera or its transform is not usable.
  static RenderView fromCamera(INode* camera, TimeValue t, int width, int height, std::string& error);
  // Looking at `scene` from the front, right and above, as a new perspective viewport does, with
  // the whole box in sight (an empty box: the origin from a short way off).
  static RenderView defaultView(const Box3& scene, int width, int height);

  // The ray through the centre of pixel (x, y), row 0 at the top; its direction has unit length.
  Ray pixelRay(float x, float y) const;
  const Matrix3& worldToCamera() const { return toCamera_; }
  Point3 eye() const { return eye_; }

 private:
  void orient(const Point3& eye, const Point3& forward, const Point3& up, float fov, int width, int height);
  Point3 eye_, right_, up_, forward_;
  float halfW_ = 1.0f, halfH_ = 1.0f;  // tangents of the half angles, or half sizes when orthographic
  bool ortho_ = false;
  int width_ = 1, height_ = 1;
  Matrix3 toCamera_;
};

}  // namespace sim
