// The host's viewports: each a ViewExp with a graphics window of its own, looking along an axis
// (top, front, left...), in perspective, or through a camera node. The host keeps four, as a new
// scene shows them (top, front, left, perspective; the perspective one active).
#pragma once

#include "inode.h"
#include "ui/graphics_window.h"
#include "viewexp.h"

#include <memory>
#include <vector>

namespace sim::ui {

// The largest viewport window side in pixels: four viewports of it stay within a few hundred MB.
constexpr int kMaxViewportSide = 2048;

class HOST_API Viewport : public ViewExp {
 public:
  explicit Viewport(ViewType type);

  GraphicsWindow* getGW() override { return &gw_; }
  BitmapGraphicsWindow& window() { return gw_; }
  int GetViewType() override { return type_; }
  BOOL IsPerspView() override;
  void GetAffineTM(Matrix3& tm) override;
  void GetConstructionTM(Matrix3& tm) override;
  Point3 GetPointOnCP(const IPoint2& ps) override;
  Point3 SnapPoint(const IPoint2& in, IPoint2& out, Matrix3* plane2d = nullptr, DWORD flags = 0) override;
  void SnapPreview(const IPoint2& in, IPoint2& out, Matrix3* plane2d = nullptr, DWORD flags = 0) override;
  float GetVPWorldWidth(const Point3& p) override;

  // An axis view, the user perspective view, or (VIEW_CAMERA) the view of camera(); false for a
  // type the host does not draw.
  bool setType(ViewType type);
  // The view's transform (world to view) for the user views; an axis view set this way becomes a
  // user view, as the application does when one is orbited. A transform that is not finite is
  // refused (false).
  bool setTM(const Matrix3& worldToView);
  // Looks through `camera` (a node whose object is a camera); false for anything else.
  bool setCamera(INode* camera);
  INode* camera() const;
  void setSize(int width, int height);
  // What the orthographic views show: the world width across the window and the point they centre
  // on. Widths that are not positive and finite are refused.
  void setOrthoWidth(float width);
  void setFocus(const Point3& p);
  // Frames the world box (pmin, pmax) exactly: orthographic views centre on it and show its larger
  // side across the window; the perspective user view backs off along its direction until it fits.
  // A box that is empty, not finite or too large to frame is refused (false).
  bool zoomToBounds(const Box3& box);

  // Draws the scene at `t` into the window.
  void redraw(TimeValue t);
  // The nodes whose objects are hit at screen point `p`, front to back in scene order.
  std::vector<INode*> hitTest(TimeValue t, IPoint2 p, int pickRadius = 4);

 private:
  // The projection and view transform for the current type.
  void updateView();
  Point3 snapSearch(const IPoint2& in, IPoint2& out, bool& found);

  BitmapGraphicsWindow gw_;
  ViewType type_;
  Matrix3 userTM_;          // world to view of user views
  Point3 focus_;            // what axis views centre on
  float orthoWidth_ = 400.0f;
  ULONG cameraHandle_ = 0;  // by handle: the camera node may go away
};

// The host's viewports and the active one.
class HOST_API Viewports {
 public:
  static Viewports& instance();
  Viewport& active();
  int activeIndex() const { return active_; }
  bool setActive(int index);
  int count() const { return int(views_.size()); }
  Viewport& at(int index) { return *views_[size_t(index)]; }
  void setSize(int width, int height);
  // Back to four fresh views (a new scene).
  void reset();

 private:
  Viewports();
  std::vector<std::unique_ptr<Viewport>> views_;
  int active_ = 3;
};

// The colour a node is drawn in: white when selected, grey when frozen, else its wire colour.
HOST_API Point3 nodeDrawColor(INode* node);

}  // namespace sim::ui
