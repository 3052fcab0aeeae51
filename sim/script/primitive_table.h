// Where the runtime finds primitives and struct globals by name (names compared without case).
#pragma once

#include "maxscript/primitives.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sim {

struct StructProperty {
  StructGetter getter = nullptr;
  StructSetter setter = nullptr;
};

class HOST_API PrimitiveTable {
 public:
  static PrimitiveTable& instance();

  void add(Primitive* p);
  void remove(Primitive* p);
  // A global primitive, or a member of a struct global (`theHold.QZMRelease`).
  Primitive* find(std::string_view name) const;
  Primitive* findMember(std::string_view structName, std::string_view member) const;
  bool isStruct(std::string_view structName) const;

  void defineProperty(std::string_view structName, std::string_view property, StructGetter g, StructSetter s);
  const StructProperty* findProperty(std::string_view structName, std::string_view property) const;

  size_t size() const { return globals_.size(); }
  // Every primitive's name, a struct member's as `struct.member`, sorted: for tools that call each
  // one (the fuzz targets), so that a new primitive needs no list of its own.
  std::vector<std::string> names() const;

 private:
  std::unordered_map<std::string, Primitive*> globals_;
  std::unordered_map<std::string, std::unordered_map<std::string, Primitive*>> members_;
  std::unordered_map<std::string, std::unordered_map<std::string, StructProperty>> properties_;
};

}  // namespace sim
