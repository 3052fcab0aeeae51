#include "script/node_args.h"

#include "maxscript/maxscript.h"

namespace sim::rt {

INode* nodeArg(Value* v) {
  INode* n = v->to_node();
  if (!n) throw ConversionError(v, "MAXNode");
  return n;
}

std::vector<INode*> nodesOf(Value* v) {
  std::vector<INode*> out;
  if (Array* items = is_array(v) ? static_cast<Array*>(v) : v->as_collection()) {
    ValueRef hold(items);
    for (int i = 0; i < items->size; ++i) out.push_back(nodeArg(items->data[i]));
  } else {
    out.push_back(nodeArg(v));
  }
  return out;
}

}  // namespace sim::rt
