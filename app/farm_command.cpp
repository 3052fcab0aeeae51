// qzmhost farm SCENE --out DIR: writes DIR/<scene>.sbatch, a Slurm job array that renders the
// scene's passes with `qzmhost render`, one task per pass and frame chunk, images and logs under DIR;
// with --submit, submits it and waits until every task has ended.
#include "farm_commands.h"

#include "bitmap/image_formats.h"
#include "core/c_format.h"
#include "frame_range.h"
#include "maxapi.h"
#include "os/process_info.h"
#include "passes/scene_passes.h"
#include "core/progress.h"
#include "scene_commands.h"
#include "slurm_client.h"
#include "slurm_job.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

using namespace sim::passes;
namespace fs = std::filesystem;

void addFarmCommands(CLI::App& app, FarmCommandOptions& o) {
  CLI::App* render = app.add_subcommand(
      "render",
      "Render frames of one pass of a saved scene through a camera and write one image per frame, as a farm "
      "task does (the scene file is never changed)");
  CLI::App* farm = app.add_subcommand(
      "farm",
      "Write a Slurm batch job that renders the passes of a saved scene, one array task per pass and frame "
      "chunk, into DIR; with --submit, submit it and wait for it");
  for (CLI::App* sub : {render, farm}) {
    sub->add_option("scene", o.scene, "Scene file saved with saveMaxFile")->type_name("FILE")->required();
    sub->add_option("--frames", o.frames, "Frames A-B, or one frame A (default: the scene's animation range)")
        ->type_name("A-B");
    sub->add_option("--camera", o.camera, "The camera node to render through (default: the scene's first camera)")
        ->type_name("NAME");
    sub->add_option("--width", o.width, "Image width in pixels (default 640, or from --height at 4:3)")->type_name("W");
    sub->add_option("--height", o.height, "Image height in pixels (default 480, or from --width at 4:3)")->type_name("H");
    sub->callback([&o, sub] {
      o.name = sub->get_name();
      o.framesGiven = sub->count("--frames") > 0;
    });
  }
  render->add_option("--pass", o.pass, "The pass to render: a pass number, or initial")->type_name("N")->required();
  render
      ->add_option("--out", o.out,
                   "Image file per frame; a run of # in its name becomes the frame number (shot_####.png); the "
                   "ending chooses the format")
      ->type_name("PATTERN")
      ->required();
  farm->add_option("--out", o.folder, "Folder for the batch file, the images and the logs (made when missing)")
      ->type_name("DIR")
      ->required();
  farm->add_option("--pass", o.passes, "Only this pass (a pass number, or initial); may be repeated (default: every pass)")
      ->type_name("N");
  farm->add_option("--chunk", o.chunk, "Frames per task (default 10)")->type_name("K");
  farm->add_option("--format", o.format, "Image file ending (default png)")->type_name("EXT");
  farm->add_option("--partition", o.partition, "Slurm partition (default: the cluster's)")->type_name("NAME");
  farm->add_option("--time", o.timeLimit, "Time limit of each task, as Slurm writes it (1:00:00)")->type_name("LIMIT");
  farm->add_option("--mem", o.memory, "Memory of each task, as Slurm writes it (2G; default: from the scene and image size)")
      ->type_name("SIZE");
  farm->add_option("--cpus", o.cpus, "Processors of each task (default 1: the host renders on one thread)")->type_name("N");
  farm->add_flag("--submit", o.submit, "Submit the job with sbatch and wait until every task has ended");
}

int runFarmCommand(const FarmCommandOptions& options, const std::string& pluginFolder) {
  if (options.name == "render") return runRenderCommand(options);
  return runFarmJobCommand(options, pluginFolder);
}

namespace {

const char* kCommand = "farm";

// How long a task ends up waiting for the job's last status files to show on a shared file system
// after Slurm has let the job go.
constexpr auto kStatusGrace = std::chrono::seconds(10);
// How long Slurm may leave us without an answer before the job counts as lost.
constexpr auto kSilenceLimit = std::chrono::seconds(60);

int refuse(const std::string& why) {
  scene_command::error(kCommand, why);
  return 2;
}

// Memory a task asks for when --mem does not say: the host and its libraries, the scene as loaded
// (a few times its file), and the frame (colour, ids and the image written from it), with room.
std::string memoryEstimate(const std::string& scene, int width, int height) {
  std::error_code ec;
  const auto bytes = static_cast<long long>(fs::file_size(scene, ec));
  const long long need = 256LL * 1024 * 1024 + 16 * (ec ? 0 : bytes) + 64LL * width * height;
  const long long mb = (need + (64LL << 20) - 1) / (64LL << 20) * 64;
  return std::to_string(mb) + "M";
}

bool writeWhole(const fs::path& file, const std::string& text, std::string& error) {
  fs::path part = file;
  part += ".part";
  {
    std::ofstream out(part, std::ios::binary);
    out << text;
    out.close();
    if (!out) {
      error = "cannot write " + part.string();
      return false;
    }
  }
  std::error_code ec;
  fs::permissions(part, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec, fs::perm_options::add, ec);
  fs::rename(part, file, ec);
  if (ec) {
    fs::remove(part, ec);
    error = "cannot write " + file.string() + " (" + ec.message() + ")";
    return false;
  }
  return true;
}

class FarmJob {
 public:
  FarmJob(const FarmCommandOptions& o, const std::string& pluginFolder) : o_(o), pluginFolder_(pluginFolder) {}

  int run() {
    if (int status = describe()) return status;
    std::string error;
    if (!writeWhole(job_.batchFile, batchScript(job_), error)) return refuse(error);
    std::cout << "qzmhost farm: " << job_.batchFile << ": " << job_.tasks.size() << (job_.tasks.size() == 1 ? " task" : " tasks")
              << " (" << passCount_ << (passCount_ == 1 ? " pass" : " passes") << ", frames " << range_.text() << ", "
              << o_.chunk << " a task), images " << imagePattern(job_, "<pass>") << std::endl;
    return o_.submit ? submitAndWait() : 0;
  }

 private:
  // Everything the job needs, checked here so that no task fails on what could be seen now.
  int describe() {
    if (o_.chunk < 1) return refuse("--chunk must be at least 1 frame");
    if (o_.cpus < 1) return refuse("--cpus must be at least 1");
    if (!sim::formatForFile("image." + o_.format))
      return refuse("--format " + o_.format + " is no image file ending (" + sim::knownImageEndings() + ")");
    std::string error;
    int width = 0, height = 0;
    if (!renderSize(o_, width, height, error)) return refuse(error);
    const fs::path folder = fs::absolute(o_.folder).lexically_normal();
    const std::string stem = fs::path(o_.scene).stem().string();
    for (const std::string& p : {folder.string(), stem})
      if (std::string why = sbatchPathProblem(p); !why.empty()) return refuse(why);

    if (!scene_command::loadScene(kCommand, o_.scene)) return 2;
    ScenePasses scene;
    if (!readScenePasses(scene, error)) return refuse(o_.scene + ": " + error);
    std::vector<std::string> passes;
    for (const std::string& text : o_.passes) {
      int pass = 0;
      if (!scene_command::passFromText(kCommand, o_.scene, scene, text, pass)) return 2;
      if (std::find(passes.begin(), passes.end(), passLabel(pass)) == passes.end()) passes.push_back(passLabel(pass));
    }
    if (o_.passes.empty())
      for (int pass : scene.passes) passes.push_back(passLabel(pass));
    if (passes.empty()) return refuse(o_.scene + ": the scene has no passes (--pass initial renders its initial state)");
    passCount_ = static_cast<int>(passes.size());

    const int limit = INT_MAX / GetTicksPerFrame();
    if (!o_.framesGiven) {
      const Interval anim = GetCOREInterface()->GetAnimRange();
      range_ = {anim.Start() / GetTicksPerFrame(), anim.End() / GetTicksPerFrame()};
    } else if (!parseFrameRange(o_.frames, limit, range_, error)) {
      return refuse(error);
    }
    if (!sceneCamera(o_.camera, range_.first * GetTicksPerFrame(), error)) return refuse(o_.scene + ": " + error);

    std::error_code ec;
    fs::create_directories(folder / "logs", ec);
    if (ec) return refuse("cannot make the folder " + (folder / "logs").string() + " (" + ec.message() + ")");

    const std::string exe = sim::os::executablePath();
    job_.batchFile = (folder / (stem + ".sbatch")).string();
    job_.name = stem;
    job_.host = fs::absolute(exe.empty() ? "qzmhost" : exe).lexically_normal().string();
    job_.plugins = fs::absolute(pluginFolder_).lexically_normal().string();
    job_.scene = fs::absolute(o_.scene).lexically_normal().string();
    job_.camera = o_.camera;
    job_.width = std::max(o_.width, 0);
    job_.height = std::max(o_.height, 0);
    job_.imageStem = (folder / (stem + "_")).string();
    job_.padding = std::max<int>(4, static_cast<int>(std::to_string(range_.last).size()));
    job_.format = o_.format;
    job_.logFolder = (folder / "logs").string();
    job_.statusFolder = (folder / "status").string();
    job_.partition = o_.partition;
    job_.timeLimit = o_.timeLimit;
    job_.memory = o_.memory.empty() ? memoryEstimate(o_.scene, width, height) : o_.memory;
    job_.cpus = o_.cpus;
    for (const std::string& pass : passes)
      for (const FrameRange& chunk : chunksOf(range_, o_.chunk)) job_.tasks.push_back({pass, chunk});
    return 0;
  }

  std::string taskText(size_t task) const {
    return "task " + std::to_string(task) + " (pass " + job_.tasks[task].pass + ", frames " + job_.tasks[task].frames.text() + ")";
  }

  std::string logOf(const std::string& id, size_t task) const {
    return job_.logFolder + "/" + job_.name + "_" + id + "_" + std::to_string(task) + ".log";
  }

  // The exit status each task wrote, -1 where none is there yet.
  std::vector<int> statuses(const std::string& id, int& ended) const {
    std::vector<int> out(job_.tasks.size(), -1);
    ended = 0;
    for (size_t i = 0; i < out.size(); ++i) {
      std::ifstream in(fs::path(job_.statusFolder) / id / std::to_string(i));
      if (in >> out[i]) ++ended;
      else out[i] = -1;
    }
    return out;
  }

  int submitAndWait() {
    const std::string sbatch = findOnPath("sbatch"), squeue = findOnPath("squeue");
    if (sbatch.empty() || squeue.empty()) {
      scene_command::error(kCommand, std::string("Slurm's ") + (sbatch.empty() ? "sbatch" : "squeue") +
                                         " is not on PATH (Debian: slurm-client); the job is written to " + job_.batchFile +
                                         ": submit it where Slurm is");
      return 3;
    }
    const SubmittedJob submitted = submitBatchJob(sbatch, job_.batchFile);
    if (submitted.id.empty()) {
      scene_command::error(kCommand, "Slurm refused the job " + job_.batchFile + ": " + submitted.error);
      return 3;
    }
    const std::string& id = submitted.id;
    const int total = static_cast<int>(job_.tasks.size());
    std::cout << "qzmhost farm: submitted job " << id << " (" << total << " tasks); waiting for it to end" << std::endl;

    sim::Progress progress("Rendering " + o_.scene + " on Slurm, job " + id, total);
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    Clock::time_point lastAnswer = start, goneAt{};
    bool gone = false;
    std::vector<int> status;
    for (;;) {
      int ended = 0;
      status = statuses(id, ended);
      progress.step(std::min(ended, total - 1), std::to_string(ended) + " tasks done");
      if (ended == total) break;
      if (gone && Clock::now() - goneAt > kStatusGrace) break;
      std::string error;
      const QueueState state = jobQueueState(squeue, id, error);
      if (state == QueueState::NoAnswer && Clock::now() - lastAnswer > kSilenceLimit) {
        scene_command::error(kCommand, "job " + id + ": Slurm has not answered for a minute: " + error);
        return 3;
      }
      if (state != QueueState::NoAnswer) lastAnswer = Clock::now();
      if (state == QueueState::Gone && !gone) {
        gone = true;
        goneAt = Clock::now();
        continue;  // the last tasks' files may already be there
      }
      // Short jobs are looked at often, long ones every few seconds: a tenth of the time waited so far.
      const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
      std::this_thread::sleep_for(std::clamp<std::chrono::milliseconds>(waited / 10, std::chrono::milliseconds(250),
                                                                       std::chrono::seconds(5)));
    }
    int failed = 0;
    for (size_t i = 0; i < status.size(); ++i) {
      if (status[i] == 0) continue;
      ++failed;
      scene_command::error(kCommand, "job " + id + ": " + taskText(i) +
                                         (status[i] < 0 ? " ended without an exit status (cancelled, out of time or memory?)"
                                                        : " failed with exit status " + std::to_string(status[i])) +
                                         "; its log: " + logOf(id, i));
    }
    std::cout << "qzmhost farm: job " << id << ": "
              << (failed ? std::to_string(failed) + " of " + std::to_string(total) + " tasks failed"
                         : "every task ended well, " + std::to_string(range_.count() * passCount_) + " images written")
              << std::endl;
    return failed ? 1 : 0;
  }

  const FarmCommandOptions& o_;
  std::string pluginFolder_;
  SlurmJob job_;
  FrameRange range_;
  int passCount_ = 0;
};

}  // namespace

int runFarmJobCommand(const FarmCommandOptions& options, const std::string& pluginFolder) {
  return FarmJob(options, pluginFolder).run();
}
