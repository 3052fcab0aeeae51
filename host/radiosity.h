// Advanced lighting: the scene holds at most one radiosity (advanced lighting) plug-in, reached
// through the core interface RADIOSITY_INTERFACE_ID.
#pragma once

#include "ifnpub.h"
#include "render.h"

#define RADIOSITY_INTERFACE_ID Interface_ID(0x6711e7a, 0x5b504baa)

class HOST_API RadiosityEffect : public SpecialFX {
 public:
  SClass_ID SuperClassID() override { return RADIOSITY_CLASS_ID; }
};

class HOST_API RadiosityInterface : public FPStaticInterface {
 public:
  enum { get_radiosity, set_radiosity };
  // The scene's advanced lighting plug-in, or null.
  virtual RadiosityEffect* GetRadiosity() const = 0;
  // Null removes it.
  virtual void SetRadiosity(RadiosityEffect* op) = 0;
};
