// The automatic rollout of a parameter block: a page of the command panel made from the block's
// dialog template, whose controls show and write the block's parameters (p_ui bindings).
//
// Spinners write their parameter at every change of a drag and the drag is one undoable step
// (cancelled drags put the value back); a check box, a value typed into a spinner's edit and a pick
// are one step each. The page shows the block again on Invalidate, which the owner asks for through
// ClassDesc2::InvalidateUI when its block changes.
#pragma once

#include "iobjparam.h"
#include "iparamb2.h"

namespace sim::ui {

// The page of map `mapId` of `pb` in the rollup of `ip`, served after the map's own handling by
// `proc` (which the map then owns); null when there is no page to make (no rollup, no template).
HOST_API IParamMap2* createParamMap(IObjParam* ip, IParamBlock2* pb, MapID mapId, ParamMap2UserDlgProc* proc);
// Removes the page and deletes the map and its procedure.
HOST_API void destroyParamMap(IParamMap2* map);
MapID paramMapId(IParamMap2* map);
// Gives the map another procedure (the old one is deleted); the procedure gets WM_INITDIALOG as a
// page's procedure would, so that it can set up what it needs.
void setParamMapUserDlgProc(IParamMap2* map, ParamMap2UserDlgProc* proc);

}  // namespace sim::ui
