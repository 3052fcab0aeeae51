// Scene file primitives: saveMaxFile and loadMaxFile. Both answer true or false; what went wrong,
// and which classes a loaded scene lacks, is written to the Listener.
#include "core/core_interface.h"
#include "maxscript/maxscript.h"
#include "scenefile/scene_file.h"
#include "script/file_paths.h"

#include <filesystem>
#include <string>

namespace {

void listenerLine(const std::string& text) {
  the_listener->edit_stream->puts((text + "\n").c_str());
}

std::string pathArg(const char* fn, Value** arg_list, int count) {
  const int positional = count_positional_args(arg_list, count);
  if (positional != 1) throw ArgCountError(fn, 1, positional);
  return arg_list[0]->to_string();
}

// maxFilePath and maxFileName read the file the scene came from or went to last, as a full path so
// that a later change of the current folder does not move it.
void rememberSceneFile(const std::string& path) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(sim::rt::nativePath(path), ec);
  sim::coreInterface()->setSceneFile(ec ? path : full.lexically_normal().string());
}

}  // namespace

def_visible_primitive(saveMaxFile, "saveMaxFile");
Value* saveMaxFile_cf(Value** arg_list, int count) {
  const std::string path = pathArg("saveMaxFile", arg_list, count);
  std::string error;
  if (sim::saveSceneFile(path, error)) {
    rememberSceneFile(path);
    return true_value;
  }
  listenerLine("-- Could not save " + path + ": " + error);
  return false_value;
}

// quiet: is accepted as the host's scripts pass it; this host asks no questions while loading, so
// there is nothing for it to silence.
def_visible_primitive(loadMaxFile, "loadMaxFile");
Value* loadMaxFile_cf(Value** arg_list, int count) {
  const std::string path = pathArg("loadMaxFile", arg_list, count);
  const sim::SceneLoadResult r = sim::loadSceneFile(path);
  for (const std::string& w : r.warnings) listenerLine(w);
  if (r.ok) {
    rememberSceneFile(path);
    return true_value;
  }
  listenerLine("-- Could not load " + path + ": " + r.error);
  return false_value;
}
