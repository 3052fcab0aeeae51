#include "core/plugin_loader.h"

#include "core/class_registry.h"
#include "core/c_format.h"
#include "core/text.h"
#include "os/dynamic_library.h"

#include <algorithm>
#include <filesystem>

namespace sim {
namespace {

// The endings the host loads modules from: objects, textures and materials, script extensions,
// and the other plug-in kinds.
constexpr const char* kPluginEndings[] = {".dlo", ".dlt", ".dlx", ".dlm", ".dlu", ".dle", ".dlr", ".dlc",
                                          ".dlh", ".dlb", ".dlf", ".dlk", ".dli", ".dlv", ".gup", ".flt",
                                          ".bmi", ".bms"};

// The host is release 12000; release 11000 modules are binary compatible with it.
constexpr ULONG kCompatibleReleases[] = {11000, 12000};

template <class Fn>
Fn entry(void* lib, const char* name) {
  return reinterpret_cast<Fn>(os::findSymbol(lib, name));
}

}  // namespace

PluginLoader::~PluginLoader() = default;

bool PluginLoader::hasPluginEnding(const std::string& fileName) {
  std::string lower = toLowerAscii(fileName);
  for (const char* e : kPluginEndings) {
    std::string_view end(e);
    if (lower.size() > end.size() && lower.compare(lower.size() - end.size(), end.size(), end) == 0) return true;
  }
  return false;
}

bool PluginLoader::isCompatibleVersion(ULONG version) {
  ULONG release = version >> 16;
  return std::find(std::begin(kCompatibleReleases), std::end(kCompatibleReleases), release) != std::end(kCompatibleReleases);
}

int PluginLoader::loadFolder(const std::string& folder, std::ostream& errors) {
  namespace fs = std::filesystem;
  std::error_code ec;
  std::vector<fs::path> files;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fec;
    if (it->is_regular_file(fec) && hasPluginEnding(it->path().filename().string())) files.push_back(it->path());
  }
  if (ec) {
    errors << folder << ": cannot read the plug-in folder (" << ec.message() << ")\n";
    return 0;
  }
  std::sort(files.begin(), files.end());
  int loaded = 0;
  for (const fs::path& f : files)
    if (loadModule(f.string(), errors)) ++loaded;
  return loaded;
}

bool PluginLoader::loadModule(const std::string& path, std::ostream& errors) {
  PluginModule m;
  m.path = path;
  m.fileName = std::filesystem::path(path).filename().string();
  for (const PluginModule& other : modules_) {
    if (toLowerAscii(other.fileName) == toLowerAscii(m.fileName)) {
      errors << m.fileName << ": skipped, a module of that name is already loaded\n";
      return false;
    }
  }
  std::string why;
  void* lib = os::openLibrary(path, why);
  if (!lib) {
    errors << m.fileName << ": not a plug-in module (" << why << ")\n";
    return false;
  }
  auto skip = [&](const std::string& reason) {
    errors << m.fileName << ": " << reason << "\n";
    os::closeLibrary(lib);
    return false;
  };

  auto description = entry<LibDescriptionFn>(lib, "LibDescription");
  auto version = entry<LibVersionFn>(lib, "LibVersion");
  auto numberClasses = entry<LibNumberClassesFn>(lib, "LibNumberClasses");
  auto classDesc = entry<LibClassDescFn>(lib, "LibClassDesc");
  auto init = entry<LibInitFn>(lib, "LibInit");
  if (!description) return skip("not a plug-in module (no LibDescription entry point)");
  if (!version) return skip("not a plug-in module (no LibVersion entry point)");
  if (!numberClasses != !classDesc)
    return skip(std::string("not a plug-in module (no ") + (numberClasses ? "LibClassDesc" : "LibNumberClasses") +
                " entry point)");
  m.version = version();
  if (!isCompatibleVersion(m.version))
    return skip(c_format("version 0x%08X is from another release (this host loads releases 11000 and 12000)",
                         static_cast<unsigned>(m.version)));
  const char* d = description();
  m.description = d ? d : "";

  if (init) init();
  int n = numberClasses ? numberClasses() : 0;
  for (int i = 0; i < n; ++i) {
    ClassDesc* cd = classDesc(i);
    if (!cd) continue;
    if (!ClassRegistry::instance().add(cd, m.fileName)) {
      errors << m.fileName << ": class " << (cd->ClassName() ? cd->ClassName() : "?")
             << " skipped, its class id is taken by another class\n";
      continue;
    }
    m.classes.push_back(cd);
  }
  m.library = lib;
  modules_.push_back(std::move(m));
  return true;
}

void PluginLoader::unloadAll() {
  while (!modules_.empty()) {
    PluginModule& m = modules_.back();
    ClassRegistry::instance().removeModule(m.fileName);
    os::closeLibrary(m.library);
    modules_.pop_back();
  }
}

PluginLoader& plugins() {
  static PluginLoader loader;
  return loader;
}

}  // namespace sim
