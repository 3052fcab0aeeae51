// Sub-animations by number or name: getSubAnim and getSubAnimNames on nodes, objects, controllers,
// materials and the sub-animations themselves (getSubAnim (getSubAnim $ 3) 1).
#include "ref.h"
#include "maxscript/maxscript.h"
#include "script/evaluator.h"
#include "script/scene_access.h"

using namespace sim::rt;

def_visible_primitive(getSubAnim, "getSubAnim");
Value* getSubAnim_cf(Value** arg_list, int count) {
  check_arg_count(getSubAnim, 2, count);
  ReferenceTarget* t = arg_list[0]->to_reftarg();
  if (is_name(arg_list[1])) return subAnimNamed(t, static_cast<Name*>(arg_list[1])->lower);
  int i = arg_list[1]->to_int();
  if (i < 1 || i > t->NumSubs()) throw RuntimeError("Sub-animation index out of range: ", arg_list[1]);
  return wrapSubAnim(t, i - 1);
}

def_visible_primitive(getSubAnimNames, "getSubAnimNames");
Value* getSubAnimNames_cf(Value** arg_list, int count) {
  check_arg_count(getSubAnimNames, 1, count);
  ReferenceTarget* t = arg_list[0]->to_reftarg();
  auto* names = static_cast<Array*>(keep(new Array(t->NumSubs())));
  for (int i = 0, n = t->NumSubs(); i < n; ++i) names->append(Name::intern(subAnimScriptName(t->SubAnimName(i)).c_str()));
  return names;
}
