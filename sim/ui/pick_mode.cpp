#include "ui/pick_mode.h"

namespace sim::ui {

namespace {
PickTarget* waiting = nullptr;
}  // namespace

void startPickMode(PickTarget* target) {
  if (waiting == target) return;
  if (PickTarget* old = waiting) {
    waiting = nullptr;
    old->pickEnded();
  }
  waiting = target;
}

void stopPickMode(PickTarget* target) {
  if (waiting == target) waiting = nullptr;
}

PickTarget* currentPickMode() { return waiting; }

bool pickNode(INode* node) {
  PickTarget* target = waiting;
  if (!target || !node) return false;
  // The target may start another mode or go away while it takes the node: it leaves the mode first.
  waiting = nullptr;
  if (target->pick(node)) return true;
  if (!waiting) waiting = target;
  return false;
}

}  // namespace sim::ui
