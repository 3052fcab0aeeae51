// QZMPropHolder: the hidden helper object that records, per render pass, the properties of the scene
// node it manages.
#pragma once

#include "object.h"
#include "plugapi.h"

constexpr Class_ID QZMPROPHOLDER_CLASS_ID(0xa5d9dbeb, 0x5710a701);

class QZMPropHolder : public HelperObject {
 public:
  QZMPropHolder() = default;

  Class_ID ClassID() override { return QZMPROPHOLDER_CLASS_ID; }
  SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
  void GetClassName(TSTR& s) override;
  const TCHAR* GetObjectName() override;
  void InitNodeName(TSTR& s) override;

  RefResult NotifyRefChanged(Interval changeInt, RefTargetHandle hTarget, PartID& partID, RefMessage message) override;
  void DeleteThis() override { delete this; }
};

ClassDesc* GetQZMPropHolderDesc();
