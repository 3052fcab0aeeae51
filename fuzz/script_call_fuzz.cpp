// libFuzzer target: the bytes become a script (script_gen.h) that calls the host's primitives and the
// plug-ins' functions and parameters with bad arguments. Whatever it calls, the host gives a script
// error or a result; it never crashes, hangs or leaks. The primitives and functions are read from
// the running host, so new ones are called without editing this target.
//
//   QZM_FUZZ_PRINT=1 build/fuzz/bin/script_call_fuzz crash-...   (prints the input's script, runs it)
#include "catalogue.h"
#include "fuzz_host.h"
#include "script_gen.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::startHost("script_call", argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string script = fuzz::generateScript(data, size, fuzz::catalogue());
  if (fuzz::printing()) std::fprintf(stderr, "---- script\n%s---- end of script\n", script.c_str());
  fuzz::runScript(script);
  fuzz::resetHost();
  return 0;
}
