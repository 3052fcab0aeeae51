// Shading one point of a material, for scripts and tests that want to see what a renderer would get:
// the point faces the eye, lit by one white light from the eye and no ambient light, so a plain
// surface answers its diffuse colour.
#pragma once

#include "imtl.h"

namespace sim {

// What `mtl`'s Shade writes for that point at time `t`, with the G-buffer id the renderer would
// store. `mtl` gets Update(t) first, as a renderer's does.
HOST_API ShadeOutput shadePoint(Mtl* mtl, TimeValue t);

}  // namespace sim
