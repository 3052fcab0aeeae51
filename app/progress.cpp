#include "progress.h"

#include "os/terminal.h"

#include <algorithm>
#include <cmath>

namespace {
// Work that ends within this long shows nothing at all.
constexpr Progress::Clock::duration kQuietStart = std::chrono::milliseconds(500);
}  // namespace

Progress::Progress(std::string what, int total)
    : Progress(std::move(what), total, stderr, sim::os::stderrIsTerminal(), kQuietStart) {}

Progress::Progress(std::string what, int total, std::FILE* out, bool shown, Clock::duration quietStart)
    : what_(std::move(what)), total_(std::max(total, 1)), out_(out), on_(shown), quietStart_(quietStart), start_(Clock::now()) {}

Progress::~Progress() {
  if (shownWidth_ == 0) return;
  std::fprintf(out_, "\r%s\r", std::string(shownWidth_, ' ').c_str());
  std::fflush(out_);
}

void Progress::step(int done, const std::string& detail) {
  if (!on_) return;
  const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
  if (Clock::now() - start_ < quietStart_) return;
  std::string line = what_ + ": " + detail + " (" + std::to_string(done + 1) + " of " + std::to_string(total_) + ")";
  if (done > 0) line += ", about " + durationText(elapsed / done * (total_ - done)) + " left";
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
