// QZMMaterial: a material that holds one material per render pass and renders with the active one.
//
// Its slots and parameter block are laid out in qzm_classes.h. Everything a renderer or the material editor asks is forwarded to the
// material in the active slot; an empty slot gives a fixed answer and calls nothing.
#pragma once

#include "iparamb2.h"
#include "imtl.h"
#include "iqzm_material.h"
#include "mentalray/imrShaderTranslation.h"
#include "plugapi.h"
#include "qzm_classes.h"

#include <array>

class QZMMaterialDlg;

// The material's own code names its block's parameters without the namespace.
using namespace pass_material;

class QZMMaterial : public Mtl, public imrMaterialPhenomenonTranslation, public IQZMMaterialFP {
 public:
  static constexpr int kNumSlots = pass_material::kNumSlots;
  static constexpr int kOverrideSlot = pass_material::kOverrideSlot;
  static constexpr int kPBlockRef = pass_material::kPBlockRef;

  explicit QZMMaterial(BOOL loading);
  ~QZMMaterial() override;

  // The slot every forwarded operation goes to: the override slot while EnableOMaterial is on, else
  // whichPass clamped to 1-101 (wider than the parameter's own range), minus 1.
  int ActiveSlot(TimeValue t);

  // ---- Animatable, references ----
  Class_ID ClassID() override { return QZMMATERIAL_CLASS_ID; }
  SClass_ID SuperClassID() override { return MATERIAL_CLASS_ID; }
  void GetClassName(TSTR& s) override;
  void DeleteThis() override { delete this; }
  int NumSubs() override { return kNumSlots + 1; }
  Animatable* SubAnim(int i) override;
  TSTR SubAnimName(int i) override;
  int NumRefs() override { return kNumSlots + 1; }
  RefTargetHandle GetReference(int i) override;
  void SetReference(int i, RefTargetHandle rtarg) override;
  int NumParamBlocks() override { return 1; }
  IParamBlock2* GetParamBlock(int) override { return pblock_; }
  IParamBlock2* GetParamBlockByID(BlockID id) override;
  RefResult NotifyRefChanged(Interval changeInt, RefTargetHandle hTarget, PartID& partID, RefMessage message) override;
  RefTargetHandle Clone(RemapDir& remap) override;
  IOResult Save(ISave* isave) override;
  IOResult Load(ILoad* iload) override;
  void* GetInterface(ULONG id) override;
  BaseInterface* GetInterface(Interface_ID id) override;

  // ---- MtlBase ----
  void Update(TimeValue t, Interval& valid) override;
  void Reset() override;
  Interval Validity(TimeValue t) override;
  ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) override;
  ULONG Requirements(int subMtlNum) override;

  // ---- Mtl: forwarded to the active slot ----
  void Shade(ShadeContext& sc) override;
  Color GetAmbient(int mtlNum, BOOL backFace) override;
  Color GetDiffuse(int mtlNum, BOOL backFace) override;
  Color GetSpecular(int mtlNum, BOOL backFace) override;
  float GetShininess(int mtlNum, BOOL backFace) override;
  float GetShinStr(int mtlNum, BOOL backFace) override;
  float GetXParency(int mtlNum, BOOL backFace) override;
  float WireSize(int mtlNum, BOOL backFace) override;
  float EvalDisplacement(ShadeContext& sc) override;
  Interval DisplacementValidity(TimeValue t) override;
  bool IsOutputConst(ShadeContext& sc, int stdID) override;
  bool EvalColorStdChannel(ShadeContext& sc, int stdID, Color& outClr) override;
  bool EvalMonoStdChannel(ShadeContext& sc, int stdID, float& outVal) override;

  // ---- Mtl: answered here ----
  int VPDisplaySubMtl() override { return ActiveSlot(0); }
  BOOL GetSelfIllumColorOn(int, BOOL) override { return TRUE; }
  float GetSelfIllum(int, BOOL) override { return 0.0f; }
  Color GetSelfIllumColor(int, BOOL) override { return Color(0.0f, 0.0f, 0.0f); }
  Sampler* GetPixelSampler(int, BOOL) override { return nullptr; }
  void SetAmbient(Color, TimeValue) override {}
  void SetDiffuse(Color, TimeValue) override {}
  void SetSpecular(Color, TimeValue) override {}
  void SetShininess(float, TimeValue) override {}
  BOOL SupportsShaders() override { return FALSE; }
  BOOL SupportsRenderElements() override { return FALSE; }
  int NumSubTexmaps() override { return 0; }

  // ---- sub-materials ----
  int NumSubMtls() override { return kNumSlots; }
  Mtl* GetSubMtl(int i) override;
  // Records SetSubRestore, so the change is one undo step of its own or part of the caller's hold.
  void SetSubMtl(int i, Mtl* m) override;
  TSTR GetSubMtlSlotName(int i) override;

  // ---- IQZMMaterial ----
  void AssignMaterial(Mtl* material, int pass) override;

  // ---- mental ray translation ----
  imrShader* GetMRShader(imrShaderCreation& shaderCreation) override;
  void ReleaseMRShader() override {}
  bool NeedsAutomaticParamBlock2Translation() override { return false; }
  void TranslateParameters(imrTranslation& translationInterface, imrShader* shader, TimeValue t,
                           Interval& valid) override;
  void GetAdditionalReferenceDependencies(AdditionalDependencyTable&) override {}
  bool SupportsMtlOverrides() override { return false; }
  void InitializeMtlOverrides(imrMaterialCustAttrib*) override {}

  // ---- the editor panel ----
  QZMMaterialDlg* Panel() { return dlg_; }
  void SetPanel(QZMMaterialDlg* dlg) { dlg_ = dlg; }
  HWND PanelWindow() { return hPanel_; }
  void SetPanelWindow(HWND hwnd) { hPanel_ = hwnd; }
  // Set by the panel for a slot whose postage stamp could not be made.
  int& StampUnavailable(int i) { return stampUnavailable_[static_cast<size_t>(i)]; }
  // Shows the slot rows anew when the panel is open.
  void RefreshPanelRows();

 private:
  bool isSlot(int i) const { return i >= 0 && i < kNumSlots; }
  Mtl* activeMtl(TimeValue t) { return slots_[static_cast<size_t>(ActiveSlot(t))]; }
  const TCHAR* label(int i);
  void invalidatePanel();
  // Lets the open panel go, telling it the material is no longer there for it.
  void detachPanel();

  IParamBlock2* pblock_ = nullptr;
  std::array<Mtl*, kNumSlots> slots_{};
  Interval ivalid_;
  QZMMaterialDlg* dlg_ = nullptr;
  HWND hPanel_ = nullptr;
  std::array<int, kNumSlots> stampUnavailable_{};
  // 1 while constructing and while a change refreshes the panel: changes are not acted on then.
  int busy_ = 0;
  // The shader GetMRShader made, held so that it stays alive as long as the material.
  SingleRefMaker mrShader_;
};

ClassDesc2* GetQZMMaterialDesc();
ParamBlockDesc2* GetQZMMaterialParamsDesc();
