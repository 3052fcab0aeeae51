// Timing for the benches: wall seconds, and parts that callgrind counts on their own.
#pragma once

#include <chrono>
#include <string>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define QZM_BENCH_CALLGRIND 1
#endif

namespace bench {

using Clock = std::chrono::steady_clock;

inline double seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A timed part: under callgrind its instructions are counted from zero and dumped under `name`.
struct Section {
  explicit Section(std::string n) : name(std::move(n)) {
#ifdef QZM_BENCH_CALLGRIND
    CALLGRIND_ZERO_STATS;
#endif
  }
  ~Section() {
#ifdef QZM_BENCH_CALLGRIND
    CALLGRIND_DUMP_STATS_AT(name.c_str());
#endif
  }
  Section(const Section&) = delete;
  Section& operator=(const Section&) = delete;
  std::string name;
};

}  // namespace bench
