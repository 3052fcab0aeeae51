#include "output_pattern.h"

#include "bitmap/image_formats.h"

#include <filesystem>

bool OutputPattern::parse(const std::string& pattern, long long frames, std::string& error) {
  namespace fs = std::filesystem;
  const fs::path path(pattern);
  const std::string name = path.filename().string();
  if (name.empty() || !sim::formatForFile(name)) {
    error = "the output '" + pattern + "' does not end in an image file ending (" + sim::knownImageEndings() + ")";
    return false;
  }
  folder_ = path.has_parent_path() ? path.parent_path().string() : ".";
  // Only the file name's '#' count: a folder may have one in its name.
  const size_t nameAt = pattern.size() - name.size();
  const size_t run = name.find('#');
  if (run == std::string::npos) {
    if (frames > 1) {
      error = "the output '" + pattern + "' has no run of # for the frame number, so " + std::to_string(frames) +
              " frames would overwrite each other";
      return false;
    }
    before_ = pattern;
    width_ = 0;
    return true;
  }
  const size_t runEnd = name.find_first_not_of('#', run);
  const size_t end = runEnd == std::string::npos ? name.size() : runEnd;
  if (name.find('#', end) != std::string::npos) {
    error = "the output '" + pattern + "' has more than one run of # in its file name";
    return false;
  }
  before_ = pattern.substr(0, nameAt + run);
  after_ = pattern.substr(nameAt + end);
  width_ = static_cast<int>(end - run);
  return true;
}

std::string OutputPattern::fileFor(int frame) const {
  if (width_ == 0) return before_;
  const std::string digits = std::to_string(frame < 0 ? -static_cast<long long>(frame) : frame);
  const std::string sign = frame < 0 ? "-" : "";
  const size_t shown = sign.size() + digits.size();
  const std::string zeros(shown < size_t(width_) ? size_t(width_) - shown : 0, '0');
  return before_ + sign + zeros + digits + after_;
}
