// The subcommands of qzmhost that render passes of a saved scene: render (one pass's frames on this
// machine, as a farm task does) and farm (a Slurm batch job that renders every pass, one task per
// pass and frame chunk, written and, on request, submitted and waited for). Neither writes the
// scene file.
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
}

struct FarmCommandOptions {
  std::string name;  // "render" or "farm"; empty when neither was given
  std::string scene;
  std::string frames;
  bool framesGiven = false;  // without --frames: the scene's animation range
  std::string camera;  // empty: the scene's first camera
  int width = -1;  // -1: not given
  int height = -1;
  // render
  std::string pass;
  std::string out;
  // farm
  std::string folder;
  std::vector<std::string> passes;  // empty: every pass of the scene
  int chunk = 10;
  std::string format = "png";
  std::string partition, timeLimit, memory;
  int cpus = 1;
  bool submit = false;
};

void addFarmCommands(CLI::App& app, FarmCommandOptions& options);

// Runs the subcommand with the host started and its plug-ins loaded from `pluginFolder`. Exit
// status: 0 when every frame was written (render) or the job was written, or submitted and every
// task ended well (farm); 1 when a frame could not be rendered or written, or a task failed; 2 when
// the scene cannot be read or an option is wrong (a pass or camera the scene does not have, a
// reversed, empty or unreadable frame range, an output that cannot be written); 3 when Slurm is
// missing, refuses the job or loses it.
int runFarmCommand(const FarmCommandOptions& options, const std::string& pluginFolder);

int runRenderCommand(const FarmCommandOptions& options);

// The size of the images: --width and --height, one of them with the other at the default's
// proportions, or the host's default render size (640 x 480: a scene file keeps no render size).
// False, with `error`, when the renderer does not take that size.
bool renderSize(const FarmCommandOptions& o, int& width, int& height, std::string& error);

// The camera node called `name` (empty: the scene's first camera, depth first through the node
// tree), as it is at time t; null, with `error` naming the cameras there are, when there is none.
class INode;
INode* sceneCamera(const std::string& name, int t, std::string& error);
int runFarmJobCommand(const FarmCommandOptions& options, const std::string& pluginFolder);
