// QZMMaterial's mental ray translation: the material becomes the phenomenon "max_QZMMaterial_phen",
// whose parameter "material" gets the active slot's material.
#include "qzm_material.h"

#include <cctype>
#include <cstring>

namespace {

constexpr TCHAR kPhenomenon[] = _T("max_QZMMaterial_phen");
constexpr TCHAR kMaterialParam[] = _T("material");

// The phenomenon as the renderer knows it: the one parameter the material hands the active slot's
// material through. Declared while the module is loaded.
ParamBlockDesc2 phenomenonParams(0, kPhenomenon, 0, nullptr, 0,
    0, kMaterialParam, TYPE_MTL, 0, 0, p_end,
    p_end);

struct PhenomenonDeclaration {
  PhenomenonDeclaration() { DeclareMRShader(kPhenomenon, &phenomenonParams); }
  ~PhenomenonDeclaration() { DeclareMRShader(kPhenomenon, nullptr); }
} phenomenonDeclaration;

bool equalsIgnoreCase(const char* a, const char* b) {
  if (!a || !b) return false;
  for (; *a && *b; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
  return *a == *b;
}

}  // namespace

imrShader* QZMMaterial::GetMRShader(imrShaderCreation& shaderCreation) {
  imrShader* shader = shaderCreation.CreateShader(kPhenomenon, GetFullName().data());
  mrShader_.SetRef(shader ? &shader->GetReferenceTarget() : nullptr);
  return shader;
}

// The remembered shader is filled, not the one passed in: the material gave the translator that one.
void QZMMaterial::TranslateParameters(imrTranslation&, imrShader*, TimeValue t, Interval&) {
  auto* shader = dynamic_cast<imrShader*>(mrShader_.GetRef());
  IParamBlock2* params = shader ? shader->GetParametersParamBlock() : nullptr;
  if (!params) return;
  Mtl* active = activeMtl(t);
  for (int i = 0; i < params->NumParams(); ++i) {
    ParamID id = params->IndextoID(i);
    if (!equalsIgnoreCase(params->GetParamDef(id).int_name, kMaterialParam)) continue;
    params->SetValue(id, 0, static_cast<ReferenceTarget*>(active));
    return;
  }
}
