// The name of a list controller's entry. Lists that holders fill carry thousands of entries under
// the same few names ("Null", "Captured"), so each distinct text is kept once, counted, and an entry
// holds a four-byte handle to it; the text goes when the last entry that uses it does.
#pragma once

#include "host_api.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

class HOST_API ListEntryName {
 public:
  // No name: the entry shows its controller's class name. Distinct from a name that is empty.
  ListEntryName() = default;
  explicit ListEntryName(std::string_view text);
  ListEntryName(const ListEntryName& o);
  ListEntryName(ListEntryName&& o) noexcept : id_(o.id_) { o.id_ = 0; }
  ListEntryName& operator=(ListEntryName o) noexcept {
    std::swap(id_, o.id_);
    return *this;
  }
  ~ListEntryName();

  bool named() const { return id_ != 0; }
  // The text; empty when unnamed.
  const std::string& text() const;
  bool operator==(const ListEntryName& o) const { return id_ == o.id_; }
  bool operator!=(const ListEntryName& o) const { return id_ != o.id_; }

  // Distinct texts in use by every list: what shows that sharing works.
  static size_t distinctTexts();

 private:
  std::uint32_t id_ = 0;
};

}  // namespace sim
