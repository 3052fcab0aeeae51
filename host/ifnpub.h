// Function publishing: interfaces that describe their functions (ids, names, parameter and result
// types) so that scripts can call them by name.
#pragma once

#include "baseinterface.h"
#include "host_api.h"
#include "maxtypes.h"
#include "paramtype.h"
#include "strclass.h"

class ClassDesc;

class HOST_API FPInterfaceDesc;

class HOST_API FPInterface : public BaseInterface {
 public:
  virtual FPInterfaceDesc* GetDesc() = 0;
  Interface_ID GetID() override;
};

class HOST_API FPInterfaceDesc : public FPInterface {
 public:
  Interface_ID ID;
  CStr internal_name;
  ClassDesc* cd = nullptr;
  ULONG flags = 0;

  FPInterfaceDesc() = default;
  FPInterfaceDesc(Interface_ID id, const TCHAR* name, ClassDesc* owner, ULONG flag)
      : ID(id), internal_name(name), cd(owner), flags(flag) {}
  FPInterfaceDesc* GetDesc() override { return this; }
};
