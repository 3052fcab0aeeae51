// The holder's parameter block: ids of every parameter, and the helpers that read and grow its
// per-pass tables. Everything a holder keeps lives in this block, so saving, loading, cloning and
// undo of a holder are the host's handling of the block.
#pragma once

#include "iparamb2.h"

#include <string>

enum { qzmpropholder_params = 0 };

// Parameter ids. Ids 10 and 21 are unused; they are kept free so stored scenes keep their meaning.
enum HolderParamID : ParamID {
  pb_whichPass = 0,
  pb_node = 1,
  pb_viewportIcon = 2,
  pb_iconsize = 3,
  pb_passlist = 4,
  pb_propertyName = 5,
  pb_propertyState = 6,
  pb_propertyClass = 7,
  pb_propertyIsAnimated = 8,
  pb_propertyObject = 9,
  pb_propertyFloatController = 11,
  pb_propertyPoint3Controller = 12,
  pb_propertyPoint4Controller = 13,
  pb_propertyPosController = 14,
  pb_propertyRotController = 15,
  pb_propertyScaleController = 16,
  pb_IpropertyState = 17,
  pb_IpropertyClass = 18,
  pb_IpropertyIsAnimated = 19,
  pb_IpropertyObject = 20,
  pb_IpropertyFloatController = 22,
  pb_IpropertyPoint3Controller = 23,
  pb_IpropertyPoint4Controller = 24,
  pb_IpropertyPosController = 25,
  pb_IpropertyRotController = 26,
  pb_IpropertyScaleController = 27,
  pb_thisName = 28,
  pb_nodeArray = 29,
  pb_doTopLevelEval = 30,
  pb_doDebugPrint = 31,
};

ParamBlockDesc2* GetHolderBlockDesc();

// Table helpers shared by capture, restore and removal.
namespace holder_tables {

// Entry `i` of a string table, "" when the table is shorter or the entry unset.
std::string GetText(IParamBlock2* pb, ParamID id, int i);
// Grows a table to at least `n` entries (new strings empty, new references null); never shrinks.
void GrowTo(IParamBlock2* pb, ParamID id, int n);
void SetText(IParamBlock2* pb, ParamID id, int i, const std::string& text);

}  // namespace holder_tables
