// Capture: reads the properties named in a holder's propertyName from its target node and writes
// them into the records of one pass (or the initial record), storing animated controllers in the
// holder's controller lists and object values in its object table.
#pragma once

#include "inode.h"
#include "iparamb2.h"

struct CaptureRequest {
  INode* node;          // the target node
  IParamBlock2* pblock; // the block that receives the records
  bool initial;         // the initial record instead of a pass
  int whichPass;        // pass number (per-pass form)
  int doOnlyUncaptured; // 1: properties that already have a value keep their fields
  int topLevelEval;     // the receiving holder's doTopLevelEval
  bool debug;           // doDebugPrint of the holder the function was called on
};

// Pass numbers below this are refused.
constexpr int kFirstPassNumber = 5000;

void RunCapture(const CaptureRequest& request);
