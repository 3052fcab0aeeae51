// A scope in which nothing goes into an open undo hold: for the host's own bookkeeping (the
// references its windows keep to what they show), which is no change of the scene.
#pragma once

#include "hold.h"

namespace sim {

struct HoldSuspended {
  bool held = theHold.Holding() && !theHold.IsSuspended();
  HoldSuspended() {
    if (held) theHold.Suspend();
  }
  ~HoldSuspended() {
    if (held) theHold.Resume();
  }
  HoldSuspended(const HoldSuspended&) = delete;
  HoldSuspended& operator=(const HoldSuspended&) = delete;
};

}  // namespace sim
