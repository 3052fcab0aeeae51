// The material editor: a top-level window showing one material's panel as rollup pages, with the
// material's name on top and a way back to the parent after a sub-material was opened.
//
// The editor holds references to the material it shows and to the parents it came through, so
// none of them goes away under an open panel; a material deleted all the same closes its panel.
#pragma once

#include "imtlparams.h"

namespace sim::ui {

// Opens `m` (its panel from CreateParamDlg, or a page with its name when it has none) in place of
// whatever the editor shows, making the editor window when there is none. False for null.
HOST_API bool openMaterialEditor(Mtl* m);
// Closes the open material's panel (ParamDlg::DeleteThis) and the editor window.
HOST_API void closeMaterialEditor();
// The editor window; null while it is closed.
HOST_API HWND materialEditorWindow();
// The material whose panel is open: a sub-material after WM_SUB_MTL_BUTTON; null when closed.
HOST_API Mtl* materialEditorMaterial();
// Goes back from a sub-material to the material it was opened from; false at the top.
HOST_API bool materialEditorGoToParent();
// Passes a change of the scene's time on to the open panel (ParamDlg::SetTime).
HOST_API void materialEditorSetTime(TimeValue t);

// Ids of the editor's own controls.
constexpr int kMtlEditorNameId = 0x7F01;
constexpr int kMtlEditorParentId = 0x7F02;

}  // namespace sim::ui
