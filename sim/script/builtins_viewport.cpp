// Viewports in script: redrawing them, their kind and view transform (viewport.setType, setTM,
// setCamera, activeViewport), the graphics window's picture (gw.getViewportDib), and picking.
//
// Host functions of ours: setViewportSize w h (every viewport's window size in pixels) and
// hitTestViewport [x,y] (the nodes whose objects the active viewport shows at that pixel).
#include "inode.h"
#include "maxapi.h"
#include "maxscript/bitmaps.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "script/evaluator.h"
#include "script/runtime.h"
#include "script/viewport_args.h"
#include "ui/viewport.h"

#include <cmath>
#include <string>

using namespace sim::rt;
using sim::ui::Viewport;
using sim::ui::Viewports;

namespace {

struct ViewTypeName {
  const char* name;
  ViewType type;
};
// The names viewport.setType and getType use.
const ViewTypeName kViewTypes[] = {
    {"view_left", VIEW_LEFT},     {"view_right", VIEW_RIGHT},         {"view_top", VIEW_TOP},
    {"view_bottom", VIEW_BOTTOM}, {"view_front", VIEW_FRONT},         {"view_back", VIEW_BACK},
    {"view_iso_user", VIEW_ISO_USER}, {"view_persp_user", VIEW_PERSP_USER}, {"view_camera", VIEW_CAMERA},
};

Viewport& active() { return Viewports::instance().active(); }
TimeValue now() { return Runtime::get().time(); }

void redrawAll() {
  Viewports& views = Viewports::instance();
  for (int i = 0; i < views.count(); ++i) views.at(i).redraw(now());
}

int sizeArg(Value* v, const char* what) {
  float f = v->to_float();
  if (!std::isfinite(f) || f < 1.0f || f > float(sim::ui::kMaxViewportSide))
    throw RuntimeError((std::string(what) + " must be 1 to " + std::to_string(sim::ui::kMaxViewportSide) + " pixels, got: ").c_str(), v);
  return int(f);
}

const bool kDefined = [] {
  define_struct_global("activeViewport", "viewport",
                       [] { return static_cast<Value*>(Integer::intern(Viewports::instance().activeIndex() + 1)); },
                       [](Value* v) -> Value* {
                         if (!Viewports::instance().setActive(v->to_int() - 1))
                           throw RuntimeError("No such viewport: ", v);
                         return v;
                       });
  define_struct_global("numViews", "viewport",
                       [] { return static_cast<Value*>(Integer::intern(Viewports::instance().count())); }, nullptr);
  return true;
}();

}  // namespace

def_visible_primitive(redrawViews, "redrawViews");
Value* redrawViews_cf(Value**, int count) {
  check_arg_count(redrawViews, 0, count);
  redrawAll();
  return ok;
}

def_visible_primitive(completeRedraw, "completeRedraw");
Value* completeRedraw_cf(Value**, int count) {
  check_arg_count(completeRedraw, 0, count);
  redrawAll();
  return ok;
}

// forceCompleteRedraw [doDisabled:b]
def_visible_primitive(forceCompleteRedraw, "forceCompleteRedraw");
Value* forceCompleteRedraw_cf(Value** arg_list, int count) {
  if (int n = count_positional_args(arg_list, count); n != 0) throw ArgCountError("forceCompleteRedraw", 0, n);
  redrawAll();
  return ok;
}

def_struct_primitive(viewport_setType, viewport, "setType");
Value* viewport_setType_cf(Value** arg_list, int count) {
  check_arg_count(setType, 1, count);
  const char* name = arg_list[0]->to_string();
  for (const auto& t : kViewTypes)
    if (Name::intern(t.name) == Name::intern(name)) {
      if (!active().setType(t.type)) return false_value;
      return true_value;
    }
  throw RuntimeError("Unknown viewport type: ", arg_list[0]);
}

def_struct_primitive(viewport_getType, viewport, "getType");
Value* viewport_getType_cf(Value**, int count) {
  check_arg_count(getType, 0, count);
  int type = active().GetViewType();
  for (const auto& t : kViewTypes)
    if (t.type == type) return Name::intern(t.name);
  return undefined;
}

def_struct_primitive(viewport_setTM, viewport, "setTM");
Value* viewport_setTM_cf(Value** arg_list, int count) {
  check_arg_count(setTM, 1, count);
  auto* m = dynamic_cast<Matrix3Value*>(arg_list[0]);
  if (!m) throw ConversionError(arg_list[0], "Matrix3");
  if (!active().setTM(m->m)) throw RuntimeError("The view transform is not finite: ", arg_list[0]);
  return ok;
}

def_struct_primitive(viewport_getTM, viewport, "getTM");
Value* viewport_getTM_cf(Value**, int count) {
  check_arg_count(getTM, 0, count);
  Matrix3 tm;
  active().GetAffineTM(tm);
  return keep(new Matrix3Value(tm));
}

def_struct_primitive(viewport_setCamera, viewport, "setCamera");
Value* viewport_setCamera_cf(Value** arg_list, int count) {
  check_arg_count(setCamera, 1, count);
  INode* node = arg_list[0]->to_node();
  if (!node) throw ConversionError(arg_list[0], "MAXNode");
  if (!active().setCamera(node)) throw RuntimeError("Not a camera: ", arg_list[0]);
  return ok;
}

def_struct_primitive(viewport_getCamera, viewport, "getCamera");
Value* viewport_getCamera_cf(Value**, int count) {
  check_arg_count(getCamera, 0, count);
  INode* cam = active().GetViewType() == VIEW_CAMERA ? active().camera() : nullptr;
  return cam ? MAXNode::intern(cam) : undefined;
}

// viewport.zoomToBounds useSel min max: frames the box from min to max (useSel is accepted and
// not used).
def_struct_primitive(viewport_zoomToBounds, viewport, "zoomToBounds");
Value* viewport_zoomToBounds_cf(Value** arg_list, int count) {
  check_arg_count(zoomToBounds, 3, count);
  Box3 box;
  box += arg_list[1]->to_point3();
  box += arg_list[2]->to_point3();
  if (!active().zoomToBounds(box)) throw RuntimeError("Cannot frame the box from ", arg_list[1]);
  return ok;
}

def_visible_primitive(setViewportSize, "setViewportSize");
Value* setViewportSize_cf(Value** arg_list, int count) {
  check_arg_count(setViewportSize, 2, count);
  Viewports::instance().setSize(sizeArg(arg_list[0], "The width"), sizeArg(arg_list[1], "The height"));
  return ok;
}

def_struct_primitive(gw_getWinSizeX, gw, "getWinSizeX");
Value* gw_getWinSizeX_cf(Value**, int count) {
  check_arg_count(getWinSizeX, 0, count);
  return Integer::intern(active().getGW()->getWinSizeX());
}

def_struct_primitive(gw_getWinSizeY, gw, "getWinSizeY");
Value* gw_getWinSizeY_cf(Value**, int count) {
  check_arg_count(getWinSizeY, 0, count);
  return Integer::intern(active().getGW()->getWinSizeY());
}

// The active viewport's picture as it was last drawn.
def_struct_primitive(gw_getViewportDib, gw, "getViewportDib");
Value* gw_getViewportDib_cf(Value**, int count) {
  check_arg_count(getViewportDib, 0, count);
  sim::ui::BitmapGraphicsWindow& window = active().window();
  BitmapInfo info;
  info.SetType(BMM_TRUE_32);
  info.SetWidth(window.getWinSizeX());
  info.SetHeight(window.getWinSizeY());
  info.SetFlags(MAP_HAS_ALPHA);
  Bitmap* bm = window.toBitmap();
  if (!bm) throw RuntimeError("Cannot make a bitmap of the viewport");
  return keep(new MAXBitMap(info, bm));
}

def_visible_primitive(hitTestViewport, "hitTestViewport");
Value* hitTestViewport_cf(Value** arg_list, int count) {
  check_arg_count(hitTestViewport, 1, count);
  IPoint2 p = screenPointArg(arg_list[0]);
  auto* result = static_cast<Array*>(keep(new Array(0)));
  for (INode* n : active().hitTest(now(), p)) result->append(MAXNode::intern(n));
  return result;
}
