// libFuzzer target: the bytes become a script (script_gen.h) that calls the host's primitives and the
// plug-ins' functions and parameters with bad arguments. Whatever it calls, the host gives a script
// error or a result; it never crashes, hangs or leaks. The primitives and functions are read from
// the running host, so new ones are called without editing this target.
//
//   QZM_FUZZ_PRINT=1 build/asan/bin/script_call_fuzz crash-...   (prints the input's script, runs it)
//
// To look past a fault that is known and not fixed yet, QZM_FUZZ_SKIP names a file of texts, one a
// line: every line of a script that holds one of them is left out.
#include "catalogue.h"
#include "fuzz_host.h"
#include "script_gen.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> skipped() {
  std::vector<std::string> texts;
  if (const char* file = std::getenv("QZM_FUZZ_SKIP")) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
      if (!line.empty()) texts.push_back(line);
  }
  return texts;
}

std::string withoutSkipped(const std::string& script) {
  static const std::vector<std::string> texts = skipped();
  if (texts.empty()) return script;
  std::istringstream in(script);
  std::string kept;
  for (std::string line; std::getline(in, line);) {
    bool skip = false;
    for (const std::string& t : texts) skip = skip || line.find(t) != std::string::npos;
    if (!skip) kept += line + "\n";
  }
  return kept;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::startHost("script_call", argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string script = withoutSkipped(fuzz::generateScript(data, size, fuzz::catalogue()));
  if (fuzz::printing()) std::fprintf(stderr, "---- script\n%s---- end of script\n", script.c_str());
  fuzz::runScript(script);
  fuzz::resetHost();
  return 0;
}
