// Layers as script sees them: the LayerManager struct, a layer's value (the language's
// LayerProperties interface) with its properties and methods, and a node's `.layer`.
#include "script/script_failure.h"
#include "core/core_interface.h"
#include "core/text.h"
#include "inode.h"
#include "maxapi.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "scene/layers.h"
#include "scene/scene_services.h"
#include "scene/scene_values.h"
#include "script/evaluator.h"
#include "script/property_table.h"
#include "script/reference_value.h"

using namespace sim::rt;
using sim::Layer;

ValueMetaClass MixinInterface_class("MixinInterface");

namespace {

sim::LayerList& layers() { return sim::sceneServices().layers; }

// A layer's value. It keeps the layer's memory; once the layer is out of the scene (deleted, or its
// making undone), using the value is a script error.
class LayerValue : public Value {
 public:
  explicit LayerValue(Layer* layer) : layer_(layer) { tag = &MixinInterface_class; }

  Layer* checked() {
    auto* l = static_cast<Layer*>(layer_.get());
    if (!layers().contains(l)) throw RuntimeError("Attempt to access deleted layer");
    return l;
  }
  void sprin1(CharStream* s) override { s->puts("<MixinInterface:LayerProperties>"); }
  bool equals(Value* other) override {
    auto* o = dynamic_cast<LayerValue*>(other);
    return o && o->layer_.get() == layer_.get();
  }
  Value* get_property(Value* prop) override {
    Layer* l = checked();
    const sim::PropertyEntry* e = sim::findPropertyEntry(l, prop);
    if (!e) return unknown_property(this, prop);
    return e->get(l, 0);
  }
  Value* set_property(Value* prop, Value* v) override {
    Layer* l = checked();
    const sim::PropertyEntry* e = sim::findPropertyEntry(l, prop);
    if (!e) return unknown_property(this, prop);
    if (!e->set) throw RuntimeError("Cannot set read-only property: ", prop);
    e->set(l, 0, v);
    return v;
  }
  bool has_property(Value* prop) override {
    auto* l = static_cast<Layer*>(layer_.get());
    return is_name(prop) && layers().contains(l) && sim::findPropertyEntry(l, prop);
  }
  void get_property_names(Array* names) override {
    std::vector<std::string> list;
    if (auto* l = static_cast<Layer*>(layer_.get()); layers().contains(l)) sim::listPropertyNames(l, list);
    for (const std::string& n : list) names->append(Name::intern(n.c_str()));
  }
  Value* call_method(Value* name, Value** arg_list, int count) override {
    Layer* l = checked();
    const sim::MethodEntry* m = sim::findMethodEntry(l, name);
    return m ? m->fn(l, arg_list, count) : nullptr;
  }

 private:
  sim::KeepAlive layer_;
};

Value* layerValue(Layer* l) { return l ? static_cast<Value*>(new LayerValue(l)) : undefined; }

Layer* layer(ReferenceTarget* t) { return static_cast<Layer*>(t); }

std::string nameArg(Value* v) {
  if (!is_string(v) && !is_name(v)) throw ConversionError(v, "String");
  return v->to_string();
}

void checkPositional(const char* fn, int expected, Value** arg_list, int count) {
  int n = count_positional_args(arg_list, count);
  if (n != expected) throw ArgCountError(fn, expected, n);
}

#define LAYER_FLAG(name, get, set) \
  {name, [](ReferenceTarget* t, TimeValue) { return bool_result(layer(t)->get()); }, \
   [](ReferenceTarget* t, TimeValue, Value* v) { layer(t)->set(sim::toFlag(v)); }}

const bool kLayerProps = sim::addPropertyTable(
    sim::PropertyScope{REF_TARGET_CLASS_ID, sim::kLayerClassID, true},
    {
        {"name", [](ReferenceTarget* t, TimeValue) { return static_cast<Value*>(new String(layer(t)->name().c_str())); }, nullptr},
        // `on` is the other face of `isHidden`: a layer that is off hides its nodes.
        {"on", [](ReferenceTarget* t, TimeValue) { return bool_result(!layer(t)->hidden()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { layer(t)->setHidden(!sim::toFlag(v)); }},
        LAYER_FLAG("isHidden", hidden, setHidden),
        LAYER_FLAG("isFrozen", frozen, setFrozen),
        LAYER_FLAG("renderable", renderable, setRenderable),
        {"wirecolor", [](ReferenceTarget* t, TimeValue) { return sim::colorValue(Color(layer(t)->wireColor())); },
         [](ReferenceTarget* t, TimeValue, Value* v) { layer(t)->setWireColor(sim::toColor(v).toRGB()); }},
        // Only true can be assigned: a layer stops being current when another one becomes it.
        {"current", [](ReferenceTarget* t, TimeValue) { return bool_result(layers().current() == layer(t)); },
         [](ReferenceTarget* t, TimeValue, Value* v) {
           if (sim::toFlag(v)) layers().setCurrent(layer(t));
         }},
    });

#undef LAYER_FLAG

const bool kLayerMethods = sim::addMethodTable(
    sim::PropertyScope{REF_TARGET_CLASS_ID, sim::kLayerClassID, true},
    {
        {"setName",
         [](ReferenceTarget* t, Value** arg_list, int count) -> Value* {
           checkPositional("setName", 1, arg_list, count);
           return bool_result(layers().rename(layer(t), nameArg(arg_list[0])));
         }},
        {"addNode",
         [](ReferenceTarget* t, Value** arg_list, int count) -> Value* {
           checkPositional("addNode", 1, arg_list, count);
           INode* n = arg_list[0]->to_node();
           if (!n || n->IsRootNode()) throw ConversionError(arg_list[0], "MAXNode");
           layers().moveNode(n, layer(t));
           return ok;
         }},
        // nodes &arr: the layer's nodes into the caller's variable.
        {"nodes",
         [](ReferenceTarget* t, Value** arg_list, int count) -> Value* {
           checkPositional("nodes", 1, arg_list, count);
           auto* ref = dynamic_cast<ReferenceValue*>(arg_list[0]);
           if (!ref) throw RuntimeError("nodes needs a by-reference argument (&name), got: ", arg_list[0]);
           auto* a = static_cast<Array*>(keep(new Array));
           for (INode* n : layers().nodesOf(layer(t))) a->append(MAXNode::intern(n));
           ref->set(a);
           return true_value;
         }},
        {"select",
         [](ReferenceTarget* t, Value** arg_list, int count) -> Value* {
           checkPositional("select", 1, arg_list, count);
           bool on = sim::toFlag(arg_list[0]);
           Interface* ip = GetCOREInterface();
           for (INode* n : layers().nodesOf(layer(t))) {
             if (on) ip->SelectNode(n, 0);
             else ip->DeSelectNode(n);
           }
           return ok;
         }},
    });

// Properties of the node's layer interface, which getPropNames does not list, as in the language.
const bool kNodeLayer = sim::addPropertyTable(
    sim::PropertyScope{BASENODE_CLASS_ID, Class_ID(0, 0), false,
                       [](ReferenceTarget* t) { return dynamic_cast<INode*>(t) && !static_cast<INode*>(t)->IsRootNode(); }, false},
    {
        {"layer", [](ReferenceTarget* t, TimeValue) { return layerValue(layers().layerOf(static_cast<INode*>(t))); }, nullptr},
        {"isNodeHidden", [](ReferenceTarget* t, TimeValue) { return bool_result(static_cast<INode*>(t)->IsNodeHidden() != 0); }, nullptr},
    });

// Deletes the layer of that name when it can go (see LayerList::remove); with `makeDefaultCurrent`
// the current layer can go too, layer "0" taking its place.
Value* deleteNamed(Value* nameValue, bool makeDefaultCurrent) {
  Layer* l = layers().find(nameArg(nameValue));
  if (!l || l == layers().defaultLayer() || !layers().nodesOf(l).empty()) return false_value;
  if (makeDefaultCurrent && l == layers().current()) layers().setCurrent(layers().defaultLayer());
  return bool_result(layers().remove(l));
}

const bool kManagerProps = [] {
  define_struct_global("count", "LayerManager", [] { return static_cast<Value*>(Integer::intern(layers().count())); }, nullptr);
  define_struct_global("current", "LayerManager", [] { return layerValue(layers().current()); }, nullptr);
  return true;
}();

}  // namespace

def_struct_primitive(layer_getLayer, LayerManager, "getLayer");
Value* layer_getLayer_cf(Value** arg_list, int count) {
  checkPositional("getLayer", 1, arg_list, count);
  return layerValue(layers().at(arg_list[0]->to_int()));
}

def_struct_primitive(layer_getLayerFromName, LayerManager, "getLayerFromName");
Value* layer_getLayerFromName_cf(Value** arg_list, int count) {
  checkPositional("getLayerFromName", 1, arg_list, count);
  return layerValue(layers().find(nameArg(arg_list[0])));
}

def_struct_primitive(layer_newLayer, LayerManager, "newLayer");
Value* layer_newLayer_cf(Value** arg_list, int count) {
  checkPositional("newLayer", 0, arg_list, count);
  return layerValue(layers().create());
}

// Undefined when the name is taken, as in the application.
def_struct_primitive(layer_newLayerFromName, LayerManager, "newLayerFromName");
Value* layer_newLayerFromName_cf(Value** arg_list, int count) {
  checkPositional("newLayerFromName", 1, arg_list, count);
  std::string name = nameArg(arg_list[0]);
  if (name.empty()) return undefined;
  return layerValue(layers().create(name));
}

def_struct_primitive(layer_deleteLayerByName, LayerManager, "deleteLayerByName");
Value* layer_deleteLayerByName_cf(Value** arg_list, int count) {
  checkPositional("deleteLayerByName", 1, arg_list, count);
  return deleteNamed(arg_list[0], false);
}

// Layers here have no child layers, so a layer's hierarchy is the layer itself.
def_struct_primitive(layer_deleteLayerHierarchy, LayerManager, "deleteLayerHierarchy");
Value* layer_deleteLayerHierarchy_cf(Value** arg_list, int count) {
  checkPositional("deleteLayerHierarchy", 1, arg_list, count);
  return deleteNamed(arg_list[0], true);
}
