// Creating an object by mouse, as the create panel does: the class's mouse procedure is fed the
// mouse events of the active viewport; the first point makes the node, and the finished creation is
// one undo step. An aborted creation leaves nothing behind.
#pragma once

#include "core/ref_graph.h"
#include "plugapi.h"
#include "viewexp.h"

#include <string>

namespace sim::ui {

class HOST_API ObjectCreation {
 public:
  static ObjectCreation& instance();

  // Starts placing a new object of `cd` (a creation under way is aborted first). False, with
  // `error` set, when the class makes no object or its objects have no mouse procedure.
  bool start(ClassDesc* cd, std::string& error);
  bool active() const { return object_.get() != nullptr; }
  // One mouse event at window point `m` of the active viewport: MOUSE_POINT (a press or a release),
  // MOUSE_MOVE (a free move before the first point) or MOUSE_ABORT. Answers what the procedure
  // said: CREATE_CONTINUE, CREATE_STOP (the node is made, selected, and the step accepted) or
  // CREATE_ABORT (nothing is left).
  int event(int msg, IPoint2 m);
  // Ends a creation under way without asking its object (a host reset): nothing is left.
  void cancel() { end(false); }
  // The node of the last creation that ended with CREATE_STOP, or null.
  INode* lastCreated() const;

 private:
  void end(bool keep);
  KeepAlive object_;       // the new object, until the creation ends
  ULONG nodeHandle_ = 0;   // its node, once the first point made it
  ULONG lastCreated_ = 0;
  int points_ = 0;
  Matrix3 mat_;
};

}  // namespace sim::ui
