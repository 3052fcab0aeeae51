// Creation by mouse and snapping in script. startObjectCreation starts placing a new object of a
// class as the create panel does; feedCreationMouse (a host function of ours) gives the creation
// the mouse events an artist would: #point [x,y] (a press or a release), #move [x,y], #abort. The
// snap settings are snapMode's (active, type, strength), and snapMode.hit, worldHitpoint and
// screenHitpoint tell what the last snap found.
#include "gfx.h"
#include "inode.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "script/evaluator.h"
#include "script/viewport_args.h"
#include "ui/snap_settings.h"
#include "ui/viewport_creation.h"

#include <cmath>
#include <string>

using namespace sim::rt;
using sim::ui::lastSnap;
using sim::ui::ObjectCreation;
using sim::ui::snapSettings;

namespace {

Value* snapTypeName() {
  switch (snapSettings().type) {
    case SNAP_2D: return Name::intern("2D");
    case SNAP_25D: return Name::intern("2_5D");
    default: return Name::intern("3D");
  }
}

Value* setSnapType(Value* v) {
  Value* name = Name::intern(v->to_string());
  if (name == Name::intern("2D")) snapSettings().type = SNAP_2D;
  else if (name == Name::intern("2_5D")) snapSettings().type = SNAP_25D;
  else if (name == Name::intern("3D")) snapSettings().type = SNAP_3D;
  else throw RuntimeError("Unknown snap type: ", v);
  return v;
}

Value* setSnapStrength(Value* v) {
  float f = v->to_float();
  if (!std::isfinite(f) || f < 0.0f || f > 1000.0f) throw RuntimeError("Snap strength must be 0 to 1000 pixels, got: ", v);
  snapSettings().strength = int(f);
  return v;
}

const bool kDefined = [] {
  define_struct_global("active", "snapMode", [] { return bool_result(snapSettings().active); },
                       [](Value* v) -> Value* {
                         snapSettings().active = v->to_bool() != FALSE;
                         return v;
                       });
  define_struct_global("type", "snapMode", snapTypeName, setSnapType);
  define_struct_global("strength", "snapMode",
                       [] { return static_cast<Value*>(Integer::intern(snapSettings().strength)); }, setSnapStrength);
  define_struct_global("hit", "snapMode", [] { return bool_result(lastSnap().hit); }, nullptr);
  define_struct_global("worldHitpoint", "snapMode",
                       [] { return lastSnap().hit ? keep(new Point3Value(lastSnap().world)) : undefined; }, nullptr);
  define_struct_global("screenHitpoint", "snapMode", [] {
    const auto& s = lastSnap();
    return s.hit ? keep(new Point2Value(float(s.screen.x), float(s.screen.y))) : undefined;
  }, nullptr);
  return true;
}();

}  // namespace

def_visible_primitive(startObjectCreation, "startObjectCreation");
Value* startObjectCreation_cf(Value** arg_list, int count) {
  check_arg_count(startObjectCreation, 1, count);
  auto* cls = dynamic_cast<MAXClass*>(arg_list[0]);
  if (!cls) throw ConversionError(arg_list[0], "MAXClass");
  std::string error;
  if (!ObjectCreation::instance().start(cls->cd, error)) throw RuntimeError(("Cannot start creation, " + error + ": ").c_str(), arg_list[0]);
  return ok;
}

// #continue while the creation goes on, #stop when it made its node (now selected), #abort when it
// ended without one.
def_visible_primitive(feedCreationMouse, "feedCreationMouse");
Value* feedCreationMouse_cf(Value** arg_list, int count) {
  if (count < 1 || count > 2) throw ArgCountError("feedCreationMouse", 2, count);
  Value* kind = Name::intern(arg_list[0]->to_string());
  int msg;
  if (kind == Name::intern("point")) msg = MOUSE_POINT;
  else if (kind == Name::intern("move")) msg = MOUSE_MOVE;
  else if (kind == Name::intern("abort")) msg = MOUSE_ABORT;
  else throw RuntimeError("Unknown mouse event: ", arg_list[0]);
  if (msg != MOUSE_ABORT && count != 2) throw ArgCountError("feedCreationMouse", 2, count);
  IPoint2 at = count == 2 ? screenPointArg(arg_list[1]) : IPoint2();
  ObjectCreation& creation = ObjectCreation::instance();
  if (!creation.active()) throw RuntimeError("No object creation is under way");
  switch (creation.event(msg, at)) {
    case CREATE_CONTINUE: return Name::intern("continue");
    case CREATE_STOP: return Name::intern("stop");
    default: return Name::intern("abort");
  }
}

def_visible_primitive(GetUIColor, "GetUIColor");
Value* GetUIColor_cf(Value** arg_list, int count) {
  check_arg_count(GetUIColor, 1, count);
  int which = arg_list[0]->to_int();
  if (which < 0 || which >= COLOR_TOTAL) throw RuntimeError("No such interface colour: ", arg_list[0]);
  return keep(new Point3Value(::GetUIColor(which)));
}

def_visible_primitive(SetUIColor, "SetUIColor");
Value* SetUIColor_cf(Value** arg_list, int count) {
  check_arg_count(SetUIColor, 2, count);
  int which = arg_list[0]->to_int();
  if (which < 0 || which >= COLOR_TOTAL) throw RuntimeError("No such interface colour: ", arg_list[0]);
  Point3 c = arg_list[1]->to_point3();
  ::SetUIColor(which, &c);
  return ok;
}
