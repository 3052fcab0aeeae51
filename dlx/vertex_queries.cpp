// Vertex queries on a node's mesh: positions, selections, soft selection, picks within a sphere and
// the closest vertex.
#include "pending_primitives.h"

QZM_PENDING_PRIMITIVE(QZMgetVertPositions, 1)
QZM_PENDING_PRIMITIVE(QZMgetVertSelPositions, 1)
QZM_PENDING_PRIMITIVE(QZMgetVertSelection, 1)
QZM_PENDING_PRIMITIVE(QZMgetVertSoftSelection, 1)
QZM_PENDING_PRIMITIVE(QZMgetVertsInSphere, 5)
QZM_PENDING_PRIMITIVE(QZMgetClosestVert, 2)
