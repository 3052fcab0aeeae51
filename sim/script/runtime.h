// The script runtime: globals, the host's built-in names, running text and files, and the state of
// error handling. One per process, on the host's main thread.
#pragma once

#include "maxscript/classes.h"
#include "maxscript/exceptions.h"
#include "maxtypes.h"
#include "script/ast_names.h"
#include "script/scope.h"

#include "script/evaluator.h"

#include <cstdio>
#include <exception>
#include <optional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace sim::rt {

using SystemGetter = Value* (*)();
using SystemSetter = void (*)(Value* v);

class HOST_API Runtime {
 public:
  static Runtime& get();

  // ---- names ---------------------------------------------------------------------------------
  GlobalSlot& global(const Symbol* name);
  GlobalSlot* findGlobal(const Symbol* name);
  Value* getGlobal(std::string_view name);  // null when not defined
  void setGlobal(std::string_view name, Value* v);
  // Names the host itself defines (sliderTime, rootNode, red, ...): read through the getter each
  // time; assignment through the setter (read-only without one).
  void defineSystemGlobal(std::string_view name, SystemGetter getter, SystemSetter setter = nullptr);
  bool setSystemGlobal(const Symbol* name, Value* v);
  // What a name that is no variable stands for: a host global, a primitive, a struct global such as
  // theHold, a class; null when none.
  Value* builtin(const Symbol* name);

  // ---- evaluation ----------------------------------------------------------------------------
  // Runs every expression of `text` in the global scope; the last one's value. Script errors
  // (syntax errors included) are thrown as MAXScriptException.
  Value* evalText(std::string_view text);
  // The same, with an error answered as kFailed and left pending (script/script_failure.h).
  Value* evalTextOrFail(std::string_view text);
  // Runs a file as qzmhost does: errors are printed to `errors` and end the run (false).
  bool runFile(const std::string& path, FILE* errors);
  // Runs every expression of the script file `path` at top level, as fileIn does: what it defines
  // stays. With `listing`, each expression's text goes to the Listener before it runs. The last
  // value; script errors are thrown, the first place one was raised kept for runFile's report.
  Value* evalFile(const std::string& path, bool listing);
  // The script files running now, innermost last (fileIn looks beside the including one).
  const std::vector<std::string>& runningFiles() const { return runningFiles_; }

  // The time property reads and writes happen at: the scene's current time unless `at time` says.
  TimeValue time() const;
  void setTime(TimeValue t) { timeOverride_ = true; time_ = t; }
  void clearTime() { timeOverride_ = false; }
  struct TimeState { bool set; TimeValue t; };
  TimeState timeState() const { return {timeOverride_, time_}; }
  void restoreTime(TimeState s) { timeOverride_ = s.set; time_ = s.t; }

  // The error a `catch` is handling (getCurrentException, bare throw).
  std::string currentException;

  // Frees every global (shutdown, scene reset of script state).
  void clearGlobals();

 private:
  Runtime();
  std::unordered_map<const Symbol*, std::unique_ptr<GlobalSlot>> globals_;
  struct System {
    SystemGetter get;
    SystemSetter set;
  };
  std::unordered_map<const Symbol*, System> system_;
  std::unordered_map<const Symbol*, ValueRef> builtinCache_;
  bool timeOverride_ = false;
  TimeValue time_ = 0;
  std::vector<std::string> runningFiles_;
  // The trees of script files by their file names, for the place of an error to name its file.
  std::vector<std::pair<std::weak_ptr<SyntaxTree>, std::string>> fileTrees_;
  // The first place an error left a script file from, while that error travels on.
  struct FileError {
    std::exception_ptr error;
    std::optional<ErrorPlace> place;
  };
  FileError fileError_;
  const std::string* fileOfTree(const std::shared_ptr<SyntaxTree>& tree);
};

// The super class of a plain value: Number for numbers, Value for the rest.
HOST_API Value* valueSuperClass(Value* v);
// The super class of host objects with super class id `id` (`GeometryClass`, `helper`, ...): one
// value per super class, so that two answers of superClassOf compare equal.
HOST_API Value* superClassValue(SClass_ID id);

// Shorthand for host code that defines globals at start-up.
HOST_API void defineSystemGlobal(std::string_view name, SystemGetter getter, SystemSetter setter = nullptr);

// Frees what the runtime holds; the last step before the scene and modules go.
HOST_API void shutdownScriptRuntime();

}  // namespace sim::rt
