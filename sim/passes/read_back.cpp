#include "passes/read_back.h"

#include "core/class_registry.h"
#include "core/fp_call.h"
#include "core/ref_graph.h"
#include "inode.h"
#include "iparamb2.h"

namespace sim::passes {

namespace {

ParamID paramNamed(IParamBlock2* pb, std::string_view name) {
  ParamBlockDesc2* d = pb->GetDesc();
  for (int i = 0; i < d->count; ++i)
    if (d->paramdefs[i].int_name && name == d->paramdefs[i].int_name) return d->paramdefs[i].ID;
  return -1;
}

}  // namespace

bool readBack(const HolderPasses& recorded, int pass, HolderPasses& found, std::string& error) {
  auto* made = static_cast<Animatable*>(createInstance(HELPER_CLASS_ID, kHolderClassID));
  auto* scratch = dynamic_cast<ReferenceTarget*>(made);
  if (!scratch) {
    if (made) made->DeleteThis();
    error = "the holder class is not loaded";
    return false;
  }
  KeepAlive keep(scratch);  // frees the scratch holder on every way out
  IParamBlock2* pb = scratch->GetParamBlock(0);
  const ParamID node = pb ? paramNamed(pb, "node") : -1, names = pb ? paramNamed(pb, "propertyName") : -1;
  const ParamID topLevel = pb ? paramNamed(pb, "doTopLevelEval") : -1;
  if (node < 0 || names < 0 || topLevel < 0) {
    error = "the holder class has no node, propertyName or doTopLevelEval parameter";
    return false;
  }
  pb->SetValue(node, 0, recorded.target);
  pb->SetCount(names, static_cast<int>(recorded.properties.size()));
  for (size_t k = 0; k < recorded.properties.size(); ++k) pb->SetValue(names, 0, recorded.properties[k].c_str(), static_cast<int>(k));
  const ParamID recordedTopLevel = paramNamed(recorded.block, "doTopLevelEval");
  pb->SetValue(topLevel, 0, recordedTopLevel < 0 ? 0 : recorded.block->GetInt(recordedTopLevel));

  const char* fn = pass == kInitialState ? "CaptureInitialProperties" : "CaptureProperties";
  FPInterface* fpi = findFunctionInterface(scratch, fn);
  FPParams args;
  if (pass == kInitialState) args.Load(1, TYPE_INT, 0);
  else args.Load(2, TYPE_INT, pass, TYPE_INT, 0);
  FPValue result;
  if (!fpi || !callPublishedFunction(fpi, fn, args, result).ok()) {
    error = std::string("the holder class's ") + fn + " could not be called";
    return false;
  }
  std::vector<std::string> ignored;
  if (!readHolder(recorded.holderNode, scratch, found, ignored, error)) return false;
  // Read before the scratch holder goes: its tables keep the node's controllers and objects alive
  // only while it exists, and the caller compares them by identity with what the node holds.
  found.block = nullptr;
  return true;
}

}  // namespace sim::passes
