// QZMMaterial: a material that holds one material per render pass and renders with the active one.
#pragma once

#include "plugapi.h"
#include "ref.h"

constexpr Class_ID QZMMATERIAL_CLASS_ID(0x9350465d, 0x60d9022e);

class QZMMaterial : public ReferenceTarget {
 public:
  explicit QZMMaterial(BOOL loading);

  Class_ID ClassID() override { return QZMMATERIAL_CLASS_ID; }
  SClass_ID SuperClassID() override { return MATERIAL_CLASS_ID; }
  void GetClassName(TSTR& s) override;

  RefResult NotifyRefChanged(Interval changeInt, RefTargetHandle hTarget, PartID& partID, RefMessage message) override;
  void DeleteThis() override { delete this; }
};

ClassDesc* GetQZMMaterialDesc();
