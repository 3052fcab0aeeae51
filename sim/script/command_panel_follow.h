// The command panel's side of the script runtime (builtins_command_panel.cpp).
#pragma once

#include <string_view>

namespace sim::rt {

// Shows the rollouts of the selected object in the open panel when exactly one node is selected,
// none otherwise. Called when the mode is set and at the idle step.
void followSelection();
// `max modify mode` and the other panel modes; false for a command that is none of them.
bool runCommandPanelCommand(std::string_view command);

}  // namespace sim::rt
