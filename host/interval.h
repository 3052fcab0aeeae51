// Time: ticks, frames and validity intervals.
#pragma once

#include "host_api.h"

#include <climits>

using TimeValue = int;

constexpr int TIME_TICKSPERSEC = 4800;
constexpr TimeValue TIME_NegInfinity = INT_MIN;
constexpr TimeValue TIME_PosInfinity = INT_MAX;

// Ticks per frame at the host's current frame rate (160 at the default 30 frames a second).
HOST_API int GetTicksPerFrame();
HOST_API void SetTicksPerFrame(int ticks);
HOST_API int GetFrameRate();
HOST_API void SetFrameRate(int framesPerSecond);

class Interval {
 public:
  constexpr Interval() : start_(TIME_NegInfinity), end_(TIME_NegInfinity) {}
  constexpr Interval(TimeValue s, TimeValue e) : start_(s < e ? s : e), end_(s < e ? e : s) {}

  constexpr TimeValue Start() const { return start_; }
  constexpr TimeValue End() const { return end_; }
  void SetStart(TimeValue s) { start_ = s; }
  void SetEnd(TimeValue e) { end_ = e; }
  void Set(TimeValue s, TimeValue e) { *this = Interval(s, e); }
  void SetInfinite() { start_ = TIME_NegInfinity; end_ = TIME_PosInfinity; }
  void SetEmpty() { start_ = end_ = TIME_NegInfinity; }
  void SetInstant(TimeValue t) { start_ = end_ = t; }

  constexpr bool Empty() const { return start_ == TIME_NegInfinity && end_ == TIME_NegInfinity; }
  constexpr bool InInterval(TimeValue t) const { return !Empty() && start_ <= t && t <= end_; }
  constexpr bool InInterval(const Interval& i) const { return InInterval(i.start_) && InInterval(i.end_); }

  // Intersection; disjoint intervals give the empty interval.
  constexpr Interval operator&(const Interval& o) const {
    if (Empty() || o.Empty()) return Interval();
    TimeValue s = start_ > o.start_ ? start_ : o.start_;
    TimeValue e = end_ < o.end_ ? end_ : o.end_;
    if (s > e) return Interval();
    Interval r;
    r.start_ = s;
    r.end_ = e;
    return r;
  }
  Interval& operator&=(const Interval& o) { return *this = *this & o; }
  constexpr bool operator==(const Interval& o) const { return start_ == o.start_ && end_ == o.end_; }
  constexpr bool operator!=(const Interval& o) const { return !(*this == o); }

 private:
  TimeValue start_, end_;
};

#define FOREVER Interval(TIME_NegInfinity, TIME_PosInfinity)
#define NEVER Interval(TIME_NegInfinity, TIME_NegInfinity)
