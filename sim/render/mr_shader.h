// The mental ray translator's side of shaders: the declarations the renderer knows (by name, each
// with the parameters of its shaders), the shaders made from them, and a translator that asks a
// material or map for its shader and has it fill the parameters.
#pragma once

#include "imtl.h"
#include "iparamb2.h"
#include "mentalray/imrShaderTranslation.h"

#include <memory>
#include <string>
#include <vector>

namespace sim {

// Declares (or declares anew) the shader `name` with the parameters of `params`, which must outlive
// every shader made from it. A null `params` takes the declaration away. Plug-ins declare theirs
// through DeclareMRShader; the renderer itself declares none.
HOST_API void declareMrShader(const std::string& name, ParamBlockDesc2* params);
HOST_API ParamBlockDesc2* mrShaderDeclaration(const std::string& name);

// A shader: a reference target with the parameter block of its declaration on reference 0.
class HOST_API MrShader : public ReferenceTarget, public imrShader {
 public:
  MrShader(ParamBlockDesc2* declaration, const std::string& name);

  SClass_ID SuperClassID() override { return REF_TARGET_CLASS_ID; }
  void GetClassName(TSTR& s) override { s = "mental ray shader"; }
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? pblock_ : nullptr; }
  void SetReference(int i, RefTargetHandle rtarg) override;
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  int NumParamBlocks() override { return 1; }
  IParamBlock2* GetParamBlock(int i) override { return i == 0 ? pblock_ : nullptr; }

  void SetName(const TCHAR* name) override { name_ = name ? name : ""; }
  const TCHAR* GetName() override { return name_.c_str(); }
  IParamBlock2* GetParametersParamBlock() override { return pblock_; }
  ReferenceTarget& GetReferenceTarget() override { return *this; }

 private:
  std::string name_;
  IParamBlock2* pblock_ = nullptr;
};

// One translation: makes shaders from the declarations and keeps every shader it made alive until
// it is destroyed.
class HOST_API MrTranslator : public imrShaderCreation, public imrTranslation {
 public:
  explicit MrTranslator(TimeValue t = 0) : time_(t) {}
  ~MrTranslator() override;

  imrShader* CreateShader(const TCHAR* declarationName, const TCHAR* mtlName) override;
  TimeValue GetTranslationTime() override { return time_; }

  // Translates `mtl` as the renderer does: its shader, with parameters filled for the translation
  // time. Null when the material does not translate itself or gives no shader.
  imrShader* translate(MtlBase* mtl, Interval& valid);

 private:
  TimeValue time_;
  std::vector<std::unique_ptr<SingleRefMaker>> made_;
};

}  // namespace sim
