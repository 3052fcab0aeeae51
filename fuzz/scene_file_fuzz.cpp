// libFuzzer target: any bytes handed to the scene loader, whole or without transforms and geometry,
// either load or give one error, and a scene that loads can be used: printed, captured and restored through every plug-in object, undone,
// rendered and saved again. The loader never crashes, hangs or reads outside the input, and
// nothing in the file runs as code.
//
//   build/asan/bin/scene_file_fuzz -timeout=10 fuzz/corpus/scene_file
//   QZM_FUZZ_PRINT=1 build/asan/bin/scene_file_fuzz crash-...   (prints the script that used the scene)
#include "catalogue.h"
#include "fuzz_host.h"
#include "paramtype.h"
#include "passes/scene_passes.h"
#include "scenefile/scene_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace {

// A call of `f` on `self`, the pass `pass` for its first whole-number parameter, a plain value of
// each other one's type.
std::string call(const std::string& self, const fuzz::Member& f) {
  std::string text = self + "." + f.name;
  bool passGiven = false;
  for (int type : f.params) {
    switch (type & ~TYPE_TAB) {
      case TYPE_INT: text += passGiven ? " 0" : " pass"; passGiven = true; break;
      case TYPE_FLOAT: text += " 0.0"; break;
      case TYPE_BOOL: text += " false"; break;
      case TYPE_STRING: text += " \"\""; break;
      case TYPE_INODE: text += " n"; break;
      default: text += " undefined";
    }
  }
  if (f.params.empty()) text += "()";
  return "try (" + text + ") catch ()\n";
}

// Every published function of every plug-in object in the scene, once for each pass it lists in
// its whole-number tables and for pass 1, each pass as one undo step; then undone and redone.
std::string useScript() {
  std::string s =
      "struct QZMCapturePropsStruct (doAddMaterial = false)\n"
      "global QZMCaptureProps = QZMCapturePropsStruct()\n"
      "for n in objects do (print n; try (print (getPropNames n)) catch (); try (print n.material) catch ())\n"
      "print sceneMaterials\n";
  for (const fuzz::PluginClass& pc : fuzz::catalogue().classes) {
    if (pc.functions.empty()) continue;
    std::string self = pc.helper ? "n" : "n.material";
    s += "for n in objects where (try (classOf " + self + " == " + pc.name + ") catch (false)) do (\n";
    s += "  local passes = #(1)\n";
    for (const fuzz::Member& p : pc.properties)
      if (p.table && (p.type & ~TYPE_TAB) == TYPE_INT)
        s += "  try (for p in " + self + "." + p.name + " do appendIfUnique passes p) catch ()\n";
    s += "  for pass in passes do undo \"use\" on (\n";
    for (const fuzz::Member& f : pc.functions) s += "    " + call(self, f);
    s += "  )\n)\n";
  }
  s +=
      "max undo\nmax undo\nmax redo\n"
      "try (render outputwidth:4 outputheight:3 vfb:false) catch ()\n"
      "saveMaxFile \"again.max\"\n"
      "loadMaxFile \"again.max\"\n";
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::startHost("scene_file", argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string use = useScript();
  // The load that leaves transforms and geometry out plans from the file's references before it
  // makes anything: the same bytes go through it, and its scene through the passes reader.
  if (sim::readScene(data, size, sim::SceneLoadExtent::WithoutTransformsAndGeometry).ok) {
    sim::passes::ScenePasses scene;
    std::string error;
    sim::passes::readScenePasses(scene, error);
  }
  fuzz::resetHost();
  if (sim::readScene(data, size).ok) {
    if (fuzz::printing()) std::fprintf(stderr, "---- script\n%s---- end of script\n", use.c_str());
    fuzz::runScript(use);
  }
  fuzz::resetHost();
  return 0;
}
