// Meshes in script: the TriMesh value (a node's .mesh, snapshotAsMesh), the vertex functions that
// read and edit it or an editable mesh node, soft-selection weights, and subObjectLevel.
//
// A TriMesh value is a copy: editing it changes nothing in the scene. Editing functions given a
// node work on the node's editable mesh (its base object must be one; convertToMesh makes it so).
#include "script/script_failure.h"
#include "core/ref_graph.h"
#include "inode.h"
#include "maxapi.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "object.h"
#include "script/evaluator.h"
#include "script/property_table.h"
#include "script/published_calls.h"
#include "script/runtime.h"
#include "script/scene_access.h"
#include "triobj.h"

ValueMetaClass TriMesh_class("TriMesh");

using namespace sim::rt;

namespace {

class TriMeshValue : public Value {
 public:
  TriMeshValue() { tag = &TriMesh_class; }
  Mesh mesh;
  Mesh* to_mesh() override { return &mesh; }
  Value* get_property(Value* prop) override {
    const std::string& n = lowerName(prop);
    if (n == "numverts") return Integer::intern(mesh.getNumVerts());
    if (n == "numfaces") return Integer::intern(mesh.getNumFaces());
    return unknown_property(this, prop);
  }
  bool has_property(Value* prop) override { return lowerName(prop) == "numverts" || lowerName(prop) == "numfaces"; }
  Value* copy_vf() override {
    auto* c = new TriMeshValue;
    c->mesh = mesh;
    return c;
  }
  void sprin1(CharStream* s) override { s->puts("TriMesh"); }
};

Interface* ip() { return GetCOREInterface(); }

// The triangle mesh `obj` gives at `t`; the error when it gives none names `who` (a node or the
// object itself).
Mesh meshOfObject(Object* obj, TimeValue t, ReferenceTarget* who) {
  const char* noMesh = dynamic_cast<INode*>(who) ? "No mesh for node: " : "No mesh for object: ";
  if (!obj || !obj->CanConvertToType(triObjectClassID)) throw RuntimeError(noMesh, sim::wrapTarget(who));
  Object* converted = obj->ConvertToType(t, triObjectClassID);
  if (!converted) throw RuntimeError(noMesh, sim::wrapTarget(who));
  auto* tri = dynamic_cast<TriObject*>(converted);
  Mesh copy = tri ? tri->mesh : Mesh();
  if (converted != obj) converted->DeleteMe();
  if (!tri) throw RuntimeError(noMesh, sim::wrapTarget(who));
  return copy;
}

// The node's mesh after its modifiers and space warps at `t`, in object coordinates.
Mesh evaluatedMesh(INode* node, TimeValue t) { return meshOfObject(node->EvalWorldState(t).obj, t, node); }

TriMeshValue* newMeshValue(Mesh&& mesh) {
  auto* v = static_cast<TriMeshValue*>(keep(new TriMeshValue));
  v->mesh = std::move(mesh);
  return v;
}

// The editable mesh a node carries as its base object, or null.
TriObject* editableMeshOf(INode* node) {
  return dynamic_cast<TriObject*>(baseObjectOf(node));
}

// What the vertex functions work on: a TriMesh value's mesh, or a node's editable mesh (then
// `owner` is set so the change can be announced).
struct MeshTarget {
  Mesh* mesh = nullptr;
  TriObject* owner = nullptr;
  void changed() {
    if (owner) owner->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  }
};

MeshTarget meshTarget(Value* v) {
  if (is_node(v)) {
    INode* node = v->to_node();
    TriObject* tri = node ? editableMeshOf(node) : nullptr;
    if (!tri) throw RuntimeError("Not an editable mesh: ", v);
    return {&tri->mesh, tri};
  }
  return {v->to_mesh(), nullptr};
}

int vertexIndex(const Mesh& mesh, Value* index) {
  int i = index->to_int();
  if (i < 1 || i > mesh.getNumVerts()) throw RuntimeError("Vertex index out of range: ", index);
  return i - 1;
}

}  // namespace

def_visible_primitive(snapshotAsMesh, "snapshotAsMesh");
Value* snapshotAsMesh_cf(Value** arg_list, int count) {
  check_arg_count(snapshotAsMesh, 1, count);
  INode* node = arg_list[0]->to_node();
  if (!node) throw ConversionError(arg_list[0], "MAXNode");
  TimeValue t = Runtime::get().time();
  Mesh mesh = evaluatedMesh(node, t);
  Matrix3 tm = node->GetObjTMAfterWSM(t);
  for (int i = 0; i < mesh.getNumVerts(); ++i) mesh.verts[i] = mesh.verts[i] * tm;
  return newMeshValue(std::move(mesh));
}

def_visible_primitive(convertToMesh, "convertToMesh");
Value* convertToMesh_cf(Value** arg_list, int count) {
  check_arg_count(convertToMesh, 1, count);
  INode* node = arg_list[0]->to_node();
  if (!node) throw ConversionError(arg_list[0], "MAXNode");
  Object* top = node->GetObjectRef();
  TimeValue t = Runtime::get().time();
  if (!top || !top->CanConvertToType(triObjectClassID)) return undefined;
  if (dynamic_cast<TriObject*>(top)) return arg_list[0];
  Object* converted = top->ConvertToType(t, triObjectClassID);
  if (!converted) return undefined;
  if (converted == top) {  // belongs to the pipeline: the node gets a copy
    DefaultRemapDir remap;
    converted = static_cast<Object*>(converted->Clone(remap));
  }
  node->SetObjectRef(converted);
  return arg_list[0];
}

def_visible_primitive(getNumVerts, "getNumVerts");
Value* getNumVerts_cf(Value** arg_list, int count) {
  check_arg_count(getNumVerts, 1, count);
  return Integer::intern(meshTarget(arg_list[0]).mesh->getNumVerts());
}

def_visible_primitive(getNumFaces, "getNumFaces");
Value* getNumFaces_cf(Value** arg_list, int count) {
  check_arg_count(getNumFaces, 1, count);
  return Integer::intern(meshTarget(arg_list[0]).mesh->getNumFaces());
}

def_visible_primitive(getVert, "getVert");
Value* getVert_cf(Value** arg_list, int count) {
  check_arg_count(getVert, 2, count);
  Mesh* mesh = meshTarget(arg_list[0]).mesh;
  return new Point3Value(mesh->getVert(vertexIndex(*mesh, arg_list[1])));
}

def_visible_primitive(setVert, "setVert");
Value* setVert_cf(Value** arg_list, int count) {
  check_arg_count(setVert, 3, count);
  MeshTarget target = meshTarget(arg_list[0]);
  target.mesh->setVert(vertexIndex(*target.mesh, arg_list[1]), arg_list[2]->to_point3());
  target.mesh->InvalidateGeomCache();
  target.changed();
  return ok;
}

def_visible_primitive(getVertSelection, "getVertSelection");
Value* getVertSelection_cf(Value** arg_list, int count) {
  check_arg_count(getVertSelection, 1, count);
  return bitArrayValue(meshTarget(arg_list[0]).mesh->vertSel);
}

// Selects the vertices given (a bit array or an array of indices); indices beyond the mesh are
// ignored, as the host does.
def_visible_primitive(setVertSelection, "setVertSelection");
Value* setVertSelection_cf(Value** arg_list, int count) {
  check_arg_count(setVertSelection, 2, count);
  MeshTarget target = meshTarget(arg_list[0]);
  BitArray wanted = toBitArray(arg_list[1]);
  BitArray& sel = target.mesh->vertSel;
  sel.SetSize(target.mesh->getNumVerts());
  sel.ClearAll();
  for (int i = 0; i < sel.GetSize() && i < wanted.GetSize(); ++i)
    if (wanted[i]) sel.Set(i);
  target.changed();
  return ok;
}

// meshop: soft-selection weights (vertex data channel 0).
def_struct_primitive(meshop_supportVSelectWeights, meshop, "supportVSelectWeights");
Value* meshop_supportVSelectWeights_cf(Value** arg_list, int count) {
  check_arg_count(supportVSelectWeights, 1, count);
  MeshTarget target = meshTarget(arg_list[0]);
  target.mesh->setVDataSupport(VDATA_SELECT, TRUE);
  target.changed();
  return ok;
}

def_struct_primitive(meshop_freeVSelectWeights, meshop, "freeVSelectWeights");
Value* meshop_freeVSelectWeights_cf(Value** arg_list, int count) {
  check_arg_count(freeVSelectWeights, 1, count);
  MeshTarget target = meshTarget(arg_list[0]);
  target.mesh->freeVData(VDATA_SELECT);
  target.changed();
  return ok;
}

def_struct_primitive(meshop_getVSelectWeight, meshop, "getVSelectWeight");
Value* meshop_getVSelectWeight_cf(Value** arg_list, int count) {
  check_arg_count(getVSelectWeight, 2, count);
  Mesh* mesh = meshTarget(arg_list[0]).mesh;
  int i = vertexIndex(*mesh, arg_list[1]);
  float* w = mesh->vertexFloat(VDATA_SELECT);
  return Float::intern(w ? w[i] : 0.0f);
}

// Turns the weights on when they are off.
def_struct_primitive(meshop_setVSelectWeight, meshop, "setVSelectWeight");
Value* meshop_setVSelectWeight_cf(Value** arg_list, int count) {
  check_arg_count(setVSelectWeight, 3, count);
  MeshTarget target = meshTarget(arg_list[0]);
  int i = vertexIndex(*target.mesh, arg_list[1]);
  float weight = arg_list[2]->to_float();
  if (!target.mesh->vDataSupport(VDATA_SELECT)) target.mesh->setVDataSupport(VDATA_SELECT, TRUE);
  target.mesh->vertexFloat(VDATA_SELECT)[i] = weight;
  target.changed();
  return ok;
}

namespace {

// subObjectLevel: the selection level of the one selected node's editable mesh (0 object,
// 1 vertex, 2 edge, 3 face, 4 polygon, 5 element); undefined without such a node.
TriObject* selectedEditableMesh() {
  if (ip()->GetSelNodeCount() != 1) return nullptr;
  return editableMeshOf(ip()->GetSelNode(0));
}

Value* getSubObjectLevel() {
  TriObject* tri = selectedEditableMesh();
  if (!tri) return undefined;
  switch (tri->mesh.selLevel) {
    case MESH_VERTEX: return Integer::intern(1);
    case MESH_EDGE: return Integer::intern(2);
    case MESH_FACE: return Integer::intern(4);
    default: return Integer::intern(0);
  }
}

void setSubObjectLevel(Value* v) {
  TriObject* tri = selectedEditableMesh();
  if (!tri) throw RuntimeError("subObjectLevel needs one selected editable mesh, got: ", v);
  static const DWORD kLevels[] = {MESH_OBJECT, MESH_VERTEX, MESH_EDGE, MESH_FACE, MESH_FACE, MESH_FACE};
  int level = v->to_int();
  if (level < 0 || level > 5) throw RuntimeError("subObjectLevel out of range: ", v);
  tri->mesh.selLevel = kLevels[level];
  tri->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

const bool kMeshGlobals = [] {
  Runtime::get().defineSystemGlobal("subObjectLevel", getSubObjectLevel, setSubObjectLevel);
  return true;
}();

// node.mesh: a copy of the node's evaluated mesh, in object coordinates.
const bool kNodeMesh = sim::addPropertyTable(
    sim::PropertyScope{BASENODE_CLASS_ID, Class_ID(0, 0), false,
                       [](ReferenceTarget* t) { return dynamic_cast<INode*>(t) != nullptr; }},
    {{"mesh",
      [](ReferenceTarget* t, TimeValue tv) -> Value* {
        return newMeshValue(evaluatedMesh(static_cast<INode*>(t), tv));
      },
      nullptr}});

// Mesh counts: a node's are those of its mesh after its stack (ahead of its base object's own), an
// object's those of its own mesh. Read-only, as is `.mesh` of an object; neither is listed with the
// object's parameters. Tables apply by class, so a node that gives no mesh (a light) says so when
// asked, as `.mesh` does.
const bool kNodeMeshCounts = sim::addPropertyTable(
    sim::PropertyScope{BASENODE_CLASS_ID, Class_ID(0, 0), false,
                       [](ReferenceTarget* t) { return dynamic_cast<INode*>(t) != nullptr; }, false},
    {{"numverts",
      [](ReferenceTarget* t, TimeValue tv) -> Value* {
        return Integer::intern(evaluatedMesh(static_cast<INode*>(t), tv).getNumVerts());
      },
      nullptr},
     {"numfaces",
      [](ReferenceTarget* t, TimeValue tv) -> Value* {
        return Integer::intern(evaluatedMesh(static_cast<INode*>(t), tv).getNumFaces());
      },
      nullptr}});

bool givesMesh(ReferenceTarget* t) {
  auto* obj = dynamic_cast<Object*>(t);
  return obj && obj->CanConvertToType(triObjectClassID);
}

Mesh ownMesh(ReferenceTarget* t, TimeValue tv) { return meshOfObject(static_cast<Object*>(t), tv, t); }

const bool kObjectMesh = sim::addPropertyTable(
    sim::PropertyScope{GEOMOBJECT_CLASS_ID, Class_ID(0, 0), false,
                       [](ReferenceTarget* t) { return givesMesh(t); }, false},
    {{"mesh", [](ReferenceTarget* t, TimeValue tv) -> Value* { return newMeshValue(ownMesh(t, tv)); }, nullptr},
     {"numverts", [](ReferenceTarget* t, TimeValue tv) -> Value* { return Integer::intern(ownMesh(t, tv).getNumVerts()); },
      nullptr},
     {"numfaces", [](ReferenceTarget* t, TimeValue tv) -> Value* { return Integer::intern(ownMesh(t, tv).getNumFaces()); },
      nullptr}});

}  // namespace
