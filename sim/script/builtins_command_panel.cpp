// The command panel as scripts drive it: `max modify mode` / `max create mode`,
// `setCommandPanelTaskMode [mode:]#name` and `getCommandPanelTaskMode()`; `pickNode node` picks a
// node for a control that waits for one (a pick-node button), as a click in a viewport would.
//
// In modify mode the panel shows the rollouts of the selected object when exactly one node is
// selected. It follows the selection when the mode is set and at the host's idle step, between
// top-level expressions.
#include "core/text.h"
#include "inode.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "object.h"
#include "script/command_panel_follow.h"
#include "script/node_args.h"
#include "ui/command_panel.h"
#include "ui/pick_mode.h"

#include <string>

namespace {

// The panel's modes, in the order of its tabs; only modify shows an object's rollouts here.
constexpr const char* kModes[] = {"create", "modify", "hierarchy", "motion", "display", "utility"};
std::string currentMode = "create";

void setMode(Value* name) {
  std::string mode = name->to_string();
  for (const char* m : kModes)
    if (sim::equalsIgnoreCase(mode, m)) {
      currentMode = m;
      sim::ui::setCommandPanelModifyMode(currentMode == "modify");
      sim::rt::followSelection();
      return;
    }
  throw RuntimeError("Unknown command panel mode: ", name);
}

}  // namespace

void sim::rt::followSelection() {
  if (!sim::ui::commandPanelWindow()) return;
  Interface* ip = GetCOREInterface();
  BaseObject* obj = nullptr;
  if (ip && ip->GetSelNodeCount() == 1)
    if (INode* node = ip->GetSelNode(0)) obj = node->GetObjectRef();
  if (obj != sim::ui::commandPanelObject()) sim::ui::commandPanelEdit(obj);
}

bool sim::rt::runCommandPanelCommand(std::string_view command) {
  constexpr std::string_view suffix = " mode";
  if (command.size() <= suffix.size() || command.substr(command.size() - suffix.size()) != suffix) return false;
  std::string mode(command.substr(0, command.size() - suffix.size()));
  for (const char* m : kModes)
    if (mode == m) {
      setMode(Name::intern(m));
      return true;
    }
  return false;
}

def_visible_primitive(setCommandPanelTaskMode, "setCommandPanelTaskMode");
Value* setCommandPanelTaskMode_cf(Value** arg_list, int count) {
  int given = count_positional_args(arg_list, count);
  Value* mode = given > 0 ? arg_list[0] : key_arg(mode);
  if (given > 1) throw ArgCountError("setCommandPanelTaskMode", 1, given);
  if (mode == &unsupplied || !is_name(mode)) throw RuntimeError("setCommandPanelTaskMode needs a mode name, got: ", mode);
  setMode(mode);
  return ok;
}

def_visible_primitive(getCommandPanelTaskMode, "getCommandPanelTaskMode");
Value* getCommandPanelTaskMode_cf(Value** arg_list, int count) {
  int given = count_positional_args(arg_list, count);
  if (given != 0) throw ArgCountError("getCommandPanelTaskMode", 0, given);
  // The panel window closed from outside (WM_CLOSE) left modify mode.
  if (currentMode == "modify" && !sim::ui::commandPanelModifyMode()) currentMode = "create";
  return Name::intern(currentMode.c_str());
}

def_visible_primitive(pickNode, "pickNode");
Value* pickNode_cf(Value** arg_list, int count) {
  int given = count_positional_args(arg_list, count);
  if (given != 1) throw ArgCountError("pickNode", 1, given);
  return bool_result(sim::ui::pickNode(sim::rt::nodeArg(arg_list[0])));
}
