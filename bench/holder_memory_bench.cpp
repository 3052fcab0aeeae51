// Memory a holder keeps per captured pass: the scene of holder_bench (N boxes, each with a holder of
// 20 properties, the height animated on every fourth box), five passes captured one after the
// other. Prints the heap in use (malloc's own count) after the scene is built and after each pass,
// the bytes each pass added per holder, and the process's peak resident size.
//
//   holder_memory_bench [N...] (default: 1000 10000); each size in a fresh scene
#include "core/host_session.h"
#include "holder_bench_scene.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if __has_include(<sys/resource.h>)
#include <sys/resource.h>
#endif

namespace {

// Bytes of heap in use, or 0 where the C library does not say.
double heapInUse() {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
  return static_cast<double>(mallinfo2().uordblks);
#else
  return 0;
#endif
}

double peakResidentMB() {
#if __has_include(<sys/resource.h>)
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
#else
  return 0;
#endif
}

void run(const std::string& text) {
  if (!ExecuteMAXScriptScript(text.c_str(), FALSE)) std::cerr << "holder_memory_bench: script failed: " << text << "\n";
}

void measure(int n) {
  if (!bench::BuildHolderScene(n)) std::cerr << "holder_memory_bench: the scene could not be built\n";
  // The addresses capture collects are the script layer's; emptied before each pass so that they
  // do not count as the holders' memory.
  run("global QZMIDA = #()");
  const double built = heapInUse();
  std::printf("%6d holders: heap after building the scene %.1f MB\n", n, built / 1e6);
  double before = built;
  for (int p = 0; p < 5; ++p) {
    run("QZMIDA = #()");
    run(bench::CaptureAllText(5000 + p));
    run("QZMIDA = #()");
    const double now = heapInUse();
    std::printf("  pass %d: heap %.1f MB, %.0f bytes per holder for this pass\n", 5000 + p, now / 1e6,
                (now - before) / n);
    before = now;
  }
  std::printf("  five passes: %.0f bytes per holder per pass; peak resident size so far %.0f MB\n",
              (before - built) / n / 5, peakResidentMB());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  std::ostringstream problems;
  if (sim::startHost(QZM_PLUGIN_DIR, problems) == 0) {
    std::cerr << "holder_memory_bench: no plug-ins loaded\n" << problems.str();
    return 1;
  }
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {1000, 10000};
  for (int n : sizes)
    if (n > 0) measure(n);
  return 0;
}
