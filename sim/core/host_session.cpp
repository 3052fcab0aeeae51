#include "core/host_session.h"

#include "core/core_interface.h"
#include "core/plugin_loader.h"
#include "script/runtime.h"
#include "ui/command_panel.h"
#include "ui/material_editor.h"
#include "ui/ui.h"

namespace sim {

int startHost(const std::string& pluginFolder, std::ostream& errors) {
  coreInterface();
  return plugins().loadFolder(pluginFolder, errors);
}

void shutdownHost() {
  // Script values hold scene objects, and objects of plug-in classes must go while their modules are
  // still loaded: windows first (their procedures may be a module's), then script state, then the
  // scene, then the modules.
  ui::closeMaterialEditor();
  ui::setCommandPanelModifyMode(false);
  ui::destroyAllWindows();
  rt::shutdownScriptRuntime();
  coreInterface()->clearScene();
  plugins().unloadAll();
}

}  // namespace sim
