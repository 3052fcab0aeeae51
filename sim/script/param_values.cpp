#include "script/param_values.h"
#include "script/script_failure.h"

#include "core/class_registry.h"
#include "core/ref_graph.h"
#include "core/text.h"
#include "inode.h"
#include "maxscript/maxscript.h"
#include "script/property_table.h"

#include <cmath>
#include <numbers>
#include <unordered_map>

namespace sim::rt {
namespace {

constexpr float kDegreesPerRadian = static_cast<float>(180.0 / std::numbers::pi);

ValueMetaClass ArrayParameter_class("ArrayParameter");

// A table parameter as a script collection that reads and writes the block directly, so that
// `append $h.propertyName "x"` and `$h.passlist[1] = 5000` change the table itself.
//
// The value keeps the block's memory, not the block: once its owner is gone (the holder's node was
// deleted) the table answers with an error, and the block goes with the last of owner and value.
class ParamTableValue : public Value {
 public:
  ParamTableValue(IParamBlock2* pb, ParamID id) : hold_(pb), pb_(pb), id_(id) { tag = &ArrayParameter_class; }

  Value* get_property(Value* prop) override {
    if (static_cast<Name*>(prop)->lower == "count") return Integer::intern(block()->Count(id_));
    return unknown_property(this, prop);
  }
  Value* set_property(Value* prop, Value* v) override {
    if (static_cast<Name*>(prop)->lower != "count") return unknown_property(this, prop);
    int n = v->to_int();
    if (n < 0) throw RuntimeError("Array count must not be negative: ", v);
    block()->SetCount(id_, n);
    return v;
  }
  bool has_property(Value* prop) override { return static_cast<Name*>(prop)->lower == "count"; }
  Value* get_index(Value* index) override {
    int i = index->to_int();
    if (i < 1 || i > block()->Count(id_)) throw RuntimeError("Array index out of bounds: ", index);
    return getParamEntry(block(), id_, 0, i - 1);
  }
  Value* set_index(Value* index, Value* v) override {
    int i = index->to_int();
    if (i < 1) throw RuntimeError("Array index out of bounds: ", index);
    if (i > block()->Count(id_)) block()->SetCount(id_, i);
    setParamEntry(block(), id_, 0, i - 1, v);
    return v;
  }
  bool append_item(Value* v) override {
    int n = block()->Count(id_);
    block()->SetCount(id_, n + 1);
    setParamEntry(block(), id_, 0, n, v);
    return true;
  }
  bool delete_item(int index1) override {
    if (index1 < 1 || index1 > block()->Count(id_)) throw RuntimeError("Array index out of bounds: ", Integer::intern(index1));
    block()->Delete(id_, index1 - 1, 1);
    return true;
  }
  Array* as_collection() override {
    auto* a = static_cast<Array*>(keepValue(new Array(block()->Count(id_))));
    for (int i = 0, n = block()->Count(id_); i < n; ++i) a->append(getParamEntry(block(), id_, 0, i));
    return a;
  }
  void sprin1(CharStream* s) override { as_collection()->sprin1(s); }
  bool equals(Value* other) override {
    auto* o = dynamic_cast<ParamTableValue*>(other);
    return o && o->pb_ == pb_ && o->id_ == id_;
  }

 private:
  static Value* keepValue(Value* v);
  IParamBlock2* block() const {
    if (pb_->IsDeleted() || !pb_->GetOwner()) throw RuntimeError("Attempt to access deleted scene object");
    return pb_;
  }
  sim::KeepAlive hold_;
  IParamBlock2* pb_;
  ParamID id_;
};

}  // namespace

Value* keep(Value* v);
Value* ParamTableValue::keepValue(Value* v) { return keep(v); }

namespace {

// Where each name lies in each block description, worked out once per (description, name): every
// script access to a parameter by name asks. Names are interned and permanent. An entry is taken
// only while its description still has the count it had (parameters are added to a description
// before any block of it exists, but a description may be asked before that), a found index only
// while it still holds that name, and all of it only while the classes stay the ones registered.
struct DescNameKey {
  const ParamBlockDesc2* desc;
  const Value* name;
  bool operator==(const DescNameKey& o) const { return desc == o.desc && name == o.name; }
};
struct DescNameHash {
  size_t operator()(const DescNameKey& k) const {
    return std::hash<const void*>()(k.desc) * 31 + std::hash<const void*>()(k.name);
  }
};
struct ParamIndex {
  int index = -1;
  int count = -1;
  const TCHAR* intName = nullptr;  // the found parameter's name as the description keeps it
};

int paramIndexOf(ParamBlockDesc2* desc, Value* name, const std::string& lower) {
  static auto* cache = new std::unordered_map<DescNameKey, ParamIndex, DescNameHash>;
  static unsigned generation = 0;
  const unsigned now = sim::ClassRegistry::instance().generation();
  if (generation != now) {
    cache->clear();
    generation = now;
  }
  ParamIndex& entry = (*cache)[DescNameKey{desc, name}];
  // A description keeps its names for its life: the same name pointer at the index is the same name.
  const int count = desc->Count();
  const bool current = entry.count == count &&
                       (entry.index < 0 || (entry.index < count && desc->paramdefs[entry.index].int_name == entry.intName));
  if (!current) {
    entry.index = desc->NameToIndex(lower.c_str());
    entry.count = count;
    entry.intName = entry.index >= 0 ? desc->paramdefs[entry.index].int_name : nullptr;
  }
  return entry.index;
}

}  // namespace

// Descriptions hold unique names, so the one found in each block is its first.
ParamRef findParam(Animatable* obj, Value* name) {
  if (!obj || !is_name(name)) return {};
  const std::string& lower = static_cast<Name*>(name)->lower;
  for (int b = 0, nb = obj->NumParamBlocks(); b < nb; ++b) {
    IParamBlock2* pb = obj->GetParamBlock(b);
    ParamBlockDesc2* desc = pb ? pb->GetDesc() : nullptr;
    if (!desc) continue;
    const int i = paramIndexOf(desc, name, lower);
    if (i >= 0) return ParamRef{pb, desc->IndextoID(i)};
  }
  return {};
}

void listParams(Animatable* obj, std::vector<std::string>& names) {
  for (int b = 0, nb = obj ? obj->NumParamBlocks() : 0; b < nb; ++b) {
    IParamBlock2* pb = obj->GetParamBlock(b);
    for (int i = 0, n = pb ? pb->NumParams() : 0; i < n; ++i) {
      const ParamDef& def = pb->GetParamDef(pb->IndextoID(i));
      if (def.int_name) names.emplace_back(def.int_name);
    }
  }
}

Value* getParamEntry(IParamBlock2* pb, ParamID id, TimeValue t, int tabIndex) {
  const ParamDef& def = pb->GetParamDef(id);
  Interval valid = FOREVER;
  switch (base_type(def.type)) {
    case TYPE_INT:
    case TYPE_RADIOBTN_INDEX:
    case TYPE_INDEX: {
      int v = 0;
      pb->GetValue(id, t, v, valid, tabIndex);
      return Integer::intern(v);
    }
    case TYPE_BOOL: {
      int v = 0;
      pb->GetValue(id, t, v, valid, tabIndex);
      return bool_result(v != 0);
    }
    case TYPE_TIMEVALUE: {
      int v = 0;
      pb->GetValue(id, t, v, valid, tabIndex);
      return MSTime::intern(v);
    }
    case TYPE_FLOAT:
    case TYPE_WORLD:
    case TYPE_COLOR_CHANNEL:
    case TYPE_ANGLE:
    case TYPE_PCNT_FRAC: {
      float v = 0;
      pb->GetValue(id, t, v, valid, tabIndex);
      // Angles are kept in radians and fractions as fractions; scripts see degrees and percent.
      if (base_type(def.type) == TYPE_ANGLE) v *= kDegreesPerRadian;
      if (base_type(def.type) == TYPE_PCNT_FRAC) v *= 100.0f;
      return Float::intern(v);
    }
    case TYPE_POINT3: {
      Point3 v;
      pb->GetValue(id, t, v, valid, tabIndex);
      return new Point3Value(v);
    }
    case TYPE_POINT4: {
      Point4 v;
      pb->GetValue(id, t, v, valid, tabIndex);
      return new Point4Value(v);
    }
    case TYPE_RGBA: {
      Color v;
      pb->GetValue(id, t, v, valid, tabIndex);
      return new ColorValue(AColor(v));
    }
    case TYPE_FRGBA: {
      AColor v;
      pb->GetValue(id, t, v, valid, tabIndex);
      return new ColorValue(v);
    }
    case TYPE_STRING:
    case TYPE_FILENAME: {
      const TCHAR* v = nullptr;
      pb->GetValue(id, t, v, valid, tabIndex);
      return v ? static_cast<Value*>(new String(v)) : undefined;
    }
    case TYPE_MATRIX3: {
      Matrix3 v;
      pb->GetValue(id, t, v, valid, tabIndex);
      return new Matrix3Value(v);
    }
    case TYPE_INODE: {
      INode* v = nullptr;
      pb->GetValue(id, t, v, valid, tabIndex);
      return wrapTarget(v);
    }
    case TYPE_REFTARG:
    case TYPE_MTL:
    case TYPE_TEXMAP:
    case TYPE_BITMAP: {
      ReferenceTarget* v = nullptr;
      pb->GetValue(id, t, v, valid, tabIndex);
      return wrapTarget(v);
    }
    default: return undefined;
  }
}

void setParamEntry(IParamBlock2* pb, ParamID id, TimeValue t, int tabIndex, Value* v) {
  const ParamDef& def = pb->GetParamDef(id);
  switch (base_type(def.type)) {
    case TYPE_INT:
    case TYPE_RADIOBTN_INDEX:
    case TYPE_INDEX: pb->SetValue(id, t, v->to_int(), tabIndex); return;
    case TYPE_BOOL: pb->SetValue(id, t, is_bool(v) ? static_cast<int>(v->to_bool()) : (v->to_int() != 0 ? 1 : 0), tabIndex); return;
    case TYPE_TIMEVALUE: pb->SetValue(id, t, static_cast<int>(v->to_timevalue()), tabIndex); return;
    case TYPE_FLOAT:
    case TYPE_WORLD:
    case TYPE_COLOR_CHANNEL:
    case TYPE_ANGLE:
    case TYPE_PCNT_FRAC: {
      float f = v->to_float();
      if (base_type(def.type) == TYPE_ANGLE) f /= kDegreesPerRadian;
      if (base_type(def.type) == TYPE_PCNT_FRAC) f /= 100.0f;
      pb->SetValue(id, t, f, tabIndex);
      return;
    }
    case TYPE_POINT3: pb->SetValue(id, t, v->to_point3(), tabIndex); return;
    case TYPE_POINT4: {
      if (auto* p4 = dynamic_cast<Point4Value*>(v)) pb->SetValue(id, t, p4->p, tabIndex);
      else if (auto* c = dynamic_cast<ColorValue*>(v)) pb->SetValue(id, t, Point4(c->color.r, c->color.g, c->color.b, c->color.a), tabIndex);
      else throw ConversionError(v, "Point4");
      return;
    }
    case TYPE_RGBA:
    case TYPE_FRGBA: {
      AColor c;
      if (auto* cv = dynamic_cast<ColorValue*>(v)) c = cv->color;
      else {
        Point3 p = v->to_point3();  // a point's components are 0..255, as colours in scripts
        c = AColor(p.x / 255.0f, p.y / 255.0f, p.z / 255.0f, 1.0f);
      }
      if (base_type(def.type) == TYPE_RGBA) pb->SetValue(id, t, Color(c.r, c.g, c.b), tabIndex);
      else pb->SetValue(id, t, c, tabIndex);
      return;
    }
    case TYPE_STRING:
    case TYPE_FILENAME:
      pb->SetValue(id, t, v == undefined ? static_cast<const TCHAR*>(nullptr) : v->to_string(), tabIndex);
      return;
    case TYPE_MATRIX3: {
      auto* m = dynamic_cast<Matrix3Value*>(v);
      if (!m) throw ConversionError(v, "Matrix3");
      pb->SetValue(id, t, m->m, tabIndex);
      return;
    }
    case TYPE_INODE: pb->SetValue(id, t, v == undefined ? static_cast<INode*>(nullptr) : v->to_node(), tabIndex); return;
    case TYPE_REFTARG:
    case TYPE_MTL:
    case TYPE_TEXMAP:
    case TYPE_BITMAP:
      pb->SetValue(id, t, v == undefined ? static_cast<ReferenceTarget*>(nullptr) : v->to_reftarg(), tabIndex);
      return;
    default: throw RuntimeError("Cannot set this parameter from script: ", Name::intern(def.int_name ? def.int_name : "?"));
  }
}

Value* getParam(ParamRef p, TimeValue t) {
  const ParamDef& def = p.block->GetParamDef(p.id);
  if (is_tab(def.type)) return new ParamTableValue(p.block, p.id);
  return getParamEntry(p.block, p.id, t, 0);
}

void setParam(ParamRef p, TimeValue t, Value* v) {
  const ParamDef& def = p.block->GetParamDef(p.id);
  if (!is_tab(def.type)) {
    setParamEntry(p.block, p.id, t, 0, v);
    return;
  }
  // A whole table from an array (or another table): same count, then each entry.
  Array* items = is_array(v) ? static_cast<Array*>(v) : v->as_collection();
  if (!items) throw ConversionError(v, "Array");
  ValueRef hold(items);
  p.block->SetCount(p.id, items->size);
  for (int i = 0; i < items->size; ++i) setParamEntry(p.block, p.id, t, i, items->data[i]);
}

}  // namespace sim::rt
