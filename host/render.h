// Render-side plug-in bases: SpecialFX is what advanced lighting (radiosity) plug-ins, exposure
// controls and render elements share: a name and an active state at a time.
#pragma once

#include "host_api.h"
#include "interval.h"
#include "ref.h"
#include "strclass.h"

class HOST_API SpecialFX : public ReferenceTarget {
 public:
  // The name shown in the host's lists.
  virtual MSTR GetName() { return MSTR(); }
  virtual BOOL GetActive(TimeValue t) { return active_; }
  // Records undo and notifies dependents.
  virtual void SetActive(bool active, TimeValue t);

 private:
  BOOL active_ = TRUE;
};
