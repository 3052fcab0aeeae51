// Moving nodes from script: `move`, `rotate` and `scale` on a node, an array or a path's nodes, and
// the world bounds of nodes (`.min`, `.max`, `.center`) and their `.pivot`. Transforms go through
// the nodes' own `pos`, `rotation` and `scale` properties, so they land on the transform
// controllers at the current time, with animate mode, as assignments do.
#include "inode.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "object.h"
#include "scene/scene_node.h"
#include "scene/scene_values.h"
#include "script/evaluator.h"
#include "script/node_args.h"
#include "script/node_bounds.h"
#include "script/property_table.h"
#include "script/rotation_values.h"
#include "script/runtime.h"

#include <cmath>
#include <numbers>
#include <vector>

using namespace sim::rt;

namespace {

Value* nodeProperty(INode* n, const char* name) {
  const sim::PropertyEntry* e = sim::findPropertyEntry(n, Name::intern(name));
  return e->get(n, Runtime::get().time());
}

void setNodeProperty(INode* n, const char* name, Value* v) {
  ValueRef hold(v);
  sim::findPropertyEntry(n, Name::intern(name))->set(n, Runtime::get().time(), v);
}

// The rotation argument of `rotate`: any rotation value, or an angle in degrees and an axis.
Quat rotationArgs(Value** args, int n) {
  if (n == 2) return sim::rt::rotationToQuat(args[1]);
  float a = args[1]->to_float() * static_cast<float>(std::numbers::pi / 180.0);
  return QFromAngAxis(a, args[2]->to_point3());
}

// The world box of a node's object after its modifiers; a node without geometry (a light, a
// camera, a dummy without size) is a point at its pivot.
Box3 worldBox(INode* n) {
  TimeValue t = Runtime::get().time();
  Box3 box;
  if (Object* o = n->EvalWorldState(t).obj) {
    Matrix3 tm = n->GetObjectTM(t);
    o->GetDeformBBox(t, box, &tm);
  }
  if (box.IsEmpty()) box += n->GetNodeTM(t).GetTrans();
  return box;
}

// Moves the pivot to `world` and the object back by as much, so the object stays where it was.
void setPivot(INode* n, const Point3& world) {
  TimeValue t = Runtime::get().time();
  Matrix3 before = n->GetNodeTM(t);
  Point3 shift = before.GetTrans() - world;
  Matrix3 axes = before;
  axes.NoTrans();
  setNodeProperty(n, "pos", new Point3Value(world));
  n->SetObjOffsetPos(n->GetObjOffsetPos() + shift * Inverse(axes));
}

const bool kBoundsProperties = sim::addPropertyTable(
    sim::PropertyScope{BASENODE_CLASS_ID, Class_ID(0, 0), false,
                       [](ReferenceTarget* t) { return dynamic_cast<sim::SceneNode*>(t) != nullptr; }, false},
    {
        {"min", [](ReferenceTarget* t, TimeValue) -> Value* { return new Point3Value(worldBox(static_cast<INode*>(t)).Min()); },
         nullptr},
        {"max", [](ReferenceTarget* t, TimeValue) -> Value* { return new Point3Value(worldBox(static_cast<INode*>(t)).Max()); },
         nullptr},
        // Setting the centre moves the node so that its box is centred there.
        {"center",
         [](ReferenceTarget* t, TimeValue) -> Value* { return new Point3Value(worldBox(static_cast<INode*>(t)).Center()); },
         [](ReferenceTarget* t, TimeValue, Value* v) {
           auto* n = static_cast<INode*>(t);
           Point3 shift = v->to_point3() - worldBox(n).Center();
           setNodeProperty(n, "pos", new Point3Value(nodeProperty(n, "pos")->to_point3() + shift));
         }},
        {"pivot", [](ReferenceTarget* t, TimeValue tv) -> Value* { return new Point3Value(static_cast<INode*>(t)->GetNodeTM(tv).GetTrans()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { setPivot(static_cast<INode*>(t), v->to_point3()); }},
    });

}  // namespace

namespace sim::rt {

Box3 worldBoxAround(const std::vector<INode*>& nodes) {
  Box3 box;
  for (INode* n : nodes) box += worldBox(n);
  return box;
}

Value* nodeSetBounds(Array* nodes, Value* prop) {
  if (!is_name(prop)) return nullptr;
  const std::string& which = static_cast<Name*>(prop)->lower;
  if (which != "min" && which != "max" && which != "center") return nullptr;
  if (nodes->size == 0) return nullptr;
  std::vector<INode*> list;
  for (int i = 0; i < nodes->size; ++i) {
    if (!is_node(nodes->data[i])) return nullptr;
    list.push_back(nodeArg(nodes->data[i]));
  }
  Box3 box = worldBoxAround(list);
  return new Point3Value(which == "min" ? box.Min() : which == "max" ? box.Max() : box.Center());
}

}  // namespace sim::rt

// move nodes offset: by a world offset.
def_visible_primitive(move, "move");
Value* move_cf(Value** arg_list, int count) {
  check_arg_count(move, 2, count);
  Point3 offset = arg_list[1]->to_point3();
  for (INode* n : nodesOf(arg_list[0]))
    setNodeProperty(n, "pos", new Point3Value(nodeProperty(n, "pos")->to_point3() + offset));
  return ok;
}

// rotate nodes (quat | eulerAngles | angle axis): about each node's own pivot, in world axes.
def_visible_primitive(rotate, "rotate");
Value* rotate_cf(Value** arg_list, int count) {
  int n = count_positional_args(arg_list, count);
  if (n != 2 && n != 3) throw ArgCountError("rotate", 2, n);
  Quat by = rotationArgs(arg_list, n);
  for (INode* node : nodesOf(arg_list[0])) {
    Quat now = sim::toQuat(nodeProperty(node, "rotation"));
    setNodeProperty(node, "rotation", sim::quatValue(now * by));
  }
  return ok;
}

// scale nodes factor: multiplies each node's scale, per axis (a number scales all three).
def_visible_primitive(scale, "scale");
Value* scale_cf(Value** arg_list, int count) {
  check_arg_count(scale, 2, count);
  Point3 by = is_number(arg_list[1]) ? Point3(1, 1, 1) * arg_list[1]->to_float() : arg_list[1]->to_point3();
  for (INode* n : nodesOf(arg_list[0])) {
    Point3 now = nodeProperty(n, "scale")->to_point3();
    setNodeProperty(n, "scale", new Point3Value(Point3(now.x * by.x, now.y * by.y, now.z * by.z)));
  }
  return ok;
}
