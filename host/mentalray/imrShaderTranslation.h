// Translation of host materials and maps into mental ray shaders. An object that translates itself
// hands out imrShaderTranslation (or, for a material that translates into a phenomenon,
// imrMaterialPhenomenonTranslation) through GetInterface(Interface_ID); the translator asks it for its
// shader once and then has it fill the shader's parameters at each translated time.
#pragma once

#include "baseinterface.h"
#include "interval.h"
#include "mentalray/imrShader.h"
#include "tab.h"

class ReferenceTarget;
class imrMaterialCustAttrib;

#define IMRSHADERTRANSLATION_INTERFACE_ID Interface_ID(0x1c396aef, 0x5a5b3a4d)
#define IMRMTLPHENTRANSLATION_INTERFACE_ID Interface_ID(0x5f970a9c, 0x65e75de4)

// What the translator hands a translating object; it carries nothing the material uses.
class HOST_API imrTranslation {
 public:
  virtual ~imrTranslation() = default;
  virtual TimeValue GetTranslationTime() { return 0; }
};

// Further objects a translated shader depends on, beyond its references.
using AdditionalDependencyTable = Tab<ReferenceTarget*>;

class HOST_API imrShaderTranslation : public BaseInterface {
 public:
  // The object's shader, made through `shaderCreation`.
  virtual imrShader* GetMRShader(imrShaderCreation& shaderCreation) = 0;
  // The translator is done with the shader.
  virtual void ReleaseMRShader() = 0;
  // True to have the translator copy matching parameter block values itself.
  virtual bool NeedsAutomaticParamBlock2Translation() = 0;
  // Fills `shader`'s parameters for time `t`, narrowing `valid` to how long they hold.
  virtual void TranslateParameters(imrTranslation& translationInterface, imrShader* shader, TimeValue t,
                                   Interval& valid) = 0;
  virtual void GetAdditionalReferenceDependencies(AdditionalDependencyTable& refTargets) = 0;
  Interface_ID GetID() override { return IMRSHADERTRANSLATION_INTERFACE_ID; }
};

class HOST_API imrMaterialPhenomenonTranslation : public imrShaderTranslation {
 public:
  // Material overrides: a phenomenon may take the settings of the mental ray material attributes.
  virtual bool SupportsMtlOverrides() = 0;
  virtual void InitializeMtlOverrides(imrMaterialCustAttrib* mtlCustAttrib) = 0;
  Interface_ID GetID() override { return IMRMTLPHENTRANSLATION_INTERFACE_ID; }
};
