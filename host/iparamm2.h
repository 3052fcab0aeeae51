// Parameter maps: the rollout side of parameter blocks. A parameter definition names the control
// that shows it in its block's rollout (p_ui); the descriptor stores these bindings and the UI layer
// reads them. The control kinds and the spinner edit kinds carry the host's numbering.
#pragma once

#include "host_api.h"
#include "interval.h"

class IParamMap2;
class ReferenceTarget;

// Controls that a p_ui binding can name. The first five are the original set; ControlType2 goes on
// from them, as in the host.
enum ControlType {
  TYPE_SPINNER,
  TYPE_RADIO,
  TYPE_SINGLECHEKBOX,  // sic: the host's spelling
  TYPE_MULTICHEKBOX,
  TYPE_COLORSWATCH,
};

enum ControlType2 {
  TYPE_EDITBOX = TYPE_COLORSWATCH + 1,
  TYPE_CHECKBUTTON,
  TYPE_PICKNODEBUTTON,
  TYPE_TEXMAPBUTTON,
  TYPE_MTLBUTTON,
  TYPE_BITMAPBUTTON,
  TYPE_FILEOPENBUTTON,
  TYPE_FILESAVEBUTTON,
  TYPE_INTLISTBOX,
  TYPE_FLOATLISTBOX,
  TYPE_STRINGLISTBOX,
  TYPE_NODELISTBOX,
  TYPE_MAPLISTBOX,
  TYPE_SLIDER,
  TYPE_BUTTON,
  TYPE_POINT3LISTBOX,
  TYPE_SHADERBUTTON_DEFUNCT,
  TYPE_CONNECTIONSHADERBUTTON_DEFUNCT,
  TYPE_SHADERSUBPARAMETERBLOCK,
  TYPE_POINT4LISTBOX,
  TYPE_COLORSWATCH_FRGBA,
  TYPE_INT_COMBOBOX,
  TYPE_SINGLECHECKBOX = TYPE_SINGLECHEKBOX,  // the later, correctly spelled name
};

// What a spinner or slider edits. The custom-control header uses this definition rather than
// declaring its own.
enum EditSpinnerType {
  EDITTYPE_INT = 1,
  EDITTYPE_FLOAT,
  EDITTYPE_UNIVERSE,
  EDITTYPE_POS_INT,
  EDITTYPE_POS_FLOAT,
  EDITTYPE_POS_UNIVERSE,
  EDITTYPE_TIME,
};

// A plug-in's handler for the controls of a rollout that the automatic parameter map does not run
// itself. The block descriptor and ClassDesc2::SetUserDlgProc only store it; the UI layer adds the
// message entry point (DlgProc) when rollouts are drawn.
class HOST_API ParamMap2UserDlgProc {
 public:
  virtual ~ParamMap2UserDlgProc();
  virtual void DeleteThis() = 0;
  // The object whose rollout the procedure now serves.
  virtual void SetThing(ReferenceTarget* m) {}
  virtual void Update(TimeValue t) {}
};
