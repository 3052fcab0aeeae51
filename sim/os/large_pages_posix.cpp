#include "os/large_pages.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace sim::os {

namespace {

// The C library's switch (glibc 2.35 and later) that asks the kernel for transparent huge pages on
// every heap region it takes. Only the environment sets it, before the program starts.
constexpr const char* kTunable = "glibc.malloc.hugetlb=1";

constexpr bool kSanitized =
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

// "always" gives huge pages without asking and "never" refuses them: only "madvise" needs the ask.
bool hugePagesOnRequestOnly() {
  std::ifstream f("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string modes;
  std::getline(f, modes);
  return modes.find("[madvise]") != std::string::npos;
}

}  // namespace

void restartWithLargeHeapPages(char** argv) {
#if defined(__GLIBC__)
  if (kSanitized || !argv || !argv[0]) return;
  // A preloaded library (a memory checker, a profiler) would not follow the new start.
  if (const char* preload = std::getenv("LD_PRELOAD"); preload && *preload) return;
  const char* tunables = std::getenv("GLIBC_TUNABLES");
  if (tunables && std::strstr(tunables, "glibc.malloc.hugetlb")) return;  // set: by us or by the user
  if (!hugePagesOnRequestOnly()) return;
  std::string value = tunables && *tunables ? std::string(tunables) + ":" + kTunable : std::string(kTunable);
  if (setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0) return;
  execv("/proc/self/exe", argv);
  // Not started again: go on as we are, without leaving the switch for the programs we start.
  if (tunables) setenv("GLIBC_TUNABLES", tunables, 1);
  else unsetenv("GLIBC_TUNABLES");
#else
  (void)argv;
#endif
}

}  // namespace sim::os
