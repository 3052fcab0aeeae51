// The class descriptor of QZMMaterial, its parameter block, its published interface and its
// renderer-compatibility interface.
#include "IMtlRender_Compatibility.h"
#include "qzm_material.h"
#include "resource_strings.h"

namespace {

class QZMMaterialRenderCompatibility : public IMtlRender_Compatibility_MtlBase {
 public:
  bool IsCompatibleWithRenderer(ClassDesc&) override { return true; }
  bool GetCustomMtlBrowserIcon(HIMAGELIST&, int&, int&, int&) override { return false; }
};

class QZMMaterialClassDesc : public ClassDesc2 {
 public:
  QZMMaterialClassDesc() { compatibility_.Init(*this); }

  int IsPublic() override { return TRUE; }
  void* Create(BOOL loading) override {
    AddInterface(GetIQZMMaterialDesc());
    return new QZMMaterial(loading);
  }
  const TCHAR* ClassName() override { return GetString(IDS_CLASS_NAME); }
  SClass_ID SuperClassID() override { return MATERIAL_CLASS_ID; }
  Class_ID ClassID() override { return QZMMATERIAL_CLASS_ID; }
  const TCHAR* Category() override { return GetString(IDS_CATEGORY); }
  const TCHAR* InternalName() override { return _T("QZMMaterial"); }
  const TCHAR* GetRsrcString(INT_PTR id) override { return GetString(static_cast<int>(id)); }
  HINSTANCE HInstance() override { return hInstance; }

 private:
  QZMMaterialRenderCompatibility compatibility_;
};

QZMMaterialClassDesc materialDesc;

// No parameter has a UI binding: the panel is built by hand.
ParamBlockDesc2 materialParams(qzm_params, _T("params"), 0, &materialDesc, P_AUTO_CONSTRUCT + P_AUTO_UI,
    QZMMaterial::kPBlockRef,
    IDD_QZMMATERIAL_PANEL, IDS_PARAMS, 0, 0, nullptr,
    pb_whichPass, _T("whichPass"), TYPE_INT, 0, IDS_WHICHPASS,
        p_default, 1, p_range, 1, 99, p_end,
    pb_materialArray, _T("materialArray"), TYPE_MTL_TAB, QZMMaterial::kNumSlots, P_OWNERS_REF, IDS_MATERIALS,
        p_refno, 0, p_end,
    pb_labels, _T("Labels"), TYPE_STRING_TAB, QZMMaterial::kNumSlots, 0, IDS_LABELS, p_end,
    pb_enableOMaterial, _T("EnableOMaterial"), TYPE_INT, 0, IDS_ENABLEOMATERIAL, p_default, 0, p_end,
    pb_uiOffset, _T("UIOffset"), TYPE_INT, 0, IDS_OFFSET, p_default, 0, p_end,
    pb_activeStampOnly, _T("ActiveStampOnly"), TYPE_BOOL, 0, IDS_ACTIVESTAMPONLY, p_default, FALSE, p_end,
    p_end);

FPInterfaceDesc materialInterface(IQZMMATERIAL_INTERFACE, _T("IQZMMaterial"), 0, &materialDesc, FP_MIXIN,
    qzm_assignMaterial, _T("AssignMaterial"), 0, TYPE_VOID, 0, 2,
        _T("material"), 0, TYPE_MTL,
        _T("pass"), 0, TYPE_INT,
    p_end);

}  // namespace

ClassDesc2* GetQZMMaterialDesc() { return &materialDesc; }
ParamBlockDesc2* GetQZMMaterialParamsDesc() { return &materialParams; }
FPInterfaceDesc* GetIQZMMaterialDesc() { return &materialInterface; }
