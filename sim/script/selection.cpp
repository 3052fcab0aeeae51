#include "script/selection.h"

#include "inode.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "script/evaluator.h"
#include "script/property_table.h"

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

}  // namespace sim::rt
