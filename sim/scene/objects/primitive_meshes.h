// The meshes of the host's parametric objects, built as the host builds them: a box centred on its
// pivot in x and y standing on it (z from 0 to height), a sphere centred on its pivot, a cylinder and
// a plane like the box. Quads are split into two triangles whose shared edge is invisible. Segment
// counts are clamped to the ranges the host allows, so that no parameter value can ask for an
// unbounded mesh.
#pragma once

#include "mesh.h"

#include <vector>

namespace sim {

HOST_API void buildBoxMesh(Mesh& mesh, float length, float width, float height, int lengthSegs, int widthSegs,
                           int heightSegs);
HOST_API void buildSphereMesh(Mesh& mesh, float radius, int segs, bool smooth);
HOST_API void buildCylinderMesh(Mesh& mesh, float radius, float height, int heightSegs, int sides, bool smooth);
HOST_API void buildPlaneMesh(Mesh& mesh, float length, float width, int lengthSegs, int widthSegs);
// A closed outline as a flat fan of triangles around its centre point.
HOST_API void buildCappedOutlineMesh(Mesh& mesh, const std::vector<Point3>& outline);

}  // namespace sim
