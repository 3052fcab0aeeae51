// Parameter maps: the rollout side of parameter blocks. A parameter definition names the control
// that shows it in its block's rollout (p_ui); the descriptor stores these bindings and the UI layer
// reads them. The control kinds and the spinner edit kinds carry the host's numbering.
#pragma once

#include "host_api.h"
#include "interval.h"
#include "maxtypes.h"

#include <cstdint>

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

class IParamBlock2;
class ParamMap2UserDlgProc;

// The controls of one rollout bound to the parameters of one block: the host makes it for each
// block with a rollout template (ClassDesc2::BeginEditParams) and removes it at EndEditParams.
// Edits of a bound control write its parameter as one undoable step; Invalidate shows the block's
// values again.
class HOST_API IParamMap2 {
 public:
  virtual ~IParamMap2();
  virtual IParamBlock2* GetParamBlock() = 0;
  virtual HWND GetHWnd() = 0;
  // Every control of the rollout; or only those of parameter `id` (tabIndex: its table entry).
  virtual void Invalidate() = 0;
  virtual void Invalidate(ParamID id, int tabIndex = -1) = 0;
  virtual ParamMap2UserDlgProc* GetUserDlgProc() = 0;
};

// A plug-in's handler for the controls of a rollout that the automatic parameter map does not run
// itself. The parameter map that serves it passes it every message of the rollout after its own
// handling, and calls DeleteThis when the rollout goes (a procedure given to a map belongs to it).
class HOST_API ParamMap2UserDlgProc {
 public:
  virtual ~ParamMap2UserDlgProc();
  // What the rollout's dialog procedure answers for the message.
  // (wParam and lParam are the Win32 WPARAM and LPARAM; this header does without the Win32 one.)
  virtual INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND hWnd, UINT msg, std::uintptr_t wParam,
                          std::intptr_t lParam) {
    return FALSE;
  }
  virtual void DeleteThis() = 0;
  // The object whose rollout the procedure now serves.
  virtual void SetThing(ReferenceTarget* m) {}
  virtual void Update(TimeValue t) {}
};
