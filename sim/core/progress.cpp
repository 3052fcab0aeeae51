#include "core/progress.h"

#include "os/terminal.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

// Work that ends within this long shows nothing at all.
constexpr Progress::Clock::duration kQuietStart = std::chrono::milliseconds(500);

int& openProgresses() {
  static int n = 0;
  return n;
}

}  // namespace

Progress::Progress(std::string what, int total)
    : Progress(std::move(what), total, stderr, os::stderrIsTerminal(), kQuietStart) {}

Progress::Progress(std::string what, int total, std::FILE* out, bool shown, Clock::duration quietStart)
    : what_(std::move(what)),
      total_(std::max(total, 1)),
      out_(out),
      on_(shown),
      outermost_(openProgresses()++ == 0),
      quietStart_(quietStart),
      start_(Clock::now()) {}

Progress::~Progress() {
  --openProgresses();
  if (shownWidth_ == 0) return;
  std::fprintf(out_, "\r%s\r", std::string(shownWidth_, ' ').c_str());
  std::fflush(out_);
}

void Progress::step(int done, const std::string& detail) {
  show(static_cast<double>(done) / total_,
       detail + " (" + std::to_string(done + 1) + " of " + std::to_string(total_) + ")");
}

void Progress::percent(int pct, const std::string& detail) {
  pct = std::clamp(pct, 0, 100);
  show(pct / 100.0, (detail.empty() ? "" : detail + ", ") + std::to_string(pct) + "%");
}

void Progress::show(double fractionDone, const std::string& text) {
  if (!on_ || !outermost_) return;
  const Clock::duration elapsed = Clock::now() - start_;
  if (elapsed < quietStart_) return;
  // A terminal redrawn for every one of 40,000 nodes costs more than the work it shows.
  const Clock::time_point now = start_ + elapsed;
  if (shownWidth_ > 0 && now - lastShown_ < quietStart_ / 5) return;
  lastShown_ = now;
  std::string line = what_ + ": " + text;
  if (fractionDone > 0) {
    const double seconds = std::chrono::duration<double>(elapsed).count();
    line += ", about " + durationText(seconds / fractionDone * (1 - fractionDone)) + " left";
  }
  const size_t width = line.size();
  if (width < shownWidth_) line.append(shownWidth_ - width, ' ');
  std::fprintf(out_, "\r%s", line.c_str());
  std::fflush(out_);
  shownWidth_ = std::max(shownWidth_, width);
}

std::string durationText(double seconds) {
  const long s = std::lround(std::max(seconds, 0.0));
  if (s < 60) return std::to_string(s) + " s";
  if (s < 3600) return std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s";
  return std::to_string(s / 3600) + " h " + std::to_string(s / 60 % 60) + " min";
}

}  // namespace sim
