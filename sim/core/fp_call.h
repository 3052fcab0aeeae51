// Calling published functions for the script runtime: find an object's interfaces, check converted
// arguments against a function's description, and invoke. Every refusal is an outcome the runtime
// turns into its own script error; nothing here throws or prints.
#pragma once

#include "animatable.h"
#include "ifnpub.h"

#include <string_view>
#include <vector>

namespace sim {

enum class FPCallError {
  None,            // the function ran and answered FPS_OK
  NoInterface,     // no interface, or one without a description
  NoSuchFunction,  // the description has no function of that name or id
  NoSuchProperty,
  ReadOnly,        // a property without a setter
  ArgCount,        // too many arguments, or too few for the parameters without a default
  ArgType,         // argument `argIndex` does not have the parameter's type
  Failed,          // the function ran, or was refused, with another status (see `status`)
};

struct FPCallOutcome {
  FPCallError error = FPCallError::None;
  FPStatus status = FPS_FAIL;                // Invoke's answer once the call was made
  const FPFunctionDef* function = nullptr;   // the function found, when one was
  int given = 0;                             // arguments passed
  int expected = 0;                          // parameters of the function
  int required = 0;                          // parameters the caller must pass
  int argIndex = -1;                         // the mismatched argument (ArgType)
  ParamType2 expectedType = TYPE_VOID;
  ParamType2 givenType = TYPE_VOID;
  bool ok() const { return error == FPCallError::None; }
};

// Calls function `name` (any case) of `fpi` with positional arguments already converted to the
// parameter types. Parameters the caller leaves out at the end get their defaults, appended to
// `args`; by-reference arguments are passed as they are, so the caller reads them back from `args`.
// `result` is emptied first: a function that answers nothing leaves it TYPE_VOID.
HOST_API FPCallOutcome callPublishedFunction(FPInterface* fpi, std::string_view name, FPParams& args, FPValue& result,
                                             TimeValue t = 0);
HOST_API FPCallOutcome callPublishedFunction(FPInterface* fpi, FunctionID fid, FPParams& args, FPValue& result,
                                             TimeValue t = 0);

HOST_API FPCallOutcome getPublishedProperty(FPInterface* fpi, std::string_view name, FPValue& result, TimeValue t = 0);
HOST_API FPCallOutcome setPublishedProperty(FPInterface* fpi, std::string_view name, const FPValue& value,
                                            TimeValue t = 0);

// The mixin interfaces an object publishes: the mixin descriptors on its registered class
// descriptor that the object answers from GetInterface(Interface_ID), in the descriptor's order.
HOST_API std::vector<FPInterface*> publishedInterfaces(Animatable* obj);
// The first of them with a function named `name`, or null.
HOST_API FPInterface* findFunctionInterface(Animatable* obj, std::string_view name);
// The core interface whose internal name is `name` (any case), or null.
HOST_API FPInterface* findCoreInterface(std::string_view name);

HOST_API FPFunctionDef* findFunctionDef(FPInterface* fpi, std::string_view name);
HOST_API FPPropDef* findPropDef(FPInterface* fpi, std::string_view name);

}  // namespace sim
