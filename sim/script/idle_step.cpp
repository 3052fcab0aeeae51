#include "script/idle_step.h"

#include "script/command_panel_follow.h"
#include "script/material_editor_follow.h"
#include "ui/ui.h"

#include <cstdio>

namespace sim::rt {

void runIdleStep() noexcept {
  try {
    followActiveMtlSlot();
    followSelection();
    sim::ui::pumpMessages();
  } catch (...) {
    // A window procedure that let an error out has nobody to tell but standard error.
    std::fputs("-- a window message failed between script expressions\n", stderr);
  }
}

}  // namespace sim::rt
