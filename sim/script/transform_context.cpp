#include "script/transform_context.h"

#include "inode.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "script/node_bounds.h"
#include "script/selection.h"

#include <string>
#include <vector>

namespace sim {
namespace {

// Never freed, so that no value is released after the value heap went (resetTransformContexts
// empties it first). Null means the default: world, pivot.
struct Settings {
  ValueRef coordsys, about;
};
Settings& settings() {
  static auto* s = new Settings;
  return *s;
}

bool isNamed(Value* v, const char* name) { return is_name(v) && static_cast<Name*>(v)->lower == name; }

bool isMatrix(Value* v) { return v->tag == class_tag(Matrix3); }

// The value stored for `spec`, or null for the default; a wrong value is an error.
Value* checkedCoordSys(Value* spec) {
  if (isNamed(spec, "default") || isNamed(spec, "world") || isNamed(spec, "grid") || isNamed(spec, "screen"))
    return nullptr;
  if (isNamed(spec, "local") || isNamed(spec, "parent") || isMatrix(spec)) return spec;
  if (is_node(spec)) {
    spec->to_node();  // a deleted node is refused now rather than at each use
    return spec;
  }
  throw RuntimeError("coordsys wants world, local, parent, grid, screen, a node or a matrix3, got: ", spec);
}

Value* checkedAbout(Value* spec) {
  if (isNamed(spec, "default") || isNamed(spec, "pivot")) return nullptr;
  if (isNamed(spec, "selection") || isNamed(spec, "coordsys") || isMatrix(spec) || is_point3(spec)) return spec;
  if (is_node(spec)) {
    spec->to_node();
    return spec;
  }
  throw RuntimeError("about wants pivot, selection, coordsys, a node, a point3 or a matrix3, got: ", spec);
}

// A node's axes and origin without its scale.
Matrix3 axesOf(INode* n, TimeValue t) {
  Matrix3 m = n->GetNodeTM(t);
  for (int i = 0; i < 3; ++i) m.SetRow(i, m.GetRow(i).Normalize());
  return m;
}

Quat rotationOf(const Matrix3& m) {
  Matrix3 r(m.GetRow(0).Normalize(), m.GetRow(1).Normalize(), m.GetRow(2).Normalize(), Point3());
  return Quat(r);
}

Point3 selectionCentre(INode* n, TimeValue t) {
  std::vector<INode*> nodes;
  Value* sel = rt::selectionValue();
  ValueRef hold(sel);
  if (is_node(sel)) nodes.push_back(sel->to_node());
  else if (is_array(sel))
    for (int i = 0; i < static_cast<Array*>(sel)->size; ++i) nodes.push_back(static_cast<Array*>(sel)->data[i]->to_node());
  // Nothing selected: nothing to centre on but the node itself.
  if (nodes.empty()) return n->GetNodeTM(t).GetTrans();
  return rt::worldBoxAround(nodes).Center();
}

}  // namespace

Value* currentCoordSys() {
  Value* v = settings().coordsys.get();
  return v ? v : Name::intern("world");
}

Value* currentAbout() {
  Value* v = settings().about.get();
  return v ? v : Name::intern("pivot");
}

void setCoordSys(Value* spec) { settings().coordsys = ValueRef(checkedCoordSys(spec)); }
void setAbout(Value* spec) { settings().about = ValueRef(checkedAbout(spec)); }

TransformContextScope::TransformContextScope() : coordsys_(settings().coordsys), about_(settings().about) {
  settings().coordsys = ValueRef();
  settings().about = ValueRef();
}

TransformContextScope::TransformContextScope(Value* coordsys, Value* about)
    : coordsys_(settings().coordsys), about_(settings().about) {
  // Both are checked before either is set, so that a wrong one leaves the settings as they were.
  ValueRef c(coordsys ? checkedCoordSys(coordsys) : settings().coordsys.get());
  ValueRef a(about ? checkedAbout(about) : settings().about.get());
  settings().coordsys = c;
  settings().about = a;
}

TransformContextScope::~TransformContextScope() {
  settings().coordsys = coordsys_;
  settings().about = about_;
}

bool workingSystemIsWorld() { return !settings().coordsys; }

Matrix3 workingSystemTM(INode* n, TimeValue t) {
  Value* cs = settings().coordsys.get();
  if (!cs) return Matrix3(1);
  if (isMatrix(cs)) return static_cast<Matrix3Value*>(cs)->m;
  if (isNamed(cs, "local")) return axesOf(n, t);
  if (isNamed(cs, "parent")) {
    INode* p = n->GetParentNode();
    return p && !p->IsRootNode() ? axesOf(p, t) : Matrix3(1);
  }
  return axesOf(cs->to_node(), t);
}

bool isPivotCentre() { return !settings().about; }

Point3 transformCentre(INode* n, TimeValue t) {
  Value* about = settings().about.get();
  if (!about) return n->GetNodeTM(t).GetTrans();
  if (isNamed(about, "selection")) return selectionCentre(n, t);
  if (isNamed(about, "coordsys")) return workingSystemTM(n, t).GetTrans();
  if (isMatrix(about)) return static_cast<Matrix3Value*>(about)->m.GetTrans();
  if (is_point3(about)) return about->to_point3() * workingSystemTM(n, t);
  return about->to_node()->GetNodeTM(t).GetTrans();
}

Point3 positionToWorkingSystem(INode* n, TimeValue t, const Point3& world) {
  if (workingSystemIsWorld()) return world;
  return world * Inverse(workingSystemTM(n, t));
}

Point3 positionFromWorkingSystem(INode* n, TimeValue t, const Point3& inSystem) {
  if (workingSystemIsWorld()) return inSystem;
  return inSystem * workingSystemTM(n, t);
}

Quat rotationToWorkingSystem(INode* n, TimeValue t, const Quat& world) {
  if (workingSystemIsWorld()) return world;
  return world * rotationOf(workingSystemTM(n, t)).Inverse();
}

Quat rotationFromWorkingSystem(INode* n, TimeValue t, const Quat& inSystem) {
  if (workingSystemIsWorld()) return inSystem;
  return inSystem * rotationOf(workingSystemTM(n, t));
}

void resetTransformContexts() {
  settings().coordsys = ValueRef();
  settings().about = ValueRef();
}

}  // namespace sim
