#include "qzm_material.h"
#include "resource_strings.h"

namespace {

class QZMMaterialClassDesc : public ClassDesc {
 public:
  int IsPublic() override { return TRUE; }
  void* Create(BOOL loading) override { return new QZMMaterial(loading); }
  const TCHAR* ClassName() override { return GetString(IDS_CLASS_NAME); }
  SClass_ID SuperClassID() override { return MATERIAL_CLASS_ID; }
  Class_ID ClassID() override { return QZMMATERIAL_CLASS_ID; }
  const TCHAR* Category() override { return GetString(IDS_CATEGORY); }
  const TCHAR* InternalName() override { return "QZMMaterial"; }
  const TCHAR* GetRsrcString(INT_PTR id) override { return GetString(static_cast<int>(id)); }
};

QZMMaterialClassDesc materialDesc;

}  // namespace

ClassDesc* GetQZMMaterialDesc() { return &materialDesc; }
