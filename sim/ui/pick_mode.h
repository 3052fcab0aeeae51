// The host's pick mode: a control that asks for a node (a pick-node button) waits until one is
// picked, as a click on a node in a viewport would pick it. Scripts pick with `pickNode`.
#pragma once

#include "host_api.h"

class INode;

namespace sim::ui {

class PickTarget {
 public:
  virtual ~PickTarget() = default;
  // Takes the node; false when it refuses it (the pick mode then goes on waiting).
  virtual bool pick(INode* node) = 0;
  // The mode ended without a pick (another mode came, or the control went).
  virtual void pickEnded() = 0;
};

// Starts waiting for `target`, ending the mode of any other target first.
void startPickMode(PickTarget* target);
// Ends the mode when `target` is the one waiting (pickEnded is not called).
void stopPickMode(PickTarget* target);
HOST_API PickTarget* currentPickMode();
// Offers `node` to the waiting target: true when it took it, which ends the mode.
HOST_API bool pickNode(INode* node);

}  // namespace sim::ui
