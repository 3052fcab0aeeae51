// How fast QZMDOSCommandReturn delivers a command's output to the Listener: a command writing
// 100 MB, against the same command writing to the null device (QZMDOSCommand), which is what the
// command itself costs. Three runs each.
//
//   dos_command_bench [PLUGIN_DIR]   (default: the build's plug-in folder)
#include "core/host_session.h"
#include "maxscript/maxscript.h"
#include "script/listener_stream.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr long long kBytes = 100'000'000;
// 63 bytes a line, so that lines and the Listener's 1023-byte chunks fall across each other.
const std::string kWriter =
    "yes 0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ | head -c " + std::to_string(kBytes);

double secondsToRun(const std::string& script) {
  auto start = Clock::now();
  if (!ExecuteMAXScriptScript(script.c_str(), FALSE)) {
    std::cerr << "dos_command_bench: the script failed: " << script << "\n";
    std::exit(1);
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seconds of each of `runs` runs.
std::vector<double> timesOf(int runs, const std::string& script, const std::function<void()>& check = {}) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    times.push_back(secondsToRun(script));
    if (check) check();
  }
  return times;
}

// Output stream that only counts: what the runner costs without the Listener keeping the text.
class CountingStream : public CharStream {
 public:
  const TCHAR* puts(const TCHAR* str) override {
    bytes += std::strlen(str);
    return str;
  }
  size_t bytes = 0;
};

}  // namespace

int main(int argc, char** argv) {
  std::ostringstream problems;
  if (sim::startHost(argc > 1 ? argv[1] : QZM_PLUGIN_DIR, problems) == 0) {
    std::cerr << "dos_command_bench: no plug-ins loaded\n" << problems.str();
    return 1;
  }
  const std::string& listener = sim::listenerStream()->text();
  // Every 1023 bytes of output make one line of the Listener.
  const size_t expected = static_cast<size_t>(kBytes + (kBytes + 1022) / 1023);

  std::vector<double> alone = timesOf(3, "QZMDOSCommand \"" + kWriter + " > /dev/null\"");
  std::vector<double> captured = timesOf(3, "QZMDOSCommandReturn \"" + kWriter + "\"", [&] {
    if (listener.size() != expected) {
      std::cerr << "dos_command_bench: the Listener holds " << listener.size() << " bytes, not " << expected << "\n";
      std::exit(1);
    }
    sim::listenerStream()->clear();
  });

  std::vector<double> counted;
  {
    CountingStream counter;  // a script value: gone before the host frees what is left at its end
    CharStream* listenerStream = thread_local(current_stdout);
    thread_local(current_stdout) = &counter;
    counted = timesOf(3, "QZMDOSCommandReturn \"" + kWriter + "\"");
    thread_local(current_stdout) = listenerStream;
    if (counter.bytes != 3 * expected) {
      std::cerr << "dos_command_bench: " << counter.bytes << " bytes printed, not " << 3 * expected << "\n";
      return 1;
    }
  }

  double mb = kBytes / 1e6;
  double base = *std::min_element(alone.begin(), alone.end());
  double best = *std::min_element(captured.begin(), captured.end());
  std::printf("command alone, writing %.0f MB to the null device:   %7.3f s  %7.1f MB/s\n", mb, base, mb / base);
  std::printf("QZMDOSCommandReturn, best of 3:                   %7.3f s  %7.1f MB/s  (%.2f x the command alone)\n",
              best, mb / best, best / base);
  double stream = *std::min_element(counted.begin(), counted.end());
  std::printf("QZMDOSCommandReturn into a stream that keeps nothing, best of 3:\n"
              "                                                  %7.3f s  %7.1f MB/s  (%.2f x the command alone)\n",
              stream, mb / stream, stream / base);
  // The first run also grows the Listener's text from nothing to 100 MB.
  std::printf("QZMDOSCommandReturn, first run:                   %7.3f s  %7.1f MB/s  (%.2f x the command alone)\n",
              captured[0], mb / captured[0], captured[0] / base);
  sim::shutdownHost();
  return 0;
}
