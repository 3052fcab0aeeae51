// Render settings the pass manager switches between passes: advanced lighting, exposure control,
// the advanced-lighting preference, gamma, render element output, and the time slider.
#include "primitive_args.h"

#include "animate.h"
#include "gamma.h"
#include "iradiositypreferences.h"
#include "maxapi.h"
#include "radiosity.h"
#include "renderelements.h"
#include "toneop.h"

namespace {

using namespace qzmdlx;

RadiosityInterface* radiosity() { return static_cast<RadiosityInterface*>(GetCOREInterface(RADIOSITY_INTERFACE_ID)); }

RadiosityEffect* sceneRadiosity() {
  RadiosityInterface* ri = radiosity();
  return ri ? ri->GetRadiosity() : nullptr;
}

}  // namespace

def_visible_primitive(QZMIsSceneRadActive, "QZMIsSceneRadActive");
Value* QZMIsSceneRadActive_cf(Value**, int count) {
  checkCount(_T("QZMIsSceneRadActive"), 0, count);
  RadiosityEffect* rad = sceneRadiosity();
  return bool_result(rad && rad->GetActive(0));
}

def_visible_primitive(QZMSetSceneRadActive, "QZMSetSceneRadActive");
Value* QZMSetSceneRadActive_cf(Value** arg_list, int count) {
  checkCount(_T("QZMSetSceneRadActive"), 1, count);
  bool active = arg_list[0]->to_bool() != FALSE;
  RadiosityEffect* rad = sceneRadiosity();
  if (!rad) return false_value;
  rad->SetActive(active, 0);
  return true_value;
}

def_visible_primitive(QZMRemoveSceneRad, "QZMRemoveSceneRad");
Value* QZMRemoveSceneRad_cf(Value**, int count) {
  checkCount(_T("QZMRemoveSceneRad"), 0, count);
  if (RadiosityInterface* ri = radiosity()) ri->SetRadiosity(nullptr);
  return true_value;
}

def_visible_primitive(QZMRemoveSceneExp, "QZMRemoveSceneExp");
Value* QZMRemoveSceneExp_cf(Value**, int count) {
  checkCount(_T("QZMRemoveSceneExp"), 0, count);
  if (auto* exposure = static_cast<ToneOperatorInterface*>(GetCOREInterface(TONE_OPERATOR_INTERFACE)))
    exposure->SetToneOperator(nullptr);
  return true_value;
}

def_visible_primitive(QZMGetGamma, "QZMGetGamma");
Value* QZMGetGamma_cf(Value**, int count) {
  checkCount(_T("QZMGetGamma"), 0, count);
  return bool_result(gammaMgr.IsEnabled());
}

def_visible_primitive(QZMSetUseAdvLighting, "QZMSetUseAdvLighting");
Value* QZMSetUseAdvLighting_cf(Value** arg_list, int count) {
  checkCount(_T("QZMSetUseAdvLighting"), 1, count);
  BOOL use = arg_list[0]->to_bool();
  if (auto* prefs = static_cast<IRadiosityPreferences*>(GetCOREInterface(IRADIOSITYPREFERENCES_INTERFACE)))
    prefs->SetUseAdvancedLighting(use);
  return true_value;
}

// Prepares the output file description of render element [index] (0-based) for writing; false for
// an index outside the list or an element without an output description.
def_visible_primitive(QZMSetREoutput, "QZMSetREoutput");
Value* QZMSetREoutput_cf(Value** arg_list, int count) {
  checkCount(_T("QZMSetREoutput"), 1, count);
  int index = arg_list[0]->to_int();
  IRenderElementMgr* elements = GetCOREInterface()->GetCurRenderElementMgr();
  if (!elements || index < 0 || index >= elements->NumRenderElements()) return false_value;
  auto* element = dynamic_cast<IRenderElement*>(elements->GetRenderElement(index));
  PBBitmap* output = nullptr;
  if (element) element->GetPBBitmap(output);
  if (!output) return false_value;
  output->bi.CreateFmtSpecBlock();
  return true_value;
}

def_visible_primitive(QZMGetTimeMode, "QZMGetTimeMode");
Value* QZMGetTimeMode_cf(Value**, int) { return Integer::intern(GetTimeDisplayMode()); }

def_visible_primitive(QZMSetTimeMode, "QZMSetTimeMode");
Value* QZMSetTimeMode_cf(Value** arg_list, int count) {
  if (count < 1) throw ArgCountError(_T("QZMSetTimeMode"), 1, count);
  SetTimeDisplayMode(arg_list[0]->to_int());
  return true_value;
}

def_visible_primitive(QZMSetTime, "QZMSetTime");
Value* QZMSetTime_cf(Value** arg_list, int count) {
  if (count < 1) throw ArgCountError(_T("QZMSetTime"), 1, count);
  GetCOREInterface()->SetTime(arg_list[0]->to_timevalue(), TRUE);
  return true_value;
}
