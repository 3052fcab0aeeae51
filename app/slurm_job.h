// A Slurm batch job that renders passes of a scene: a job array with one task per pass and frame
// chunk, each running `qzmhost render` for its share. Every path in it is absolute, so the same file
// runs unchanged wherever the cluster's nodes see the same files.
#pragma once

#include "frame_range.h"

#include <string>
#include <vector>

struct FarmTask {
  std::string pass;  // a pass number, or "initial"
  FrameRange frames;
};

struct SlurmJob {
  std::string batchFile;               // where the job is written
  std::string name;                    // --job-name
  std::string host, plugins, scene;    // qzmhost, its plug-in folder, the scene file
  std::string camera;                  // empty: the scene's first camera
  int width = 0, height = 0;           // 0: render's default
  std::string imageStem;               // images: <imageStem><pass>_<frame, `padding` digits>.<format>
  int padding = 4;
  std::string format;
  std::string logFolder;               // one log per task: <name>_<job>_<task>.log
  std::string statusFolder;            // <statusFolder>/<job>/<task> holds a task's exit status
  std::string partition, timeLimit, memory;  // empty: the cluster's defaults
  int cpus = 1;
  std::vector<FarmTask> tasks;
};

// The batch file's text.
std::string batchScript(const SlurmJob& job);

// The output pattern `qzmhost render` gets for a pass.
std::string imagePattern(const SlurmJob& job, const std::string& pass);

// `text` as one word of a POSIX shell command line.
std::string shellQuoted(const std::string& text);

// Why `path` cannot stand in a #SBATCH line, or empty text: a double quote, a backslash or a
// control character there would be read as something else.
std::string sbatchPathProblem(const std::string& path);
