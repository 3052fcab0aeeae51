// External-reference objects: an object that stands in for an object of another scene file. It is
// a system object (super class SYSTEM_CLASS_ID) of class XREFOBJ_CLASS_ID and answers IXRefObject8
// with the object it brings in.
#pragma once

#include "ifnpub.h"
#include "object.h"

#define XREFOBJ_CLASS_ID Class_ID(0x92aab38c, 0)
#define IID_XREF_OBJECT8 Interface_ID(0x470145ad, 0x3daa64e1)

class HOST_API IXRefObject8 : public FPMixinInterface {
 public:
  enum { kGetSourceObject, kGetFile, kGetObjName };

  static IXRefObject8* GetInterface(Animatable& a) {
    return static_cast<IXRefObject8*>(a.GetInterface(IID_XREF_OBJECT8));
  }

  // The object brought in from the source file, or null when it could not be resolved. With
  // resolveNestedXRef, an external reference to an external reference is followed to its end.
  virtual Object* GetSourceObject(bool resolveNestedXRef = false, Modifier** modifiers = nullptr) const = 0;
  virtual MSTR GetFile() const = 0;
  virtual MSTR GetObjName() const = 0;

  FPInterfaceDesc* GetDesc() override;
  Interface_ID GetID() override { return IID_XREF_OBJECT8; }
};
