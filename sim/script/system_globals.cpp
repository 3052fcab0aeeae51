// Globals the host defines: time, frame rate, the named colours and axes, pi.
#include "animate.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "script/runtime.h"
#include "script/time_values.h"

#include <numbers>

namespace sim::rt {
namespace {

Value* colour(float r, float g, float b) { return new ColorValue(r, g, b); }

void setSliderTime(Value* v) { GetCOREInterface()->SetTime(v->to_timevalue()); }

// A range that ends before it starts is refused, as the time configuration refuses it.
void setAnimationRange(Interval r) {
  if (r.End() < r.Start()) throw RuntimeError("The animation range must not end before it starts");
  GetCOREInterface()->SetAnimRange(r);
}

const bool kDefined = [] {
  Runtime& rt = Runtime::get();
  // currentTime is the time scripts run at (the `at time` context), sliderTime the scene's.
  rt.defineSystemGlobal("currentTime", [] { return MSTime::intern(Runtime::get().time()); });
  rt.defineSystemGlobal("sliderTime", [] { return MSTime::intern(GetCOREInterface()->GetTime()); }, setSliderTime);
  rt.defineSystemGlobal("frameRate", [] { return Integer::intern(GetFrameRate()); },
                        [](Value* v) { SetFrameRate(v->to_int()); });
  rt.defineSystemGlobal("ticksPerFrame", [] { return Integer::intern(GetTicksPerFrame()); });
  rt.defineSystemGlobal("animationRange", [] { return intervalValue(GetCOREInterface()->GetAnimRange()); },
                        [](Value* v) { setAnimationRange(toInterval(v)); });
  rt.defineSystemGlobal("animButtonState", [] { return bool_result(Animating()); },
                        [](Value* v) { v->to_bool() ? AnimateOn() : AnimateOff(); });
  rt.defineSystemGlobal("red", [] { return colour(255, 0, 0); });
  rt.defineSystemGlobal("green", [] { return colour(0, 255, 0); });
  rt.defineSystemGlobal("blue", [] { return colour(0, 0, 255); });
  rt.defineSystemGlobal("white", [] { return colour(255, 255, 255); });
  rt.defineSystemGlobal("black", [] { return colour(0, 0, 0); });
  rt.defineSystemGlobal("gray", [] { return colour(128, 128, 128); });
  rt.defineSystemGlobal("yellow", [] { return colour(255, 255, 0); });
  rt.defineSystemGlobal("orange", [] { return colour(255, 128, 0); });
  rt.defineSystemGlobal("brown", [] { return colour(128, 64, 0); });
  rt.defineSystemGlobal("x_axis", [] { return static_cast<Value*>(new Point3Value(1, 0, 0)); });
  rt.defineSystemGlobal("y_axis", [] { return static_cast<Value*>(new Point3Value(0, 1, 0)); });
  rt.defineSystemGlobal("z_axis", [] { return static_cast<Value*>(new Point3Value(0, 0, 1)); });
  rt.defineSystemGlobal("pi", [] { return Float::intern(static_cast<float>(std::numbers::pi)); });
  rt.defineSystemGlobal("e", [] { return Float::intern(static_cast<float>(std::numbers::e)); });
  return true;
}();

}  // namespace
}  // namespace sim::rt
