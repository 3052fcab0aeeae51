#include "script/viewport_args.h"

#include "maxscript/maxscript.h"

#include <algorithm>
#include <cmath>

namespace sim::rt {

IPoint2 screenPointArg(Value* v) {
  Point2 p = v->to_point2();
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) throw RuntimeError("Screen point is not finite: ", v);
  auto pixel = [](float c) { return int(std::floor(std::clamp(c, -1e6f, 1e6f))); };
  return IPoint2(pixel(p.x), pixel(p.y));
}

}  // namespace sim::rt
