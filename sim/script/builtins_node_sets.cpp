// The selection as an array, and whether a value still stands for a live node or object.
#include "inode.h"
#include "maxapi.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "script/evaluator.h"
#include "script/property_table.h"

using namespace sim::rt;

// getCurrentSelection(): a new array of the selected nodes, in selection order.
def_visible_primitive(getCurrentSelection, "getCurrentSelection");
Value* getCurrentSelection_cf(Value** arg_list, int count) {
  check_arg_count(getCurrentSelection, 0, count_positional_args(arg_list, count));
  Interface* ip = GetCOREInterface();
  auto* a = static_cast<Array*>(keep(new Array(ip->GetSelNodeCount())));
  for (int i = 0; i < ip->GetSelNodeCount(); ++i) a->append(sim::wrapTarget(ip->GetSelNode(i)));
  return a;
}

// isValidNode v: any value; true only for a node that was not deleted.
def_visible_primitive(isValidNode, "isValidNode");
Value* isValidNode_cf(Value** arg_list, int count) {
  check_arg_count(isValidNode, 1, count);
  auto* n = dynamic_cast<MAXNode*>(arg_list[0]);
  return bool_result(n && n->node() != nullptr);
}

// isDeleted obj: for nodes, objects, controllers and materials, whether it was deleted.
def_visible_primitive(isDeleted, "isDeleted");
Value* isDeleted_cf(Value** arg_list, int count) {
  check_arg_count(isDeleted, 1, count);
  auto* w = dynamic_cast<MAXWrapper*>(arg_list[0]);
  if (!w) throw ConversionError(arg_list[0], "MAXWrapper");
  return bool_result(w->target() == nullptr);
}
