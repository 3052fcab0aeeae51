// shadeMaterial: a host function of ours (the real language has none) that shows what a renderer
// gets from a material: the colour of one point facing the eye under a white light from the eye, so
// a plain surface answers its diffuse colour. It takes a material or a node (the node's material);
// an empty material answers black. Shading happens at the script's current time.
#include "imtl.h"
#include "inode.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "render/shade_point.h"
#include "script/runtime.h"

using namespace sim::rt;

namespace {

Mtl* shadedMaterial(Value* v) {
  if (dynamic_cast<MAXNode*>(v)) return v->to_node()->GetMtl();
  return v == undefined ? nullptr : v->to_mtl();
}

}  // namespace

def_visible_primitive(shadeMaterial, "shadeMaterial");
Value* shadeMaterial_cf(Value** arg_list, int count) {
  check_arg_count(shadeMaterial, 1, count);
  ShadeOutput out = sim::shadePoint(shadedMaterial(arg_list[0]), Runtime::get().time());
  return new ColorValue(AColor(out.c.r, out.c.g, out.c.b, 1.0f));
}
