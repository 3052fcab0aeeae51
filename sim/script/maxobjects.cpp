// Script values for host objects. A property of a wrapped object is found, in this order, in the
// property table of its class, in its parameter blocks, in its published interfaces and among its
// sub-animations; a node then looks at its base object.
#include "script/script_failure.h"
#include "maxscript/maxobjects.h"

#include "control.h"
#include "core/class_registry.h"
#include "imtl.h"
#include "core/fp_call.h"
#include "core/ref_graph.h"
#include "core/text.h"
#include "inode.h"
#include "maxscript/maxscript.h"
#include "object.h"
#include "scene/scene_node.h"
#include "script/evaluator.h"
#include "script/fp_conversion.h"
#include "script/param_values.h"
#include "script/published_calls.h"
#include "script/property_table.h"
#include "script/runtime.h"
#include "script/scene_access.h"

#include <unordered_map>

ValueMetaClass MAXWrapper_class("MAXWrapper");
ValueMetaClass MAXClass_class("MAXClass");
ValueMetaClass MAXSuperClass_class("MAXSuperClass");

namespace sim::rt {

const std::string& lowerName(Value* prop) { return static_cast<Name*>(prop)->lower; }

int findSubAnim(Animatable* a, const std::string& lower) { return subAnimIndexNamed(a, lower); }

// Where properties are looked for on `t`: the object itself, then for a node its base object.
ReferenceTarget* baseObjectOfNode(ReferenceTarget* t) {
  INode* node = nodeOf(t);
  return node ? baseObjectOf(node) : nullptr;
}

// Whether the class of `t` publishes any mixin interface, known per class: most classes publish
// none, and every property access that gets past the tables and blocks asks. Worked out again when
// the registered classes change or the class's descriptor gains an interface.
bool publishesInterfaces(ReferenceTarget* t) {
  struct Known {
    ClassDesc* desc;
    int interfaces;
    bool mixins;
  };
  struct Key {
    SClass_ID sclass;
    ULONG a, b;
    bool operator==(const Key& o) const { return sclass == o.sclass && a == o.a && b == o.b; }
  };
  struct KeyHash {
    size_t operator()(const Key& k) const { return (size_t(k.sclass) * 0x9E3779B1u) ^ (size_t(k.a) << 1) ^ k.b; }
  };
  static auto* known = new std::unordered_map<Key, Known, KeyHash>;
  static unsigned generation = 0;
  ClassRegistry& registry = ClassRegistry::instance();
  if (generation != registry.generation()) {
    known->clear();
    generation = registry.generation();
  }
  const Class_ID cid = t->ClassID();
  auto [it, fresh] = known->try_emplace(Key{t->SuperClassID(), cid.PartA(), cid.PartB()}, Known{nullptr, 0, false});
  Known& k = it->second;
  if (fresh) k.desc = registry.find(t->SuperClassID(), cid);
  if (!k.desc) return false;
  if (fresh || k.desc->NumInterfaces() != k.interfaces) {
    k.interfaces = k.desc->NumInterfaces();
    k.mixins = false;
    for (int i = 0; i < k.interfaces && !k.mixins; ++i) {
      FPInterface* fpi = k.desc->GetInterfaceAt(i);
      FPInterfaceDesc* d = fpi ? fpi->GetDesc() : nullptr;
      k.mixins = d && (d->flags & FP_MIXIN);
    }
  }
  return k.mixins;
}

std::vector<FPInterface*> interfacesPublishedBy(ReferenceTarget* t) {
  return publishesInterfaces(t) ? publishedInterfaces(t) : std::vector<FPInterface*>{};
}

bool tryGet(ReferenceTarget* t, Value* prop, TimeValue time, Value*& out) {
  if (const PropertyEntry* e = findPropertyEntry(t, prop)) {
    if (!e->get) throw RuntimeError("Property is write-only: ", prop);
    out = e->get(t, time);
    return true;
  }
  if (ParamRef p = findParam(t, prop)) {
    out = getParam(p, time);
    return true;
  }
  for (FPInterface* fpi : interfacesPublishedBy(t)) {
    if (!findPropDef(fpi, lowerName(prop))) continue;
    FPValue r;
    FPCallOutcome o = getPublishedProperty(fpi, lowerName(prop), r, time);
    if (o.ok()) {
      out = fromFPValue(r);
      return true;
    }
  }
  int sub = findSubAnim(t, lowerName(prop));
  if (sub >= 0) {
    out = wrapSubAnim(t, sub);
    return true;
  }
  return false;
}

bool trySet(ReferenceTarget* t, Value* prop, TimeValue time, Value* v) {
  if (const PropertyEntry* e = findPropertyEntry(t, prop)) {
    if (!e->set) throw RuntimeError("Cannot set read-only property: ", prop);
    e->set(t, time, v);
    return true;
  }
  if (ParamRef p = findParam(t, prop)) {
    setParam(p, time, v);
    return true;
  }
  for (FPInterface* fpi : interfacesPublishedBy(t)) {
    FPPropDef* pd = findPropDef(fpi, lowerName(prop));
    if (!pd) continue;
    FPValue fv;
    toFPValue(v, pd->prop_type, fv);
    FPCallOutcome o = setPublishedProperty(fpi, lowerName(prop), fv, time);
    if (o.error == FPCallError::ReadOnly) throw RuntimeError("Cannot set read-only property: ", prop);
    return true;
  }
  return false;
}

bool tryHas(ReferenceTarget* t, Value* prop) {
  if (findPropertyEntry(t, prop) || findParam(t, prop)) return true;
  for (FPInterface* fpi : interfacesPublishedBy(t))
    if (findPropDef(fpi, lowerName(prop))) return true;
  return findSubAnim(t, lowerName(prop)) >= 0;
}

std::vector<FPInterface*> interfacesOfObject(ReferenceTarget* t) {
  std::vector<FPInterface*> out = interfacesPublishedBy(t);
  if (ReferenceTarget* base = baseObjectOfNode(t))
    for (FPInterface* fpi : interfacesPublishedBy(base)) out.push_back(fpi);
  return out;
}

// Calls published function `name` of `fpi` with script arguments converted by its description.
Value* callPublished(FPInterface* fpi, Value* name, Value** arg_list, int count) {
  FPFunctionDef* fd = findFunctionDef(fpi, lowerName(name));
  if (!fd) return nullptr;
  int positional = count_positional_args(arg_list, count);
  if (positional > fd->NumParams() || positional < fd->NumRequiredParams())
    throw ArgCountError(fd->internal_name.data(), fd->NumParams(), positional);
  FPParams params;
  for (int i = 0; i < positional; ++i) {
    params.params.vector().emplace_back();
    toFPValue(arg_list[i], fd->params[i]->type, params.params.vector().back());
  }
  FPValue result;
  FPCallOutcome o = callPublishedFunction(fpi, lowerName(name), params, result, Runtime::get().time());
  switch (o.error) {
    case FPCallError::None: break;
    case FPCallError::ArgCount: throw ArgCountError(fd->internal_name.data(), o.expected, o.given);
    case FPCallError::ArgType: throw TypeError("Argument of the wrong type for ", Name::intern(fd->internal_name.data()));
    default: throw RuntimeError("Call of published function failed: ", Name::intern(fd->internal_name.data()));
  }
  return fromFPValue(result);
}

}  // namespace sim::rt

using namespace sim::rt;
using sim::PropertyEntry;
using sim::MethodEntry;
using sim::findPropertyEntry;
using sim::findMethodEntry;
using sim::listPropertyNames;

// ---- MAXWrapper --------------------------------------------------------------------------------

MAXWrapper::MAXWrapper(ReferenceTarget* target) : target_(target) {
  tag = &MAXWrapper_class;
  if (target_) RefGraph::hold(target_);
}

MAXWrapper::~MAXWrapper() {
  if (target_) RefGraph::unhold(target_, true);
}

ReferenceTarget* MAXWrapper::target() const { return target_ && !target_->IsDeleted() ? target_ : nullptr; }

ReferenceTarget* MAXWrapper::checked() const {
  if (!target()) throw RuntimeError("Attempt to access deleted scene object");
  return target_;
}

Mtl* MAXWrapper::to_mtl() {
  ReferenceTarget* t = checked();
  auto* m = dynamic_cast<Mtl*>(t);
  if (!m || t->SuperClassID() != MATERIAL_CLASS_ID) throw ConversionError(this, "Material");
  return m;
}

Texmap* MAXWrapper::to_texmap() {
  ReferenceTarget* t = checked();
  auto* m = dynamic_cast<Texmap*>(t);
  if (!m || t->SuperClassID() != TEXMAP_CLASS_ID) throw ConversionError(this, "TextureMap");
  return m;
}

Control* MAXWrapper::to_controller() {
  ReferenceTarget* t = checked();
  if (!isController(t)) throw ConversionError(this, "Controller");
  return static_cast<Control*>(t);
}

INode* MAXWrapper::to_node() { throw ConversionError(this, "MAXNode"); }

bool MAXWrapper::equals(Value* other) {
  auto* w = dynamic_cast<MAXWrapper*>(other);
  return w && w->target_ == target_;
}

void MAXWrapper::sprin1(CharStream* s) {
  ReferenceTarget* t = target();
  if (!t) {
    s->puts("<Deleted object>");
    return;
  }
  TSTR cls;
  t->GetClassName(cls);
  s->puts(cls.isNull() ? "MAXObject" : cls.data());
  Value* name = Name::intern("name");
  if (const PropertyEntry* e = findPropertyEntry(t, name); e && e->get) {
    s->puts(":");
    e->get(t, 0)->sprint(s);
  }
}

Value* MAXWrapper::get_property(Value* prop) {
  ReferenceTarget* t = checked();
  TimeValue time = Runtime::get().time();
  Value* out = nullptr;
  if (tryGet(t, prop, time, out)) return out;
  // Every animatable has its count of sub-animations, not listed among its properties.
  if (lowerName(prop) == "numsubs") return Integer::intern(t->NumSubs());
  if (ReferenceTarget* base = baseObjectOfNode(t); base && tryGet(base, prop, time, out)) return out;
  // A node's modifiers are its properties by name ($Box01.Bend).
  if (INode* node = nodeOf(t))
    if (Modifier* m = findModifier(node, lowerName(prop))) return sim::wrapTarget(m);
  if (Value* fpi = objectInterfaceNamed(this, lowerName(prop))) return fpi;
  return unknown_property(this, prop);
}

Value* MAXWrapper::set_property(Value* prop, Value* v) {
  ReferenceTarget* t = checked();
  TimeValue time = Runtime::get().time();
  if (trySet(t, prop, time, v)) return v;
  if (ReferenceTarget* base = baseObjectOfNode(t); base && trySet(base, prop, time, v)) return v;
  return unknown_property(this, prop);
}

bool MAXWrapper::has_property(Value* prop) {
  ReferenceTarget* t = target();
  if (!t || !is_name(prop)) return false;
  if (tryHas(t, prop)) return true;
  ReferenceTarget* base = baseObjectOfNode(t);
  if (base && tryHas(base, prop)) return true;
  INode* node = nodeOf(t);
  if (node && findModifier(node, lowerName(prop))) return true;
  for (FPInterface* fpi : interfacesOfObject(t))
    if (fpi->GetDesc() && sim::equalsIgnoreCase(fpi->GetDesc()->internal_name.data(), lowerName(prop))) return true;
  return false;
}

void MAXWrapper::get_property_names(Array* names) {
  ReferenceTarget* t = target();
  if (!t) return;
  std::vector<std::string> list;
  listPropertyNames(t, list);
  listParams(t, list);
  if (ReferenceTarget* base = baseObjectOfNode(t)) {
    listPropertyNames(base, list);
    listParams(base, list);
  }
  std::vector<std::string> seen;
  for (const std::string& n : list) {
    bool dup = false;
    for (const std::string& m : seen) dup = dup || sim::equalsIgnoreCase(m, n);
    if (dup) continue;
    seen.push_back(n);
    names->append(Name::intern(n.c_str()));
  }
}

// Indexing an object reaches its sub-animations, 1-based (list controllers: lst[2].controller) or
// by name (box.baseObject[#width]), unless its class indexes something else through `get` and
// `put` methods (a multimaterial's sub-materials, a modifier stack by name).
Value* MAXWrapper::get_index(Value* index) {
  ReferenceTarget* t = checked();
  if (const sim::MethodEntry* get = sim::findMethodEntry(t, Name::intern("get"))) {
    Value* args[] = {index};
    return get->fn(t, args, 1);
  }
  if (is_name(index)) return subAnimNamed(t, static_cast<Name*>(index)->lower);
  int i = index->to_int();
  if (i < 1 || i > t->NumSubs()) throw RuntimeError("Array index out of bounds: ", index);
  return wrapSubAnim(t, i - 1);
}

Value* MAXWrapper::set_index(Value* index, Value* v) {
  ReferenceTarget* t = checked();
  if (const sim::MethodEntry* put = sim::findMethodEntry(t, Name::intern("put"))) {
    Value* args[] = {index, v};
    return put->fn(t, args, 2);
  }
  throw RuntimeError("Cannot assign to a sub-animation index: ", index);
}

Value* MAXWrapper::call_method(Value* name, Value** arg_list, int count) {
  ReferenceTarget* t = checked();
  for (ReferenceTarget* obj : {t, baseObjectOfNode(t)}) {
    if (!obj) continue;
    if (const MethodEntry* m = findMethodEntry(obj, name)) return m->fn(obj, arg_list, count);
    for (FPInterface* fpi : interfacesPublishedBy(obj))
      if (Value* r = callPublished(fpi, name, arg_list, count)) return r;
  }
  return nullptr;
}

Value* MAXWrapper::copy_vf() {
  ReferenceTarget* t = checked();
  DefaultRemapDir remap;
  ReferenceTarget* c = remap.CloneRef(t);
  remap.Backpatch();
  if (!c) throw RuntimeError("Cannot copy: ", this);
  return sim::wrapTarget(c);
}

// ---- MAXNode -----------------------------------------------------------------------------------

MAXNode::MAXNode(INode* node) : MAXWrapper(node) { tag = class_tag(MAXNode); }

Value* MAXNode::intern(INode* node) { return node ? static_cast<Value*>(new MAXNode(node)) : undefined; }

INode* MAXNode::node() const { return static_cast<INode*>(target()); }

INode* MAXNode::to_node() { return static_cast<INode*>(checked()); }

// A node is a collection of itself, as `$` is with one node selected: `for o in $ do` runs once.
Array* MAXNode::as_collection() {
  checked();
  auto* a = static_cast<Array*>(keep(new Array(1)));
  a->append(this);
  return a;
}

void MAXNode::sprin1(CharStream* s) {
  INode* n = node();
  if (!n) {
    s->puts("<Deleted scene node>");
    return;
  }
  std::string cls = "Node";
  if (ReferenceTarget* base = baseObjectOf(n)) {
    TSTR c;
    base->GetClassName(c);
    if (!c.isNull()) cls = c.str();
  }
  s->printf("$%s:%s", cls.c_str(), n->GetName());
  Value* posName = Name::intern("position");
  if (const PropertyEntry* e = findPropertyEntry(n, posName); e && e->get) {
    s->puts(" @ ");
    e->get(n, Runtime::get().time())->sprin1(s);
  }
}

Value* MAXNode::copy_vf() {
  INode* n = sim::cloneNode(to_node(), sim::NodeClone::Copy);
  if (!n) throw RuntimeError("Cannot copy: ", this);
  return MAXNode::intern(n);
}

// ---- classes -----------------------------------------------------------------------------------

MAXClass::MAXClass(ClassDesc* c) : cd(c) { tag = &MAXClass_class; }
void MAXClass::sprin1(CharStream* s) { s->puts(cd && cd->ClassName() ? cd->ClassName() : "?"); }
bool MAXClass::equals(Value* other) {
  auto* c = dynamic_cast<MAXClass*>(other);
  return c && c->cd == cd;
}

// A class id reads as the pair of its parts, each the 32-bit integer script sees (so large parts
// read negative, as they do in the application).
Value* MAXClass::get_property(Value* prop) {
  const std::string& n = static_cast<Name*>(prop)->lower;
  if (cd && n == "classid") {
    auto* a = new Array(2);
    a->append(Integer::intern(static_cast<int>(cd->ClassID().PartA())));
    a->append(Integer::intern(static_cast<int>(cd->ClassID().PartB())));
    return a;
  }
  if (cd && n == "superclassid") return Integer::intern(static_cast<int>(cd->SuperClassID()));
  if (cd && n == "category") return new String(cd->Category() ? cd->Category() : "");
  return unknown_property(this, prop);
}
bool MAXClass::has_property(Value* prop) {
  const std::string& n = static_cast<Name*>(prop)->lower;
  return cd && (n == "classid" || n == "superclassid" || n == "category");
}

MAXSuperClass::MAXSuperClass(const TCHAR* n, SClass_ID i) : name(n), id(i) { tag = &MAXSuperClass_class; }
void MAXSuperClass::sprin1(CharStream* s) { s->puts(name); }
