// Catmull-Clark subdivision of a triangle mesh, as the smoothing modifiers give it.
//
// The mesh's polygons are its triangles joined across invisible edges (a box's side is one quad),
// so a box subdivides as the application subdivides it: 26 vertices and 48 faces at one iteration,
// 98 and 192 at two. Open edges and their end points stay on the boundary curve. The result is
// quads, each stored as two triangles with an invisible diagonal; faces keep their material ids
// and are all in smoothing group 1.
#pragma once

#include "mesh.h"

namespace sim {

// Subdivides `mesh` in place `iterations` times. Iterations stop early, leaving the last result,
// once the next would pass kMaxSubdividedFaces faces: a number typed too large costs memory, not
// the host.
void subdivideMesh(Mesh& mesh, int iterations);

constexpr int kMaxSubdividedFaces = 1'000'000;

}  // namespace sim
