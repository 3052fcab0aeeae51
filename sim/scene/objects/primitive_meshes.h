// The meshes of the host's parametric objects, built as the host builds them: a box centred on its
// pivot in x and y standing on it (z from 0 to height), a sphere centred on its pivot, a cylinder and
// a plane like the box; cones, tubes, pyramids and teapots stand on the pivot, tori and geospheres are
// centred on it. Quads are split into two triangles whose shared edge is invisible. Segment
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
// Cone: radius1 at the bottom, radius2 at the top (0 closes that end in a point).
HOST_API void buildConeMesh(Mesh& mesh, float radius1, float radius2, float height, int heightSegs, int capSegs,
                            int sides, bool smooth);
// Tube: the larger radius is the outside, the smaller the inside.
HOST_API void buildTubeMesh(Mesh& mesh, float radius1, float radius2, float height, int heightSegs, int capSegs,
                            int sides, bool smooth);
// Torus round the z axis: radius1 to the middle of the tube, radius2 the tube's; rotation and twist
// in radians; smooth 0 none, 1 sides, 2 all, 3 segments.
HOST_API void buildTorusMesh(Mesh& mesh, float radius1, float radius2, float rotation, float twist, int segs, int sides,
                             int smooth);
HOST_API void buildPyramidMesh(Mesh& mesh, float width, float depth, float height, int widthSegs, int depthSegs,
                               int heightSegs);
// baseType 0 tetrahedron, 1 octahedron, 2 icosahedron.
HOST_API void buildGeoSphereMesh(Mesh& mesh, float radius, int segs, int baseType, bool smooth, bool hemisphere,
                                 bool baseToPivot);
HOST_API void buildTeapotMesh(Mesh& mesh, float radius, int segs, bool smooth, bool body, bool handle, bool spout,
                              bool lid);
// A closed outline as a flat fan of triangles around its centre point.
HOST_API void buildCappedOutlineMesh(Mesh& mesh, const std::vector<Point3>& outline);

}  // namespace sim
