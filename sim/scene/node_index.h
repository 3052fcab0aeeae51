// The scene's node index: nodes by name (without case) and by handle, so that finding a node and
// making a new unique name cost the same in a scene of ten nodes and of a hundred thousand.
#pragma once

#include "host_api.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sim {

class SceneNode;

class HOST_API NodeIndex {
 public:
  void add(SceneNode* node);
  void remove(SceneNode* node);
  // Moves `node` from `oldName` to its current name.
  void rename(SceneNode* node, std::string_view oldName);
  void clear();
  // The node of that name created first, or null.
  SceneNode* find(std::string_view name) const;
  // Every node of that name, in creation order.
  std::vector<SceneNode*> findAll(std::string_view name) const;
  // The node of the scene with that handle, or null.
  SceneNode* findHandle(unsigned long handle) const;
  // <base>NN with the smallest NN from 01 that no node uses (names of <base> followed by up to six
  // digits count as used, whatever their number of leading zeros).
  std::string uniqueName(std::string_view base);
  size_t size() const { return count_; }

 private:
  struct Numbers {
    std::unordered_map<long, int> used;  // number -> how many nodes carry it
    long firstFree = 1;                   // no number below it is free
  };
  void addName(SceneNode* node, std::string_view name);
  void removeName(SceneNode* node, std::string_view name);
  // The stem and number of a name that ends in 1..6 digits after a non-empty stem.
  static bool splitNumber(std::string_view lowerName, std::string& stem, long& number);

  std::unordered_map<std::string, std::vector<SceneNode*>> byName_;  // lower-case name -> nodes
  std::unordered_map<std::string, Numbers> numbers_;                   // lower-case stem -> numbers used
  std::unordered_map<unsigned long, SceneNode*> byHandle_;
  size_t count_ = 0;
};

}  // namespace sim
