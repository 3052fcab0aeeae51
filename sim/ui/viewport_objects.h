// How the viewports treat the objects they show: the host's own classes are drawn, picked and
// snapped to by the host; every other object by its own code.
#pragma once

#include "mesh.h"
#include "object.h"
#include "viewexp.h"

namespace sim::ui {

// True for objects of the host's own classes (and objects made without a class descriptor).
bool isHostClass(Object* obj);
// The mesh of a geometry object at `t`, when it has one.
bool meshOf(Object* obj, TimeValue t, Mesh& mesh);
// Offers the vertices of `mesh`, under the window's current transform (which must be `tm`), to
// `snap` as an object's Snap does with its own candidates.
void snapMeshVertices(const Mesh& mesh, const Matrix3& tm, SnapInfo& snap, const IPoint2& cursor, GraphicsWindow& gw);

}  // namespace sim::ui
