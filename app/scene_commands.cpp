#include "scene_commands.h"

#include "core/fp_call.h"
#include "iparamb2.h"
#include "maxscript/maxscript.h"
#include "script/listener_stream.h"
#include "passes/scene_passes.h"
#include "scenefile/scene_file.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
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
    sub->add_option("scene", options.scene, "Scene file saved with saveMaxFile")->type_name("FILE")->required();
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

bool loadScene(const std::string& command, const std::string& path, sim::SceneLoadExtent extent) {
  const sim::SceneLoadResult r = sim::loadSceneFile(path, extent);
  for (const std::string& w : r.warnings) std::cerr << "qzmhost " << command << ": " << path << ": " << w << "\n";
  if (!r.ok) error(command, path + ": " + r.error);
  return r.ok;
}

}  // namespace scene_command

namespace scene_command {

using namespace sim::passes;

bool passFromText(const std::string& command, const std::string& scenePath, const ScenePasses& scene, const std::string& text,
                  int& pass) {
  int n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  const bool number = ec == std::errc() && end == text.data() + text.size();
  if (text == "initial") {
    pass = kInitialState;
    return true;
  }
  if (number && std::binary_search(scene.passes.begin(), scene.passes.end(), n)) {
    pass = n;
    return true;
  }
  std::string known;
  for (int q : scene.passes) (known += " ") += std::to_string(q);
  error(command, scenePath + ": the scene has no pass " + text +
                     (known.empty() ? " (it has no passes)" : " (its passes:" + known + ")"));
  return false;
}

namespace {

// Calls a holder's published function with integer or text arguments; the holder answers nothing.
bool callHolder(ReferenceTarget* holder, const char* fn, FPParams& args) {
  FPInterface* fpi = sim::findFunctionInterface(holder, fn);
  FPValue result;
  return fpi && sim::callPublishedFunction(fpi, fn, args, result).ok();
}

ReferenceTarget* holderObject(const HolderPasses& h) { return dynamic_cast<ReferenceTarget*>(h.block->GetOwner()); }

}  // namespace

void clearListener() {
  sim::listenerStream()->clear();
}

bool switchToPass(const ScenePasses& scene, int pass) {
  bool ok = true;
  if (pass == kInitialState) {
    for (const HolderPasses& h : scene.holders) {
      if (!h.target || !h.hasInitial) continue;
      FPParams args(1, TYPE_STRING, "");
      if (!callHolder(holderObject(h), "RestoreInitialProperties", args)) {
        ok = false;
        break;
      }
    }
  } else if (!scene.holders.empty()) {
    FPParams args(2, TYPE_INT, pass, TYPE_INT, materialSlotOfPass(scene, pass));
    ok = callHolder(holderObject(scene.holders.front()), "RestoreAllProperties", args);
  }
  clearListener();
  return ok;
}

}  // namespace scene_command
