// The one walk over the scene's nodes: every node under the root (not the root), depth first in
// child order, without recursion, since hierarchies can be deeper than the stack.
#pragma once

#include "inode.h"
#include "maxapi.h"

#include <vector>

namespace sim {

template <class Visit>
void forEachSceneNode(Visit visit) {
  INode* root = GetCOREInterface()->GetRootNode();
  if (!root) return;
  std::vector<INode*> stack;
  for (int i = root->NumberOfChildren(); i-- > 0;)
    if (INode* c = root->GetChildNode(i)) stack.push_back(c);
  while (!stack.empty()) {
    INode* n = stack.back();
    stack.pop_back();
    visit(n);
    for (int i = n->NumberOfChildren(); i-- > 0;)
      if (INode* c = n->GetChildNode(i)) stack.push_back(c);
  }
}

}  // namespace sim
