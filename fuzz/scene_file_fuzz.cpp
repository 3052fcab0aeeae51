// libFuzzer target: any bytes handed to the scene loader either load or give one error; the loader
// never crashes, hangs or reads outside the input. Built by the fuzz preset, never run as a test:
//
//   cmake --preset fuzz && cmake --build --preset fuzz
//   build/fuzz/bin/qzmhost -e '(box(); sphere(); saveMaxFile "fuzz/corpus/seed.max")'
//   build/fuzz/bin/scene_file_fuzz -max_total_time=600 fuzz/corpus
#include "core/host_session.h"
#include "scenefile/scene_file.h"

#include <cstddef>
#include <cstdint>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The host with the release's plug-ins, so files naming their classes reach their Load.
  static const bool started = [] {
    std::ostringstream ignored;
    sim::startHost(QZM_PLUGIN_DIR, ignored);
    return true;
  }();
  (void)started;
  sim::readScene(data, size);
  return 0;
}
