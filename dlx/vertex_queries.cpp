// Vertex queries on a node's evaluated mesh: positions, selections, soft selection, picks within a
// sphere and the closest vertex. Each reads the mesh once and hands back whole arrays.
#include "evaluated_mesh.h"
#include "primitive_args.h"
#include "sphere_picks.h"

#include "maxapi.h"

#include <cmath>

namespace {

using namespace qzmdlx;

TimeValue now() { return GetCOREInterface()->GetTime(); }

INode* nodeArgument(Value* v) {
  INode* node = v->to_node();
  if (!node) throw ConversionError(v, _T("MAXNode"));
  return node;
}

// The node's mesh; a node without one reads as an empty mesh.
const Mesh& meshOf(const EvaluatedMesh& evaluated) {
  static const Mesh empty;
  return evaluated.mesh() ? *evaluated.mesh() : empty;
}

BitArray selectedVertices(const EvaluatedMesh& evaluated) {
  return evaluated.mesh() ? evaluated.mesh()->VertexTempSel() : BitArray();
}

}  // namespace

def_visible_primitive(QZMgetVertPositions, "QZMgetVertPositions");
Value* QZMgetVertPositions_cf(Value** arg_list, int count) {
  checkCount(_T("QZMgetVertPositions"), 1, count);
  INode* node = nodeArgument(arg_list[0]);
  ResultFrame frame;
  EvaluatedMesh evaluated(node, now());
  const Mesh& mesh = meshOf(evaluated);
  auto* result = new Array(mesh.numVerts);
  frame.keep(result);
  for (int i = 0; i < mesh.numVerts; ++i) result->append(new Point3Value(mesh.verts[i]));
  return frame.result(result);
}

namespace {

// An array of one value per selected vertex, in vertex order, made by `valueOf(mesh, i)`.
template <class ValueOf>
Value* perSelectedVertex(const TCHAR* name, Value** arg_list, int count, ValueOf valueOf) {
  checkCount(name, 1, count);
  INode* node = nodeArgument(arg_list[0]);
  ResultFrame frame;
  EvaluatedMesh evaluated(node, now());
  const Mesh& mesh = meshOf(evaluated);
  BitArray sel = selectedVertices(evaluated);
  auto* result = new Array;
  frame.keep(result);
  for (int i = 0; i < mesh.numVerts && i < sel.GetSize(); ++i)
    if (sel[i]) result->append(valueOf(mesh, i));
  return frame.result(result);
}

}  // namespace

def_visible_primitive(QZMgetVertSelPositions, "QZMgetVertSelPositions");
Value* QZMgetVertSelPositions_cf(Value** arg_list, int count) {
  return perSelectedVertex(_T("QZMgetVertSelPositions"), arg_list, count,
                           [](const Mesh& mesh, int i) -> Value* { return new Point3Value(mesh.verts[i]); });
}

def_visible_primitive(QZMgetVertSelection, "QZMgetVertSelection");
Value* QZMgetVertSelection_cf(Value** arg_list, int count) {
  return perSelectedVertex(_T("QZMgetVertSelection"), arg_list, count,
                           [](const Mesh&, int i) { return Integer::intern(i + 1); });
}

def_visible_primitive(QZMgetVertSoftSelection, "QZMgetVertSoftSelection");
Value* QZMgetVertSoftSelection_cf(Value** arg_list, int count) {
  checkCount(_T("QZMgetVertSoftSelection"), 1, count);
  INode* node = nodeArgument(arg_list[0]);
  ResultFrame frame;
  EvaluatedMesh evaluated(node, now());
  Mesh* mesh = evaluated.mesh();
  if (!mesh || !mesh->vDataSupport(VDATA_SELECT)) return false_value;
  const float* weights = mesh->vertexFloat(VDATA_SELECT);
  auto* result = new Array;
  frame.keep(result);
  for (int i = 0; i < mesh->numVerts; ++i)
    if (weights[i] != 0.0f)  // a weight that is no number is kept too
      result->append(new Point2Value(static_cast<float>(i + 1), weights[i]));
  return frame.result(result);
}

def_visible_primitive(QZMgetVertsInSphere, "QZMgetVertsInSphere");
Value* QZMgetVertsInSphere_cf(Value** arg_list, int count) {
  checkCount(_T("QZMgetVertsInSphere"), 5, count);
  INode* node = nodeArgument(arg_list[0]);
  Point3 centre = arg_list[1]->to_point3();
  float radius = arg_list[2]->to_float();
  int wanted = arg_list[3]->to_int();
  if (!is_array(arg_list[4])) throw ConversionError(arg_list[4], _T("Array"));
  auto* out = static_cast<Array*>(arg_list[4]);

  TimeValue t = now();
  EvaluatedMesh evaluated(node, t);
  const Mesh& mesh = meshOf(evaluated);
  Matrix3 tm = node->GetObjectTM(t);
  // What the array holds on entry excludes, each entry read as an integer; the picks of this call
  // exclude by their indices only.
  std::vector<int> excluded;
  if (wanted > 0 && mesh.numVerts > 0) {
    excluded.reserve(static_cast<size_t>(out->size));
    for (int i = 0; i < out->size; ++i) excluded.push_back(out->data[i]->to_int());
  }
  ResultFrame frame;
  for (const SpherePick& pick : pickVerticesInSphere(mesh.verts, mesh.numVerts, tm, centre, radius, wanted, excluded)) {
    out->append(Integer::intern(pick.index));
    out->append(Float::intern(pick.distance));
  }
  return true_value;
}

def_visible_primitive(QZMgetClosestVert, "QZMgetClosestVert");
Value* QZMgetClosestVert_cf(Value** arg_list, int count) {
  checkCount(_T("QZMgetClosestVert"), 2, count);
  Mesh* mesh = arg_list[0]->to_mesh();
  Point3 point = arg_list[1]->to_point3();
  float best = kNoPickDistance;
  int chosen = 0;
  // With no vertex close enough (or none at all) the answer is vertex 1 at the origin.
  Point3 position(0, 0, 0);
  for (int i = 0; mesh && i < mesh->numVerts; ++i) {
    Point3 d = point - mesh->verts[i];
    float dist = d.x * d.x + d.y * d.y + d.z * d.z;
    if (dist < best) {
      best = dist;
      chosen = i;
      position = mesh->verts[i];
    }
  }
  ResultFrame frame;
  auto* result = new Array(4);
  frame.keep(result);
  result->append(Integer::intern(chosen + 1));
  for (float c : {position.x, position.y, position.z}) result->append(Float::intern(c));
  return frame.result(result);
}
