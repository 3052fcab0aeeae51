// The advanced-lighting preferences, reached through the core interface
// IRADIOSITYPREFERENCES_INTERFACE.
#pragma once

#include "ifnpub.h"

#define IRADIOSITYPREFERENCES_INTERFACE Interface_ID(0x54442e40, 0x401621a4)

class HOST_API IRadiosityPreferences : public FPStaticInterface {
 public:
  enum { use_advanced_lighting, get_use_advanced_lighting, set_use_advanced_lighting };
  virtual BOOL GetUseAdvancedLighting() const = 0;
  virtual void SetUseAdvancedLighting(BOOL b) = 0;
};
