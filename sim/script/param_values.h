// Parameter-block parameters as script values: every parameter by its internal name, tables as
// live collections that index (1-based), append and count.
#pragma once

#include "iparamb2.h"
#include "maxscript/classes.h"

namespace sim::rt {

// The parameter of any of `obj`'s blocks whose internal name is `name` (without case).
struct ParamRef {
  IParamBlock2* block = nullptr;
  ParamID id = -1;
  explicit operator bool() const { return block != nullptr; }
};
ParamRef findParam(Animatable* obj, Value* name);

Value* getParam(ParamRef p, TimeValue t);
void setParam(ParamRef p, TimeValue t, Value* v);
// One entry of a table (0-based) or a scalar parameter (tabIndex 0).
Value* getParamEntry(IParamBlock2* pb, ParamID id, TimeValue t, int tabIndex);
void setParamEntry(IParamBlock2* pb, ParamID id, TimeValue t, int tabIndex, Value* v);
void listParams(Animatable* obj, std::vector<std::string>& names);

}  // namespace sim::rt
