// qzmhost: starts the host, loads every plug-in module from its plug-in folder, then runs a script
// file, an expression, or an interactive Listener.
#include "core/c_format.h"
#include "core/class_registry.h"
#include "core/host_session.h"
#include "core/plugin_loader.h"
#include "host_options.h"
#include "os/large_pages.h"
#include "os/terminal.h"
#include "scramble_tool.h"
#include "scenefile/scene_file.h"
#include "script/listener_session.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>

namespace {

// Problems met while loading modules, one line each, prefixed with the program's name.
void reportLoadProblems(const std::string& text) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) std::cerr << "qzmhost: " << line << "\n";
}

void listPlugins() {
  for (const sim::PluginModule& m : sim::plugins().modules()) {
    std::string classes;
    for (ClassDesc* cd : m.classes) {
      if (!classes.empty()) classes += ", ";
      classes += cd->ClassName() ? cd->ClassName() : "?";
    }
    std::cout << m.fileName << "\t" << m.description << "\t"
              << sim::c_format("0x%08X", static_cast<unsigned>(m.version)) << "\t"
              << (classes.empty() ? "(no classes)" : classes) << "\n";
  }
}

// Opens the scene of --scene; what it lacks goes to the Listener (standard output), a failure to
// standard error.
bool openScene(const std::string& path) {
  const sim::SceneLoadResult r = sim::loadSceneFile(path);
  for (const std::string& w : r.warnings) std::cout << w << "\n";
  std::cout.flush();
  if (!r.ok) std::cerr << "qzmhost: " << path << ": " << r.error << "\n";
  return r.ok;
}

// Whether ending the program takes the scene down object by object first. Scene commands end
// without: on a big scene the teardown costs more than reading the passes did, and the system takes
// the whole process back at once. Sanitizer builds still take it down, so the teardown stays checked.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kTearDownAtExit = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kTearDownAtExit = true;
#else
constexpr bool kTearDownAtExit = false;
#endif
#else
constexpr bool kTearDownAtExit = false;
#endif

[[noreturn]] void exitWithoutTeardown(int status) {
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  std::_Exit(status);
}

}  // namespace

int main(int argc, char** argv) {
  sim::os::writeStandardStreamsAsBytes();
  HostOptions options;
  if (auto status = parseHostOptions(argc, argv, options)) return *status;
  // The scene commands are what users run on the biggest scenes, a whole scene loaded at once.
  if (!options.sceneCommand.name.empty()) sim::os::restartWithLargeHeapPages(argv);
  if (!options.scramble.empty()) {
    std::string errors;
    int status = scrambleFile(options.scramble[0], options.scramble[1], errors);
    if (status != 0) std::cerr << "qzmhost: " << errors << "\n";
    return status;
  }

  std::ostringstream problems;
  sim::startHost(options.pluginFolder, problems);
  reportLoadProblems(problems.str());

  int status = 0;
  if (!options.sceneCommand.name.empty()) {
    status = runSceneCommand(options.sceneCommand);
    if (!kTearDownAtExit) exitWithoutTeardown(status);
  } else if (!options.farmCommand.name.empty()) {
    status = runFarmCommand(options.farmCommand, options.pluginFolder);
    if (!kTearDownAtExit) exitWithoutTeardown(status);
  } else if (options.listPlugins) {
    listPlugins();
  } else if (!options.sceneFile.empty() && !openScene(options.sceneFile)) {
    status = 1;
  } else if (options.expression) {
    status = sim::rt::evaluateAndPrint(*options.expression, stdout, stderr) ? 0 : 1;
  } else if (!options.scriptFile.empty()) {
    status = sim::rt::runScriptFile(options.scriptFile, stdout, stderr) ? 0 : 1;
  } else {
    bool interactive = sim::os::stdinIsTerminal();
    if (interactive) std::cout << "qzmhost Listener: type script expressions; end with Ctrl-D.\n";
    status = sim::rt::runListener(std::cin, stdout, stderr, interactive) ? 0 : 1;
  }
  sim::shutdownHost();
  return status;
}
