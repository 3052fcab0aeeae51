#include "scene/scene_services.h"

#include "core/ref_graph.h"
#include "gamma.h"
#include "hold.h"
#include "imtl.h"
#include "iparamb2.h"
#include "scene/change_restore.h"
#include "scene/host_class_desc.h"
#include "scene/materials/stdmat.h"

#include <cstdio>
#include <memory>

GammaMgr gammaMgr;

namespace sim {

// ---- SlotMaker ----------------------------------------------------------------------------------

SlotMaker::~SlotMaker() { DeleteAllRefsFromMe(); }

void SlotMaker::append(RefTargetHandle t) {
  slots_.push_back(nullptr);
  if (ReplaceReference(NumRefs() - 1, t) != REF_SUCCEED) slots_.pop_back();
}

void SlotMaker::removeAt(int i) {
  if (i < 0 || i >= NumRefs()) return;
  KeepAlive keep(slots_[static_cast<size_t>(i)]);
  for (int k = i; k + 1 < NumRefs(); ++k) ReplaceReference(k, slots_[static_cast<size_t>(k) + 1], FALSE);
  ReplaceReference(NumRefs() - 1, nullptr);
  slots_.pop_back();
}

void SlotMaker::clear(bool keepCount) {
  for (int i = NumRefs(); i-- > 0;) ReplaceReference(i, nullptr);
  if (!keepCount) slots_.clear();
}

// ---- advanced lighting and exposure -------------------------------------------------------------

RadiositySlot::RadiositySlot() {
  LoadDescriptor(RADIOSITY_INTERFACE_ID, _T("SceneRadiosity"), 0, nullptr, FP_CORE,
      properties,
          get_radiosity, set_radiosity, _T("radiosity"), 0, TYPE_REFTARG,
      p_end);
}

RadiosityEffect* RadiositySlot::GetRadiosity() const { return dynamic_cast<RadiosityEffect*>(slot_.GetReference(0)); }

void RadiositySlot::SetRadiosity(RadiosityEffect* op) { slot_.ReplaceReference(0, op); }

ExposureSlot::ExposureSlot() {
  LoadDescriptor(TONE_OPERATOR_INTERFACE, _T("SceneExposureControl"), 0, nullptr, FP_CORE,
      properties,
          get_toneOperator, set_toneOperator, _T("exposureControl"), 0, TYPE_REFTARG,
      p_end);
}

ToneOperator* ExposureSlot::GetToneOperator() const { return dynamic_cast<ToneOperator*>(slot_.GetReference(0)); }

void ExposureSlot::SetToneOperator(ToneOperator* op) { slot_.ReplaceReference(0, op); }

AdvancedLightingPrefs::AdvancedLightingPrefs() {
  LoadDescriptor(IRADIOSITYPREFERENCES_INTERFACE, _T("RadiosityPreferences"), 0, nullptr, FP_CORE,
      properties,
          get_use_advanced_lighting, set_use_advanced_lighting, _T("useAdvancedLighting"), 0, TYPE_BOOL,
      p_end);
}

// ---- material editor ----------------------------------------------------------------------------

MaterialEditorSlots::MaterialEditorSlots() {
  LoadDescriptor(MTLEDIT_INTERFACE, _T("medit"), 0, nullptr, FP_CORE,
      get_mtlSlot, _T("GetTopMtlSlot"), 0, TYPE_REFTARG, 0, 1,
          _T("slot"), 0, TYPE_INDEX,
      put_mtlSlot, _T("PutMtlToMtlEditor"), 0, TYPE_VOID, 0, 2,
          _T("mtl"), 0, TYPE_REFTARG,
          _T("slot"), 0, TYPE_INDEX,
      get_activeSlot, _T("GetActiveMtlSlot"), 0, TYPE_INDEX, 0, 0,
      set_activeSlot, _T("SetActiveMtlSlot"), 0, TYPE_VOID, 0, 1,
          _T("slot"), 0, TYPE_INDEX,
      get_curMtl, _T("GetCurMtl"), 0, TYPE_REFTARG, 0, 0,
      p_end);
}

MtlBase* MaterialEditorSlots::GetTopMtlSlot(int slot) {
  return slot >= 0 && slot < NUM_MEDIT_SLOTS ? dynamic_cast<MtlBase*>(slots_.GetReference(slot)) : nullptr;
}

void MaterialEditorSlots::PutMtlToMtlEditor(MtlBase* mtl, int slot) {
  if (slot == -1) slot = active_;
  if (slot < 0 || slot >= NUM_MEDIT_SLOTS || !mtl) return;
  slots_.ReplaceReference(slot, mtl);
}

void MaterialEditorSlots::SetActiveMtlSlot(int i, BOOL) {
  if (i >= 0 && i < NUM_MEDIT_SLOTS) active_ = i;
}

void MaterialEditorSlots::reset() {
  theHold.Suspend();
  for (int i = 0; i < NUM_MEDIT_SLOTS; ++i) {
    StdMat* m = NewDefaultStdMat();
    char name[32];
    std::snprintf(name, sizeof(name), "%02d - Default", i + 1);
    m->SetName(MSTR(name));
    slots_.ReplaceReference(i, m);
  }
  active_ = 0;
  theHold.Resume();
}

// ---- render elements ----------------------------------------------------------------------------

BOOL RenderElementList::AddRenderElement(ReferenceTarget* e) {
  if (!e) return FALSE;
  for (int i = 0; i < elements_.NumRefs(); ++i)
    if (elements_.GetReference(i) == e) return FALSE;
  elements_.append(e);
  return elements_.NumRefs() > 0 && elements_.GetReference(elements_.NumRefs() - 1) == e;
}

BOOL RenderElementList::RemoveRenderElement(ReferenceTarget* e) {
  for (int i = 0; i < elements_.NumRefs(); ++i)
    if (elements_.GetReference(i) == e) {
      elements_.removeAt(i);
      return TRUE;
    }
  return FALSE;
}

void RenderElementList::SetRenderElementFilename(int index, const TCHAR* filename) {
  auto* element = dynamic_cast<IRenderElement*>(GetRenderElement(index));
  if (!element) return;
  PBBitmap* none = nullptr;
  if (!filename || !*filename) {
    element->SetPBBitmap(none);
    return;
  }
  PBBitmap output;
  output.bi.SetName(filename);
  output.bi.SetType(BMM_TRUE_64);
  output.bi.SetFlags(MAP_HAS_ALPHA);
  PBBitmap* given = &output;
  element->SetPBBitmap(given);
}

const TCHAR* RenderElementList::GetRenderElementFilename(int index) {
  auto* element = dynamic_cast<IRenderElement*>(GetRenderElement(index));
  PBBitmap* output = nullptr;
  if (element) element->GetPBBitmap(output);
  return output ? output->bi.Name() : nullptr;
}

// ---- the services together ----------------------------------------------------------------------

void SceneServices::reset() {
  theHold.Suspend();
  radiosity.reset();
  exposure.reset();
  advancedLighting.reset();
  renderElements.reset();
  materialEditor.reset();
  preview = PreviewRecord();
  environment = RenderEnvironment();
  layers.reset();
  sceneFile.clear();
  loadedInPart = false;
  gammaMgr.enable = FALSE;
  theHold.Resume();
}

void SceneServices::clear() {
  theHold.Suspend();
  radiosity.reset();
  exposure.reset();
  renderElements.reset();
  materialEditor.clear();
  theHold.Resume();
}

SceneServices& sceneServices() {
  // Made once and never destroyed: the core interfaces stay registered for the whole session.
  static auto* services = new SceneServices;
  return *services;
}

// ---- the host's own plug-ins for these slots -----------------------------------------------------

namespace {

// A plain advanced lighting plug-in: its active state is all it has.
class LightTracer : public RadiosityEffect {
 public:
  void GetClassName(TSTR& s) override { s = "Light_Tracer"; }
  Class_ID ClassID() override { return Class_ID(0x39ff19ec, 0x772d5bff); }
  MSTR GetName() override { return MSTR("Light Tracer"); }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = new LightTracer;
    c->SetActive(GetActive(0) != 0, 0);
    BaseClone(this, c, remap);
    return c;
  }
};

class LogExposure : public ToneOperator {
 public:
  void GetClassName(TSTR& s) override { s = "Logarithmic_Exposure_Control"; }
  Class_ID ClassID() override { return Class_ID(0x55897318, 0x34db21ac); }
  MSTR GetName() override { return MSTR("Logarithmic Exposure Control"); }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = new LogExposure;
    BaseClone(this, c, remap);
    return c;
  }
};

// A render element that keeps a name, an enabled state and the description of its output file.
// Renders fill the output of the object-id and material-id elements (render/render_output.cpp).
class NamedRenderElement : public IRenderElement {
 public:
  NamedRenderElement(const char* cls, ULONG id) : cls_(cls), id_(id), name_(cls) {}
  void GetClassName(TSTR& s) override { s = cls_; }
  Class_ID ClassID() override { return Class_ID(0x4e2b3a10, id_); }
  MSTR GetName() override { return MSTR(name_); }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = new NamedRenderElement(cls_, id_);
    c->name_ = name_;
    c->enabled_ = enabled_;
    if (output_) c->output_.reset(output_->Clone());
    BaseClone(this, c, remap);
    return c;
  }
  void SetEnabled(BOOL enabled) override {
    BOOL on = enabled ? TRUE : FALSE;
    if (on == enabled_) return;
    recordChange(this, enabled_, on, [this](const BOOL& v) { enabled_ = v; }, "Render element");
    enabled_ = on;
  }
  BOOL IsEnabled() const override { return enabled_; }
  void SetElementName(const TCHAR* newName) override { name_ = newName ? newName : ""; }
  const TCHAR* ElementName() const override { return name_.c_str(); }
  // A copy, so that the caller's description may go whenever the caller likes.
  void SetPBBitmap(PBBitmap*& pPBBitmap) const override { output_.reset(pPBBitmap ? pPBBitmap->Clone() : nullptr); }
  void GetPBBitmap(PBBitmap*& pPBBitmap) const override { pPBBitmap = output_.get(); }

 private:
  const char* cls_;
  ULONG id_;
  std::string name_;
  BOOL enabled_ = TRUE;
  mutable std::unique_ptr<PBBitmap> output_;
};

HostClassDesc lightTracerDesc("Light_Tracer", RADIOSITY_CLASS_ID, Class_ID(0x39ff19ec, 0x772d5bff), "Advanced Lighting",
                              [](BOOL) -> void* { return new LightTracer; });
HostClassDesc logExposureDesc("Logarithmic_Exposure_Control", TONE_OPERATOR_CLASS_ID, Class_ID(0x55897318, 0x34db21ac),
                              "Exposure Controls", [](BOOL) -> void* { return new LogExposure; });
HostClassDesc diffuseElementDesc("Diffuse", RENDER_ELEMENT_CLASS_ID, Class_ID(0x4e2b3a10, 1), "Render Elements",
                                 [](BOOL) -> void* { return new NamedRenderElement("Diffuse", 1); });
HostClassDesc zDepthElementDesc("Z_Depth", RENDER_ELEMENT_CLASS_ID, Class_ID(0x4e2b3a10, 2), "Render Elements",
                                [](BOOL) -> void* { return new NamedRenderElement("Z_Depth", 2); });
HostClassDesc objectIdElementDesc("Object_ID", RENDER_ELEMENT_CLASS_ID, kObjectIdElementClassID, "Render Elements",
                                  [](BOOL) -> void* { return new NamedRenderElement("Object_ID", kObjectIdElementClassID.PartB()); });
HostClassDesc materialIdElementDesc("Material_ID", RENDER_ELEMENT_CLASS_ID, kMaterialIdElementClassID, "Render Elements",
                                    [](BOOL) -> void* { return new NamedRenderElement("Material_ID", kMaterialIdElementClassID.PartB()); });

}  // namespace
}  // namespace sim
