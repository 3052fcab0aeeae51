#include "scene/node_index.h"

#include "core/c_format.h"
#include "core/text.h"
#include "scene/scene_node.h"

#include <algorithm>

namespace sim {

bool NodeIndex::splitNumber(std::string_view name, std::string& stem, long& number) {
  size_t digits = 0;
  while (digits < name.size() && name[name.size() - 1 - digits] >= '0' && name[name.size() - 1 - digits] <= '9') ++digits;
  if (digits == 0 || digits > 6 || digits == name.size()) return false;
  stem.assign(name.substr(0, name.size() - digits));
  number = std::stol(std::string(name.substr(name.size() - digits)));
  return true;
}

void NodeIndex::addName(SceneNode* node, std::string_view name) {
  std::string lower = toLowerAscii(name);
  auto& list = byName_[lower];
  // Keep creation order (handles grow), so that the first node of a name is found first.
  auto at = std::upper_bound(list.begin(), list.end(), node, [](SceneNode* a, SceneNode* b) { return a->GetHandle() < b->GetHandle(); });
  list.insert(at, node);
  std::string stem;
  long n = 0;
  if (splitNumber(lower, stem, n)) {
    Numbers& nums = numbers_[stem];
    ++nums.used[n];
    while (nums.used.count(nums.firstFree) && nums.used[nums.firstFree] > 0) ++nums.firstFree;
  }
}

void NodeIndex::removeName(SceneNode* node, std::string_view name) {
  std::string lower = toLowerAscii(name);
  auto it = byName_.find(lower);
  if (it == byName_.end()) return;
  auto& list = it->second;
  auto pos = std::find(list.begin(), list.end(), node);
  if (pos == list.end()) return;
  list.erase(pos);
  if (list.empty()) byName_.erase(it);
  std::string stem;
  long n = 0;
  if (splitNumber(lower, stem, n)) {
    auto ns = numbers_.find(stem);
    if (ns == numbers_.end()) return;
    auto u = ns->second.used.find(n);
    if (u != ns->second.used.end() && --u->second <= 0) {
      ns->second.used.erase(u);
      if (n >= 1 && n < ns->second.firstFree) ns->second.firstFree = n;
    }
    if (ns->second.used.empty()) numbers_.erase(ns);
  }
}

void NodeIndex::add(SceneNode* node) {
  if (!node) return;
  addName(node, node->GetName());
  byHandle_[node->GetHandle()] = node;
  ++count_;
}

void NodeIndex::remove(SceneNode* node) {
  if (!node) return;
  removeName(node, node->GetName());
  byHandle_.erase(node->GetHandle());
  if (count_ > 0) --count_;
}

void NodeIndex::rename(SceneNode* node, std::string_view oldName) {
  removeName(node, oldName);
  addName(node, node->GetName());
}

void NodeIndex::clear() {
  byName_.clear();
  numbers_.clear();
  byHandle_.clear();
  count_ = 0;
}

SceneNode* NodeIndex::find(std::string_view name) const {
  auto it = byName_.find(toLowerAscii(name));
  return it == byName_.end() || it->second.empty() ? nullptr : it->second.front();
}

SceneNode* NodeIndex::findHandle(unsigned long handle) const {
  auto it = byHandle_.find(handle);
  return it == byHandle_.end() ? nullptr : it->second;
}

std::vector<SceneNode*> NodeIndex::findAll(std::string_view name) const {
  auto it = byName_.find(toLowerAscii(name));
  return it == byName_.end() ? std::vector<SceneNode*>() : it->second;
}

std::string NodeIndex::uniqueName(std::string_view base) {
  std::string lowerBase = toLowerAscii(base);
  long k = 1;
  if (!lowerBase.empty() && !(lowerBase.back() >= '0' && lowerBase.back() <= '9')) {
    auto it = numbers_.find(lowerBase);
    if (it != numbers_.end()) k = it->second.firstFree;
  } else {
    // A base ending in a digit: its numbered names split differently; look each candidate up.
    auto taken = [&](long n) {
      for (int width = 1; width <= 6; ++width) {
        std::string digits = c_format("%0*ld", width, n);
        if (static_cast<int>(digits.size()) == width && byName_.count(lowerBase + digits)) return true;
      }
      return false;
    };
    while (k < 1000000 && taken(k)) ++k;
  }
  return std::string(base) + c_format("%02ld", k);
}

}  // namespace sim
