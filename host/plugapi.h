// Class descriptors and the plug-in entry points. Every class, the host's own included, is made
// through a ClassDesc registered with the host; a plug-in module hands its descriptors over through
// LibClassDesc.
#pragma once

#include "host_api.h"
#include "maxtypes.h"

#include <vector>

class FPInterface;
class Interface;

// The host's SDK version word: release << 16 | interface number << 8 | revision.
constexpr ULONG MakeVersion(ULONG release, ULONG api, ULONG revision) { return (release << 16) | (api << 8) | revision; }
constexpr ULONG VERSION_3DSMAX = MakeVersion(12000, 33, 0);  // 0x2EE02100
constexpr ULONG VERSION_3DSMAX_11000 = MakeVersion(11000, 25, 0);  // 0x2AF81900

class HOST_API ClassDesc {
 public:
  virtual ~ClassDesc();
  virtual int IsPublic() = 0;
  virtual void* Create(BOOL loading = FALSE) = 0;
  virtual const TCHAR* ClassName() = 0;
  virtual SClass_ID SuperClassID() = 0;
  virtual Class_ID ClassID() = 0;
  virtual const TCHAR* Category() = 0;
  virtual BOOL OkToCreate(Interface* i) { return TRUE; }
  virtual const TCHAR* InternalName() { return nullptr; }
  virtual HINSTANCE HInstance() { return nullptr; }
  virtual DWORD InitialRollupPageState() { return 0x7fffffff; }
  // Text of the plug-in's string table entry `id` (parameter display names and the like).
  virtual const TCHAR* GetRsrcString(INT_PTR id) { return nullptr; }

  // Function-published interfaces carried by the class (static interfaces and mixin descriptors).
  int NumInterfaces() const { return static_cast<int>(interfaces_.size()); }
  FPInterface* GetInterfaceAt(int i);
  virtual FPInterface* GetInterface(Interface_ID id);
  virtual FPInterface* GetInterface(const TCHAR* name);
  // Adds an interface once; adding the same one again does nothing.
  void AddInterface(FPInterface* fpi);
  void ClearInterfaces();

 private:
  std::vector<FPInterface*> interfaces_;
};

// Entry points a plug-in module exports by name.
using LibDescriptionFn = const TCHAR* (*)();
using LibNumberClassesFn = int (*)();
using LibClassDescFn = ClassDesc* (*)(int i);
using LibVersionFn = ULONG (*)();
using LibInitFn = void (*)();
using CanAutoDeferFn = ULONG (*)();
