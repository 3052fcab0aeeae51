// libFuzzer target: any bytes read by FileIn_ are unscrambled and evaluated, or end in a script
// error; nothing crashes or reads outside the file. The host loads the script library only (no
// command runner), and the target works in a scratch folder, since the evaluated text is script
// and may save files. Built by the fuzz preset, never run as a test:
//
//   cmake --preset fuzz && cmake --build --preset fuzz
//   build/release/bin/qzmhost --scramble examples/first_scene.ms fuzz/corpus-filein/first.ms
//   build/fuzz/bin/file_in_fuzz -max_total_time=600 -timeout=5 fuzz/corpus-filein
//
// A timeout is usually a text that loops by itself (`while true do ()`), which the host runs as
// long as it is asked to; seed with scripts without loops, and read the unit's text before taking a
// timeout for a fault.
#include "core/host_session.h"
#include "maxscript/maxscript.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

fs::path scratch() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / "qzm_file_in_fuzz";
    fs::create_directories(d / "plugins");
    std::error_code ignored;
    fs::copy_file(fs::path(QZM_PLUGIN_DIR) / "QZMdlx.dlx", d / "plugins" / "QZMdlx.dlx",
                  fs::copy_options::overwrite_existing, ignored);
    fs::current_path(d);
    return d;
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool started = [] {
    std::ostringstream ignored;
    sim::startHost((scratch() / "plugins").string(), ignored);
    return true;
  }();
  (void)started;
  fs::path file = scratch() / "input.ms";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  std::string script = "FileIn_ \"" + file.generic_string() + "\"";
  ExecuteMAXScriptScript(script.c_str(), TRUE);
  the_listener->edit_stream->clear();
  return 0;
}
