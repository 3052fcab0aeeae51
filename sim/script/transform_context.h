// The working coordinate system and the transform centre of script transforms: what `in coordsys`,
// `about` and their `set` forms choose. Node `.pos` and `.rotation` read and write in the working
// system, and `move`, `rotate` and `scale` take their axes from it and their centre from `about`.
//
// A system is given as the language writes it: #world, #local (each node's own axes), #parent
// (the node's parent's axes, world for a node without parent), a node (that node's axes) or a
// matrix3 (used as it is, scale included). #grid and #screen act as #world: the host has no
// construction grid and no viewport of its own. Systems built from nodes take their axes without
// the node's scale, so that a distance means the same in every system.
//
// A centre is #pivot (each node's own pivot, the default), #selection (the centre of the selected
// nodes' box), #coordsys (the working system's origin), a node (its pivot), a point3 (a point in
// the working system) or a matrix3 (its translation).
#pragma once

#include "maxscript/classes.h"
#include "matrix3.h"
#include "quat.h"

class INode;

namespace sim {

// The current settings as script values (#world, a node, a matrix3; #pivot, a point3, ...).
HOST_API Value* currentCoordSys();
HOST_API Value* currentAbout();
// Checks and sets a setting; #default sets the default. A wrong value raises a script error and
// changes nothing.
HOST_API void setCoordSys(Value* spec);
HOST_API void setAbout(Value* spec);

// Sets the working system and centre for its lifetime, putting back what was there on every way
// out. Constructed without arguments it sets world and pivot: host code that must see world
// values whatever a script chose (transforms done in world terms, text run for a plug-in).
class HOST_API TransformContextScope {
 public:
  TransformContextScope();
  TransformContextScope(Value* coordsys, Value* about);
  ~TransformContextScope();
  TransformContextScope(const TransformContextScope&) = delete;
  TransformContextScope& operator=(const TransformContextScope&) = delete;

 private:
  ValueRef coordsys_, about_;
};

// Whether the working system is world (nothing to convert).
HOST_API bool workingSystemIsWorld();
// The working system for node `n` at `t`: its axes and origin in world space.
HOST_API Matrix3 workingSystemTM(INode* n, TimeValue t);
// Whether the centre is each node's own pivot.
HOST_API bool isPivotCentre();
// The transform centre for node `n` at `t`, in world space.
HOST_API Point3 transformCentre(INode* n, TimeValue t);

// Conversions of a node's world position and rotation to and from the working system.
HOST_API Point3 positionToWorkingSystem(INode* n, TimeValue t, const Point3& world);
HOST_API Point3 positionFromWorkingSystem(INode* n, TimeValue t, const Point3& inSystem);
HOST_API Quat rotationToWorkingSystem(INode* n, TimeValue t, const Quat& world);
HOST_API Quat rotationFromWorkingSystem(INode* n, TimeValue t, const Quat& inSystem);

// Frees the settings' values; the script runtime's last step.
HOST_API void resetTransformContexts();

}  // namespace sim
