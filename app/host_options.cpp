#include "host_options.h"

#include "os/process_info.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>

namespace {

// The library's help writes an option of two values as "IN OUT x 2"; its two names already say it.
class HelpFormatter : public CLI::Formatter {
 public:
  std::string make_option_opts(const CLI::Option* opt) const override {
    if (opt->get_expected_min() > 1 && !opt->get_type_name().empty()) return " " + opt->get_type_name();
    return CLI::Formatter::make_option_opts(opt);
  }
};

}  // namespace

std::optional<int> parseHostOptions(int argc, char** argv, HostOptions& options) {
  CLI::App app{
      "qzmhost: a headless 3D host that loads the render-pass manager's plug-ins and runs scripts\n"
      "against a scene. Without a file or -e it opens an interactive Listener on a terminal.",
      "qzmhost"};
  // Paths may start with a slash on every system (Wine hands Unix paths through); they are never
  // Windows-style options.
  app.allow_windows_style_options(false);
  // Set before the subcommands are added, which take it over.
  app.formatter(std::make_shared<HelpFormatter>());
  app.add_option("script", options.scriptFile, "Script file (.ms) to run with every plug-in loaded")->type_name("FILE");
  app.add_option("-e,--eval", options.expression, "Evaluate one expression and print its value")->type_name("EXPR");
  app.add_option("--plugins", options.pluginFolder,
                 "Load plug-in modules from DIR instead of the plugins folder beside the executable")
      ->type_name("DIR");
  app.add_option("--scene", options.sceneFile, "Open a saved scene before running")->type_name("FILE");
  app.add_flag("--list-plugins", options.listPlugins,
               "Print one line per loaded module and exit: its file, the description the module gives of itself "
               "(its own text, as the application's plug-in manager shows it), its version, its classes");
  app.add_option("--scramble", options.scramble,
                 "Write the script IN to OUT scrambled, as the script library's FileIn_ reads it, and exit")
      ->expected(2)
      ->type_name("IN OUT");
  addSceneCommands(app, options.sceneCommand);
  addFarmCommands(app, options.farmCommand);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Help and version end well; any other complaint about the command line is a usage error,
    // status 2 as for a pass or frame range the scene cannot take, not the library's own numbers.
    const int status = app.exit(e);
    return status == 0 ? 0 : 2;
  }
  if (options.pluginFolder.empty()) {
    std::filesystem::path exe = sim::os::executablePath();
    options.pluginFolder = (exe.empty() ? std::filesystem::path("plugins") : exe.parent_path() / "plugins").string();
  }
  return std::nullopt;
}
