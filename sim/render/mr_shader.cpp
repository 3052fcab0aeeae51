#include "render/mr_shader.h"

#include "hold.h"
#include "imtl.h"

#include <map>

namespace sim {

namespace {

std::map<std::string, ParamBlockDesc2*>& declarations() {
  static std::map<std::string, ParamBlockDesc2*> d;
  return d;
}

}  // namespace

void declareMrShader(const std::string& name, ParamBlockDesc2* params) {
  if (params)
    declarations()[name] = params;
  else
    declarations().erase(name);
}

}  // namespace sim

void DeclareMRShader(const TCHAR* name, ParamBlockDesc2* params) { sim::declareMrShader(name ? name : "", params); }

namespace sim {

ParamBlockDesc2* mrShaderDeclaration(const std::string& name) {
  auto it = declarations().find(name);
  return it == declarations().end() ? nullptr : it->second;
}

MrShader::MrShader(ParamBlockDesc2* declaration, const std::string& name) : name_(name) {
  if (!declaration || declaration->Count() == 0) return;
  ReplaceReference(0, CreateParameterBlock2(declaration, this));
}

void MrShader::SetReference(int i, RefTargetHandle rtarg) {
  if (i == 0) pblock_ = dynamic_cast<IParamBlock2*>(rtarg);
}

MrTranslator::~MrTranslator() = default;

imrShader* MrTranslator::CreateShader(const TCHAR* declarationName, const TCHAR* mtlName) {
  ParamBlockDesc2* declaration = mrShaderDeclaration(declarationName ? declarationName : "");
  if (!declaration) return nullptr;
  // Making a shader is part of rendering, not an edit of the scene.
  theHold.Suspend();
  auto* shader = new MrShader(declaration, mtlName ? mtlName : "");
  made_.push_back(std::make_unique<SingleRefMaker>());
  made_.back()->SetRef(shader);
  theHold.Resume();
  return shader;
}

imrShader* MrTranslator::translate(MtlBase* mtl, Interval& valid) {
  if (!mtl) return nullptr;
  auto* translation = dynamic_cast<imrShaderTranslation*>(mtl->GetInterface(IMRMTLPHENTRANSLATION_INTERFACE_ID));
  if (!translation)
    translation = dynamic_cast<imrShaderTranslation*>(mtl->GetInterface(IMRSHADERTRANSLATION_INTERFACE_ID));
  if (!translation) return nullptr;
  imrShader* shader = translation->GetMRShader(*this);
  if (shader) translation->TranslateParameters(*this, shader, time_, valid);
  return shader;
}

}  // namespace sim
