// What a viewport shows: every visible node; the host's own geometry as the wireframe of its mesh,
// its lights, cameras and helpers as small icons; every plug-in object by its own Display, called
// as the application calls it. Picking and snapping ask the same in the same order.
#include "core/class_registry.h"
#include "maxapi.h"
#include "object.h"
#include "scene/scene_walk.h"
#include "triobj.h"
#include "ui/viewport.h"
#include "ui/viewport_objects.h"

#include <cmath>

namespace sim::ui {

namespace {

const Point3 kBackground(0.45f, 0.45f, 0.45f);

void line(GraphicsWindow* gw, Point3 a, Point3 b) {
  Point3 pts[2] = {a, b};
  gw->polyline(2, pts, nullptr, FALSE, nullptr);
}

// The host's own icons, in object coordinates: a light is a star of three axes, a camera a small
// pyramid looking down its -Z, a helper a cross of three axes, anything else a small box.
void drawHostIcon(GraphicsWindow* gw, Object* obj) {
  switch (obj->SuperClassID()) {
    case LIGHT_CLASS_ID:
      for (int i = 0; i < 3; ++i) {
        Point3 d;
        d[i] = 6.0f;
        line(gw, -d, d);
      }
      line(gw, Point3(-4.0f, -4.0f, 0.0f), Point3(4.0f, 4.0f, 0.0f));
      line(gw, Point3(-4.0f, 4.0f, 0.0f), Point3(4.0f, -4.0f, 0.0f));
      break;
    case CAMERA_CLASS_ID: {
      Point3 c[4] = {{-6.0f, -4.5f, -12.0f}, {6.0f, -4.5f, -12.0f}, {6.0f, 4.5f, -12.0f}, {-6.0f, 4.5f, -12.0f}};
      gw->polyline(4, c, nullptr, TRUE, nullptr);
      for (const Point3& p : c) line(gw, Point3(), p);
      break;
    }
    case HELPER_CLASS_ID:
      for (int i = 0; i < 3; ++i) {
        Point3 d;
        d[i] = 5.0f;
        line(gw, -d, d);
      }
      break;
    default: {
      Point3 sq[4] = {{-2.0f, -2.0f, 0.0f}, {2.0f, -2.0f, 0.0f}, {2.0f, 2.0f, 0.0f}, {-2.0f, 2.0f, 0.0f}};
      gw->polyline(4, sq, nullptr, TRUE, nullptr);
    }
  }
}

bool shown(INode* n) { return n && !n->IsNodeHidden(); }

}  // namespace

bool isHostClass(Object* obj) {
  Class_ID cid = obj->ClassID();
  SClass_ID sid = obj->SuperClassID();
  for (const auto& e : ClassRegistry::instance().entries())
    if (e.desc && e.desc->ClassID() == cid && e.desc->SuperClassID() == sid) return e.module.empty();
  return true;  // made by the host without a descriptor (derived objects and the like)
}

bool meshOf(Object* obj, TimeValue t, Mesh& mesh) {
  SClass_ID sid = obj->SuperClassID();
  if (sid != GEOMOBJECT_CLASS_ID && sid != SHAPE_CLASS_ID) return false;
  if (!obj->CanConvertToType(triObjectClassID)) return false;
  Object* converted = obj->ConvertToType(t, triObjectClassID);
  auto* tri = dynamic_cast<TriObject*>(converted);
  if (tri) mesh = tri->mesh;
  if (converted && converted != obj) converted->DeleteMe();
  return tri != nullptr;
}

Point3 nodeDrawColor(INode* node) {
  if (node->Selected()) return Point3(1.0f, 1.0f, 1.0f);
  if (node->IsFrozen()) return Point3(0.2f, 0.2f, 0.2f);
  return Color(node->GetWireColor());
}

void Viewport::redraw(TimeValue t) {
  updateView();
  gw_.setColor(CLEAR_COLOR, kBackground);
  gw_.clearScreen();
  gw_.setHitRegion(nullptr);
  forEachSceneNode([&](INode* n) {
    if (!shown(n)) return;
    Object* obj = n->EvalWorldState(t).obj;
    if (!obj) return;
    Point3 color = nodeDrawColor(n);
    gw_.setRndLimits(GW_WIREFRAME);
    gw_.setColor(LINE_COLOR, color);
    gw_.setColor(TEXT_COLOR, color);
    gw_.setTransform(n->GetObjTMAfterWSM(t));
    Mesh mesh;
    if (!isHostClass(obj)) obj->Display(t, n, this, 0);
    else if (meshOf(obj, t, mesh)) mesh.render(&gw_, gw_.getMaterial(), nullptr, COMP_ALL, 1);
    else drawHostIcon(&gw_, obj);
  });
  gw_.setTransform(Matrix3());
}

std::vector<INode*> Viewport::hitTest(TimeValue t, IPoint2 p, int pickRadius) {
  updateView();
  std::vector<INode*> hits;
  forEachSceneNode([&](INode* n) {
    if (!shown(n) || n->IsFrozen()) return;
    Object* obj = n->EvalWorldState(t).obj;
    if (!obj) return;
    gw_.setTransform(n->GetObjTMAfterWSM(t));
    HitRegion hr;
    MakeHitRegion(hr, HITTYPE_POINT, 0, pickRadius, &p);
    Mesh mesh;
    bool hit = false;
    if (!isHostClass(obj)) {
      hit = obj->HitTest(t, n, HITTYPE_POINT, 0, HIT_ABORTONHIT, &p, this) != 0;
      gw_.setHitRegion(nullptr);  // whatever the object left behind
    } else if (meshOf(obj, t, mesh)) {
      hit = mesh.select(&gw_, gw_.getMaterial(), &hr, TRUE, 1) != 0;
    } else {
      gw_.setHitRegion(&hr);
      drawHostIcon(&gw_, obj);
      hit = gw_.checkHitCode() != 0;
      gw_.setHitRegion(nullptr);
    }
    if (hit) hits.push_back(n);
  });
  gw_.setTransform(Matrix3());
  return hits;
}

}  // namespace sim::ui
