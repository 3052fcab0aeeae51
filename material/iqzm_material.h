// IQZMMaterial: the per-pass material's published functions, reachable from script on the material
// (`m.AssignMaterial mat 3`).
#pragma once

#include "ifnpub.h"

class Mtl;

#define IQZMMATERIAL_INTERFACE Interface_ID(0xae24a15f, 0x8e13a9d1)

enum { qzm_assignMaterial };

class IQZMMaterial : public FPMixinInterface {
 public:
  // Puts `material` into the slot of `pass` (1-101); any other pass changes nothing.
  virtual void AssignMaterial(Mtl* material, int pass) = 0;
};

// The one descriptor of the interface, owned by the material's class descriptor.
FPInterfaceDesc* GetIQZMMaterialDesc();

class IQZMMaterialFP : public IQZMMaterial {
 public:
  BEGIN_FUNCTION_MAP
    VFN_2(qzm_assignMaterial, AssignMaterial, TYPE_MTL, TYPE_INT)
  END_FUNCTION_MAP

  FPInterfaceDesc* GetDesc() override { return GetIQZMMaterialDesc(); }
};
