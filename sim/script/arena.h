// The storage of a syntax tree's nodes.
#pragma once

#include "host_api.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <string_view>
#include <type_traits>

namespace sim::script {

// Bump allocation for the nodes of one text; everything is freed at once with the arena. The first
// block sits inside the arena itself, so a short text costs no allocation beyond its tree.
class HOST_API Arena {
 public:
  Arena() = default;
  Arena(const Arena&) = delete;
  Arena& operator=(const Arena&) = delete;
  ~Arena();

  void* allocate(std::size_t size, std::size_t align) {
    auto at = (reinterpret_cast<std::uintptr_t>(cur_) + align - 1) & ~(std::uintptr_t(align) - 1);
    auto end = reinterpret_cast<std::uintptr_t>(end_);
    if (at > end || size > end - at) return grow(size, align);
    cur_ = reinterpret_cast<char*>(at + size);
    return reinterpret_cast<char*>(at);
  }

  template <class T>
  T* make() {
    static_assert(std::is_trivially_destructible_v<T>, "arena objects are never destroyed");
    return new (allocate(sizeof(T), alignof(T))) T();
  }
  template <class T>
  std::span<const T> copy(std::span<const T> items) {
    static_assert(std::is_trivially_copyable_v<T>);
    if (items.empty()) return {};
    T* p = static_cast<T*>(allocate(sizeof(T) * items.size(), alignof(T)));
    for (std::size_t i = 0; i < items.size(); ++i) p[i] = items[i];
    return {p, items.size()};
  }
  std::string_view copy(std::string_view text);

 private:
  struct Block {
    Block* next;
  };
  void* grow(std::size_t size, std::size_t align);
  static constexpr std::size_t kInline = 2048;
  alignas(std::max_align_t) char inline_[kInline];
  char* cur_ = inline_;
  char* end_ = inline_ + kInline;
  Block* blocks_ = nullptr;
  std::size_t nextBlock_ = 8192;
};

}  // namespace sim::script
