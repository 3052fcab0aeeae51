// Moving nodes from script: `move`, `rotate` and `scale` on a node, an array or a path's nodes, and
// the world bounds of nodes (`.min`, `.max`, `.center`) and their `.pivot`. Transforms take their
// axes from the working coordinate system and their centre from `about`, work the result out in
// world terms and write it through the nodes' own `pos`, `rotation` and `scale` properties (in
// world), so they land on the transform controllers at the current time, with animate mode, as
// assignments do.
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
#include "script/transform_context.h"

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

// The rotation argument of `rotate`: any rotation value, or an angle in degrees and an axis. Every
// one turns counter-clockwise about its axis for a positive angle (the right-hand rule). A quat or
// angleAxis holds its angle the other way round from eulerAngles and matrices (converting one to
// the other flips the sign), so those are applied conjugated.
Quat rotationArgs(Value** args, int n) {
  if (n == 3) {
    float a = args[1]->to_float() * static_cast<float>(std::numbers::pi / 180.0);
    return QFromAngAxis(a, args[2]->to_point3()).Conjugate();
  }
  Quat q = sim::rt::rotationToQuat(args[1]);
  const bool angleFirst = args[1]->tag == class_tag(Quat) || args[1]->tag == &AngleAxis_class;
  return angleFirst ? q.Conjugate() : q;
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

// What one node's transform is about to be: worked out for every node before any of them moves,
// so that a centre taken from the nodes (about selection, about a node among them) stays put.
// A node's own pivot is read when the node turns, since turning a parent first moves it.
struct NodeStep {
  INode* node;
  Matrix3 axes;     // the working system's axes for this node: rotation only
  Point3 centre;    // the transform centre, world
  bool ownPivot;    // the centre is the node's pivot wherever it is by then
};

std::vector<NodeStep> plan(Value* nodes) {
  TimeValue t = Runtime::get().time();
  bool pivot = sim::isPivotCentre();
  std::vector<NodeStep> steps;
  for (INode* n : nodesOf(nodes)) {
    Matrix3 m = sim::workingSystemTM(n, t);
    Matrix3 axes(m.GetRow(0).Normalize(), m.GetRow(1).Normalize(), m.GetRow(2).Normalize(), Point3());
    steps.push_back({n, axes, pivot ? Point3() : sim::transformCentre(n, t), pivot});
  }
  return steps;
}

// move nodes offset: by an offset in the working coordinate system (each node's own axes in local).
def_visible_primitive(move, "move");
Value* move_cf(Value** arg_list, int count) {
  check_arg_count(move, 2, count);
  Point3 offset = arg_list[1]->to_point3();
  TimeValue t = Runtime::get().time();
  std::vector<std::pair<INode*, Point3>> moves;
  for (INode* n : nodesOf(arg_list[0])) moves.emplace_back(n, VectorTransform(sim::workingSystemTM(n, t), offset));
  sim::TransformContextScope world;
  for (auto& [n, by] : moves) setNodeProperty(n, "pos", new Point3Value(nodeProperty(n, "pos")->to_point3() + by));
  return ok;
}

// rotate nodes (quat | eulerAngles | angleAxis | angle axis): by a rotation about the working
// system's axes, around the transform centre (each node's own pivot by default).
def_visible_primitive(rotate, "rotate");
Value* rotate_cf(Value** arg_list, int count) {
  int n = count_positional_args(arg_list, count);
  if (n != 2 && n != 3) throw ArgCountError("rotate", 2, n);
  Quat by = rotationArgs(arg_list, n);
  std::vector<NodeStep> steps = plan(arg_list[0]);
  sim::TransformContextScope world;
  for (const NodeStep& s : steps) {
    Quat axes(s.axes);
    Quat inWorld = axes.Inverse() * by * axes;
    Matrix3 turn;
    inWorld.MakeMatrix(turn);
    Point3 pos = nodeProperty(s.node, "pos")->to_point3();
    Quat now = sim::toQuat(nodeProperty(s.node, "rotation"));
    setNodeProperty(s.node, "rotation", sim::quatValue(now * inWorld));
    if (!s.ownPivot) setNodeProperty(s.node, "pos", new Point3Value(s.centre + (pos - s.centre) * turn));
  }
  return ok;
}

// scale nodes factor: multiplies each node's own scale factors (a number scales all three), and
// moves the node away from the transform centre by the factors along the working system's axes.
def_visible_primitive(scale, "scale");
Value* scale_cf(Value** arg_list, int count) {
  check_arg_count(scale, 2, count);
  Point3 by = is_number(arg_list[1]) ? Point3(1, 1, 1) * arg_list[1]->to_float() : arg_list[1]->to_point3();
  std::vector<NodeStep> steps = plan(arg_list[0]);
  sim::TransformContextScope world;
  for (const NodeStep& s : steps) {
    Point3 now = nodeProperty(s.node, "scale")->to_point3();
    setNodeProperty(s.node, "scale", new Point3Value(Point3(now.x * by.x, now.y * by.y, now.z * by.z)));
    if (s.ownPivot) continue;
    Point3 pos = nodeProperty(s.node, "pos")->to_point3();
    Point3 d = VectorTransform(Inverse(s.axes), pos - s.centre);
    d = Point3(d.x * by.x, d.y * by.y, d.z * by.z);
    setNodeProperty(s.node, "pos", new Point3Value(s.centre + VectorTransform(s.axes, d)));
  }
  return ok;
}
