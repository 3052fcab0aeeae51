// Runs a function when the scope ends, however it ends. State that must be put back on every way
// out is restored this way rather than by catch-and-rethrow: a rethrow makes the unwinder search
// the whole stack a second time, and script errors pass through these frames often.
#pragma once

#include <utility>

namespace sim {

template <class F>
class OnScopeExit {
 public:
  explicit OnScopeExit(F f) : f_(std::move(f)) {}
  ~OnScopeExit() { f_(); }
  OnScopeExit(const OnScopeExit&) = delete;
  OnScopeExit& operator=(const OnScopeExit&) = delete;

 private:
  F f_;
};

}  // namespace sim
