// Descriptors of the host's own classes. Every class the host makes (objects, modifiers,
// controllers, materials) has one, so that CreateInstance, script constructors and scene loading
// create it the same way a plug-in class is created. The descriptors register themselves in a list
// at load time; registerHostClasses hands them to the class registry under the module name "".
#pragma once

#include "iparamb2.h"

namespace sim {

class HOST_API HostClassDesc : public ClassDesc2 {
 public:
  using Factory = void* (*)(BOOL loading);
  // `className` is the name scripts know the class by (Box, bezier_float, StandardMaterial).
  HostClassDesc(const char* className, SClass_ID sclass, Class_ID cid, const char* category, Factory factory);

  int IsPublic() override { return TRUE; }
  // A new object is nothing to undo: what its constructor sets up records nothing.
  void* Create(BOOL loading) override;
  const TCHAR* ClassName() override { return className_; }
  SClass_ID SuperClassID() override { return sclass_; }
  Class_ID ClassID() override { return cid_; }
  const TCHAR* Category() override { return category_; }
  const TCHAR* InternalName() override { return className_; }

 private:
  const char* className_;
  SClass_ID sclass_;
  Class_ID cid_;
  const char* category_;
  Factory factory_;
};

// Adds every host class descriptor to the class registry (again after the registry was cleared).
HOST_API void registerHostClasses();

}  // namespace sim
