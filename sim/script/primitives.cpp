#include "maxscript/primitives.h"

#include "core/text.h"
#include "maxscript/streams.h"
#include "script/primitive_table.h"

#include <algorithm>

namespace sim {

PrimitiveTable& PrimitiveTable::instance() {
  static PrimitiveTable* table = new PrimitiveTable;  // outlives every static primitive
  return *table;
}

void PrimitiveTable::add(Primitive* p) {
  std::string name = toLowerAscii(p->name);
  if (p->struct_name) members_[toLowerAscii(p->struct_name)][name] = p;
  else globals_[name] = p;
}

void PrimitiveTable::remove(Primitive* p) {
  std::string name = toLowerAscii(p->name);
  if (p->struct_name) {
    auto it = members_.find(toLowerAscii(p->struct_name));
    if (it != members_.end() && it->second[name] == p) it->second.erase(name);
  } else {
    auto it = globals_.find(name);
    if (it != globals_.end() && it->second == p) globals_.erase(it);
  }
}

Primitive* PrimitiveTable::find(std::string_view name) const {
  auto it = globals_.find(toLowerAscii(name));
  return it == globals_.end() ? nullptr : it->second;
}

Primitive* PrimitiveTable::findMember(std::string_view structName, std::string_view member) const {
  auto s = members_.find(toLowerAscii(structName));
  if (s == members_.end()) return nullptr;
  auto m = s->second.find(toLowerAscii(member));
  return m == s->second.end() ? nullptr : m->second;
}

bool PrimitiveTable::isStruct(std::string_view structName) const {
  std::string key = toLowerAscii(structName);
  return members_.count(key) || properties_.count(key);
}

std::vector<std::string> PrimitiveTable::names() const {
  std::vector<std::string> all;
  for (const auto& [name, p] : globals_) all.push_back(name);
  for (const auto& [structName, members] : members_)
    for (const auto& [name, p] : members) all.push_back(structName + "." + name);
  std::sort(all.begin(), all.end());
  return all;
}

void PrimitiveTable::defineProperty(std::string_view structName, std::string_view property, StructGetter g,
                                    StructSetter s) {
  properties_[toLowerAscii(structName)][toLowerAscii(property)] = StructProperty{g, s};
}

const StructProperty* PrimitiveTable::findProperty(std::string_view structName, std::string_view property) const {
  auto s = properties_.find(toLowerAscii(structName));
  if (s == properties_.end()) return nullptr;
  auto p = s->second.find(toLowerAscii(property));
  return p == s->second.end() ? nullptr : &p->second;
}

}  // namespace sim

Function::Function(const TCHAR* n, const TCHAR* s) : name(n ? n : ""), struct_name(s) {}
Function::~Function() = default;
void Function::sprin1(CharStream* s) { s->printf("%s()", name); }

Primitive::Primitive(const TCHAR* n, PrimitiveFn fn, short initFlags) : Function(n), fn_ptr(fn), flags(initFlags) {
  tag = class_tag(Primitive);
  make_permanent();
  sim::PrimitiveTable::instance().add(this);
}

Primitive::Primitive(const TCHAR* n, const TCHAR* structName, PrimitiveFn fn, short initFlags)
    : Function(n, structName), fn_ptr(fn), flags(initFlags) {
  tag = class_tag(Primitive);
  make_permanent();
  sim::PrimitiveTable::instance().add(this);
}

Primitive::~Primitive() { sim::PrimitiveTable::instance().remove(this); }

Value* Primitive::apply(Value** arg_list, int count) { return fn_ptr(arg_list, count); }

int count_positional_args(Value** arg_list, int count) {
  for (int i = 0; i < count; ++i)
    if (arg_list[i] == &keyarg_marker_value) return i;
  return count;
}

Value* _get_key_arg(Value** arg_list, int count, Value* key_name) {
  for (int i = count_positional_args(arg_list, count) + 1; i + 1 < count; i += 2)
    if (arg_list[i] == key_name) return arg_list[i + 1];
  return &unsupplied;
}

Value* _get_key_arg_or_default(Value** arg_list, int count, Value* key_name, Value* def) {
  Value* v = _get_key_arg(arg_list, count, key_name);
  return v == &unsupplied ? def : v;
}

void define_struct_global(const TCHAR* name, const TCHAR* structName, StructGetter getter, StructSetter setter) {
  if (name && structName) sim::PrimitiveTable::instance().defineProperty(structName, name, getter, setter);
}
