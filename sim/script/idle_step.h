// The host's turn between script expressions, when its windows run what waits for them.
#pragma once

namespace sim::rt {

// Brings the material editor to the active slot's material (material_editor_follow.h) and the
// command panel to the selected object (command_panel_follow.h), then runs
// the window messages posted so far and the paints they asked for (bounded, see ui/ui.h).
// Never throws: it runs between expressions, where no script is there to catch anything.
void runIdleStep() noexcept;

}  // namespace sim::rt
