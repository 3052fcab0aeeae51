// Keys as script values: a controller's `keys` (also `obj.prop.keys`), each key with `time`,
// `value`, `selected`, `inTangentType` and `outTangentType`, and the key functions (addNewKey, deleteKey, getKey, ...). A key value
// names its controller and an index, as the language's keys do; keys stay in time order, so a key
// whose time is set follows its key to the new index and `sortKeys` has nothing left to do.
//
// Compound controllers (position_xyz, the node transform, lists) have the keys of the controllers
// under them: a key at a time is every leaf key at that time, moved and selected together.
// deleteKeys, selectKeys, deselectKeys and moveKeys also take any scene object or a collection of
// them, and then act on every track under their sub-animations, as the Track View's object rows do.
#include "script/script_failure.h"
#include "animate.h"
#include "control.h"
#include "core/ref_graph.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "scene/controllers/controllers.h"
#include "script/evaluator.h"
#include "script/property_table.h"
#include "script/scene_access.h"
#include "script/time_values.h"

#include <set>
#include <string>
#include <vector>

namespace {

ValueMetaClass MAXKey_class("MAXKey");
ValueMetaClass MAXKeyArray_class("MAXKeyArray");

const std::string& lowerName(Value* v) { return static_cast<Name*>(v)->lower; }

constexpr int kMaxDepth = 8;

// As a time value prints.
void printTime(CharStream* s, TimeValue t) { s->printf("%gf", double(t) / GetTicksPerFrame()); }

// Calls f(leaf, index) for every leaf key at `t` under `c`.
template <class F>
void forLeafKeysAt(Control* c, TimeValue t, F&& f, int depth = 0) {
  if (!c || depth > kMaxDepth) return;
  if (auto* leaf = dynamic_cast<sim::KeyEditing*>(c)) {
    int i = c->GetKeyIndex(t);
    if (i >= 0) f(leaf, i);
    return;
  }
  for (int i = 0, n = c->NumSubs(); i < n; ++i) forLeafKeysAt(dynamic_cast<Control*>(c->SubAnim(i)), t, f, depth + 1);
}

bool keySelected(Control* c, TimeValue t) {
  bool any = false, all = true;
  forLeafKeysAt(c, t, [&](sim::KeyEditing* k, int i) {
    any = true;
    all = all && k->keySelected(i);
  });
  return any && all;
}

void selectKeyAt(Control* c, TimeValue t, bool on) {
  forLeafKeysAt(c, t, [&](sim::KeyEditing* k, int i) { k->selectKey(i, on); });
}

// The tangent of the first leaf key at `t`: the keys under a compound key are set together, so
// any one of them answers for all.
Value* tangentAt(Control* c, TimeValue t, bool in) {
  bool found = false;
  sim::TangentType type = sim::kDefaultTangent;
  forLeafKeysAt(c, t, [&](sim::KeyEditing* k, int i) {
    if (!found) type = k->keyTangent(i, in);
    found = true;
  });
  return Name::intern(sim::tangentTypeName(type));
}

void setTangentAt(Control* c, TimeValue t, bool in, Value* v) {
  sim::TangentType type;
  if (!is_name(v) || !sim::tangentTypeFromName(lowerName(v).c_str(), type))
    throw RuntimeError("Unknown tangent type: ", v);
  forLeafKeysAt(c, t, [&](sim::KeyEditing* k, int i) { k->setKeyTangent(i, in, type); });
}

// Answers the key's index after the move.
int moveKeyAt(Control* c, TimeValue from, TimeValue to) {
  if (from != to) forLeafKeysAt(c, from, [&](sim::KeyEditing* k, int i) { k->moveKey(i, to); });
  return c->GetKeyIndex(to);
}

Value* valueAt(Control* c, TimeValue t) {
  const sim::PropertyEntry* e = sim::findPropertyEntry(c, Name::intern("value"));
  return e && e->get ? e->get(c, t) : undefined;
}

// Setting a key's value is setting the controller's value at the key's time with animate on.
void setValueAt(Control* c, TimeValue t, Value* v) {
  const sim::PropertyEntry* e = sim::findPropertyEntry(c, Name::intern("value"));
  if (!e || !e->set) throw RuntimeError("Cannot set the value of this key: ", v);
  bool was = Animating();
  AnimateOn();
  try {
    e->set(c, t, v);
  } catch (...) {
    if (!was) AnimateOff();
    throw;
  }
  if (!was) AnimateOff();
}

class KeyValue : public Value {
 public:
  KeyValue(Control* c, int index) : hold_(c), c_(c), index_(index) { tag = &MAXKey_class; }

  Control* ctrl() const {
    if (c_->IsDeleted()) throw RuntimeError("Attempt to access deleted scene object");
    return c_;
  }
  TimeValue time() const {
    Control* c = ctrl();
    if (index_ < 0 || index_ >= c->NumKeys()) throw RuntimeError("Key index out of range: ", Integer::intern(index_ + 1));
    return c->GetKeyTime(index_);
  }

  Value* get_property(Value* prop) override {
    const std::string& n = lowerName(prop);
    if (n == "time") return MSTime::intern(time());
    if (n == "value") return valueAt(ctrl(), time());
    if (n == "selected") return bool_result(keySelected(ctrl(), time()));
    if (n == "intangenttype") return tangentAt(ctrl(), time(), true);
    if (n == "outtangenttype") return tangentAt(ctrl(), time(), false);
    return unknown_property(this, prop);
  }
  Value* set_property(Value* prop, Value* v) override {
    const std::string& n = lowerName(prop);
    if (n == "time") {
      TimeValue to = v->to_timevalue();
      int at = moveKeyAt(ctrl(), time(), to);
      if (at >= 0) index_ = at;
    } else if (n == "value") {
      setValueAt(ctrl(), time(), v);
    } else if (n == "selected") {
      selectKeyAt(ctrl(), time(), v->to_bool());
    } else if (n == "intangenttype" || n == "outtangenttype") {
      setTangentAt(ctrl(), time(), n == "intangenttype", v);
    } else {
      return unknown_property(this, prop);
    }
    return v;
  }
  bool has_property(Value* prop) override {
    const std::string& n = lowerName(prop);
    return n == "time" || n == "value" || n == "selected" || n == "intangenttype" || n == "outtangenttype";
  }
  void get_property_names(Array* names) override {
    for (const char* n : {"time", "value", "selected", "inTangentType", "outTangentType"}) names->append(Name::intern(n));
  }
  bool equals(Value* other) override {
    auto* k = dynamic_cast<KeyValue*>(other);
    return k && k->c_ == c_ && k->index_ == index_;
  }
  void sprin1(CharStream* s) override {
    TSTR cls;
    c_->GetClassName(cls);
    s->printf("#%s key(%d @ ", cls.data(), index_ + 1);
    if (!c_->IsDeleted() && index_ >= 0 && index_ < c_->NumKeys()) printTime(s, c_->GetKeyTime(index_));
    else s->puts("?");
    s->puts(")");
  }

 private:
  sim::KeepAlive hold_;
  Control* c_;
  int index_;
};

// `c.keys`: live, so it counts the keys the controller has when read.
class KeyArrayValue : public Value {
 public:
  explicit KeyArrayValue(Control* c) : hold_(c), c_(c) { tag = &MAXKeyArray_class; }

  Control* ctrl() const {
    if (c_->IsDeleted()) throw RuntimeError("Attempt to access deleted scene object");
    return c_;
  }
  int count() const { return std::max(0, ctrl()->NumKeys()); }

  Value* get_index(Value* index) override {
    int i = index->to_int();
    if (i < 1 || i > count()) throw RuntimeError("Key index out of range: ", index);
    return new KeyValue(ctrl(), i - 1);
  }
  Value* get_property(Value* prop) override {
    if (lowerName(prop) == "count") return Integer::intern(count());
    return unknown_property(this, prop);
  }
  bool has_property(Value* prop) override { return lowerName(prop) == "count"; }
  Array* as_collection() override {
    auto* a = static_cast<Array*>(sim::rt::keep(new Array));
    for (int i = 0, n = count(); i < n; ++i) a->append(new KeyValue(ctrl(), i));
    return a;
  }
  bool equals(Value* other) override {
    auto* k = dynamic_cast<KeyArrayValue*>(other);
    return k && k->c_ == c_;
  }
  void sprin1(CharStream* s) override {
    s->puts("#keys(");
    if (!c_->IsDeleted())
      for (int i = 0, n = std::max(0, c_->NumKeys()); i < n; ++i) {
        if (i) s->puts(", ");
        printTime(s, c_->GetKeyTime(i));
      }
    s->puts(")");
  }

 private:
  sim::KeepAlive hold_;
  Control* c_;
};

// A controller, or the key array of one: the key functions take either.
Control* keysArg(Value* v) {
  if (auto* ka = dynamic_cast<KeyArrayValue*>(v)) return ka->ctrl();
  Control* c = v->to_controller();
  if (!c) throw ConversionError(v, "Controller");
  return c;
}

sim::KeyEditing* asKeyEditing(Control* c) { return dynamic_cast<sim::KeyEditing*>(c); }

// The key tracks (leaf controllers) under a root: its own sub-animations, depth first. Each track
// once, however many ways it is reached (instanced controllers, a material on two nodes).
void collectKeyTracks(Animatable* root, std::set<Animatable*>& seen, std::vector<Control*>& out) {
  std::vector<Animatable*> todo{root};
  while (!todo.empty()) {
    Animatable* a = todo.back();
    todo.pop_back();
    if (!a || !seen.insert(a).second) continue;
    // A controller without sub-animations is a track even when its keys are its own business: it
    // can still delete them all.
    auto* c = dynamic_cast<Control*>(a);
    if (c && (asKeyEditing(c) || a->NumSubs() == 0)) {
      out.push_back(c);
      continue;
    }
    for (int i = a->NumSubs() - 1; i >= 0; --i) todo.push_back(a->SubAnim(i));
  }
}

Animatable* keyRoot(Value* v) {
  if (auto* ka = dynamic_cast<KeyArrayValue*>(v)) return ka->ctrl();
  if (dynamic_cast<MAXWrapper*>(v) || sim::rt::isSubAnim(v)) return v->to_reftarg();
  return nullptr;
}

// What deleteKeys, selectKeys and moveKeys act on: a controller or its keys, a scene object, or a
// collection of them.
std::vector<Control*> keyTracksOf(Value* v) {
  std::set<Animatable*> seen;
  std::vector<Control*> tracks;
  if (Animatable* root = keyRoot(v)) {
    collectKeyTracks(root, seen, tracks);
    return tracks;
  }
  Array* items = v->as_collection();
  if (!items) throw ConversionError(v, "Controller");
  for (int i = 0; i < items->size; ++i) {
    Animatable* root = keyRoot(items->data[i]);
    if (!root) throw ConversionError(items->data[i], "Controller");
    collectKeyTracks(root, seen, tracks);
  }
  return tracks;
}

int keyIndexArg(Control* c, Value* v) {
  int i = v->to_int();
  if (i < 1 || i > c->NumKeys()) throw RuntimeError("Key index out of range: ", v);
  return i - 1;
}

bool isKeyed(ReferenceTarget* t) {
  return dynamic_cast<Control*>(t) != nullptr && sim::ctrlValueOf(t->SuperClassID()) != sim::CtrlValue::None;
}

const bool keyProps = sim::addPropertyTable(
    sim::PropertyScope{CTRL_FLOAT_CLASS_ID, Class_ID(0, 0), false, isKeyed},
    {{"keys", [](ReferenceTarget* t, TimeValue) -> Value* { return new KeyArrayValue(static_cast<Control*>(t)); }, nullptr}});

int positionalArgs(const char* name, Value** arg_list, int count, int min, int max) {
  int n = count_positional_args(arg_list, count);
  if (n < min || n > max) throw ArgCountError(name, min, n);
  return n;
}

bool isName(Value* v, const char* lower) { return is_name(v) && lowerName(v) == lower; }

}  // namespace

// addNewKey c t [#select]: the key at t, made if there was none; undefined when c has no keys.
def_visible_primitive(addNewKey, "addNewKey");
Value* addNewKey_cf(Value** arg_list, int count) {
  int n = positionalArgs("addNewKey", arg_list, count, 2, 3);
  Control* c = keysArg(arg_list[0]);
  TimeValue t = arg_list[1]->to_timevalue();
  c->AddNewKey(t, 0);
  int i = c->GetKeyIndex(t);
  if (i < 0) return undefined;
  if (n == 3 && isName(arg_list[2], "select")) selectKeyAt(c, t, true);
  return new KeyValue(c, i);
}

def_visible_primitive(numKeys, "numKeys");
Value* numKeys_cf(Value** arg_list, int count) {
  check_arg_count(numKeys, 1, count);
  int n = keysArg(arg_list[0])->NumKeys();
  return Integer::intern(n < 0 ? -1 : n);
}

def_visible_primitive(getKey, "getKey");
Value* getKey_cf(Value** arg_list, int count) {
  check_arg_count(getKey, 2, count);
  Control* c = keysArg(arg_list[0]);
  return new KeyValue(c, keyIndexArg(c, arg_list[1]));
}

def_visible_primitive(getKeyTime, "getKeyTime");
Value* getKeyTime_cf(Value** arg_list, int count) {
  check_arg_count(getKeyTime, 2, count);
  Control* c = keysArg(arg_list[0]);
  return MSTime::intern(c->GetKeyTime(keyIndexArg(c, arg_list[1])));
}

// getKeyIndex c t: 1-based, 0 when no key is at t.
def_visible_primitive(getKeyIndex, "getKeyIndex");
Value* getKeyIndex_cf(Value** arg_list, int count) {
  check_arg_count(getKeyIndex, 2, count);
  return Integer::intern(keysArg(arg_list[0])->GetKeyIndex(arg_list[1]->to_timevalue()) + 1);
}

def_visible_primitive(deleteKey, "deleteKey");
Value* deleteKey_cf(Value** arg_list, int count) {
  check_arg_count(deleteKey, 2, count);
  Control* c = keysArg(arg_list[0]);
  c->DeleteKeyAtTime(c->GetKeyTime(keyIndexArg(c, arg_list[1])));
  return ok;
}

// deleteKeys x [#allKeys | #selection]
def_visible_primitive(deleteKeys, "deleteKeys");
Value* deleteKeys_cf(Value** arg_list, int count) {
  int n = positionalArgs("deleteKeys", arg_list, count, 1, 2);
  bool selection = n == 2 && isName(arg_list[1], "selection");
  if (n == 2 && !selection && !isName(arg_list[1], "allkeys"))
    throw RuntimeError("deleteKeys expects #allKeys or #selection, got: ", arg_list[1]);
  for (Control* c : keyTracksOf(arg_list[0])) {
    if (!selection) c->DeleteKeys(0);
    else if (sim::KeyEditing* k = asKeyEditing(c)) k->deleteSelectedKeys();
  }
  return ok;
}

// moveKeys x dt [#selection]: every key, or the selected ones, moved by dt.
def_visible_primitive(moveKeys, "moveKeys");
Value* moveKeys_cf(Value** arg_list, int count) {
  int n = positionalArgs("moveKeys", arg_list, count, 2, 3);
  bool selection = n == 3 && isName(arg_list[2], "selection");
  if (n == 3 && !selection) throw RuntimeError("moveKeys expects #selection, got: ", arg_list[2]);
  std::vector<Control*> tracks = keyTracksOf(arg_list[0]);
  TimeValue dt = arg_list[1]->to_timevalue();
  if (dt != 0)
    for (Control* c : tracks)
      if (sim::KeyEditing* k = asKeyEditing(c)) k->shiftKeys(dt, selection);
  return ok;
}

// Keys are kept in time order as they change.
def_visible_primitive(sortKeys, "sortKeys");
Value* sortKeys_cf(Value** arg_list, int count) {
  check_arg_count(sortKeys, 1, count);
  keysArg(arg_list[0]);
  return ok;
}

def_visible_primitive(isKeySelected, "isKeySelected");
Value* isKeySelected_cf(Value** arg_list, int count) {
  check_arg_count(isKeySelected, 2, count);
  Control* c = keysArg(arg_list[0]);
  return bool_result(keySelected(c, c->GetKeyTime(keyIndexArg(c, arg_list[1]))));
}

def_visible_primitive(selectKey, "selectKey");
Value* selectKey_cf(Value** arg_list, int count) {
  check_arg_count(selectKey, 2, count);
  Control* c = keysArg(arg_list[0]);
  selectKeyAt(c, c->GetKeyTime(keyIndexArg(c, arg_list[1])), true);
  return ok;
}

def_visible_primitive(deselectKey, "deselectKey");
Value* deselectKey_cf(Value** arg_list, int count) {
  check_arg_count(deselectKey, 2, count);
  Control* c = keysArg(arg_list[0]);
  selectKeyAt(c, c->GetKeyTime(keyIndexArg(c, arg_list[1])), false);
  return ok;
}

namespace {
// selectKeys / deselectKeys x [t | interval | start end]: every key, the keys at t, or the keys from
// start to end (both included).
Value* selectKeysIn(const char* name, Value** arg_list, int count, bool on) {
  int n = positionalArgs(name, arg_list, count, 1, 3);
  TimeValue from = TIME_NegInfinity, to = TIME_PosInfinity;
  if (n == 2 && sim::rt::isInterval(arg_list[1])) {
    Interval range = sim::rt::toInterval(arg_list[1]);
    from = range.Start();
    to = range.End();
  } else if (n >= 2) {
    from = to = arg_list[1]->to_timevalue();
    if (n == 3) to = arg_list[2]->to_timevalue();
  }
  for (Control* c : keyTracksOf(arg_list[0])) {
    sim::KeyEditing* k = asKeyEditing(c);
    if (!k) continue;
    for (int i = 0, keys = c->NumKeys(); i < keys; ++i) {
      TimeValue t = c->GetKeyTime(i);
      if (t >= from && t <= to && k->keySelected(i) != on) k->selectKey(i, on);
    }
  }
  return ok;
}
}  // namespace

def_visible_primitive(selectKeys, "selectKeys");
Value* selectKeys_cf(Value** arg_list, int count) { return selectKeysIn("selectKeys", arg_list, count, true); }

def_visible_primitive(deselectKeys, "deselectKeys");
Value* deselectKeys_cf(Value** arg_list, int count) { return selectKeysIn("deselectKeys", arg_list, count, false); }
