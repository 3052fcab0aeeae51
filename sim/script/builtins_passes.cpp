// getScenePasses(): what every pass of the scene sets, read from the holders' records without
// restoring anything. One row per node, property and state, each an array a script indexes:
//   #(node, property, pass, value, kind, holder node, controller)
// pass is the pass number or #initial; value is the recorded value as a script value (a colour, a
// point, the texture map itself, the material the node's per-pass material shows in that pass);
// kind names its kind (#boolean, #integer, #number, #colour, #point3, #point4, #quat, #string, #name,
// #object, #material, #undefined, #unreadable); controller is the controller a switch links, or
// undefined.
#include "inode.h"
#include "maxscript/maxscript.h"
#include "passes/scene_passes.h"
#include "point3.h"
#include "quat.h"
#include "script/evaluator.h"
#include "script/property_table.h"

using namespace sim::passes;

namespace {

Value* wrapOrUndefined(ReferenceTarget* t) { return t ? sim::wrapTarget(t) : undefined; }

Value* scriptValue(const DecodedValue& v) {
  const double* n = v.number;
  switch (v.kind) {
    case ValueKind::Boolean: return bool_result(n[0] != 0);
    case ValueKind::Integer: return Integer::intern(static_cast<int>(n[0]));
    case ValueKind::Number: return Float::heap_intern(static_cast<float>(n[0]));
    case ValueKind::Colour:
      return new ColorValue(static_cast<float>(n[0]), static_cast<float>(n[1]), static_cast<float>(n[2]),
                            v.count == 4 ? static_cast<float>(n[3]) : 255.0f);
    case ValueKind::Point3:
      return new Point3Value(static_cast<float>(n[0]), static_cast<float>(n[1]), static_cast<float>(n[2]));
    case ValueKind::Point4: return new Point4Value(Point4(n[0], n[1], n[2], n[3]));
    case ValueKind::Quat: return new QuatValue(Quat(n[0], n[1], n[2], n[3]));
    case ValueKind::String:
    case ValueKind::Unreadable: return new String(v.text);
    case ValueKind::Name: return Name::intern(v.text.c_str());
    case ValueKind::Object:
    case ValueKind::Material: return wrapOrUndefined(v.target);
    case ValueKind::Undefined: return undefined;
  }
  return undefined;
}

}  // namespace

def_visible_primitive(getScenePasses, "getScenePasses");
Value* getScenePasses_cf(Value** arg_list, int count) {
  const int positional = count_positional_args(arg_list, count);
  if (positional != 0) throw ArgCountError("getScenePasses", 0, positional);
  ScenePasses scene;
  std::string error;
  if (!readScenePasses(scene, error)) throw RuntimeError(("getScenePasses: " + error).c_str());
  for (const std::string& p : scene.problems) the_listener->edit_stream->puts(("-- " + p + "\n").c_str());
  auto* rows = static_cast<Array*>(sim::rt::keep(new Array));
  for (const HolderPasses& h : scene.holders)
    for (const PassValue& v : h.values) {
      auto* row = static_cast<Array*>(rows->append(new Array(7)));
      row->append(wrapOrUndefined(h.target));
      row->append(new String(v.property));
      row->append(v.pass == kInitialState ? Name::intern("initial") : Integer::intern(v.pass));
      row->append(scriptValue(v.value));
      row->append(Name::intern(kindName(v.value.kind)));
      row->append(wrapOrUndefined(h.holderNode));
      row->append(wrapOrUndefined(v.controller));
    }
  return rows;
}
