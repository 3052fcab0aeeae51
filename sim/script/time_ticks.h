// Script numbers as the host's times. Frames (and a time literal's seconds and ticks) become ticks
// in double precision, then are rounded; a time past what ticks can hold is the host's own end of
// time, TIME_PosInfinity or TIME_NegInfinity, as a script writer asking for "frame 2147483647"
// means the latest time there is. Not a number is no time: values that can hold one refuse it.
#pragma once

#include "interval.h"

#include <cmath>

namespace sim::rt {

inline TimeValue ticksClamped(double ticks) {
  if (!(ticks < double(TIME_PosInfinity))) return TIME_PosInfinity;
  if (!(ticks > double(TIME_NegInfinity))) return TIME_NegInfinity;
  return static_cast<TimeValue>(std::lround(ticks));
}

inline TimeValue ticksFromFrames(double frames) { return ticksClamped(frames * GetTicksPerFrame()); }

}  // namespace sim::rt
