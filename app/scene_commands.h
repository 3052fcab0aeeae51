// The subcommands of qzmhost that work on a saved scene file: passes (what every pass sets, read
// from the holders' records without switching) and verify (switch to every pass and back, and
// report what did not come back). Neither ever writes the scene file.
#pragma once

#include "scenefile/scene_file.h"

#include <string>
#include <vector>

namespace CLI {
class App;
}

struct SceneCommandOptions {
  std::string name;  // "passes" or "verify"; empty when no subcommand was given
  std::string scene;
  bool json = false;
  bool csv = false;
  std::vector<std::string> passes;  // --pass: pass numbers or "initial"
};

// Adds the subcommands and their options to the command line.
void addSceneCommands(CLI::App& app, SceneCommandOptions& options);

// Runs the subcommand with the host started and its plug-ins loaded. Exit status: 0 when all is
// well; 1 when the holders' tables are inconsistent (passes) or something drifted (verify); 2 when
// the scene cannot be read or a pass asked for does not exist.
int runSceneCommand(const SceneCommandOptions& options);

namespace sim::passes {
struct ScenePasses;
}

// Shared by the subcommands.
namespace scene_command {

// Loads the scene file into the host; on failure prints the reason to standard error and answers
// false. Names of missing classes go to standard error too: standard output carries the report.
bool loadScene(const std::string& command, const std::string& path,
               sim::SceneLoadExtent extent = sim::SceneLoadExtent::Whole);
void error(const std::string& command, const std::string& text);

// A pass named on the command line: its number, or sim::passes::kInitialState for "initial". False,
// with the message printed, when the scene has no such pass.
bool passFromText(const std::string& command, const std::string& scenePath, const sim::passes::ScenePasses& scene,
                  const std::string& text, int& pass);

// Switches the scene to a pass through the holders' own RestoreAllProperties, with the per-pass
// material slot of that pass, or to its initial state through each holder's
// RestoreInitialProperties, as the pass manager does. False when a holder's function could not be
// called. The notes the holders write to the Listener while they restore are dropped.
bool switchToPass(const sim::passes::ScenePasses& scene, int pass);
void clearListener();

}  // namespace scene_command

int runPassesCommand(const SceneCommandOptions& options);
int runVerifyCommand(const SceneCommandOptions& options);
