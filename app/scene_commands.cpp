#include "scene_commands.h"

#include "scenefile/scene_file.h"

#include <CLI/CLI.hpp>

#include <iostream>

void addSceneCommands(CLI::App& app, SceneCommandOptions& options) {
  CLI::App* passes = app.add_subcommand(
      "passes",
      "Print what every pass of a saved scene sets, node by node, read from the holders' records "
      "without switching (the scene file is never changed)");
  CLI::App* verify = app.add_subcommand(
      "verify",
      "Switch a saved scene to every pass and to its initial state in turn, and report every value that "
      "is not the recorded one; exit status 1 when any is not (the scene file is never changed)");
  for (CLI::App* sub : {passes, verify}) {
    sub->add_option("scene", options.scene, "Scene file saved with saveMaxFile")->required();
    sub->add_flag("--json", options.json, "Write the report as JSON");
    sub->callback([&options, sub] { options.name = sub->get_name(); });
  }
  passes->add_flag("--csv", options.csv, "Write one CSV row per node, property and pass");
  passes->add_option("--pass", options.passes, "Only this pass (a pass number, or initial); may be repeated")
      ->type_name("N");
}

int runSceneCommand(const SceneCommandOptions& options) {
  if (options.name == "passes") return runPassesCommand(options);
  return runVerifyCommand(options);
}

namespace scene_command {

void error(const std::string& command, const std::string& text) { std::cerr << "qzmhost " << command << ": " << text << "\n"; }

bool loadScene(const std::string& command, const std::string& path) {
  const sim::SceneLoadResult r = sim::loadSceneFile(path);
  for (const std::string& w : r.warnings) std::cerr << "qzmhost " << command << ": " << path << ": " << w << "\n";
  if (!r.ok) error(command, path + ": " + r.error);
  return r.ok;
}

}  // namespace scene_command
