// Tab<T>: the host's growable array of plain values (pointers, numbers, small structs).
#pragma once

#include "host_api.h"

#include <algorithm>
#include <vector>

template <class T>
class Tab {
 public:
  Tab() = default;
  int Count() const { return static_cast<int>(v_.size()); }
  // Sets the number of entries; new entries are value-initialised (null, zero).
  int SetCount(int n, BOOL resize = TRUE) {
    v_.resize(n < 0 ? 0 : static_cast<size_t>(n));
    return Count();
  }
  void ZeroCount() { v_.clear(); }
  void Init() { v_.clear(); }
  void Resize(int n) { if (n > 0) v_.reserve(static_cast<size_t>(n)); }
  void Shrink() { v_.shrink_to_fit(); }
  // Appends `num` entries copied from `el`; returns the index of the first.
  int Append(int num, const T* el, int allocExtra = 0) {
    int at = Count();
    if (num > 0 && el) v_.insert(v_.end(), el, el + num);
    return at;
  }
  // Inserts `num` entries at `at` (clamped to the end); returns `at`.
  int Insert(int at, int num, const T* el) {
    at = std::clamp(at, 0, Count());
    if (num > 0 && el) v_.insert(v_.begin() + at, el, el + num);
    return at;
  }
  // Deletes `num` entries from `start`; returns the count left.
  int Delete(int start, int num) {
    if (start < 0 || start >= Count() || num <= 0) return Count();
    num = std::min(num, Count() - start);
    v_.erase(v_.begin() + start, v_.begin() + start + num);
    return Count();
  }
  T& operator[](int i) { return v_[static_cast<size_t>(i)]; }
  const T& operator[](int i) const { return v_[static_cast<size_t>(i)]; }
  T* Addr(int i) { return v_.data() + i; }
  bool operator==(const Tab& o) const { return v_ == o.v_; }

  std::vector<T>& vector() { return v_; }
  const std::vector<T>& vector() const { return v_; }

 private:
  std::vector<T> v_;
};
