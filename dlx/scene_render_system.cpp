// Render settings switched between passes, the time slider, and small system services: key state,
// clock, Bezier samples, the scripts' random offsets, and scrambled script files.
#include "pending_primitives.h"

QZM_PENDING_PRIMITIVE(QZMIsSceneRadActive, 0)
QZM_PENDING_PRIMITIVE(QZMSetSceneRadActive, 1)
QZM_PENDING_PRIMITIVE(QZMRemoveSceneRad, 0)
QZM_PENDING_PRIMITIVE(QZMRemoveSceneExp, 0)
QZM_PENDING_PRIMITIVE(QZMGetGamma, 0)
QZM_PENDING_PRIMITIVE(QZMSetUseAdvLighting, 1)
QZM_PENDING_PRIMITIVE(QZMSetREoutput, 1)
QZM_PENDING_PRIMITIVE(QZMInterpolateBez, 13)
QZM_PENDING_PRIMITIVE(QZMGetKeyState, 1)
QZM_PENDING_PRIMITIVE(QZMgetRnd, 1)

def_visible_primitive(QZMGetTimeMode, "QZMGetTimeMode");
Value* QZMGetTimeMode_cf(Value**, int) { qzmdlx::notAvailableYet(_T("QZMGetTimeMode")); }

def_visible_primitive(QZMSetTimeMode, "QZMSetTimeMode");
Value* QZMSetTimeMode_cf(Value**, int) { qzmdlx::notAvailableYet(_T("QZMSetTimeMode")); }

def_visible_primitive(QZMSetTime, "QZMSetTime");
Value* QZMSetTime_cf(Value**, int) { qzmdlx::notAvailableYet(_T("QZMSetTime")); }

def_visible_primitive(QZMGetSystemTime, "QZMGetSystemTime");
Value* QZMGetSystemTime_cf(Value** arg_list, int count) {
  qzmdlx::checkCount(_T("QZMGetSystemTime"), 1, count);
  qzmdlx::requireArray(arg_list[0], _T("Return array not supplied"));
  qzmdlx::notAvailableYet(_T("QZMGetSystemTime"));
}

def_visible_primitive(FileIn_, "FileIn_");
Value* FileIn__cf(Value** arg_list, int count) {
  qzmdlx::checkCountWithKeywords(_T("fileIn_"), 1, arg_list, count);
  Value* quiet = key_arg_or_default(quiet, true_value);
  qzmdlx::requireBoolean(quiet, _T("fileIn_ quiet:"));
  qzmdlx::notAvailableYet(_T("FileIn_"));
}

def_visible_primitive(getQZMVersion, "getQZMVersion");
Value* getQZMVersion_cf(Value**, int) { return Float::intern(1.21f); }
