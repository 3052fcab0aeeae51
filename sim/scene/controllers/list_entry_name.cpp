#include "scene/controllers/list_entry_name.h"

#include <unordered_map>
#include <vector>

namespace sim {

namespace {

// The texts by handle (slot 0 stands for "no name") and the handle of each text. Handles of texts
// no longer used are reused. Never freed: lists in static storage may outlive any other static.
struct NameTable {
  struct Slot {
    const std::string* text = nullptr;  // the key in `ids`, whose nodes stay put
    std::uint32_t uses = 0;
  };
  std::vector<Slot> slots{Slot{}};
  std::unordered_map<std::string, std::uint32_t> ids;
  std::vector<std::uint32_t> free;

  std::uint32_t acquire(std::string_view text) {
    auto [it, added] = ids.try_emplace(std::string(text), 0);
    if (added) {
      std::uint32_t id;
      if (!free.empty()) {
        id = free.back();
        free.pop_back();
      } else {
        id = static_cast<std::uint32_t>(slots.size());
        slots.emplace_back();
      }
      slots[id] = Slot{&it->first, 0};
      it->second = id;
    }
    ++slots[it->second].uses;
    return it->second;
  }

  void release(std::uint32_t id) {
    Slot& s = slots[id];
    if (--s.uses > 0) return;
    ids.erase(*s.text);
    s = Slot{};
    free.push_back(id);
  }
};

NameTable& table() {
  static auto* t = new NameTable;
  return *t;
}

const std::string& noText() {
  static const auto* empty = new std::string;
  return *empty;
}

}  // namespace

ListEntryName::ListEntryName(std::string_view text) : id_(table().acquire(text)) {}

ListEntryName::ListEntryName(const ListEntryName& o) : id_(o.id_) {
  if (id_) ++table().slots[id_].uses;
}

ListEntryName::~ListEntryName() {
  if (id_) table().release(id_);
}

const std::string& ListEntryName::text() const { return id_ ? *table().slots[id_].text : noText(); }

size_t ListEntryName::distinctTexts() { return table().ids.size(); }

}  // namespace sim
