#include "fuzz_host.h"

#include "file_fence.h"

#include "core/core_interface.h"
#include "core/host_session.h"
#include "hold.h"
#include "maxscript/maxscript.h"
#include "script/listener_stream.h"
#include "script/evaluator.h"
#include "script/runtime.h"
#include "script/value_heap.h"
#include "ui/snap_settings.h"
#include "ui/viewport.h"
#include "ui/viewport_creation.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <cerrno>
#include <csignal>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace fuzz {
namespace {

using Clock = std::chrono::steady_clock;

fs::path g_scratch;
Clock::time_point g_deadline = Clock::time_point::max();

bool pastDeadline() { return Clock::now() > g_deadline; }

std::chrono::milliseconds scriptBudget() {
  static const long ms = [] {
    const char* v = std::getenv("QZM_FUZZ_SCRIPT_MS");
    long n = v ? std::strtol(v, nullptr, 10) : 0;
    return n > 0 ? n : 1000L;
  }();
  return std::chrono::milliseconds(ms);
}

// The plug-in folder of the fuzz targets: every module of the build but the command runner.
fs::path pluginFolder(const fs::path& dir) {
  fs::path plugins = dir / "plugins";
  fs::create_directories(plugins);
  for (const fs::directory_entry& e : fs::directory_iterator(QZM_PLUGIN_DIR)) {
    if (!e.is_regular_file() || e.path().stem() == "Tacitrun") continue;
    fs::copy_file(e.path(), plugins / e.path().filename(), fs::copy_options::overwrite_existing);
  }
  return plugins;
}

// libFuzzer's flags whose value is a path (or, for seed_inputs, a list of them).
bool pathFlag(std::string_view name) {
  for (std::string_view f : {"artifact_prefix", "exact_artifact_path", "dict", "merge_control_file", "features_dir",
                             "data_flow_trace", "mutation_graph_file", "seed_inputs", "stop_file"})
    if (name == f) return true;
  return false;
}

// `@FILE` (a file that lists inputs, as libFuzzer's fork mode passes them) keeps its `@`.
std::string absolute(std::string_view path, const fs::path& base) {
  if (!path.empty() && path.front() == '@') return "@" + absolute(path.substr(1), base);
  if (path.empty() || path.front() == '/') return std::string(path);
  return (base / std::string(path)).string();
}

void absolutePaths(int* argc, char*** argv, const fs::path& base) {
  static std::vector<std::string> args;
  static std::vector<char*> pointers;
  bool prefixGiven = false;
  for (int i = 0; i < *argc; ++i) {
    std::string a = (*argv)[i];
    if (i > 0 && a.size() > 1 && a[0] == '-' && a.find('=') != std::string::npos) {
      std::size_t eq = a.find('=');
      std::string name = a.substr(1, eq - 1);
      prefixGiven = prefixGiven || name == "artifact_prefix";
      if (pathFlag(name)) {
        std::string value = a.substr(eq + 1), joined;
        for (std::size_t from = 0; from <= value.size();) {
          std::size_t comma = name == "seed_inputs" ? value.find(',', from) : std::string::npos;
          if (comma == std::string::npos) comma = value.size();
          if (!joined.empty()) joined += ',';
          joined += absolute(std::string_view(value).substr(from, comma - from), base);
          from = comma + 1;
        }
        a = "-" + name + "=" + joined;
      }
    } else if (i > 0 && !a.empty() && a[0] != '-') {
      a = absolute(a, base);
    }
    args.push_back(a);
  }
  if (!prefixGiven) args.push_back("-artifact_prefix=" + base.string() + "/");
  for (std::string& a : args) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  *argc = static_cast<int>(args.size());
  *argv = pointers.data();
}

void clearScratch() {
  std::error_code ignored;
  for (const fs::directory_entry& e : fs::directory_iterator(g_scratch, ignored))
    if (e.path().filename() != "plugins") fs::remove_all(e.path(), ignored);
}

// Scratch folders of processes that are gone: a crashing input ends its process before it can
// remove its own.
void removeStaleScratch(const fs::path& temp, const std::string& prefix) {
  std::error_code ignored;
  for (const fs::directory_entry& e : fs::directory_iterator(temp, ignored)) {
    std::string name = e.path().filename().string();
    if (name.rfind(prefix, 0) != 0) continue;
    long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
    if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) fs::remove_all(e.path(), ignored);
  }
}

}  // namespace

void startHost(std::string_view target, int* argc, char*** argv) {
  if (!g_scratch.empty()) return;
  absolutePaths(argc, argv, fs::current_path());
  // One folder per process: libFuzzer's fork and jobs modes run several at once.
  const std::string prefix = "qzm_fuzz_" + std::string(target) + "_";
  removeStaleScratch(fs::temp_directory_path(), prefix);
  g_scratch = fs::temp_directory_path() / (prefix + std::to_string(getpid()));
  fs::remove_all(g_scratch);
  fs::path plugins = pluginFolder(g_scratch);
  std::ostringstream problems;
  sim::startHost(plugins.string(), problems);
  if (!problems.str().empty()) std::cerr << problems.str();
  sim::rt::Evaluator::setInterruptCheck(pastDeadline);
  fenceFileFunctions();
  if (printing()) sim::listenerStream()->set_echo(stdout);
  std::atexit([] {
    std::error_code ignored;
    fs::remove_all(g_scratch, ignored);
  });
}

const fs::path& scratch() { return g_scratch; }

void runScript(std::string_view text) {
  // In the scratch folder only while script runs: libFuzzer's fork mode starts the program again by
  // the path it was started with.
  std::error_code ignored;
  fs::path caller = fs::current_path(ignored);
  fs::current_path(g_scratch, ignored);
  g_deadline = Clock::now() + scriptBudget();
  try {
    sim::AllocFrame frame;
    sim::rt::Runtime::get().evalText(text);
  } catch (const MAXScriptException& e) {
    if (printing()) std::fprintf(stdout, "%s\n", e.text().c_str());
  } catch (const std::exception& e) {
    if (printing()) std::fprintf(stdout, "-- Runtime error: %s\n", e.what());
  }
  g_deadline = Clock::time_point::max();
  fs::current_path(caller, ignored);
}

void resetHost() {
  sim::rt::Runtime& rt = sim::rt::Runtime::get();
  rt.clearGlobals();
  rt.clearTime();
  rt.currentException.clear();
  sim::ui::ObjectCreation::instance().cancel();
  sim::coreInterface()->resetScene();  // the undo stacks and an open hold go with the scene
  sim::ui::Viewports::instance().reset();
  sim::ui::snapSettings() = sim::ui::SnapSettings();
  while (theHold.IsSuspended()) theHold.Resume();
  sim::listenerStream()->clear();
  clearScratch();
}

bool printing() {
  static const bool on = std::getenv("QZM_FUZZ_PRINT") != nullptr;
  return on;
}

}  // namespace fuzz

// Leaks inside libraries the host uses, as for the host itself (see app/known_library_leaks.cpp).
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
  return "leak:libOpenImageIO\n";
}
#endif
#endif
