// The host's standard plug-in classes: their class ids, and the interfaces some of them publish
// (the list controller's IListControl).
#pragma once

#include "control.h"
#include "host_api.h"
#include "ifnpub.h"
#include "maxtypes.h"
#include "strclass.h"

// ---- controllers ----------------------------------------------------------------------------------
constexpr ULONG PRS_CONTROL_CLASS_ID = 0x00002005;
constexpr ULONG HYBRIDINTERP_FLOAT_CLASS_ID = 0x00002007;
constexpr ULONG HYBRIDINTERP_POSITION_CLASS_ID = 0x00002008;
constexpr ULONG HYBRIDINTERP_POINT3_CLASS_ID = 0x0000200A;
constexpr ULONG HYBRIDINTERP_COLOR_CLASS_ID = 0x00002011;
constexpr ULONG HYBRIDINTERP_POINT4_CLASS_ID = 0x00002012;
constexpr ULONG HYBRIDINTERP_FRGBA_CLASS_ID = 0x00002013;
constexpr ULONG EULER_CONTROL_CLASS_ID = 0x00002012;  // under the rotation super class
#define IPOS_CONTROL_CLASS_ID Class_ID(0x118f7e02, 0xffee238a)
#define ISCALE_CONTROL_CLASS_ID Class_ID(0x118f7c01, 0xfeee238b)

constexpr ULONG FLOATLIST_CONTROL_CLASS_ID = 0x4b4b1000;
constexpr ULONG POINT3LIST_CONTROL_CLASS_ID = 0x4b4b1001;
constexpr ULONG POSLIST_CONTROL_CLASS_ID = 0x4b4b1002;
constexpr ULONG ROTLIST_CONTROL_CLASS_ID = 0x4b4b1003;
constexpr ULONG SCALELIST_CONTROL_CLASS_ID = 0x4b4b1004;
constexpr ULONG POINT4LIST_CONTROL_CLASS_ID = 0x4b4b1005;

// ---- objects and modifiers ------------------------------------------------------------------------
constexpr ULONG BOXOBJ_CLASS_ID = 0x00000010;
constexpr ULONG SPHERE_CLASS_ID = 0x00000011;
constexpr ULONG CYLINDER_CLASS_ID = 0x00000012;
#define PLANE_CLASS_ID Class_ID(0x81f1dfc, 0x77566f65)
constexpr ULONG CIRCLE_CLASS_ID = 0x00002011;
constexpr ULONG SPLINESHAPE_CLASS_ID = 0x0000000a;
constexpr ULONG DUMMY_CLASS_ID = 0x00876234;
#define POINTHELP_CLASS_ID Class_ID(0x5ef4208e, 0x0f1d4d00)
constexpr ULONG OMNI_LIGHT_CLASS_ID = 0x00001011;
constexpr ULONG SPOT_LIGHT_CLASS_ID = 0x00001012;
constexpr ULONG DIR_LIGHT_CLASS_ID = 0x00001013;
constexpr ULONG FSPOT_LIGHT_CLASS_ID = 0x00001014;
constexpr ULONG SIMPLE_CAM_CLASS_ID = 0x00001001;
constexpr ULONG LOOKAT_CAM_CLASS_ID = 0x00001002;
constexpr ULONG TARGET_CLASS_ID = 0x00001020;
#define WINDOBJECT_CLASS_ID Class_ID(0x0a1f, 0)
#define WINDMOD_CLASS_ID Class_ID(0x0a1f, 1)
constexpr ULONG BENDOSM_CLASS_ID = 0x00000010;

// ---- materials and maps ---------------------------------------------------------------------------
constexpr ULONG DMTL_CLASS_ID = 0x00000002;
constexpr ULONG CHECKER_CLASS_ID = 0x00000200;
constexpr ULONG BMTEX_CLASS_ID = 0x00000240;

// ---- list controllers -----------------------------------------------------------------------------

#define LIST_CONTROLLER_INTERFACE Interface_ID(0x444e7687, 0x722e6e36)
#define GetIListControlInterface(cd) \
  static_cast<IListControl*>((cd)->GetInterface(LIST_CONTROLLER_INTERFACE))

// The list controller's entries: sub-controllers (each a reference, so a controller shared with a
// node stays one object), each with a name and a weight. Indices are 0-based in C++ (the script
// layer adds one). Entries are added with Control::AssignController(ctrl, index): an index below
// the count replaces that entry, the index equal to the count appends one.
class HOST_API IListControl : public FPMixinInterface {
 public:
  enum {
    list_getNumItems,
    list_setActive,
    list_getActive,
    list_cutItem,
    list_pasteItem,
    list_deleteItem,
    list_count,
    list_setActive_prop,
    list_getActive_prop,
    list_getName,
    list_setName,
    list_getSubCtrl,
    list_getSubCtrlWeight,
  };

  virtual int GetListCount() = 0;
  virtual void SetActive(int index) = 0;
  virtual int GetActive() = 0;
  virtual void DeleteItem(int index) = 0;
  virtual void CutItem(int index) = 0;
  virtual void PasteItem(int index) = 0;
  virtual void SetName(int index, MSTR name) = 0;
  virtual MSTR GetName(int index) = 0;
  virtual Control* GetSubCtrl(int index) = 0;
  virtual float GetSubCtrlWeight(int index, TimeValue t) = 0;
  // Of this host: puts `ctrl` (an instance) into entry `index` named `name`, first filling the
  // entries the list lacks below `index` with the same controller named `padName`. A fill is one
  // change: one change message, one undo step, whatever its length. FALSE, changing nothing, when
  // the controller does not fit the list, would make a loop, or `index` is negative.
  virtual BOOL AssignPadded(Control* ctrl, int index, MSTR padName, MSTR name) = 0;

  FPInterfaceDesc* GetDesc() override;
  Interface_ID GetID() override { return LIST_CONTROLLER_INTERFACE; }

  BEGIN_FUNCTION_MAP
    FN_0(list_getNumItems, TYPE_INT, GetListCount)
    VFN_1(list_setActive, SetActive, TYPE_INDEX)
    FN_0(list_getActive, TYPE_INDEX, GetActive)
    VFN_1(list_deleteItem, DeleteItem, TYPE_INDEX)
    VFN_1(list_cutItem, CutItem, TYPE_INDEX)
    VFN_1(list_pasteItem, PasteItem, TYPE_INDEX)
    FN_1(list_getName, TYPE_TSTR, GetName, TYPE_INDEX)
    VFN_2(list_setName, SetName, TYPE_INDEX, TYPE_STRING)
    RO_PROP_FN(list_count, GetListCount, TYPE_INT)
    PROP_FNS(list_getActive_prop, GetActive, list_setActive_prop, SetActive, TYPE_INDEX)
    FN_1(list_getSubCtrl, TYPE_CONTROL, GetSubCtrl, TYPE_INDEX)
    FP_CASE(list_getSubCtrlWeight, FP_ARGS_1(TYPE_INDEX), result.Load(TYPE_FLOAT, GetSubCtrlWeight(FP_PARAM(TYPE_INDEX, 0), t)))
  END_FUNCTION_MAP
};
