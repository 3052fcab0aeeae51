// qzmhost render SCENE --pass N|initial --frames A-B --camera C --out PATTERN: switches the scene to
// one pass through the holders' own restore, as verify does, and renders each frame of the range
// through the camera with the host's renderer, the same path the script function render takes, so
// the pixels are the ones a script would get. Every image is written whole under a temporary name
// and then renamed, and carries what tells it apart on a farm (scene, pass, frame, camera) as text
// beside its pixels. A line per frame on standard output is the farm log's progress.
#include "farm_commands.h"

#include "bitmap/image_files.h"
#include "core/c_format.h"
#include "frame_range.h"
#include "inode.h"
#include "maxapi.h"
#include "object.h"
#include "output_pattern.h"
#include "passes/scene_passes.h"
#include "core/progress.h"
#include "render/render_output.h"
#include "render/render_preview.h"
#include "scene/scene_services.h"
#include "scene_commands.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <algorithm>

using namespace sim::passes;
namespace fs = std::filesystem;

namespace {

const char* kCommand = "render";

struct BitmapDeleter {
  void operator()(Bitmap* b) const {
    if (b) b->DeleteThis();
  }
};

// Why nothing can be written into `folder`, or empty text when something can: a file is made there
// and removed again, which answers for permissions, read-only file systems and full quotas alike.
std::string folderProblem(const std::string& folder) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return "the output folder '" + folder + "' does not exist";
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const fs::path probe = fs::path(folder) / (".qzmhost-probe-" + std::to_string(static_cast<long long>(stamp)));
  std::FILE* f = std::fopen(probe.string().c_str(), "wb");
  if (!f) return "the output folder '" + folder + "' cannot be written to (" + std::strerror(errno) + ")";
  std::fclose(f);
  fs::remove(probe, ec);
  return std::string();
}

class FrameRenderer {
 public:
  explicit FrameRenderer(const FarmCommandOptions& o) : o_(o) {}

  int run() {
    if (!checkOptions()) return 2;
    // Without --frames the range comes from the scene; with it, the range and the output are
    // checked before the scene is loaded.
    if (o_.framesGiven && !checkFramesAndOutput()) return 2;
    if (!scene_command::loadScene(kCommand, o_.scene)) return 2;
    ScenePasses scene;
    std::string error;
    if (!readScenePasses(scene, error)) return refuse(o_.scene + ": " + error);
    int pass = 0;
    if (!scene_command::passFromText(kCommand, o_.scene, scene, o_.pass, pass)) return 2;
    if (!o_.framesGiven && !checkFramesAndOutput()) return 2;
    if (!scene_command::switchToPass(scene, pass)) return refuse(o_.scene + ": the holders could not switch to " + passText(pass));
    INode* camera = sceneCamera(o_.camera, range_.first * GetTicksPerFrame(), error);
    if (!camera) return refuse(o_.scene + ": " + error);
    // Asked last: it loads the image file module, which takes longer than all the rest.
    if (!sim::imageFilesAvailable()) return refuse("this build of the host writes no image files");
    return renderFrames(camera, pass);
  }

 private:
  int refuse(const std::string& why) {
    scene_command::error(kCommand, why);
    return 2;
  }

  bool checkOptions() {
    std::string error;
    if (renderSize(o_, width_, height_, error)) return true;
    refuse(error);
    return false;
  }

  bool checkFramesAndOutput() {
    std::string error;
    if (!frameRange(error) || !pattern_.parse(o_.out, range_.count(), error)) {
      refuse(error);
      return false;
    }
    if (std::string why = folderProblem(pattern_.folder()); !why.empty()) {
      refuse(why);
      return false;
    }
    return true;
  }

  // --frames, or the scene's animation range.
  bool frameRange(std::string& error) {
    const int limit = INT_MAX / GetTicksPerFrame();
    if (o_.framesGiven) return parseFrameRange(o_.frames, limit, range_, error);
    const Interval anim = GetCOREInterface()->GetAnimRange();
    range_ = {anim.Start() / GetTicksPerFrame(), anim.End() / GetTicksPerFrame()};
    return true;
  }

  static std::string passText(int pass) { return pass == kInitialState ? "the initial state" : "pass " + std::to_string(pass); }

  int renderFrames(INode* camera, int pass) {
    const std::string scenePath = fs::absolute(o_.scene).lexically_normal().string();
    const std::string cameraName = camera->GetName();
    const int total = static_cast<int>(range_.count());
    std::cout << "qzmhost render: " << o_.scene << ", " << passText(pass) << ", camera '" << cameraName << "', frames "
              << range_.text() << " at " << width_ << " x " << height_ << std::endl;
    sim::Progress progress("Rendering " + o_.scene + " " + passText(pass), total);
    sim::RenderRequest request;
    request.camera = camera;
    request.width = width_;
    request.height = height_;
    request.background = sim::sceneServices().environment.background;
    request.ambient = sim::sceneServices().environment.ambient;
    for (int i = 0; i < total; ++i) {
      const int frame = range_.first + i;
      const auto start = std::chrono::steady_clock::now();
      progress.step(i, "frame " + std::to_string(frame));
      request.time = frame * GetTicksPerFrame();
      sim::RenderOutput out = sim::renderToBitmap(request);
      std::unique_ptr<Bitmap, BitmapDeleter> image(out.image);
      const std::string file = pattern_.fileFor(frame);
      std::string why = out.error;
      if (image) {
        out.info.SetName(file.c_str());
        const sim::ImageFileTags tags = {
            {"ImageDescription", "qzmhost render: scene " + scenePath + ", " + passText(pass) + ", frame " +
                                     std::to_string(frame) + ", camera " + cameraName},
            {"qzm:scene", scenePath},
            {"qzm:pass", passLabel(pass)},
            {"qzm:frame", std::to_string(frame)},
            {"qzm:camera", cameraName}};
        const BMMRES status = sim::writeImageFile(*image, out.info, tags);
        if (status != BMMRES_SUCCESS) why = file + " could not be written (" + sim::imageFileErrorText(status) + ")";
      }
      if (!why.empty()) {
        scene_command::error(kCommand, "frame " + std::to_string(frame) + ": " + why);
        return 1;
      }
      const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      std::cout << "qzmhost render: frame " << frame << " written to " << file << " ("
                << sim::c_format("%d of %d, %.2f s", i + 1, total, seconds) << ")" << std::endl;
    }
    return 0;
  }

  const FarmCommandOptions& o_;
  FrameRange range_;
  OutputPattern pattern_;
  int width_ = 0, height_ = 0;
};

}  // namespace

bool renderSize(const FarmCommandOptions& o, int& width, int& height, std::string& error) {
  // One side given: the other keeps the default's proportions.
  const bool w = o.width >= 0, h = o.height >= 0;
  width = w ? o.width : h ? std::max(1, o.height * sim::kRenderOutputWidth / sim::kRenderOutputHeight) : sim::kRenderOutputWidth;
  height = h ? o.height : w ? std::max(1, o.width * sim::kRenderOutputHeight / sim::kRenderOutputWidth) : sim::kRenderOutputHeight;
  if (sim::renderSizeAllowed(width, height)) return true;
  error = sim::c_format("cannot render an image of %d x %d pixels (1 x 1 to %d x %d, at most %lld pixels)", width, height,
                        sim::kMaxRenderSide, sim::kMaxRenderSide, static_cast<long long>(sim::kMaxRenderPixels));
  return false;
}

INode* sceneCamera(const std::string& name, TimeValue t, std::string& error) {
  const std::vector<INode*> cameras = sim::sceneCameras(t);
  if (name.empty()) {
    if (cameras.empty()) error = "the scene has no camera to render through";
    return cameras.empty() ? nullptr : cameras.front();
  }
  std::string names;
  for (INode* c : cameras) {
    if (name == c->GetName()) return c;
    names += std::string(names.empty() ? "" : ", ") + "'" + c->GetName() + "'";
  }
  error = "the scene has no camera '" + name + "'" + (names.empty() ? " (it has none)" : " (its cameras: " + names + ")");
  return nullptr;
}

int runRenderCommand(const FarmCommandOptions& options) { return FrameRenderer(options).run(); }
