// Script properties of host classes. Each host class declares its properties once, in a table of
// name, getter and setter; `isProperty`, `getPropNames`, `getProperty` and assignment all read the
// same tables. The evaluator knows no class by name.
#pragma once

#include "maxscript/classes.h"
#include "ref.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace sim {

// Getters answer a new or interned script value; setters convert the value (raising the language's
// conversion error on a wrong one). A null setter makes the property read-only.
using PropGetter = Value* (*)(ReferenceTarget* target, TimeValue t);
using PropSetter = void (*)(ReferenceTarget* target, TimeValue t, Value* v);

struct PropertyEntry {
  const char* name;
  PropGetter get;
  PropSetter set;
};

// Which objects a table applies to: every class of a super class, or one class exactly, or every
// object a test function accepts (for C++ base classes shared across super classes).
struct PropertyScope {
  SClass_ID superClass = 0;
  Class_ID classID = Class_ID(0, 0);
  bool exactClass = false;
  bool (*accepts)(ReferenceTarget*) = nullptr;
  // Whether getPropNames lists the table's names; the properties every node answers without
  // being its own (.min, .pivot, ...) are not listed, as in the language.
  bool listed = true;
};

// Registers a table; meant to be called from a static initialiser in the file that implements the
// class. Names are matched without case; a later table does not override an earlier entry.
HOST_API bool addPropertyTable(PropertyScope scope, std::initializer_list<PropertyEntry> entries);

// The entry for `name` (an interned Name) on `target`: exact class first, then its super class,
// then tables with a test function.
HOST_API const PropertyEntry* findPropertyEntry(ReferenceTarget* target, Value* name);
HOST_API void listPropertyNames(ReferenceTarget* target, std::vector<std::string>& out);

// Methods of host classes called on their script values (`mod.isActivated()`, `mod.activate b`,
// `lst.getName 2`). Arguments arrive as primitives receive them (positional, then keywords).
using MethodFn = Value* (*)(ReferenceTarget* target, Value** arg_list, int count);
struct MethodEntry {
  const char* name;
  MethodFn fn;
};
HOST_API bool addMethodTable(PropertyScope scope, std::initializer_list<MethodEntry> entries);
HOST_API const MethodEntry* findMethodEntry(ReferenceTarget* target, Value* name);

// The script value standing for a host object: a node, material, controller, ... (undefined for
// null). Implemented by the script runtime.
HOST_API Value* wrapTarget(ReferenceTarget* target);

}  // namespace sim
