// The host's lists of reference links (what a maker holds, who depends on a target): short lists
// kept in place. Most makers hold a few targets and most targets have one or two dependents; a heap
// block for every one of them was a large share of the cost of loading or clearing a big scene.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>

template <typename T, unsigned N>
class RefList {
 public:
  RefList() = default;
  ~RefList() {
    if (data_ != inline_) delete[] data_;
  }
  RefList(const RefList&) = delete;
  RefList& operator=(const RefList&) = delete;

  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }
  std::reverse_iterator<T*> rbegin() { return std::reverse_iterator<T*>(end()); }
  std::reverse_iterator<T*> rend() { return std::reverse_iterator<T*>(begin()); }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](size_t i) { return data_[i]; }
  T& front() { return data_[0]; }
  T& back() { return data_[size_ - 1]; }

  void push_back(T v) {
    if (size_ == cap_) grow();
    data_[size_++] = v;
  }
  void pop_back() { --size_; }
  T* erase(T* pos) { return erase(pos, pos + 1); }
  T* erase(T* first, T* last) {
    std::move(last, end(), first);
    size_ -= static_cast<unsigned>(last - first);
    return first;
  }

 private:
  void grow() {
    const unsigned cap = cap_ * 2;
    T* bigger = new T[cap];
    std::copy(begin(), end(), bigger);
    if (data_ != inline_) delete[] data_;
    data_ = bigger;
    cap_ = cap;
  }

  T* data_ = inline_;
  unsigned size_ = 0;
  unsigned cap_ = N;
  T inline_[N];
};
