// The command panel in its modify mode: a top-level window ("Command Panel") that shows the
// rollouts of the object being modified, as the application shows those of the selected object.
//
// The panel calls the object's BeginEditParams with its own IObjParam (whose AddRollupPage puts
// pages into the panel) and EndEditParams when another object comes, when the mode ends, and when
// the object is deleted. It holds a reference to the object it shows, so the object stays whole
// while its rollouts are up; a deleted one has its rollouts removed at once.
#pragma once

#include "host_api.h"
#include "win_ui.h"

class BaseObject;

namespace sim::ui {

// Opens the panel window (modify mode on) or closes it, ending any editing (off).
HOST_API void setCommandPanelModifyMode(bool on);
HOST_API bool commandPanelModifyMode();
// The panel window; null while it is closed.
HOST_API HWND commandPanelWindow();
// Shows the rollouts of `obj` (null: none) in place of those shown; nothing while the panel is
// closed.
HOST_API void commandPanelEdit(BaseObject* obj);
// The object whose rollouts are up; null when none.
HOST_API BaseObject* commandPanelObject();

}  // namespace sim::ui
