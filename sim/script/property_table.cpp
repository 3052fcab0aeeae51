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

// What each class answers, worked out once per class: the tables that apply to it in lookup order
// (exact class, then super class, then tables with a test function), and the entry each name
// resolves to, misses included. Lookups are on the hot path of every script property access. A
// class's C++ type does not change, so neither does the answer of a test; names are interned and
// permanent, so they key by identity. Registering a table forgets everything.
struct ClassTables {
  std::vector<const Table*> tables;
  std::unordered_map<const Value*, const PropertyEntry*> properties;
  std::unordered_map<const Value*, const MethodEntry*> methods;
};

struct ClassCache {
  std::unordered_map<ClassKey, ClassTables, ClassKeyHash> byClass;
  // The two classes asked last: accesses come in runs on a node and its object. Elements of an
  // unordered_map keep their address when it grows.
  ClassKey recentKey[2] = {{0, 0, 0}, {0, 0, 0}};
  ClassTables* recent[2] = {nullptr, nullptr};
  void clear() {
    byClass.clear();
    recent[0] = recent[1] = nullptr;
  }
};

ClassCache& classCache() {
  static auto* cache = new ClassCache;
  return *cache;
}

ClassTables& classTables(ReferenceTarget* target) {
  SClass_ID sclass = target->SuperClassID();
  Class_ID cid = target->ClassID();
  ClassKey key{sclass, cid.PartA(), cid.PartB()};
  ClassCache& cache = classCache();
  if (cache.recent[0] && cache.recentKey[0] == key) return *cache.recent[0];
  if (cache.recent[1] && cache.recentKey[1] == key) return *cache.recent[1];
  auto it = cache.byClass.find(key);
  if (it == cache.byClass.end()) {
    ClassTables found;
    for (int pass = 0; pass < 3; ++pass) {
      for (const Table& t : tables()) {
        const PropertyScope& s = t.scope;
        bool applies = pass == 0   ? (s.exactClass && !s.accepts && s.superClass == sclass && s.classID == cid)
                       : pass == 1 ? (!s.exactClass && !s.accepts && s.superClass == sclass)
                                   : (s.accepts && s.accepts(target));
        if (applies) found.tables.push_back(&t);
      }
    }
    it = cache.byClass.emplace(key, std::move(found)).first;
  }
  cache.recentKey[1] = cache.recentKey[0];
  cache.recent[1] = cache.recent[0];
  cache.recentKey[0] = key;
  cache.recent[0] = &it->second;
  return it->second;
}

const std::vector<const Table*>& applicable(ReferenceTarget* target) { return classTables(target).tables; }

template <class Visit>
bool forEachApplicable(ReferenceTarget* target, Visit&& visit) {
  for (const Table* t : applicable(target))
    if (visit(*t)) return true;
  return false;
}

}  // namespace

bool addPropertyTable(PropertyScope scope, std::initializer_list<PropertyEntry> entries) {
  tables().push_back(Table{scope, std::vector<PropertyEntry>(entries), {}});
  classCache().clear();
  return true;
}

bool addMethodTable(PropertyScope scope, std::initializer_list<MethodEntry> entries) {
  tables().push_back(Table{scope, {}, std::vector<MethodEntry>(entries)});
  classCache().clear();
  return true;
}

const MethodEntry* findMethodEntry(ReferenceTarget* target, Value* name) {
  if (!target || !is_name(name)) return nullptr;
  ClassTables& c = classTables(target);
  auto [it, fresh] = c.methods.try_emplace(name, nullptr);
  if (fresh)
    for (const Table* t : c.tables)
      if ((it->second = findMethodIn(*t, name)) != nullptr) break;
  return it->second;
}

const PropertyEntry* findPropertyEntry(ReferenceTarget* target, Value* name) {
  if (!target || !is_name(name)) return nullptr;
  ClassTables& c = classTables(target);
  auto [it, fresh] = c.properties.try_emplace(name, nullptr);
  if (fresh)
    for (const Table* t : c.tables)
      if ((it->second = findIn(*t, name)) != nullptr) break;
  return it->second;
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
