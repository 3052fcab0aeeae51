// The holder's viewport icon: a flat ring of nine filled 20-degree sectors and nine gaps.
#pragma once

#include "mesh.h"

// Rebuilds `mesh` as the icon scaled by `size`: 36 vertices (outer ring 0-17, inner ring 18-35,
// vertex i at 20 degrees times i), 18 faces in smoothing group 1 whose hidden edges are the sector
// diagonals.
void BuildHolderIconMesh(Mesh& mesh, float size);
