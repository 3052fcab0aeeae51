// The pass manager's scrambled script files: each byte is shifted by an amount that depends on its
// position. A counter j runs 1..61 and wraps to 0 at every 62nd byte (which is shifted by a fixed
// 22); the other positions are shifted by j plus an offset drawn from the host's generator
// (reseeded with 679 + j after every draw), plus 12 more on even positions. Bytes below 33 are
// never shifted, and on even positions tab and line feed trade places. The script library's FileIn_
// reads this form and qzmhost --scramble writes it; both walk the positions with this schedule.
#pragma once

#include "random.h"

class ScrambleSchedule {
 public:
  ScrambleSchedule() { generator_.srand(kBaseSeed); }

  // Moves on to the next byte of the file (the first call reaches the first byte).
  void advance() {
    ++j_;
    const int k = j_ % 62;
    if (j_ > 61) j_ = 0;
    const int offset = generator_.rand() % 40 + 1;
    generator_.srand(kBaseSeed + static_cast<unsigned>(j_));
    shift_ = k == 0 ? 22 : (j_ % 2 == 0 ? j_ + offset + 12 : j_ + offset);
  }
  // What a byte of 33 or more at this position is shifted by.
  int shift() const { return shift_; }
  bool swapsTabAndLineFeed() const { return j_ % 2 == 0; }

 private:
  static constexpr unsigned kBaseSeed = 679;
  Random generator_;
  int j_ = 0;
  int shift_ = 0;
};
