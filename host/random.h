// Random: the host's pseudo-random generator. The sequence is fixed on every platform: a linear
// congruential generator, state = state * 214013 + 2531011 (mod 2^32), each draw giving bits 16-30
// of the new state (0 to 32767). A fresh generator starts from seed 1.
#pragma once

#include "host_api.h"

class HOST_API Random {
 public:
  static constexpr int s_rand_max = 0x7fff;

  Random() = default;
  void srand(unsigned int seed = 1) { state_ = seed; }
  int rand() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7fff);
  }
  // A float in [0, max), and an integer in [min, max_exclusive).
  float getf(float max = 1.0f, float min = 0.0f) { return min + (max - min) * (float(rand()) / float(s_rand_max + 1)); }
  int get(int max_exclusive = s_rand_max + 1, int min = 0) {
    if (max_exclusive <= min) return min;
    return min + rand() % (max_exclusive - min);
  }

 private:
  unsigned int state_ = 1;
};
