// Node arguments of primitives, read one way everywhere.
#pragma once

#include <vector>

class INode;
class Value;

namespace sim::rt {

// The node a value is; a conversion error for anything else (a deleted node included).
INode* nodeArg(Value* v);
// A node, or every node of an array or path collection; anything else among them is an error
// before the caller touches any node.
std::vector<INode*> nodesOf(Value* v);

}  // namespace sim::rt
