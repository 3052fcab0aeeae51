#include "script/selection.h"

#include "inode.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "script/evaluator.h"
#include "scene/scene_walk.h"
#include "script/property_table.h"

#include <vector>

namespace sim::rt {

// `$` is the selected node itself when exactly one is selected, else an array of the selection.
Value* selectionValue() {
  Interface* ip = GetCOREInterface();
  int n = ip->GetSelNodeCount();
  if (n == 1) return sim::wrapTarget(ip->GetSelNode(0));
  auto* a = static_cast<Array*>(keep(new Array(n)));
  for (int i = 0; i < n; ++i) a->append(sim::wrapTarget(ip->GetSelNode(i)));
  return a;
}

bool runSelectionCommand(std::string_view command) {
  const bool all = command == "select all", none = command == "select none", invert = command == "select invert";
  if (!all && !none && !invert) return false;
  Interface* ip = GetCOREInterface();
  std::vector<INode*> chosen;
  if (!none)
    forEachSceneNode([&](INode* n) {
      if (n->IsNodeHidden() || n->IsFrozen()) return;
      if (all || !n->Selected()) chosen.push_back(n);
    });
  ip->ClearNodeSelection();
  for (INode* n : chosen) ip->SelectNode(n, 0);
  return true;
}

}  // namespace sim::rt
