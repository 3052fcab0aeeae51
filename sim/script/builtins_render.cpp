// render: the host's renderer from script. `render camera:c outputwidth:w outputheight:h frame:f
// vfb:false outputfile:"f.png"` renders frame f (default: the slider's) through camera c (default:
// a view of the whole scene) at w x h (default 640 x 480) and returns the image as a bitmap;
// outputfile: writes it too. There is no frame window: vfb: is accepted and changes nothing. A
// render that takes a while shows its progress on standard error when that is a terminal.
//
// backgroundColor and ambientColor are the scene environment's colours the renderer uses.
#include "bitmap/image_files.h"
#include "core/c_format.h"
#include "maxapi.h"
#include "maxscript/bitmaps.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "object.h"
#include "os/terminal.h"
#include "render/render_output.h"
#include "scene/scene_services.h"
#include "scene/scene_values.h"
#include "script/runtime.h"

#include <chrono>
#include <cstdio>

using namespace sim::rt;

namespace {

// Progress lines appear once a render has run this long, and not more often than this.
constexpr auto kQuietStart = std::chrono::milliseconds(700);
constexpr auto kProgressEvery = std::chrono::milliseconds(250);

int sizeArg(Value* v, int fallback) { return v == &unsupplied ? fallback : v->to_int(); }

INode* cameraArg(Value* v) {
  if (v == &unsupplied || v == undefined) return nullptr;
  INode* node = is_node(v) ? v->to_node() : nullptr;
  Object* obj = node ? node->EvalWorldState(Runtime::get().time()).obj : nullptr;
  if (!obj || obj->SuperClassID() != CAMERA_CLASS_ID) throw RuntimeError("render: camera: wants a camera node, got ", v);
  return node;
}

// Rewrites one line of standard error in place while a terminal watches.
class ProgressLine {
 public:
  explicit ProgressLine(int frame) : frame_(frame), start_(std::chrono::steady_clock::now()), on_(sim::os::stderrIsTerminal()) {}
  ~ProgressLine() {
    if (shown_) std::fprintf(stderr, "\r%40s\r", "");
  }
  void operator()(int done, int total) {
    if (!on_) return;
    auto now = std::chrono::steady_clock::now();
    if (now - start_ < kQuietStart || (shown_ && now - last_ < kProgressEvery)) return;
    std::fprintf(stderr, "\rRendering frame %d: %3d%%", frame_, int(100LL * done / total));
    std::fflush(stderr);
    shown_ = true;
    last_ = now;
  }

 private:
  int frame_;
  std::chrono::steady_clock::time_point start_, last_;
  bool on_;
  bool shown_ = false;
};

}  // namespace

def_visible_primitive(render, "render");
Value* render_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 0) throw ArgCountError("render", 0, positional);
  sim::RenderRequest request;
  request.camera = cameraArg(key_arg(camera));
  request.width = sizeArg(key_arg(outputwidth), 640);
  request.height = sizeArg(key_arg(outputheight), 480);
  Value* frame = key_arg(frame);
  request.time = frame == &unsupplied ? GetCOREInterface()->GetTime() : frame->to_timevalue();
  Value* file = key_arg(outputfile);
  std::string fileName = file == &unsupplied || file == undefined ? std::string() : std::string(file->to_string());
  if (!sim::renderSizeAllowed(request.width, request.height))
    throw RuntimeError(sim::c_format("render: cannot render an image of %d x %d pixels (1 x 1 to %d x %d, at most %d pixels)",
                                     request.width, request.height, sim::kMaxRenderSide, sim::kMaxRenderSide,
                                     static_cast<int>(sim::kMaxRenderPixels))
                           .c_str());
  const sim::RenderEnvironment& env = sim::sceneServices().environment;
  request.background = env.background;
  request.ambient = env.ambient;
  ProgressLine progress(request.time / GetTicksPerFrame());
  request.progress = [&progress](int done, int total) { progress(done, total); };

  sim::RenderOutput out = sim::renderToBitmap(request);
  if (!out.image) throw RuntimeError(("render: " + out.error).c_str());
  auto* result = new MAXBitMap(out.info, out.image);
  if (!fileName.empty()) {
    result->bi.SetName(fileName.c_str());
    std::string why = sim::writeImageFile(out.image, result->bi);
    if (!why.empty()) throw RuntimeError(("Cannot save bitmap: " + why).c_str());
  }
  return result;
}

namespace {

const bool kEnvironmentGlobals = [] {
  sim::rt::defineSystemGlobal(
      "backgroundColor", [] { return sim::colorValue(sim::sceneServices().environment.background); },
      [](Value* v) { sim::sceneServices().environment.background = sim::toColor(v); });
  sim::rt::defineSystemGlobal(
      "ambientColor", [] { return sim::colorValue(sim::sceneServices().environment.ambient); },
      [](Value* v) { sim::sceneServices().environment.ambient = sim::toColor(v); });
  return true;
}();

}  // namespace

