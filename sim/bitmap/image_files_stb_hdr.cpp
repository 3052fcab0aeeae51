// A Radiance HDR file's rows, walked before stb decodes them. stb's decoder takes a count byte of 0
// in a run-length row (which is what it reads past the end of a file cut short) as an empty run and
// never leaves the row, so a row that does not add up to its width is found here first.
#include "bitmap/image_files_stb.h"

namespace sim::stbfiles {

namespace {

// The bytes of a Radiance HDR file from its first one, taken line by line as stb takes its header.
class HdrCursor {
 public:
  explicit HdrCursor(const Bytes& file) : f_(file) {}

  // Past the next line; whether it was empty (stb ends the header at a line that starts with NUL too).
  bool skipLine() {
    const size_t start = at_;
    while (at_ < f_.size() && f_[at_] != '\n') ++at_;
    const bool empty = at_ == start || f_[start] == 0;
    if (at_ < f_.size()) ++at_;
    return empty;
  }

  size_t left() const { return f_.size() - at_; }
  unsigned char peek(size_t k) const { return f_[at_ + k]; }
  unsigned char take() { return f_[at_++]; }
  void skip(size_t n) { at_ += n; }

 private:
  const Bytes& f_;
  size_t at_ = 0;
};

// One component of a run-length row, `width` long: runs (a count above 128 and one value) and dumps
// (a count of 1 to 128 and that many values), neither longer than what is left of the row.
bool componentWhole(HdrCursor& in, int width) {
  for (int i = 0; i < width;) {
    if (in.left() < 1) return false;
    int count = in.take();
    size_t values = 1;
    if (count > 128) {
      count -= 128;
    } else {
      values = size_t(count);
    }
    if (count == 0 || count > width - i || in.left() < values) return false;
    in.skip(values);
    i += count;
  }
  return true;
}

}  // namespace

bool hdrRowsWhole(const Bytes& file, int width, int height) {
  HdrCursor in(file);
  in.skipLine();  // the signature
  while (!in.skipLine()) {
  }
  in.skipLine();  // the resolution, already read as width and height
  // Rows this narrow or this wide are flat pixels, four bytes each, which stb reads to the end.
  if (width < 8 || width >= 32768) return true;
  for (int y = 0; y < height; ++y) {
    if (in.left() < 4) return false;
    // A row without the run-length mark makes stb read the rest as flat pixels.
    if (in.peek(0) != 2 || in.peek(1) != 2 || (in.peek(2) & 0x80)) return true;
    if ((in.peek(2) << 8 | in.peek(3)) != width) return false;
    in.skip(4);
    for (int component = 0; component < 4; ++component)
      if (!componentWhole(in, width)) return false;
  }
  return true;
}

}  // namespace sim::stbfiles
