// Progress of long work on one line of standard error, rewritten in place: what is being done, how
// far along it is and roughly how long is left. Shown only while standard error is a terminal, so
// logs and pipes get nothing; and only for the outermost work under way, so that work started by
// other work (a verify that restores every pass) keeps one line, not two fighting over it.
#pragma once

#include "host_api.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace sim {

class HOST_API Progress {
 public:
  using Clock = std::chrono::steady_clock;

  // `what` starts the line ("Verifying passes.qzmscene"); `total` steps make the whole.
  Progress(std::string what, int total);
  // For tests: writes to `out` when `shown` is true, whatever it is.
  Progress(std::string what, int total, std::FILE* out, bool shown, Clock::duration quietStart);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Step `done` (0-based) is starting; `detail` says which ("pass 5002").
  void step(int done, const std::string& detail);
  // Work measured in percent rather than steps (the host's progress calls).
  void percent(int pct, const std::string& detail);

 private:
  void show(double fractionDone, const std::string& text);

  std::string what_;
  int total_;
  std::FILE* out_;
  bool on_;
  bool outermost_;
  Clock::duration quietStart_;
  Clock::time_point start_;
  Clock::time_point lastShown_;
  size_t shownWidth_ = 0;
};

// "3 s", "2 min 5 s", "1 h 4 min".
HOST_API std::string durationText(double seconds);

}  // namespace sim
