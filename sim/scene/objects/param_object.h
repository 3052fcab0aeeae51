// Objects and modifiers of the host whose parameters live in one parameter block (reference 0,
// sub-animation 0), so that scripts reach every parameter by its internal name.
#pragma once

#include "iparamb2.h"
#include "object.h"
#include "triobj.h"

namespace sim {

template <class Base>
class PBlockObject : public Base {
 public:
  IParamBlock2* pblock = nullptr;

  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? pblock : nullptr; }
  void SetReference(int i, RefTargetHandle rtarg) override {
    if (i == 0) pblock = dynamic_cast<IParamBlock2*>(rtarg);
  }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  int NumSubs() override { return 1; }
  Animatable* SubAnim(int i) override { return i == 0 ? pblock : nullptr; }
  TSTR SubAnimName(int i) override { return i == 0 ? TSTR("Parameters") : TSTR(); }
  int NumParamBlocks() override { return 1; }
  IParamBlock2* GetParamBlock(int i) override { return i == 0 ? pblock : nullptr; }
  IParamBlock2* GetParamBlockByID(BlockID id) override { return pblock && pblock->ID() == id ? pblock : nullptr; }

 protected:
  float getFloat(ParamID id, TimeValue t) { return pblock ? pblock->GetFloat(id, t) : 0.0f; }
  int getInt(ParamID id, TimeValue t) { return pblock ? pblock->GetInt(id, t) : 0; }
  // The clone's block is a clone of this one's.
  template <class T>
  T* cloneWithBlock(T* fresh, RemapDir& remap) {
    fresh->ReplaceReference(0, remap.CloneRef(pblock));
    this->BaseClone(this, fresh, remap);
    return fresh;
  }
};

// Geometry built from parameters: converts to a triangle object holding its mesh.
class HOST_API ParamGeomObject : public PBlockObject<GeomObject> {
 public:
  virtual void BuildMesh(TimeValue t, Mesh& mesh) = 0;
  int CanConvertToType(Class_ID obtype) override { return obtype == triObjectClassID || obtype == defObjectClassID; }
  Object* ConvertToType(TimeValue t, Class_ID obtype) override;
  void GetDeformBBox(TimeValue t, Box3& box, Matrix3* tm = nullptr, BOOL useSel = FALSE) override;
};

}  // namespace sim
