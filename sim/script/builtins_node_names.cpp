// Node names, kinds and references: uniqueName, isKindOf, `.mat` as the short name of a node's
// material, and reference.
#include "inode.h"
#include "maxscript/maxobjects.h"
#include "object.h"
#include "maxscript/maxscript.h"
#include "scene/scene_node.h"
#include "script/evaluator.h"
#include "script/property_table.h"

#include <cstdlib>
#include <string>

using namespace sim::rt;

Value* classOf_cf(Value** arg_list, int count);
Value* superClassOf_cf(Value** arg_list, int count);

namespace {

const bool kMaterialAlias = sim::addPropertyTable(
    sim::PropertyScope{BASENODE_CLASS_ID, Class_ID(0, 0), false,
                       [](ReferenceTarget* t) { return dynamic_cast<sim::SceneNode*>(t) != nullptr; }, false},
    {
        {"mat",
         [](ReferenceTarget* t, TimeValue tv) { return sim::findPropertyEntry(t, Name::intern("material"))->get(t, tv); },
         [](ReferenceTarget* t, TimeValue tv, Value* v) { sim::findPropertyEntry(t, Name::intern("material"))->set(t, tv, v); }},
    });

}  // namespace

// uniqueName "Box" [numDigits:3]: the next name of that base no node has (Box001, Box002, ...).
def_visible_primitive(uniqueName, "uniqueName");
Value* uniqueName_cf(Value** arg_list, int count) {
  int n = count_positional_args(arg_list, count);
  if (n != 1) throw ArgCountError("uniqueName", 1, n);
  std::string base = arg_list[0]->to_string();
  Value* digitsArg = key_arg(numDigits);
  int digits = digitsArg == &unsupplied ? 3 : digitsArg->to_int();
  if (digits < 1 || digits > 9) throw RuntimeError("numDigits must be from 1 to 9, got: ", digitsArg);
  // The scene's name index knows the first free number; only its width is ours.
  std::string free = sim::uniqueNodeName(base);
  long k = std::atol(free.c_str() + base.size());
  std::string number = std::to_string(k);
  if (static_cast<int>(number.size()) < digits) number.insert(0, static_cast<size_t>(digits) - number.size(), '0');
  return new String(base + number);
}

// isKindOf v c: whether v's class or super class is c (isKindOf $Box01 Box, ... GeometryClass).
def_visible_primitive(isKindOf, "isKindOf");
Value* isKindOf_cf(Value** arg_list, int count) {
  check_arg_count(isKindOf, 2, count);
  Value* want = arg_list[1];
  for (auto* of : {classOf_cf, superClassOf_cf}) {
    Value* c = keep(of(arg_list, 1));
    if (c == want || c->equals(want)) return true_value;
  }
  return false_value;
}

// reference node [prop:value ...]: a new node whose object is a stack of its own over the node's
// object, so that modifiers added to it stay its own while changes below reach both. A node bound
// to space warps shares its object plainly, as instance does.
def_visible_primitive(reference, "reference");
Value* reference_cf(Value** arg_list, int count) {
  int n = count_positional_args(arg_list, count);
  if (n != 1) throw ArgCountError("reference", 1, n);
  INode* src = arg_list[0]->to_node();
  if (!src) throw ConversionError(arg_list[0], "MAXNode");
  // The node's own stack becomes the shared part, so that what it gets later reaches both.
  Object* shared = src->GetObjectRef();
  bool ownStack = shared && src->GetObjOrWSMRef() == shared;
  if (ownStack && shared->ClassID() != derivObjClassID) {
    IDerivedObject* below = CreateDerivedObject(shared);
    src->SetObjectRef(below);
    shared = below;
  }
  INode* node = sim::cloneNode(src, sim::NodeClone::Instance);
  if (!node) throw RuntimeError("Cannot reference: ", arg_list[0]);
  if (ownStack) node->SetObjectRef(CreateDerivedObject(shared));
  Value* result = keep(MAXNode::intern(node));
  for (int i = n + 1; i + 1 < count; i += 2) result->set_property(arg_list[i], arg_list[i + 1]);
  return result;
}
