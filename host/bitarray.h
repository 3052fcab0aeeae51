// BitArray: a resizable array of bits (vertex and face selections).
#pragma once

#include "host_api.h"

#include <bit>
#include <cstdint>
#include <vector>

class BitArray {
 public:
  BitArray() = default;
  explicit BitArray(int n) { SetSize(n); }

  int GetSize() const { return size_; }
  // Growing keeps the existing bits (new ones clear) when `save` is set, clears all otherwise.
  void SetSize(int n, int save = 0) {
    if (n < 0) n = 0;
    if (!save) words_.assign(static_cast<size_t>((n + 63) / 64), 0);
    else words_.resize(static_cast<size_t>((n + 63) / 64), 0);
    size_ = n;
    trim();
  }
  bool operator[](int i) const { return i >= 0 && i < size_ && ((words_[i >> 6] >> (i & 63)) & 1); }
  void Set(int i) { if (i >= 0 && i < size_) words_[i >> 6] |= uint64_t(1) << (i & 63); }
  void Set(int i, int v) { v ? Set(i) : Clear(i); }
  void Clear(int i) { if (i >= 0 && i < size_) words_[i >> 6] &= ~(uint64_t(1) << (i & 63)); }
  void SetAll() { for (auto& w : words_) w = ~uint64_t(0); trim(); }
  void ClearAll() { for (auto& w : words_) w = 0; }
  int NumberSet() const {
    int n = 0;
    for (auto w : words_) n += std::popcount(w);
    return n;
  }
  bool IsEmpty() const { return NumberSet() == 0; }
  bool operator==(const BitArray& o) const { return size_ == o.size_ && words_ == o.words_; }

 private:
  void trim() {
    if (size_ & 63) words_.back() &= (uint64_t(1) << (size_ & 63)) - 1;
  }
  std::vector<uint64_t> words_;
  int size_ = 0;
};
