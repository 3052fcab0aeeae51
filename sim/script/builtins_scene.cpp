// Scene primitives and globals of the language: the node collections, finding, selecting, hiding and
// deleting nodes, user properties and app data, controllers and keys, modifiers, materials.
#include "script/script_failure.h"
#include "control.h"
#include "core/core_interface.h"
#include "imtl.h"
#include "inode.h"
#include "maxapi.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "object.h"
#include "scene/scene_node.h"
#include "scene/scene_walk.h"
#include "script/evaluator.h"
#include "script/node_args.h"
#include "script/property_table.h"
#include "script/runtime.h"
#include "script/scene_access.h"

#include <cstring>
#include <vector>

using namespace sim::rt;

namespace {

Interface* ip() { return GetCOREInterface(); }

// Every node under the root that `keepNode` keeps, in the scene walk's order.
template <class Keep>
Value* nodesWhere(Keep keepNode) {
  auto* a = static_cast<Array*>(keep(new Array));
  sim::forEachSceneNode([&](INode* n) {
    if (keepNode(n)) a->append(sim::wrapTarget(n));
  });
  return a;
}

SClass_ID objectSuperClass(INode* n) {
  ReferenceTarget* base = baseObjectOf(n);
  return base ? base->SuperClassID() : 0;
}

Value* nodesOfSuperClass(SClass_ID s) {
  return nodesWhere([s](INode* n) { return objectSuperClass(n) == s; });
}

Control* controllerArg(Value* v) {
  Control* c = v->to_controller();
  if (!c) throw ConversionError(v, "Controller");
  return c;
}

// Script app data: text chunks under one class id of the utility super class, by a 32-bit sub id.
constexpr Class_ID kScriptAppData(0x04d64858, 0x16d1751d);
constexpr SClass_ID kScriptAppDataSuper = UTILITY_CLASS_ID;

Animatable* animatableArg(Value* v) { return v->to_reftarg(); }

ValueMetaClass MaterialLibrary_class("MaterialLibrary");

// meditMaterials: the material editor's 24 slots, 1-based.
class EditorSlots : public Value {
 public:
  EditorSlots() { tag = &MaterialLibrary_class; }
  Value* get_index(Value* index) override {
    int i = checkedSlot(index);
    return sim::wrapTarget(ip()->GetMtlSlot(i));
  }
  Value* set_index(Value* index, Value* v) override {
    int i = checkedSlot(index);
    ReferenceTarget* t = v->to_reftarg();
    auto* m = dynamic_cast<MtlBase*>(t);
    if (!m || (t->SuperClassID() != MATERIAL_CLASS_ID && t->SuperClassID() != TEXMAP_CLASS_ID))
      throw ConversionError(v, "Material");
    ip()->PutMtlToMtlEditor(m, i);
    return v;
  }
  Value* get_property(Value* prop) override {
    if (static_cast<Name*>(prop)->lower == "count") return Integer::intern(24);
    return unknown_property(this, prop);
  }
  Array* as_collection() override {
    auto* a = static_cast<Array*>(keep(new Array(24)));
    for (int i = 0; i < 24; ++i) a->append(sim::wrapTarget(ip()->GetMtlSlot(i)));
    return a;
  }
  void sprin1(CharStream* s) override { s->puts("#materialLibrary()"); }

 private:
  static int checkedSlot(Value* index) {
    int i = index->to_int();
    if (i < 1 || i > 24) throw RuntimeError("Material editor slot out of range: ", index);
    return i - 1;
  }
};

const bool kGlobals = [] {
  Runtime& rt = Runtime::get();
  rt.defineSystemGlobal("rootNode", [] { return sim::wrapTarget(ip()->GetRootNode()); });
  rt.defineSystemGlobal("objects", [] { return nodesWhere([](INode*) { return true; }); });
  rt.defineSystemGlobal("geometry", [] { return nodesOfSuperClass(GEOMOBJECT_CLASS_ID); });
  rt.defineSystemGlobal("lights", [] { return nodesOfSuperClass(LIGHT_CLASS_ID); });
  rt.defineSystemGlobal("cameras", [] { return nodesOfSuperClass(CAMERA_CLASS_ID); });
  rt.defineSystemGlobal("helpers", [] { return nodesOfSuperClass(HELPER_CLASS_ID); });
  rt.defineSystemGlobal("shapes", [] { return nodesOfSuperClass(SHAPE_CLASS_ID); });
  rt.defineSystemGlobal("spacewarps", [] { return nodesOfSuperClass(WSM_OBJECT_CLASS_ID); });
  rt.defineSystemGlobal("selection", [] {
    auto* a = static_cast<Array*>(keep(new Array));
    for (int i = 0; i < ip()->GetSelNodeCount(); ++i) a->append(sim::wrapTarget(ip()->GetSelNode(i)));
    return static_cast<Value*>(a);
  });
  rt.defineSystemGlobal("meditMaterials", [] { return static_cast<Value*>(new EditorSlots); });
  rt.defineSystemGlobal("sceneMaterials", [] {
    auto* a = static_cast<Array*>(keep(new Array));
    if (MtlBaseLib* lib = ip()->GetSceneMtls())
      for (int i = 0; i < lib->Count(); ++i) a->append(sim::wrapTarget((*lib)[i]));
    return static_cast<Value*>(a);
  });
  return true;
}();

}  // namespace

def_visible_primitive(getNodeByName, "getNodeByName");
Value* getNodeByName_cf(Value** arg_list, int count) {
  if (count_positional_args(arg_list, count) != 1) throw ArgCountError("getNodeByName", 1, count_positional_args(arg_list, count));
  return sim::wrapTarget(ip()->GetINodeByName(arg_list[0]->to_string()));
}

def_visible_primitive(select, "select");
Value* select_cf(Value** arg_list, int count) {
  check_arg_count(select, 1, count);
  ip()->ClearNodeSelection();
  for (INode* n : nodesOf(arg_list[0])) ip()->SelectNode(n, 0);
  return ok;
}

def_visible_primitive(selectMore, "selectMore");
Value* selectMore_cf(Value** arg_list, int count) {
  check_arg_count(selectMore, 1, count);
  for (INode* n : nodesOf(arg_list[0])) ip()->SelectNode(n, 0);
  return ok;
}

def_visible_primitive(deselect, "deselect");
Value* deselect_cf(Value** arg_list, int count) {
  check_arg_count(deselect, 1, count);
  for (INode* n : nodesOf(arg_list[0])) ip()->DeSelectNode(n);
  return ok;
}

def_visible_primitive(clearSelection, "clearSelection");
Value* clearSelection_cf(Value**, int) {
  ip()->ClearNodeSelection();
  return ok;
}

def_visible_primitive(delete, "delete");
Value* delete_cf(Value** arg_list, int count) {
  check_arg_count(delete, 1, count);
  for (INode* n : nodesOf(arg_list[0])) ip()->DeleteNode(n);
  return ok;
}

// instance node [prop:value ...]: a new node that shares the node's object (its modifiers
// included), with its own transform; keyword arguments set its properties, in the order given.
def_visible_primitive(instance, "instance");
Value* instance_cf(Value** arg_list, int count) {
  if (count_positional_args(arg_list, count) != 1) throw ArgCountError("instance", 1, count_positional_args(arg_list, count));
  INode* n = sim::cloneNode(arg_list[0]->to_node(), sim::NodeClone::Instance);
  if (!n) throw RuntimeError("Cannot instance: ", arg_list[0]);
  Value* result = keep(MAXNode::intern(n));
  for (int i = 2; i + 1 < count; i += 2) result->set_property(arg_list[i], arg_list[i + 1]);
  return result;
}

#define node_flag_primitive(fn, call)                   \
  def_visible_primitive(fn, #fn);                       \
  Value* fn##_cf(Value** arg_list, int count) {         \
    check_arg_count(fn, 1, count);                      \
    for (INode* n : nodesOf(arg_list[0])) n->call;      \
    return ok;                                          \
  }
node_flag_primitive(hide, Hide(TRUE))
node_flag_primitive(unhide, Hide(FALSE))
node_flag_primitive(freeze, Freeze(TRUE))
node_flag_primitive(unfreeze, Freeze(FALSE))

def_visible_primitive(resetMaxFile, "resetMaxFile");
Value* resetMaxFile_cf(Value**, int) {
  sim::coreInterface()->resetScene();
  return ok;
}

// ---- user properties and app data ------------------------------------------------------------------

def_visible_primitive(getUserPropBuffer, "getUserPropBuffer");
Value* getUserPropBuffer_cf(Value** arg_list, int count) {
  check_arg_count(getUserPropBuffer, 1, count);
  MSTR buf;
  nodeArg(arg_list[0])->GetUserPropBuffer(buf);
  return new String(buf.str());
}

def_visible_primitive(setUserPropBuffer, "setUserPropBuffer");
Value* setUserPropBuffer_cf(Value** arg_list, int count) {
  check_arg_count(setUserPropBuffer, 2, count);
  nodeArg(arg_list[0])->SetUserPropBuffer(MSTR(arg_list[1]->to_string()));
  return ok;
}

def_visible_primitive(getUserProp, "getUserProp");
Value* getUserProp_cf(Value** arg_list, int count) {
  check_arg_count(getUserProp, 2, count);
  MSTR text;
  if (!nodeArg(arg_list[0])->GetUserPropString(MSTR(arg_list[1]->to_string()), text)) return undefined;
  return new String(text.str());
}

def_visible_primitive(setUserProp, "setUserProp");
Value* setUserProp_cf(Value** arg_list, int count) {
  check_arg_count(setUserProp, 3, count);
  nodeArg(arg_list[0])->SetUserPropString(MSTR(arg_list[1]->to_string()), MSTR(value_to_text(arg_list[2], false)));
  return ok;
}

def_visible_primitive(getAppData, "getAppData");
Value* getAppData_cf(Value** arg_list, int count) {
  check_arg_count(getAppData, 2, count);
  DWORD id = static_cast<DWORD>(arg_list[1]->to_int());
  AppDataChunk* c = animatableArg(arg_list[0])->GetAppDataChunk(kScriptAppData, kScriptAppDataSuper, id);
  if (!c || !c->data) return undefined;
  return new String(std::string(static_cast<const char*>(c->data), strnlen(static_cast<const char*>(c->data), c->length)));
}

def_visible_primitive(setAppData, "setAppData");
Value* setAppData_cf(Value** arg_list, int count) {
  check_arg_count(setAppData, 3, count);
  // Everything that can raise a script error comes before the block is allocated, which the
  // object owns only once it is added.
  Animatable* target = animatableArg(arg_list[0]);
  DWORD id = static_cast<DWORD>(arg_list[1]->to_int());
  std::string text = value_to_text(arg_list[2], false);
  auto* data = static_cast<char*>(MAX_malloc(text.size() + 1));
  std::memcpy(data, text.c_str(), text.size() + 1);
  target->AddAppDataChunk(kScriptAppData, kScriptAppDataSuper, id, static_cast<DWORD>(text.size() + 1), data);
  return ok;
}

def_visible_primitive(deleteAppData, "deleteAppData");
Value* deleteAppData_cf(Value** arg_list, int count) {
  check_arg_count(deleteAppData, 2, count);
  DWORD id = static_cast<DWORD>(arg_list[1]->to_int());
  animatableArg(arg_list[0])->RemoveAppDataChunk(kScriptAppData, kScriptAppDataSuper, id);
  return ok;
}

// ---- controllers -----------------------------------------------------------------------------------

def_visible_primitive(getVisController, "getVisController");
Value* getVisController_cf(Value** arg_list, int count) {
  check_arg_count(getVisController, 1, count);
  return sim::wrapTarget(nodeArg(arg_list[0])->GetVisController());
}

def_visible_primitive(setVisController, "setVisController");
Value* setVisController_cf(Value** arg_list, int count) {
  check_arg_count(setVisController, 2, count);
  nodeArg(arg_list[0])->SetVisController(arg_list[1] == undefined ? nullptr : controllerArg(arg_list[1]));
  return ok;
}

def_visible_primitive(getImageBlurMultController, "getImageBlurMultController");
Value* getImageBlurMultController_cf(Value** arg_list, int count) {
  check_arg_count(getImageBlurMultController, 1, count);
  return sim::wrapTarget(nodeArg(arg_list[0])->GetImageBlurMultController());
}

def_visible_primitive(setImageBlurMultController, "setImageBlurMultController");
Value* setImageBlurMultController_cf(Value** arg_list, int count) {
  check_arg_count(setImageBlurMultController, 2, count);
  nodeArg(arg_list[0])->SetImageBlurMultController(arg_list[1] == undefined ? nullptr : controllerArg(arg_list[1]));
  return ok;
}

def_visible_primitive(getPropertyController, "getPropertyController");
Value* getPropertyController_cf(Value** arg_list, int count) {
  check_arg_count(getPropertyController, 2, count);
  Value* name = is_name(arg_list[1]) ? arg_list[1] : Name::intern(arg_list[1]->to_string());
  return getPropertyController(arg_list[0], name);
}

def_visible_primitive(setPropertyController, "setPropertyController");
Value* setPropertyController_cf(Value** arg_list, int count) {
  check_arg_count(setPropertyController, 3, count);
  Value* name = is_name(arg_list[1]) ? arg_list[1] : Name::intern(arg_list[1]->to_string());
  setPropertyController(arg_list[0], name, arg_list[2]);
  return arg_list[2];
}

def_visible_primitive(addModifier, "addModifier");
Value* addModifier_cf(Value** arg_list, int count) {
  if (count_positional_args(arg_list, count) != 2) throw ArgCountError("addModifier", 2, count_positional_args(arg_list, count));
  INode* n = nodeArg(arg_list[0]);
  ReferenceTarget* m = arg_list[1]->to_reftarg();
  auto* mod = dynamic_cast<Modifier*>(m);
  if (!mod || m->SuperClassID() != OSM_CLASS_ID) throw ConversionError(arg_list[1], "Modifier");
  if (!ip()->AddModifier(*n, *mod)) return false_value;
  return ok;
}

// deleteModifier node (index | modifier): the index counts from the top of the stack, as the
// node's .modifiers array does; a modifier that is not on the node's stack deletes nothing.
def_visible_primitive(deleteModifier, "deleteModifier");
Value* deleteModifier_cf(Value** arg_list, int count) {
  check_arg_count(deleteModifier, 2, count);
  INode* n = nodeArg(arg_list[0]);
  auto* derived = dynamic_cast<IDerivedObject*>(n->GetObjectRef());
  const int stack = derived ? derived->NumModifiers() : 0;
  int index = -1;
  if (is_number(arg_list[1])) {
    index = arg_list[1]->to_int() - 1;
    if (index < 0 || index >= stack) throw RuntimeError("Modifier index out of range: ", arg_list[1]);
  } else {
    auto* mod = dynamic_cast<Modifier*>(arg_list[1]->to_reftarg());
    if (!mod) throw ConversionError(arg_list[1], "Modifier");
    for (int i = 0; i < stack && index < 0; ++i)
      if (derived->GetModifier(i) == mod) index = i;
    if (index < 0) return false_value;
  }
  return ip()->DeleteModifier(*n, index) ? ok : false_value;
}

// ---- sub-animations and sub-materials --------------------------------------------------------------

def_visible_primitive(getNumSubs, "getNumSubs");
Value* getNumSubs_cf(Value** arg_list, int count) {
  check_arg_count(getNumSubs, 1, count);
  return Integer::intern(animatableArg(arg_list[0])->NumSubs());
}

def_visible_primitive(getSubAnimName, "getSubAnimName");
Value* getSubAnimName_cf(Value** arg_list, int count) {
  check_arg_count(getSubAnimName, 2, count);
  Animatable* a = animatableArg(arg_list[0]);
  int i = arg_list[1]->to_int();
  if (i < 1 || i > a->NumSubs()) throw RuntimeError("Sub-animation index out of range: ", arg_list[1]);
  return Name::intern(subAnimScriptName(a->SubAnimName(i - 1)).c_str());
}

def_visible_primitive(getNumSubMtls, "getNumSubMtls");
Value* getNumSubMtls_cf(Value** arg_list, int count) {
  check_arg_count(getNumSubMtls, 1, count);
  Mtl* m = arg_list[0]->to_mtl();
  return Integer::intern(m ? m->NumSubMtls() : 0);
}

def_visible_primitive(getSubMtl, "getSubMtl");
Value* getSubMtl_cf(Value** arg_list, int count) {
  check_arg_count(getSubMtl, 2, count);
  Mtl* m = arg_list[0]->to_mtl();
  int i = arg_list[1]->to_int();
  if (!m || i < 1 || i > m->NumSubMtls()) return undefined;
  return sim::wrapTarget(m->GetSubMtl(i - 1));
}

def_visible_primitive(setSubMtl, "setSubMtl");
Value* setSubMtl_cf(Value** arg_list, int count) {
  check_arg_count(setSubMtl, 3, count);
  Mtl* m = arg_list[0]->to_mtl();
  int i = arg_list[1]->to_int();
  if (!m || i < 1 || i > m->NumSubMtls()) throw RuntimeError("Sub-material index out of range: ", arg_list[1]);
  m->SetSubMtl(i - 1, arg_list[2] == undefined ? nullptr : arg_list[2]->to_mtl());
  return ok;
}

def_visible_primitive(getSubMtlSlotName, "getSubMtlSlotName");
Value* getSubMtlSlotName_cf(Value** arg_list, int count) {
  check_arg_count(getSubMtlSlotName, 2, count);
  Mtl* m = arg_list[0]->to_mtl();
  int i = arg_list[1]->to_int();
  if (!m || i < 1 || i > m->NumSubMtls()) return undefined;
  return new String(m->GetSubMtlSlotName(i - 1).str());
}
