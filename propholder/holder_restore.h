// Restore: puts a node back into a state that capture stored in a holder, the state of one pass or
// the initial state. Node flags, user properties and the material are set directly; everything else
// (stored controllers relinked, values assigned at time 0, object values) by composed script texts.
#pragma once

#include "inode.h"
#include "iparamb2.h"

#include <string>

struct RestoreRequest {
  INode* node;          // the node to restore
  IParamBlock2* pblock; // the block holding the records
  bool initial;         // the initial record instead of a pass
  int whichPass;        // pass number (per-pass form)
  int whereInList;      // the slot the node's per-pass material shows for this pass
  std::string propName; // initial form: when it names a slot, only that slot is restored
  int topLevelEval;     // the block's doTopLevelEval
  bool debug;           // doDebugPrint of the holder the function was called on
};

void RunRestore(const RestoreRequest& request);
