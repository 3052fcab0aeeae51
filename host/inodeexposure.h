// INodeExposure: whether a node shows up in each of the host's user-interface areas. Every node
// answers it through GetInterface(NODEEXPOSURE_INTERFACE); a node starts exposed everywhere.
#pragma once

#include "ifnpub.h"
#include "inode.h"

#define NODEEXPOSURE_INTERFACE Interface_ID(0x1b00412c, 0x6ebf48f3)

class HOST_API INodeExposure : public FPMixinInterface {
 public:
  // The areas, with the host's numbering.
  enum {
    kSelectObjects,   // the select-by-name list
    kSchematicView,
    kMaxscript,
    kMerge,
    kMergeAnimation,
    kReplace,
    kKeyEditor,
    kCurveEditor,
    kRangeEditor,
    kUI_num,
  };
  enum { kIsExposed, kSetExposed };

  static INodeExposure* GetINodeExposure(INode& n) {
    return static_cast<INodeExposure*>(n.GetInterface(NODEEXPOSURE_INTERFACE));
  }

  // Areas outside 0..kUI_num-1 answer exposed and ignore changes.
  virtual bool IsExposed(int ui) const = 0;
  virtual void SetExposed(bool state, int ui) = 0;
  // Every area at once.
  virtual void SetExposed(bool state) = 0;
  virtual void BakeExposure() {}
  virtual bool IsBaked() { return false; }

  FPInterfaceDesc* GetDesc() override;
  Interface_ID GetID() override { return NODEEXPOSURE_INTERFACE; }

  BEGIN_FUNCTION_MAP
    FP_CASE(kIsExposed, FP_ARGS_1(TYPE_INT), result.Load(TYPE_bool, IsExposed(FP_PARAM(TYPE_INT, 0))))
    FP_CASE(kSetExposed, FP_ARGS_2(TYPE_bool, TYPE_INT), SetExposed(FP_PARAM(TYPE_bool, 0), FP_PARAM(TYPE_INT, 1)))
  END_FUNCTION_MAP
};
