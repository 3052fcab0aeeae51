#include "ui/resource_module.h"

#include "os/dynamic_library.h"

#include <cstring>
#include <iostream>
#include <map>
#include <memory>

namespace sim::ui {
namespace {

// The table a module's build embeds (cmake/embed_resource_script.cmake): the script, then the
// headers it includes, ended by an empty entry.
struct ResourceFile {
  const char* name;
  const char* text;
  unsigned long size;
};

struct Parsed {
  const ResourceFile* table = nullptr;
  std::string text;  // the script as parsed: a module loaded later at the same handle is told apart
  std::unique_ptr<ResourceScript> script;
};

std::string textOf(const ResourceFile& f) { return std::string(f.text, f.size); }

std::unique_ptr<ResourceScript> parse(const ResourceFile* table) {
  IncludeReader readInclude = [table](const std::string& name) -> std::optional<std::string> {
    for (const ResourceFile* f = table + 1; f->name; ++f)
      if (name == f->name) return textOf(*f);
    return std::nullopt;
  };
  ResourceParseResult result = parseResourceScript(table->name, textOf(*table), readInclude);
  if (!result.script) {
    std::cerr << "resource script of a module cannot be read: " << result.error << "\n";
    return nullptr;
  }
  return std::make_unique<ResourceScript>(std::move(*result.script));
}

}  // namespace

const ResourceScript* moduleResources(HINSTANCE module) {
  static std::map<HINSTANCE, Parsed> parsed;
  if (!module) return nullptr;
  auto* table = static_cast<const ResourceFile*>(os::findOwnSymbol(module, "qzm_resource_files"));
  if (!table || !table->name || !table->text) return nullptr;
  auto it = parsed.find(module);
  if (it != parsed.end() && (it->second.table != table || it->second.text != textOf(*table))) {
    parsed.erase(it);
    it = parsed.end();
  }
  if (it == parsed.end()) it = parsed.emplace(module, Parsed{table, textOf(*table), parse(table)}).first;
  return it->second.script.get();
}

}  // namespace sim::ui
