#include "frame_range.h"

#include <algorithm>
#include <charconv>

std::string FrameRange::text() const {
  return first == last ? std::to_string(first) : std::to_string(first) + "-" + std::to_string(last);
}

namespace {

// One frame number at the front of `text` (a minus sign and digits); advances `text` past it.
bool readFrame(std::string_view& text, long long& frame) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), frame);
  if (ec != std::errc() || end == text.data()) return false;
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  return true;
}

}  // namespace

bool parseFrameRange(std::string_view text, int limit, FrameRange& out, std::string& error) {
  const std::string quoted = "'" + std::string(text) + "'";
  if (text.empty()) {
    error = "the frame range is empty (give A-B, or one frame A)";
    return false;
  }
  std::string_view rest = text;
  long long first = 0, last = 0;
  // from_chars reads no plus sign, and a range has exactly one separating minus after the first frame.
  bool ok = readFrame(rest, first);
  if (ok && rest.empty()) {
    last = first;
  } else {
    ok = ok && rest.size() > 1 && rest[0] == '-';
    if (ok) rest.remove_prefix(1);
    ok = ok && readFrame(rest, last) && rest.empty();
  }
  if (!ok) {
    error = "the frame range " + quoted + " is not one (give A-B, or one frame A)";
    return false;
  }
  if (last < first) {
    error = "the frame range " + quoted + " is reversed: it ends before it starts";
    return false;
  }
  if (first < -static_cast<long long>(limit) || last > limit) {
    error = "the frame range " + quoted + " reaches beyond the host's time (frames -" + std::to_string(limit) + " to " +
            std::to_string(limit) + ")";
    return false;
  }
  out.first = static_cast<int>(first);
  out.last = static_cast<int>(last);
  return true;
}

std::vector<FrameRange> chunksOf(const FrameRange& range, int size) {
  std::vector<FrameRange> chunks;
  if (size < 1) size = 1;
  for (long long start = range.first; start <= range.last; start += size) {
    const long long end = std::min<long long>(start + size - 1, range.last);
    chunks.push_back({static_cast<int>(start), static_cast<int>(end)});
  }
  return chunks;
}
