// Progress of long work on one line of standard error, rewritten in place: what is being done, how
// far along it is and roughly how long is left. Shown only while standard error is a terminal, so
// logs and pipes get nothing.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

class Progress {
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

 private:
  std::string what_;
  int total_;
  std::FILE* out_;
  bool on_;
  Clock::duration quietStart_;
  Clock::time_point start_;
  size_t shownWidth_ = 0;
};

// "3 s", "2 min 5 s", "1 h 4 min".
std::string durationText(double seconds);
