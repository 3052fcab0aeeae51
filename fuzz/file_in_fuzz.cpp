// libFuzzer target: any bytes read by FileIn_ are unscrambled and evaluated, or end in a script
// error; nothing crashes or reads outside the file. The input is written to the scratch folder and
// read from there, as a user's scrambled script would be.
//
//   build/asan/bin/qzmhost --scramble examples/first_scene.ms fuzz/corpus/file_in/first.ms
//   build/asan/bin/file_in_fuzz -timeout=10 fuzz/corpus/file_in
#include "fuzz_host.h"

#include <cstddef>
#include <cstdint>
#include <fstream>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::startHost("file_in", argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(fuzz::scratch() / "input.ms", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  fuzz::runScript("FileIn_ \"input.ms\"");
  fuzz::resetHost();
  return 0;
}
