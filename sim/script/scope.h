// Variables: local scopes (function calls, blocks that declare locals) chained to their lexical
// parents, and the global table. Names are the parser's interned symbols, compared by address.
#pragma once

#include "maxscript/value.h"
#include "script/ast_names.h"

#include <memory>
#include <utility>
#include <vector>

namespace sim::rt {

class StructInstance;

struct Scope {
  explicit Scope(std::shared_ptr<Scope> p = nullptr) : parent(std::move(p)) {}
  std::shared_ptr<Scope> parent;
  std::vector<std::pair<const Symbol*, ValueRef>> vars;
  StructInstance* self = nullptr;  // inside a struct's method: the instance whose members are visible
  // By-reference parameters given a reference: their slot holds a ReferenceValue, and reading or
  // assigning the name goes through it to the caller's place.
  std::vector<const Symbol*> byRef;

  bool isByRef(const Symbol* name) const {
    for (const Symbol* s : byRef)
      if (s == name) return true;
    return false;
  }

  ValueRef* find(const Symbol* name) {
    for (auto& [sym, value] : vars)
      if (sym == name) return &value;
    return nullptr;
  }
  ValueRef& declare(const Symbol* name) {
    if (ValueRef* v = find(name)) return *v;
    vars.emplace_back(name, ValueRef(undefined));
    return vars.back().second;
  }
};

// Where evaluation stands: the innermost scope (null at top level). `topBlock` is set inside a
// parenthesised block at top level, whose undeclared variables are its own, not globals.
struct Env {
  std::shared_ptr<Scope> scope;
  bool topBlock = false;
};

// A global variable: a stable slot that symbols cache.
struct GlobalSlot {
  ValueRef value;
  bool defined = false;
};

}  // namespace sim::rt
