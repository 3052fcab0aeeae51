#include "script/creation_level.h"

#include "inode.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"

namespace sim {
namespace {

// Never freed, so that no value is released after the value heap went (resetLevel empties it
// first). Null is the top level.
ValueRef& level() {
  static auto* v = new ValueRef;
  return *v;
}

Value* checkedLevel(Value* v) {
  if (v == undefined) return nullptr;
  if (!is_node(v)) throw RuntimeError("at level wants a node, got: ", v);
  INode* n = v->to_node();  // a deleted node is refused now rather than at each creation
  return n->IsRootNode() ? nullptr : v;
}

}  // namespace

INode* creationParent() {
  Value* v = level().get();
  return v ? v->to_node() : nullptr;
}

Value* currentLevel() {
  Value* v = level().get();
  return v ? v : undefined;
}

void setLevel(Value* v) { level() = checkedLevel(v); }

LevelScope::LevelScope(Value* v) : saved_(level().get()) { setLevel(v); }

LevelScope::~LevelScope() { level() = saved_.get(); }

void resetLevel() { level() = nullptr; }

}  // namespace sim
