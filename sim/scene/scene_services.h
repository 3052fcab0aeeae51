// Scene-level services that primitives reach through the core interfaces: the advanced lighting
// (radiosity) slot, the exposure control slot, the advanced-lighting preference, the material
// editor's slots and the render elements of the current renderer. Each keeps what it holds as
// references, so deleting a held object empties its slot.
#pragma once

#include "imtl.h"
#include "imtledit.h"
#include "iradiositypreferences.h"
#include "maxapi.h"
#include "radiosity.h"
#include "renderelements.h"
#include "scene/layers.h"
#include "toneop.h"

#include <string>
#include <vector>

namespace sim {

// A maker with a resizable number of references: how the scene holds what its slots show.
class HOST_API SlotMaker : public ReferenceMaker {
 public:
  explicit SlotMaker(int count = 0) : slots_(static_cast<size_t>(count), nullptr) {}
  ~SlotMaker() override;
  SClass_ID SuperClassID() override { return REF_MAKER_CLASS_ID; }
  int NumRefs() override { return static_cast<int>(slots_.size()); }
  RefTargetHandle GetReference(int i) override { return i >= 0 && i < NumRefs() ? slots_[static_cast<size_t>(i)] : nullptr; }
  void SetReference(int i, RefTargetHandle rtarg) override {
    if (i >= 0 && i < NumRefs()) slots_[static_cast<size_t>(i)] = rtarg;
  }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  // Appends or removes a slot; the references move with it.
  void append(RefTargetHandle t);
  void removeAt(int i);
  // Drops every reference; with `keepCount` the slots stay (empty).
  void clear(bool keepCount);

 private:
  std::vector<RefTargetHandle> slots_;
};

class HOST_API RadiositySlot : public RadiosityInterface {
 public:
  RadiositySlot();
  RadiosityEffect* GetRadiosity() const override;
  void SetRadiosity(RadiosityEffect* op) override;
  void reset() { slot_.clear(true); }

  BEGIN_FUNCTION_MAP
    FN_0(get_radiosity, TYPE_REFTARG, getRef)
    VFN_1(set_radiosity, setRef, TYPE_REFTARG)
  END_FUNCTION_MAP

 private:
  ReferenceTarget* getRef() { return GetRadiosity(); }
  void setRef(ReferenceTarget* r) { SetRadiosity(dynamic_cast<RadiosityEffect*>(r)); }
  mutable SlotMaker slot_{1};
};

class HOST_API ExposureSlot : public ToneOperatorInterface {
 public:
  ExposureSlot();
  ToneOperator* GetToneOperator() const override;
  void SetToneOperator(ToneOperator* op) override;
  void reset() { slot_.clear(true); }

  BEGIN_FUNCTION_MAP
    FN_0(get_toneOperator, TYPE_REFTARG, getRef)
    VFN_1(set_toneOperator, setRef, TYPE_REFTARG)
  END_FUNCTION_MAP

 private:
  ReferenceTarget* getRef() { return GetToneOperator(); }
  void setRef(ReferenceTarget* r) { SetToneOperator(dynamic_cast<ToneOperator*>(r)); }
  mutable SlotMaker slot_{1};
};

class HOST_API AdvancedLightingPrefs : public IRadiosityPreferences {
 public:
  AdvancedLightingPrefs();
  BOOL GetUseAdvancedLighting() const override { return use_; }
  void SetUseAdvancedLighting(BOOL b) override { use_ = b ? TRUE : FALSE; }
  void reset() { use_ = TRUE; }

  BEGIN_FUNCTION_MAP
    PROP_FNS(get_use_advanced_lighting, getUse, set_use_advanced_lighting, SetUseAdvancedLighting, TYPE_BOOL)
  END_FUNCTION_MAP

 private:
  BOOL getUse() { return use_; }
  BOOL use_ = TRUE;
};

class HOST_API MaterialEditorSlots : public IMtlEditInterface {
 public:
  MaterialEditorSlots();
  MtlBase* GetTopMtlSlot(int slot) override;
  void PutMtlToMtlEditor(MtlBase* mtl, int slot = -1) override;
  int GetActiveMtlSlot() override { return active_; }
  void SetActiveMtlSlot(int i, BOOL forceUpdate = FALSE) override;
  MtlBase* GetCurMtl() override { return GetTopMtlSlot(active_); }
  // Fills every slot with a fresh standard material named "01 - Default" to "24 - Default".
  void reset();
  void clear() { slots_.clear(true); }

  BEGIN_FUNCTION_MAP
    FN_1(get_mtlSlot, TYPE_REFTARG, getSlot, TYPE_INDEX)
    VFN_2(put_mtlSlot, putSlot, TYPE_REFTARG, TYPE_INDEX)
    FN_0(get_activeSlot, TYPE_INDEX, GetActiveMtlSlot)
    VFN_1(set_activeSlot, setActive, TYPE_INDEX)
    FN_0(get_curMtl, TYPE_REFTARG, getCur)
  END_FUNCTION_MAP

 private:
  ReferenceTarget* getSlot(int slot) { return GetTopMtlSlot(slot); }
  void putSlot(ReferenceTarget* m, int slot) { PutMtlToMtlEditor(dynamic_cast<MtlBase*>(m), slot); }
  void setActive(int i) { SetActiveMtlSlot(i); }
  ReferenceTarget* getCur() { return GetCurMtl(); }
  SlotMaker slots_{NUM_MEDIT_SLOTS};
  int active_ = 0;
};

// The render elements a render fills: the G-buffer object channel and material id images.
inline const Class_ID kObjectIdElementClassID(0x4e2b3a10, 3);
inline const Class_ID kMaterialIdElementClassID(0x4e2b3a10, 4);

class HOST_API RenderElementList : public IRenderElementMgr {
 public:
  BOOL AddRenderElement(ReferenceTarget* pRenderElement) override;
  BOOL RemoveRenderElement(ReferenceTarget* pRenderElement) override;
  void RemoveAllRenderElements() override { elements_.clear(false); }
  int NumRenderElements() override { return elements_.NumRefs(); }
  ReferenceTarget* GetRenderElement(int index) override { return elements_.GetReference(index); }
  void SetRenderElementFilename(int index, const TCHAR* filename) override;
  const TCHAR* GetRenderElementFilename(int index) override;
  void SetElementsActive(BOOL elementsActive) override { active_ = elementsActive; }
  BOOL GetElementsActive() const override { return active_; }
  void reset() {
    elements_.clear(false);
    active_ = TRUE;
  }

 private:
  SlotMaker elements_;
  BOOL active_ = TRUE;
};

// What CreatePreview was asked for and what it made, for scripts and tests to look at.
struct PreviewRecord {
  int count = 0;
  PreviewParams params;
  bool hadParams = false;
  std::string fileName;
  std::vector<std::string> images;  // the files of the last preview, in frame order
  std::string error;                // why the last preview made no (or not every) image
};

// The environment a render sees: the background colour where nothing is hit and the ambient light
// (both black in a new scene, as the host's are).
struct RenderEnvironment {
  Color background;
  Color ambient;
};

// Every service, made once and kept for the whole session (their core interfaces are registered
// by id); reset with the scene.
struct HOST_API SceneServices {
  RadiositySlot radiosity;
  ExposureSlot exposure;
  AdvancedLightingPrefs advancedLighting;
  MaterialEditorSlots materialEditor;
  RenderElementList renderElements;
  PreviewRecord preview;
  RenderEnvironment environment;
  LayerList layers;
  // The file the scene was last saved to or loaded from; empty for a new scene.
  std::string sceneFile;
  // The scene was loaded without its transforms and geometry (for reading its records): saving it
  // would lose what was left out, so saves refuse it.
  bool loadedInPart = false;
  void reset();
  void clear();
};
HOST_API SceneServices& sceneServices();

}  // namespace sim
