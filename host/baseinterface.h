// BaseInterface: what every interface an object hands out by Interface_ID derives from.
#pragma once

#include "host_api.h"
#include "maxtypes.h"

class HOST_API BaseInterface {
 public:
  virtual ~BaseInterface() = default;
  virtual Interface_ID GetID() { return Interface_ID(0, 0); }
  // Interfaces may themselves answer other interfaces.
  virtual BaseInterface* GetInterface(Interface_ID) { return nullptr; }
};
