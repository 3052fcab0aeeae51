// The holder's class descriptor, its parameter block and its interface descriptor. The three are
// statics of one file so that they are built in this order: the block and interface descriptors
// register with the class descriptor as they are built.
#include "holder_params.h"
#include "prop_holder.h"
#include "resource_strings.h"

namespace {

class QZMPropHoldObjClassDesc : public ClassDesc2 {
 public:
  // Holders are made by class id from script, never from the create panel.
  int IsPublic() override { return FALSE; }
  void* Create(BOOL loading) override;
  const TCHAR* ClassName() override { return GetString(IDS_CLASS_NAME); }
  SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
  Class_ID ClassID() override { return QZMPROPHOLDER_CLASS_ID; }
  const TCHAR* Category() override { return "Quorvane"; }
  const TCHAR* InternalName() override { return "QZMPropHolder"; }
  HINSTANCE HInstance() override { return hInstance; }
  DWORD InitialRollupPageState() override { return 0x7fffffff; }
  const TCHAR* GetRsrcString(INT_PTR id) override { return GetString(static_cast<int>(id)); }
};

QZMPropHoldObjClassDesc holderDesc;

// Display names are string-table ids; `node` and `nodeArray` have texts of their own (see
// resource_strings.h), the three switches show their internal names.
ParamBlockDesc2 holderBlockDesc(
    qzmpropholder_params, _T("qzmpropholderectParameters"), 0, &holderDesc, P_AUTO_CONSTRUCT + P_AUTO_UI, 0,
    IDD_PANEL, IDS_PARAMS, 0, 0, NULL,
    pb_whichPass, _T("whichPass"), TYPE_INT, P_ANIMATABLE, IDS_WHICHPASS,
      p_default, 1, p_range, 1, 100000,
      p_ui, TYPE_SPINNER, EDITTYPE_INT, IDC_WHICHPASS_EDIT, IDC_WHICHPASS_SPIN, 1.0, p_end,
    pb_node, _T("node"), TYPE_INODE, 0, IDS_NODE, p_ui, TYPE_PICKNODEBUTTON, IDC_NODE_PICK, p_end,
    pb_nodeArray, _T("nodeArray"), TYPE_INODE_TAB, 0, P_VARIABLE_SIZE, IDS_NODEARRAY, p_end,
    pb_viewportIcon, _T("ViewportIcon"), TYPE_INT, 0, 0,
      p_default, 0, p_ui, TYPE_SINGLECHEKBOX, IDC_VIEWPORTICON, p_end,
    pb_iconsize, _T("iconsize"), TYPE_FLOAT, 0, IDS_ICONSIZE,
      p_default, 1.0, p_range, 0.0, 100000.0,
      p_ui, TYPE_SPINNER, EDITTYPE_FLOAT, IDC_ICONSIZE_EDIT, IDC_ICONSIZE_SPIN, 0.01, p_end,
    pb_passlist, _T("passlist"), TYPE_INT_TAB, 0, P_VARIABLE_SIZE, IDS_PASSLIST, p_end,
    pb_propertyName, _T("propertyName"), TYPE_STRING_TAB, 0, P_VARIABLE_SIZE, IDS_PROPERTYNAME, p_end,
    pb_propertyState, _T("propertyState"), TYPE_STRING_TAB, 0, P_VARIABLE_SIZE, IDS_PROPERTYSTATE, p_end,
    pb_propertyClass, _T("propertyClass"), TYPE_STRING_TAB, 0, P_VARIABLE_SIZE, IDS_PROPERTYCLASS, p_end,
    pb_propertyIsAnimated, _T("propertyIsAnimated"), TYPE_STRING_TAB, 0, P_VARIABLE_SIZE, IDS_PROPERTYISANIMATED,
      p_end,
    pb_propertyObject, _T("propertyObject"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE, IDS_PROPERTYOBJECT, p_end,
    pb_propertyFloatController, _T("propertyFloatController"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE,
      IDS_PROPERTYFLOATCONTROLLER, p_end,
    pb_propertyPoint3Controller, _T("propertyPoint3Controller"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE,
      IDS_PROPERTYPOINT3CONTROLLER, p_end,
    pb_propertyPoint4Controller, _T("propertyPoint4Controller"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE,
      IDS_PROPERTYPOINT4CONTROLLER, p_end,
    pb_propertyPosController, _T("propertyPosController"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE,
      IDS_PROPERTYPOSCONTROLLER, p_end,
    pb_propertyRotController, _T("propertyRotController"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE,
      IDS_PROPERTYROTCONTROLLER, p_end,
    pb_propertyScaleController, _T("propertyScaleController"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE,
      IDS_PROPERTYSCALECONTROLLER, p_end,
    pb_IpropertyState, _T("IpropertyState"), TYPE_STRING_TAB, 0, P_VARIABLE_SIZE, IDS_IPROPERTYSTATE, p_end,
    pb_IpropertyClass, _T("IpropertyClass"), TYPE_STRING_TAB, 0, P_VARIABLE_SIZE, IDS_IPROPERTYCLASS, p_end,
    pb_IpropertyIsAnimated, _T("IpropertyIsAnimated"), TYPE_STRING_TAB, 0, P_VARIABLE_SIZE,
      IDS_IPROPERTYISANIMATED, p_end,
    pb_IpropertyObject, _T("IpropertyObject"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE, IDS_IPROPERTYOBJECT, p_end,
    pb_IpropertyFloatController, _T("IpropertyFloatController"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE,
      IDS_IPROPERTYFLOATCONTROLLER, p_end,
    pb_IpropertyPoint3Controller, _T("IpropertyPoint3Controller"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE,
      IDS_IPROPERTYPOINT3CONTROLLER, p_end,
    pb_IpropertyPoint4Controller, _T("IpropertyPoint4Controller"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE,
      IDS_IPROPERTYPOINT4CONTROLLER, p_end,
    pb_IpropertyPosController, _T("IpropertyPosController"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE,
      IDS_IPROPERTYPOSCONTROLLER, p_end,
    pb_IpropertyRotController, _T("IpropertyRotController"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE,
      IDS_IPROPERTYROTCONTROLLER, p_end,
    pb_IpropertyScaleController, _T("IpropertyScaleController"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE,
      IDS_IPROPERTYSCALECONTROLLER, p_end,
    pb_thisName, _T("thisName"), TYPE_STRING, 0, IDS_THISNAME, p_default, _T(""), p_end,
    pb_doTopLevelEval, _T("doTopLevelEval"), TYPE_INT, 0, 0, p_default, 0, p_end,
    pb_doDebugPrint, _T("doDebugPrint"), TYPE_INT, 0, 0, p_default, 0, p_end,
    p_end);

FPInterfaceDesc holderInterfaceDesc(
    IQZMPROPHOLDER_INTERFACE, _T("IQZMPropHolder"), 0, &holderDesc, FP_MIXIN,
    fn_GetNode, _T("GetNode"), 0, TYPE_INODE, 0, 0,
    fn_RestoreProperties, _T("RestoreProperties"), 0, TYPE_VOID, 0, 2,
      _T("whichPass"), 0, TYPE_INT,
      _T("whereInList"), 0, TYPE_INT,
    fn_SetWhichPass, _T("SetWhichPass"), 0, TYPE_VOID, 0, 1,
      _T("whichPass"), 0, TYPE_INT,
    fn_CaptureProperties, _T("CaptureProperties"), 0, TYPE_VOID, 0, 2,
      _T("whichPass"), 0, TYPE_INT,
      _T("doOnlyUncaptured"), 0, TYPE_INT,
    fn_RestoreAllProperties, _T("RestoreAllProperties"), 0, TYPE_VOID, 0, 2,
      _T("whichPass"), 0, TYPE_INT,
      _T("whereInList"), 0, TYPE_INT,
    fn_UnlinkInstancedControllers, _T("UnlinkInstancedControllers"), 0, TYPE_VOID, 0, 1,
      _T("controller"), 0, TYPE_REFTARG,
    fn_RemoveProperty, _T("RemoveProperty"), 0, TYPE_INT, 0, 1,
      _T("propName"), 0, TYPE_STRING_TAB_BR,
    fn_RestoreInitialProperties, _T("RestoreInitialProperties"), 0, TYPE_VOID, 0, 1,
      _T("propName"), 0, TYPE_STRING,
    fn_CaptureInitialProperties, _T("CaptureInitialProperties"), 0, TYPE_VOID, 0, 1,
      _T("doOnlyUncaptured"), 0, TYPE_INT,
    fn_RemovePass, _T("RemovePass"), 0, TYPE_INT, 0, 1,
      _T("whichPass"), 0, TYPE_INT,
    fn_CaptureAllProperties, _T("CaptureAllProperties"), 0, TYPE_VOID, 0, 2,
      _T("whichPass"), 0, TYPE_INT,
      _T("doOnlyUncaptured"), 0, TYPE_INT,
    fn_CaptureAllInitialProperties, _T("CaptureAllInitialProperties"), 0, TYPE_VOID, 0, 1,
      _T("doOnlyUncaptured"), 0, TYPE_INT,
    p_end);

void* QZMPropHoldObjClassDesc::Create(BOOL) {
  AddInterface(&holderInterfaceDesc);
  return static_cast<HelperObject*>(new QZMPropHolder);
}

}  // namespace

ClassDesc2* GetQZMPropHolderDesc() { return &holderDesc; }
ParamBlockDesc2* GetHolderBlockDesc() { return &holderBlockDesc; }
FPInterfaceDesc* IQZMPropHolderFP::GetDesc() { return &holderInterfaceDesc; }
FPInterfaceDesc* GetHolderInterfaceDesc() { return &holderInterfaceDesc; }
