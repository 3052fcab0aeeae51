// What every holder of the scene records, read from the holders' parameter blocks without restoring
// anything: node × property × pass → value, the initial state too. The holder's class and block are
// found through the class registry and read by their parameters' internal names, so the host needs
// nothing of the holder's module but its class descriptor.
#pragma once

#include "host_api.h"
#include "maxtypes.h"
#include "passes/value_texts.h"

#include <climits>
#include <functional>
#include <string>
#include <vector>

class INode;
class IParamBlock2;
class ReferenceTarget;

namespace sim::passes {

inline constexpr Class_ID kHolderClassID(0xa5d9dbeb, 0x5710a701);
inline constexpr Class_ID kPerPassMaterialClassID(0x9350465d, 0x60d9022e);
// The pass of a value that belongs to the initial state.
inline constexpr int kInitialState = INT_MIN;
// The per-pass material's slot that the initial state puts back on a node.
inline constexpr int kInitialMaterialSlot = 101;

struct PassValue {
  std::string property;
  int pass = kInitialState;
  std::string text, classTag;  // as stored
  bool animated = false;       // the animated field is "1"
  DecodedValue value;
  // The controller a switch links to the node, when the value is animated and one is stored.
  ReferenceTarget* controller = nullptr;
  std::string controllerClass;
  std::string controllerAddress;  // $'holder'.table[pass slot + 1][property slot + 1]
};

struct HolderPasses {
  INode* holderNode = nullptr;
  std::string holderName;
  INode* target = nullptr;  // null when the holder's node is gone
  std::string targetName;
  IParamBlock2* block = nullptr;
  std::vector<int> passes;               // pass numbers, in the holder's slot order
  std::vector<std::string> properties;   // propertyName
  bool hasInitial = false;
  std::vector<PassValue> values;         // the initial state first, then each pass; properties in slot order
};

struct ScenePasses {
  std::vector<int> passes;  // every pass number of the scene, ascending
  size_t holderCount = 0;   // holders read: holders.size() when they are kept
  std::vector<HolderPasses> holders;
  // Tables a holder's own restore would read wrongly or not at all, one sentence each, naming the
  // holder: "holder 'Ball holder': pass 5001 is listed twice; the first is used".
  std::vector<std::string> problems;
};

// Reads the scene in memory. False, with `error` saying why, when the holder's class is not loaded
// or its block lacks a parameter the records need; then nothing could be read.
HOST_API bool readScenePasses(ScenePasses& out, std::string& error);
// The same, one holder at a time, for reports on scenes of any size: once every pass number and the
// holder count are in `out`, `ready` is asked whether to go on (false ends the reading, with true
// returned); then `each` gets each holder's records, in the same order and as complete as
// readScenePasses keeps them, and what it keeps of them is its own. `out.holders` stays empty;
// `out.problems` is complete, in the same order, when this returns.
HOST_API bool readScenePasses(ScenePasses& out, const std::function<bool(const ScenePasses&)>& ready,
                              const std::function<void(HolderPasses&)>& each, std::string& error);

// One holder's records, as readScenePasses reads each (material slots are left at 0). False only
// when the holder's class is not loaded.
HOST_API bool readHolder(INode* holderNode, ReferenceTarget* holder, HolderPasses& out, std::vector<std::string>& problems,
                         std::string& error);

// Fills `v` with the material in `slot` of the node's per-pass material; false when the node has
// no per-pass material.
HOST_API bool perPassMaterialInSlot(INode* node, int slot, DecodedValue& v);

// The per-pass material slot a pass shows: its 1-based position among the scene's passes, as the
// passes are numbered in order; 0 for a pass the scene does not have.
HOST_API int materialSlotOfPass(const ScenePasses& scene, int pass);

// "initial" or the pass number.
HOST_API std::string passLabel(int pass);

// Every holder object on a scene node, with that node, in the order of a depth-first walk; an
// instanced holder comes once. Derived objects are looked through one level, as the holder's own
// walk does.
HOST_API std::vector<std::pair<INode*, ReferenceTarget*>> sceneHolders();

}  // namespace sim::passes
