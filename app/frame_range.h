// Frame ranges on the command line ("0-99", "7", "-10--1") and their division into chunks for farm
// tasks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct FrameRange {
  int first = 0;
  int last = 0;
  long long count() const { return static_cast<long long>(last) - first + 1; }
  // "A-B", or "A" for one frame; what parseFrameRange reads back.
  std::string text() const;
};

// Reads "A-B" (both ends included) or "A"; frames may be negative. False, with `error` a sentence
// naming the text, when it is empty, not a range, reversed, or has a frame beyond `limit` either way
// (the host's time ends there).
bool parseFrameRange(std::string_view text, int limit, FrameRange& out, std::string& error);

// The range cut into pieces of `size` frames in order, the last one shorter when it must.
std::vector<FrameRange> chunksOf(const FrameRange& range, int size);
