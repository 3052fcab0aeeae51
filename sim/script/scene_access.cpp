#include "script/scene_access.h"
#include "script/script_failure.h"

#include "script/creation_level.h"

#include "bitarray.h"
#include "control.h"
#include "istdplug.h"
#include "core/c_format.h"
#include "core/param_block2.h"
#include "core/ref_graph.h"
#include "core/text.h"
#include "inode.h"
#include "maxapi.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "object.h"
#include "scene/scene_node.h"
#include "script/evaluator.h"
#include "script/param_values.h"
#include "script/property_table.h"
#include "script/runtime.h"
#include "script/value_limits.h"

#include <algorithm>

namespace sim::rt {
namespace {

ValueMetaClass SubAnim_class("SubAnim");
ValueMetaClass BitArray_class("BitArray");

const std::string& lowerName(Value* v) { return static_cast<Name*>(v)->lower; }


// The controller under a sub-animation slot, or null. Told by super class rather than by a cast:
// every class of a controller super class is a Control, and this runs for each slot of a search.
ReferenceTarget* controllerIn(Animatable* sub) {
  return sub && isControllerClass(sub->SuperClassID()) ? static_cast<Control*>(sub) : nullptr;
}

// The sub-animation named `lower` that holds a controller, searched a few levels down (a node's
// position lives under its transform controller). Answers the parent and the index. Each level's
// own names come before any level below it.
bool findControllerSlot(Animatable* root, const std::string& lower, Animatable*& parent, int& index, int depth = 0) {
  if (!root || depth > 3) return false;
  const int n = root->NumSubs();
  if (int i = subAnimIndexNamed(root, lower); i >= 0) {
    parent = root;
    index = i;
    return true;
  }
  for (int i = 0; i < n; ++i) {
    Animatable* sub = controllerIn(root->SubAnim(i));
    if (sub && findControllerSlot(sub, lower, parent, index, depth + 1)) return true;
  }
  return false;
}

// `pos` is the script's short name of a node's position.
const std::string& controllerSlotName(Value* name) {
  static const std::string position = "position";
  const std::string& lower = lowerName(name);
  return lower == "pos" ? position : lower;
}

// A new list put in a controller slot takes the slot's controller over as its first entry (its
// Copy), as the application does. Other new controllers start as they are made.
void takeOver(Animatable* c, Control* old) {
  auto* fresh = dynamic_cast<Control*>(c);
  if (fresh && old && fresh != old && fresh->NumDependents() == 0 && fresh->GetInterface(LIST_CONTROLLER_INTERFACE))
    fresh->Copy(old);
}

bool assignInSlot(Animatable* parent, int index, Animatable* c) {
  takeOver(c, index < parent->NumSubs() ? dynamic_cast<Control*>(parent->SubAnim(index)) : nullptr);
  return parent->AssignController(c, index);
}

class SubAnimValue : public Value {
 public:
  SubAnimValue(ReferenceTarget* parent, int index) : hold_(parent), parent_(parent), index_(index) {
    tag = &SubAnim_class;
  }
  Animatable* sub() const {
    if (parent_->IsDeleted()) throw RuntimeError("Attempt to access deleted scene object");
    return index_ < parent_->NumSubs() ? parent_->SubAnim(index_) : nullptr;
  }
  Value* subValue() const { return wrapTarget(dynamic_cast<ReferenceTarget*>(sub())); }
  Value* get_property(Value* prop) override {
    const std::string& n = lowerName(prop);
    if (n == "controller") {
      auto* rt = dynamic_cast<ReferenceTarget*>(sub());
      return rt && isController(rt) ? wrapTarget(rt) : undefined;
    }
    if (n == "value") {
      ParamRef p = param();
      if (p) return getParam(p, Runtime::get().time());
    }
    if (n == "name") return new ::String(parent_->SubAnimName(index_).data());
    if (n == "object") return subValue();
    if (n == "numsubs") {
      Animatable* a = sub();
      return Integer::intern(a ? a->NumSubs() : 0);
    }
    Value* v = keep(subValue());
    if (v == undefined) return unknown_property(this, prop);
    return v->get_property(prop);
  }
  Value* set_property(Value* prop, Value* v) override {
    if (lowerName(prop) == "controller") {
      Animatable* c = v == undefined ? nullptr : v->to_reftarg();
      if (!assignInSlot(parent_, index_, c)) throw RuntimeError("Cannot assign this controller: ", v);
      return v;
    }
    if (lowerName(prop) == "value") {
      ParamRef p = param();
      if (p) {
        setParam(p, Runtime::get().time(), v);
        return v;
      }
    }
    Value* s = keep(subValue());
    if (s == undefined) return unknown_property(this, prop);
    return s->set_property(prop, v);
  }
  bool has_property(Value* prop) override {
    const std::string& n = lowerName(prop);
    return n == "controller" || n == "name" || n == "object" || n == "numsubs" || (n == "value" && param());
  }
  Value* get_index(Value* index) override { return keep(subValue())->get_index(index); }
  // A parameter block's slot is its parameter, which has a value with or without a controller.
  ParamRef param() const {
    auto* pb = dynamic_cast<ParamBlock2*>(parent_);
    if (!pb || parent_->IsDeleted()) return {};
    ParamID id = pb->SubAnimParamID(index_);
    return id < 0 ? ParamRef{} : ParamRef{pb, id};
  }
  void sprin1(CharStream* s) override { s->printf("SubAnim:%s", subAnimScriptName(parent_->SubAnimName(index_)).c_str()); }
  // The animatable under this slot, for the functions that take one (getSubAnim, numSubs, ...).
  ReferenceTarget* to_reftarg() override {
    auto* rt = dynamic_cast<ReferenceTarget*>(sub());
    if (!rt) throw ConversionError(this, "MAXWrapper");
    return rt;
  }

 private:
  sim::KeepAlive hold_;
  ReferenceTarget* parent_;
  int index_;
};

class BitArrayValue : public Value {
 public:
  BitArrayValue() { tag = &BitArray_class; }
  BitArray bits;
  Value* get_index(Value* index) override {
    int i = index->to_int();
    if (i < 1) throw RuntimeError("BitArray index out of bounds: ", index);
    return bool_result(bits[i - 1]);
  }
  Value* set_index(Value* index, Value* v) override {
    int i = index->to_int();
    if (i < 1 || i > kMaxElementIndex) throw RuntimeError("BitArray index out of bounds: ", index);
    if (i > bits.GetSize()) bits.SetSize(i, 1);
    bits.Set(i - 1, v->to_bool());
    return v;
  }
  Value* get_property(Value* prop) override {
    const std::string& n = lowerName(prop);
    if (n == "count") return Integer::intern(bits.GetSize());
    if (n == "numberset") return Integer::intern(bits.NumberSet());
    return unknown_property(this, prop);
  }
  bool has_property(Value* prop) override { return lowerName(prop) == "count" || lowerName(prop) == "numberset"; }
  // By the members set: trailing unset bits (a larger count) make no difference.
  bool equals(Value* other) override {
    if (other->tag != tag) return false;
    const BitArray& o = static_cast<BitArrayValue*>(other)->bits;
    const int n = std::max(bits.GetSize(), o.GetSize());
    for (int i = 0; i < n; ++i)
      if ((i < bits.GetSize() && bits[i]) != (i < o.GetSize() && o[i])) return false;
    return true;
  }
  Array* as_collection() override {
    auto* a = static_cast<Array*>(keep(new Array));
    for (int i = 0; i < bits.GetSize(); ++i)
      if (bits[i]) a->append(Integer::intern(i + 1));
    return a;
  }
  void sprin1(CharStream* s) override {
    std::string out = "#{";
    bool first = true;
    for (int i = 0; i < bits.GetSize();) {
      if (!bits[i]) {
        ++i;
        continue;
      }
      int j = i;
      while (j + 1 < bits.GetSize() && bits[j + 1]) ++j;
      if (!first) out += ", ";
      first = false;
      out += j > i ? sim::c_format("%d..%d", i + 1, j + 1) : sim::c_format("%d", i + 1);
      i = j + 1;
    }
    s->puts((out + "}").c_str());
  }
  Value* copy_vf() override {
    auto* c = new BitArrayValue;
    c->bits = bits;
    return c;
  }
};

ReferenceTarget* wrapperTarget(Value* v) {
  auto* w = dynamic_cast<MAXWrapper*>(v);
  return w ? w->checked() : nullptr;
}

}  // namespace

std::string subAnimScriptName(const TSTR& shown) {
  std::string name = shown.str();
  for (char& c : name) c = sim::scriptNameChar(c);
  return name;
}

bool subAnimNameMatches(const TSTR& shown, const std::string& lower) { return sim::scriptNameEquals(shown.str(), lower); }

// A node knows its slots' names without making them; other animatables are asked slot by slot.
int subAnimIndexNamed(Animatable* a, const std::string& lower) {
  if (a->SuperClassID() == BASENODE_CLASS_ID) return static_cast<SceneNode*>(a)->subAnimNamed(lower);
  for (int i = 0, n = a->NumSubs(); i < n; ++i)
    if (subAnimNameMatches(a->SubAnimName(i), lower)) return i;
  return -1;
}

bool isController(ReferenceTarget* t) { return t && isControllerClass(t->SuperClassID()); }

bool isControllerClass(SClass_ID sclass) {
  switch (sclass) {
    case CTRL_FLOAT_CLASS_ID:
    case CTRL_POINT3_CLASS_ID:
    case CTRL_POINT4_CLASS_ID:
    case CTRL_FRGBA_CLASS_ID:
    case CTRL_POSITION_CLASS_ID:
    case CTRL_ROTATION_CLASS_ID:
    case CTRL_SCALE_CLASS_ID:
    case CTRL_MATRIX3_CLASS_ID: return true;
    default: return false;
  }
}

INode* nodeOf(ReferenceTarget* t) { return t && t->SuperClassID() == BASENODE_CLASS_ID ? static_cast<INode*>(t) : nullptr; }

ReferenceTarget* baseObjectOf(INode* node) {
  if (!node) return nullptr;
  Object* obj = node->GetObjectRef();
  // Modifier stacks (derived objects, world-space ones over object-space ones) wrap the base object.
  for (int guard = 0; obj && guard < 64; ++guard) {
    SClass_ID s = obj->SuperClassID();
    if (s != GEN_DERIVOB_CLASS_ID && s != DERIVOB_CLASS_ID && s != WSM_DERIVOB_CLASS_ID) break;
    auto* d = dynamic_cast<IDerivedObject*>(obj);
    if (!d) break;
    obj = d->GetObjRef();
  }
  return obj;
}

Modifier* findModifier(INode* node, const std::string& lower) {
  Object* obj = node ? node->GetObjectRef() : nullptr;
  for (int guard = 0; obj && guard < 64; ++guard) {
    SClass_ID s = obj->SuperClassID();
    if (s != GEN_DERIVOB_CLASS_ID && s != DERIVOB_CLASS_ID && s != WSM_DERIVOB_CLASS_ID) break;
    auto* d = dynamic_cast<IDerivedObject*>(obj);
    if (!d) break;
    for (int i = 0; i < d->NumModifiers(); ++i) {
      Modifier* m = d->GetModifier(i);
      if (m && sim::equalsIgnoreCase(m->GetName().str(), lower)) return m;
    }
    obj = d->GetObjRef();
  }
  return nullptr;
}

Value* wrapSubAnim(ReferenceTarget* parent, int index) { return new SubAnimValue(parent, index); }

Value* subAnimNamed(ReferenceTarget* parent, const std::string& lower) {
  if (int i = subAnimIndexNamed(parent, lower); i >= 0) return wrapSubAnim(parent, i);
  for (int i = 0, n = parent->NumSubs(); i < n; ++i) {
    auto* pb = dynamic_cast<ParamBlock2*>(parent->SubAnim(i));
    if (!pb) continue;
    for (int k = 0, m = pb->NumSubs(); k < m; ++k)
      if (subAnimNameMatches(pb->SubAnimName(k), lower)) return wrapSubAnim(pb, k);
  }
  return undefined;
}

bool isSubAnim(Value* v) { return v && v->tag == &SubAnim_class; }

Value* getPropertyValue(Value* obj, Value* name) { return obj->get_property(name); }

void setPropertyValue(Value* obj, Value* name, Value* v) { obj->set_property(name, v); }

Value* getPropertyController(Value* owner, Value* name) {
  ReferenceTarget* t = wrapperTarget(owner);
  if (!t) return undefined;
  for (ReferenceTarget* obj : {t, nodeOf(t) ? baseObjectOf(nodeOf(t)) : nullptr}) {
    if (!obj) continue;
    Animatable* parent = nullptr;
    int index = -1;
    if (findControllerSlot(obj, controllerSlotName(name), parent, index)) {
      ReferenceTarget* c = controllerIn(parent->SubAnim(index));
      return c ? wrapTarget(c) : undefined;
    }
    if (ParamRef p = findParam(obj, name)) {
      ReferenceTarget* c = p.block->GetControllerByID(p.id);
      return c ? wrapTarget(c) : undefined;
    }
  }
  return undefined;
}

void setPropertyController(Value* owner, Value* name, Value* controller) {
  ReferenceTarget* t = wrapperTarget(owner);
  if (!t) throw AccessorError(owner, name);
  Animatable* c = controller == undefined ? nullptr : controller->to_reftarg();
  for (ReferenceTarget* obj : {t, nodeOf(t) ? baseObjectOf(nodeOf(t)) : nullptr}) {
    if (!obj) continue;
    Animatable* parent = nullptr;
    int index = -1;
    if (findControllerSlot(obj, controllerSlotName(name), parent, index)) {
      if (!assignInSlot(parent, index, c)) throw RuntimeError("Cannot assign this controller: ", controller);
      return;
    }
    if (ParamRef p = findParam(obj, name)) {
      auto* ctrl = c ? dynamic_cast<Control*>(c) : nullptr;
      if (ctrl) takeOver(ctrl, p.block->GetControllerByID(p.id));
      if ((c && !ctrl) || !p.block->SetControllerByID(p.id, 0, ctrl, sim::takesOverCurrentValue(ctrl)))
        throw RuntimeError("Cannot assign this controller: ", controller);
      return;
    }
  }
  throw AccessorError(owner, name);
}

Value* makeBitArray(const BitArrayLiteral& literal, Env& env) {
  auto* b = static_cast<BitArrayValue*>(keep(new BitArrayValue));
  auto setBit = [&](int i) {
    if (i < 1 || i > kMaxElementIndex) throw RuntimeError("BitArray index out of bounds: ", Integer::intern(i));
    if (i > b->bits.GetSize()) b->bits.SetSize(i, 1);
    b->bits.Set(i - 1);
  };
  for (const Expr* item : literal.items) {
    if (const Range* r = item->tryAs<Range>()) {
      int from = Evaluator::eval(r->from, env)->to_int(), to = Evaluator::eval(r->to, env)->to_int();
      for (int i = from; i <= to; ++i) setBit(i);
    } else {
      setBit(Evaluator::eval(item, env)->to_int());
    }
  }
  return b;
}

Value* bitArrayValue(const BitArray& bits) {
  auto* b = static_cast<BitArrayValue*>(keep(new BitArrayValue));
  b->bits = bits;
  return b;
}

Value* bitArrayClass() { return &BitArray_class; }

BitArray toBitArray(Value* v) {
  if (auto* b = dynamic_cast<BitArrayValue*>(v)) return b->bits;
  if (!is_array(v)) throw ConversionError(v, "BitArray");
  auto* a = static_cast<Array*>(v);
  BitArray bits;
  for (int k = 0; k < a->size; ++k) {
    int i = a->data[k]->to_int();
    if (i < 1 || i > kMaxElementIndex) throw RuntimeError("BitArray index out of bounds: ", a->data[k]);
    if (i > bits.GetSize()) bits.SetSize(i, 1);
    bits.Set(i - 1);
  }
  return bits;
}

Value* constructFromClass(Value* cls, Value** args, int count) {
  auto* c = dynamic_cast<MAXClass*>(cls);
  if (!c) return nullptr;
  bool sceneObject = false;
  switch (c->cd->SuperClassID()) {
    case GEOMOBJECT_CLASS_ID: case SHAPE_CLASS_ID: case LIGHT_CLASS_ID: case CAMERA_CLASS_ID:
    case HELPER_CLASS_ID: case WSM_OBJECT_CLASS_ID: case SYSTEM_CLASS_ID: sceneObject = true; break;
    default: break;
  }
  // Asked first: a level whose node is gone refuses before anything is made.
  INode* parent = sceneObject ? sim::creationParent() : nullptr;
  auto* obj = static_cast<ReferenceTarget*>(static_cast<Animatable*>(c->cd->Create(FALSE)));
  if (!obj) throw RuntimeError("Cannot create an instance of ", cls);
  Value* result;
  Value* object = nullptr;  // the new scene object's own value, beside its node
  if (sceneObject) {
    // Scene objects come on a new node, as when the host creates them.
    INode* node = GetCOREInterface()->CreateObjectNode(static_cast<Object*>(obj));
    if (parent) parent->AttachChild(node, 1);
    result = keep(MAXNode::intern(node));
    object = keep(wrapTarget(obj));
  } else {
    result = keep(wrapTarget(obj));
  }
  // Keyword arguments set properties, in the order given. A parameter of the object whose name a
  // node property takes read-only (a teapot's `handle`) is the object's to set.
  int positional = count_positional_args(args, count);
  for (int i = positional + 1; i + 1 < count; i += 2) {
    Value* target = result;
    if (object) {
      ReferenceTarget* node = result->to_reftarg();
      const sim::PropertyEntry* e = sim::findPropertyEntry(node, args[i]);
      if (e && !e->set && object->has_property(args[i])) target = object;
    }
    target->set_property(args[i], args[i + 1]);
  }
  return result;
}

}  // namespace sim::rt

namespace sim {
Value* wrapTarget(ReferenceTarget* target) {
  if (!target) return undefined;
  if (INode* node = rt::nodeOf(target)) return new MAXNode(node);
  return new MAXWrapper(target);
}
}  // namespace sim
