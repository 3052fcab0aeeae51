#include "prop_holder.h"
#include "resource_strings.h"

namespace {

class QZMPropHoldObjClassDesc : public ClassDesc {
 public:
  // Holders are made by class id from script, never from the create panel.
  int IsPublic() override { return FALSE; }
  void* Create(BOOL) override { return new QZMPropHolder; }
  const TCHAR* ClassName() override { return GetString(IDS_CLASS_NAME); }
  SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
  Class_ID ClassID() override { return QZMPROPHOLDER_CLASS_ID; }
  const TCHAR* Category() override { return "Quorvane"; }
  const TCHAR* InternalName() override { return "QZMPropHolder"; }
  DWORD InitialRollupPageState() override { return 0x7fffffff; }
  const TCHAR* GetRsrcString(INT_PTR id) override { return GetString(static_cast<int>(id)); }
};

QZMPropHoldObjClassDesc holderDesc;

}  // namespace

ClassDesc* GetQZMPropHolderDesc() { return &holderDesc; }
