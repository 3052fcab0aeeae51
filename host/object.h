// Objects that nodes carry: the base of geometry, shapes, lights, cameras and helpers.
#pragma once

#include "ref.h"

class HOST_API BaseObject : public ReferenceTarget {
 public:
  // The name the host gives the object's kind in its user interface.
  virtual const TCHAR* GetObjectName() { return ""; }
  // The name a new node carrying this object starts from (the host numbers it: "Box01").
  virtual void InitNodeName(TSTR& s) { s = GetObjectName(); }
};

class HOST_API Object : public BaseObject {};

class HOST_API HelperObject : public Object {
 public:
  SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
};
