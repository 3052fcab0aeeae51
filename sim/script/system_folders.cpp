// Where the host keeps things, as scripts ask for it: getDir, the scene file's name and folder
// (maxFilePath, maxFileName), and sysInfo's user, machine and folders.
#include "core/core_interface.h"
#include "core/text.h"
#include "maxscript/maxscript.h"
#include "os/process_info.h"
#include "script/runtime.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace {

// The language's directory names and the folder each is under the user's host folder. The
// installation's folders (#maxroot, #scripts) are there too: this host has no folders of its own
// beside its program, and a script that writes to them must not write into an installation.
struct NamedFolder {
  std::string_view name;
  std::string_view folder;
};
constexpr std::array kFolders{
    NamedFolder{"maxroot", ""},           NamedFolder{"maxdata", ""},
    NamedFolder{"scene", "scenes"},       NamedFolder{"maxstart", "scenes"},
    NamedFolder{"import", "import"},      NamedFolder{"export", "export"},
    NamedFolder{"image", "sceneassets/images"}, NamedFolder{"sound", "sceneassets/sounds"},
    NamedFolder{"animations", "sceneassets/animations"}, NamedFolder{"renderassets", "sceneassets/renderassets"},
    NamedFolder{"photometric", "sceneassets/photometric"}, NamedFolder{"renderoutput", "renderoutput"},
    NamedFolder{"preview", "previews"},   NamedFolder{"autoback", "autoback"},
    NamedFolder{"archives", "archives"},  NamedFolder{"vpost", "vpost"},
    NamedFolder{"matlib", "materiallibraries"}, NamedFolder{"renderpresets", "renderpresets"},
    NamedFolder{"font", "fonts"},         NamedFolder{"help", "help"},
    NamedFolder{"expression", "express"}, NamedFolder{"drivers", "drivers"},
    NamedFolder{"plugcfg", "plugcfg"},    NamedFolder{"ui", "ui"},
    NamedFolder{"defaultsettings", "defaults"}, NamedFolder{"downloads", "downloads"},
    NamedFolder{"proxies", "proxies"},    NamedFolder{"pagefile", "pagefile"},
    NamedFolder{"scripts", "scripts"},    NamedFolder{"startupscripts", "scripts/startup"},
    NamedFolder{"userscripts", "userscripts"}, NamedFolder{"userstartupscripts", "userscripts/startup"},
    NamedFolder{"usermacros", "usermacros"}, NamedFolder{"usericons", "usericons"},
};

// The one place the host's per-user folders hang from; the system's temporary folder when the
// system names no place for the user's files.
fs::path hostUserFolder() {
  std::string folder = sim::os::userDataFolder();
  if (!folder.empty()) return fs::path(folder);
  std::error_code ec;
  return fs::temp_directory_path(ec) / "qzmhost";
}

std::string withoutTrailingSeparator(std::string s) {
  while (s.size() > 1 && (s.back() == '/' || s.back() == '\\')) s.pop_back();
  return s;
}

std::string withTrailingSeparator(std::string s) {
  if (s.empty() || (s.back() != '/' && s.back() != '\\')) s += static_cast<char>(fs::path::preferred_separator);
  return s;
}

std::string tempFolder() {
  std::error_code ec;
  fs::path p = fs::temp_directory_path(ec);
  return ec ? std::string() : withoutTrailingSeparator(p.string());
}

std::string currentFolder() {
  std::error_code ec;
  fs::path p = fs::current_path(ec);
  return ec ? std::string() : p.string();
}

Value* stringValue(const std::string& s) { return new String(s); }

}  // namespace

// The folders exist once asked for, as they do in an installed application: scripts save into
// them straight away.
def_visible_primitive(getDir, "getDir");
Value* getDir_cf(Value** arg_list, int count) {
  check_arg_count(getDir, 1, count);
  if (!is_name(arg_list[0])) throw ConversionError(arg_list[0], "Name");
  const std::string which = sim::toLowerAscii(arg_list[0]->to_string());
  if (which == "temp") return stringValue(tempFolder());
  for (const NamedFolder& f : kFolders) {
    if (f.name != which) continue;
    fs::path p = hostUserFolder();
    if (!f.folder.empty()) p /= fs::path(std::string(f.folder)).make_preferred();
    std::error_code ec;
    fs::create_directories(p, ec);
    return stringValue(p.string());
  }
  throw RuntimeError("getDir: unknown directory name: ", arg_list[0]);
}

namespace {

std::string sceneFile() { return sim::coreInterface()->sceneFile(); }

Value* setCurrentFolder(Value* v) {
  if (!is_string(v)) throw ConversionError(v, "String");
  std::error_code ec;
  fs::current_path(fs::path(v->to_string()), ec);
  if (ec) throw RuntimeError("Cannot make this the current folder: ", v);
  return v;
}

const bool kDefined = [] {
  using sim::rt::defineSystemGlobal;
  defineSystemGlobal("maxFilePath", [] {
    const std::string f = sceneFile();
    return stringValue(f.empty() ? f : withTrailingSeparator(fs::path(f).parent_path().string()));
  });
  defineSystemGlobal("maxFileName", [] {
    const std::string f = sceneFile();
    return stringValue(f.empty() ? f : fs::path(f).filename().string());
  });
  define_struct_global("username", "sysInfo", [] { return stringValue(sim::os::userName()); }, nullptr);
  define_struct_global("computername", "sysInfo", [] { return stringValue(sim::os::computerName()); }, nullptr);
  define_struct_global("currentdir", "sysInfo", [] { return stringValue(currentFolder()); }, setCurrentFolder);
  define_struct_global("tempdir", "sysInfo", [] { return stringValue(withTrailingSeparator(tempFolder())); }, nullptr);
  define_struct_global("cpucount", "sysInfo", [] {
    return static_cast<Value*>(Integer::intern(std::max(1, static_cast<int>(std::thread::hardware_concurrency()))));
  }, nullptr);
  return true;
}();

}  // namespace
