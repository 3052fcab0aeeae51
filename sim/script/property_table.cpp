#include "script/property_table.h"

#include "core/text.h"

#include <memory>
#include <unordered_map>

namespace sim {
namespace {

struct Table {
  PropertyScope scope;
  std::vector<PropertyEntry> entries;
  std::vector<MethodEntry> methods;
};

std::vector<Table>& tables() {
  static auto* t = new std::vector<Table>;  // filled by static initialisers; never torn down
  return *t;
}

const MethodEntry* findMethodIn(const Table& table, Value* name) {
  const std::string& lower = static_cast<Name*>(name)->lower;
  for (const MethodEntry& m : table.methods)
    if (equalsIgnoreCase(m.name, lower)) return &m;
  return nullptr;
}

const PropertyEntry* findIn(const Table& table, Value* name) {
  const std::string& lower = static_cast<Name*>(name)->lower;
  for (const PropertyEntry& e : table.entries)
    if (equalsIgnoreCase(e.name, lower)) return &e;
  return nullptr;
}

struct ClassKey {
  SClass_ID sclass;
  ULONG a, b;
  bool operator==(const ClassKey& o) const { return sclass == o.sclass && a == o.a && b == o.b; }
};
struct ClassKeyHash {
  size_t operator()(const ClassKey& k) const { return (size_t(k.sclass) * 0x9E3779B1u) ^ (size_t(k.a) << 1) ^ k.b; }
};

// The tables that apply to each class, in lookup order (exact class, then super class, then tables
// with a test function), worked out once per class: lookups are on the hot path of every script
// property access. A class's C++ type does not change, so neither does the answer of a test.
std::unordered_map<ClassKey, std::vector<const Table*>, ClassKeyHash>& applicableCache() {
  static auto* cache = new std::unordered_map<ClassKey, std::vector<const Table*>, ClassKeyHash>;
  return *cache;
}

const std::vector<const Table*>& applicable(ReferenceTarget* target) {
  SClass_ID sclass = target->SuperClassID();
  Class_ID cid = target->ClassID();
  ClassKey key{sclass, cid.PartA(), cid.PartB()};
  auto& cache = applicableCache();
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  std::vector<const Table*> list;
  for (int pass = 0; pass < 3; ++pass) {
    for (const Table& t : tables()) {
      const PropertyScope& s = t.scope;
      bool applies = pass == 0   ? (s.exactClass && !s.accepts && s.superClass == sclass && s.classID == cid)
                     : pass == 1 ? (!s.exactClass && !s.accepts && s.superClass == sclass)
                                 : (s.accepts && s.accepts(target));
      if (applies) list.push_back(&t);
    }
  }
  return cache.emplace(key, std::move(list)).first->second;
}

template <class Visit>
bool forEachApplicable(ReferenceTarget* target, Visit&& visit) {
  for (const Table* t : applicable(target))
    if (visit(*t)) return true;
  return false;
}

}  // namespace

bool addPropertyTable(PropertyScope scope, std::initializer_list<PropertyEntry> entries) {
  tables().push_back(Table{scope, std::vector<PropertyEntry>(entries), {}});
  applicableCache().clear();
  return true;
}

bool addMethodTable(PropertyScope scope, std::initializer_list<MethodEntry> entries) {
  tables().push_back(Table{scope, {}, std::vector<MethodEntry>(entries)});
  applicableCache().clear();
  return true;
}

const MethodEntry* findMethodEntry(ReferenceTarget* target, Value* name) {
  if (!target || !is_name(name)) return nullptr;
  const MethodEntry* found = nullptr;
  forEachApplicable(target, [&](const Table& t) { return (found = findMethodIn(t, name)) != nullptr; });
  return found;
}

const PropertyEntry* findPropertyEntry(ReferenceTarget* target, Value* name) {
  if (!target || !is_name(name)) return nullptr;
  const PropertyEntry* found = nullptr;
  forEachApplicable(target, [&](const Table& t) { return (found = findIn(t, name)) != nullptr; });
  return found;
}

void listPropertyNames(ReferenceTarget* target, std::vector<std::string>& out) {
  if (!target) return;
  forEachApplicable(target, [&](const Table& t) {
    if (!t.scope.listed) return false;
    for (const PropertyEntry& e : t.entries) {
      bool seen = false;
      for (const std::string& n : out) seen = seen || equalsIgnoreCase(n, e.name);
      if (!seen) out.emplace_back(e.name);
    }
    return false;
  });
}

}  // namespace sim
