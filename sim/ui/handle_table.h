// Handles that stay safe to hold after what they name is gone: a slot index and a generation,
// never a pointer. A handle of a removed item, or one never given out, finds nothing.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace sim::ui {

template <class T>
class HandleTable {
 public:
  // `tag` (0..3) keeps the handles of different tables apart. Values stay below 2^32, and a handle
  // is never 0.
  explicit HandleTable(unsigned tag) : tag_(tag) {}

  // Null when every slot is in use.
  void* add(std::unique_ptr<T> item) {
    std::uint32_t index;
    // Freed slots are reused oldest first, so a slot's generation turns over as slowly as it can.
    if (!free_.empty() && (free_.size() > kReuseDelay || slots_.size() >= kMaxSlots)) {
      index = free_.front();
      free_.pop_front();
    } else if (slots_.size() < kMaxSlots) {
      index = std::uint32_t(slots_.size());
      slots_.emplace_back();
    } else {
      return nullptr;
    }
    Slot& s = slots_[index];
    s.generation = std::uint16_t((s.generation + 1) & kGenerationMask);
    if (s.generation == 0) s.generation = 1;
    s.item = std::move(item);
    return encode(index, s.generation);
  }

  T* find(const void* handle) const {
    const Slot* s = slot(handle);
    return s ? s->item.get() : nullptr;
  }

  // Takes the item out; its handle finds nothing from now on.
  std::unique_ptr<T> remove(const void* handle) {
    Slot* s = const_cast<Slot*>(slot(handle));
    if (!s) return nullptr;
    free_.push_back(std::uint32_t(s - slots_.data()));
    return std::move(s->item);
  }

  // Every live item with its handle, in slot order.
  template <class F>
  void forEach(F&& f) const {
    for (std::size_t i = 0; i < slots_.size(); ++i)
      if (slots_[i].item) f(encode(std::uint32_t(i), slots_[i].generation), *slots_[i].item);
  }

 private:
  static constexpr std::size_t kMaxSlots = 0xFFFF;
  static constexpr std::size_t kReuseDelay = 64;
  static constexpr unsigned kGenerationMask = 0x3FFF;

  struct Slot {
    std::unique_ptr<T> item;
    std::uint16_t generation = 0;
  };

  void* encode(std::uint32_t index, std::uint16_t generation) const {
    return reinterpret_cast<void*>(std::uintptr_t((std::uint32_t(tag_) << 30) | (std::uint32_t(generation) << 16) |
                                                  (index + 1)));
  }
  const Slot* slot(const void* handle) const {
    auto v = reinterpret_cast<std::uintptr_t>(handle);
    if (v == 0 || (v >> 30) != tag_) return nullptr;
    std::uint32_t index = std::uint32_t(v & 0xFFFF);
    if (index == 0 || index > slots_.size()) return nullptr;
    const Slot& s = slots_[index - 1];
    if (!s.item || s.generation != ((v >> 16) & kGenerationMask)) return nullptr;
    return &s;
  }

  unsigned tag_;
  std::vector<Slot> slots_;
  std::deque<std::uint32_t> free_;
};

}  // namespace sim::ui
