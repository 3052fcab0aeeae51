// The working level of `at level <node>` and `in <node>`: the node that scene objects created in
// the context are linked to, as the host links them when a level is open. No level (the default)
// creates objects at the top of the scene.
#pragma once

#include "maxscript/classes.h"

class INode;

namespace sim {

// The node new scene objects become children of, or null for the top level. A level whose node was
// deleted since it was set raises the deleted-node error here, at the creation it would spoil.
HOST_API INode* creationParent();
// The current level as a script value (a node, or undefined for the top level).
HOST_API Value* currentLevel();
// Checks and sets the level: a node, or undefined / rootNode for the top level. A wrong value
// raises a script error and changes nothing.
HOST_API void setLevel(Value* level);

// Sets the level for its lifetime, putting back what was there on every way out.
class HOST_API LevelScope {
 public:
  explicit LevelScope(Value* level);
  ~LevelScope();
  LevelScope(const LevelScope&) = delete;
  LevelScope& operator=(const LevelScope&) = delete;

 private:
  ValueRef saved_;
};

// Frees the setting's value; the script runtime's last step.
HOST_API void resetLevel();

}  // namespace sim
