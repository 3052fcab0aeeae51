// The command line of qzmhost.
#pragma once

#include "farm_commands.h"
#include "scene_commands.h"

#include <optional>
#include <string>
#include <vector>

struct HostOptions {
  std::string scriptFile;                 // FILE.ms to run
  std::optional<std::string> expression;  // -e EXPR
  std::string pluginFolder;               // --plugins DIR, else the folder beside the executable
  std::string sceneFile;                  // --scene FILE
  bool listPlugins = false;
  std::vector<std::string> scramble;      // --scramble IN OUT
  SceneCommandOptions sceneCommand;       // qzmhost passes|verify SCENE ...
  FarmCommandOptions farmCommand;         // qzmhost render|farm SCENE ...
};

// Parses the command line; on --help or an error prints what it has to say and returns the exit
// status to end with.
std::optional<int> parseHostOptions(int argc, char** argv, HostOptions& options);
