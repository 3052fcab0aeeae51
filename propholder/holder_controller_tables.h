// The holder's controller tables: where capture stores a property's controller and where restore
// links it from, in the per-pass and the initial record, and the list controller that capture makes
// for an empty entry.
#pragma once

#include "holder_params.h"
#include "istdplug.h"
#include "maxtypes.h"

struct ControllerTable {
  ParamID pass;
  ParamID initial;
  const char* passName;
  const char* initialName;
  SClass_ID listSuperClass;
  ULONG listClass;

  ParamID id(bool initialRecord) const { return initialRecord ? initial : pass; }
  const char* name(bool initialRecord) const { return initialRecord ? initialName : passName; }
};

namespace controller_tables {

constexpr ControllerTable kFloat{pb_propertyFloatController, pb_IpropertyFloatController, "propertyFloatController",
                                 "IpropertyFloatController", CTRL_FLOAT_CLASS_ID, FLOATLIST_CONTROL_CLASS_ID};
constexpr ControllerTable kPoint3{pb_propertyPoint3Controller, pb_IpropertyPoint3Controller,
                                  "propertyPoint3Controller", "IpropertyPoint3Controller", CTRL_POINT3_CLASS_ID,
                                  POINT3LIST_CONTROL_CLASS_ID};
constexpr ControllerTable kPoint4{pb_propertyPoint4Controller, pb_IpropertyPoint4Controller,
                                  "propertyPoint4Controller", "IpropertyPoint4Controller", CTRL_POINT4_CLASS_ID,
                                  POINT4LIST_CONTROL_CLASS_ID};
constexpr ControllerTable kPos{pb_propertyPosController, pb_IpropertyPosController, "propertyPosController",
                               "IpropertyPosController", CTRL_POSITION_CLASS_ID, POSLIST_CONTROL_CLASS_ID};
constexpr ControllerTable kRot{pb_propertyRotController, pb_IpropertyRotController, "propertyRotController",
                               "IpropertyRotController", CTRL_ROTATION_CLASS_ID, ROTLIST_CONTROL_CLASS_ID};
constexpr ControllerTable kScale{pb_propertyScaleController, pb_IpropertyScaleController, "propertyScaleController",
                                 "IpropertyScaleController", CTRL_SCALE_CLASS_ID, SCALELIST_CONTROL_CLASS_ID};

}  // namespace controller_tables
