// The host's gamma settings (the global gammaMgr).
#pragma once

#include "host_api.h"

class HOST_API GammaMgr {
 public:
  BOOL enable = FALSE;
  float dispGamma = 2.2f;
  float fileInGamma = 2.2f;
  float fileOutGamma = 1.0f;

  BOOL IsEnabled() const { return enable; }
  void Enable(BOOL onOff) { enable = onOff; }
  float GetDisplayGamma() const { return dispGamma; }
  void SetDisplayGamma(float g) { if (g > 0.0f) dispGamma = g; }
  float GetFileInGamma() const { return fileInGamma; }
  float GetFileOutGamma() const { return fileOutGamma; }
};

HOST_API extern GammaMgr gammaMgr;
