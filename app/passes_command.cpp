// qzmhost passes SCENE: node × property × pass → value, from the holders' records alone.
#include "scene_commands.h"

#include "passes/scene_passes.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <set>

using namespace sim::passes;

namespace {

const char* kCommand = "passes";

// The passes asked for with --pass; false (with the message printed) when one is not in the scene.
bool selectedPasses(const SceneCommandOptions& o, const ScenePasses& scene, std::set<int>& out) {
  for (const std::string& p : o.passes) {
    int pass = 0;
    if (!scene_command::passFromText(kCommand, o.scene, scene, p, pass)) return false;
    out.insert(pass);
  }
  return true;
}

std::string animatedNote(const PassValue& v) {
  if (!v.animated) return "";
  return v.controller ? " (animated: " + v.controllerClass + ")" : " (animated: no controller stored)";
}

// Hands what is built so far to standard output once it is large: a big scene's report would
// otherwise be held whole, tens of megabytes, and copied each time its string grew.
void writeIfLarge(std::string& out) {
  if (out.size() < (1u << 20)) return;
  std::cout << out;
  out.clear();
}

// ---- text: one table per holder, a row per property, a column per state -----------------------
void printText(const ScenePasses& scene, const std::set<int>& only, const std::string& path) {
  std::string out = path + ": " + std::to_string(scene.holders.size()) + (scene.holders.size() == 1 ? " holder, " : " holders, ") +
                    std::to_string(scene.passes.size()) + (scene.passes.size() == 1 ? " pass" : " passes");
  for (int p : scene.passes) {
    out += ' ';
    out += std::to_string(p);
  }
  out += "\n";
  for (const HolderPasses& h : scene.holders) {
    std::vector<int> columns;
    if (h.hasInitial) columns.push_back(kInitialState);
    for (int p : h.passes)
      if (std::find(columns.begin(), columns.end(), p) == columns.end()) columns.push_back(p);
    if (!only.empty())
      columns.erase(std::remove_if(columns.begin(), columns.end(), [&](int p) { return !only.count(p); }), columns.end());
    std::map<std::pair<std::string_view, int>, std::string> cells;
    for (const PassValue& v : h.values) cells.emplace(std::make_pair(std::string_view(v.property), v.pass), displayText(v.value) + animatedNote(v));
    std::vector<std::vector<std::string_view>> rows;
    std::vector<std::string> labels;
    for (int p : columns) labels.push_back(passLabel(p));
    std::vector<std::string_view> head = {"property"};
    head.insert(head.end(), labels.begin(), labels.end());
    rows.push_back(head);
    std::set<std::string_view> done;
    for (const std::string& name : h.properties) {
      if (name == "REMOVED" || !done.insert(name).second) continue;
      std::vector<std::string_view> row = {name};
      for (int p : columns) {
        auto it = cells.find({name, p});
        row.push_back(it == cells.end() ? std::string_view("-") : std::string_view(it->second));
      }
      rows.push_back(row);
    }
    std::vector<size_t> width(head.size(), 0);
    for (const auto& r : rows)
      for (size_t c = 0; c < r.size(); ++c) width[c] = std::max(width[c], r[c].size());
    out += "\n";
    out += h.target ? h.targetName : "(no node)";
    out += " (holder '" + h.holderName + "')\n";
    for (const auto& r : rows) {
      out += " ";
      for (size_t c = 0; c < r.size(); ++c) {
        out += " ";
        out += r[c];
        if (c + 1 < r.size()) out.append(width[c] - r[c].size() + 1, ' ');
      }
      out += "\n";
    }
    writeIfLarge(out);
  }
  std::cout << out;
}

// ---- JSON -----------------------------------------------------------------------------------------
std::string jsonPass(int pass) { return pass == kInitialState ? "\"initial\"" : std::to_string(pass); }

void printJson(const ScenePasses& scene, const std::set<int>& only, const std::string& path) {
  std::string out = "{\"scene\":" + jsonString(path) + ",\"passes\":[";
  for (size_t i = 0; i < scene.passes.size(); ++i) {
    if (i) out += ",";
    out += std::to_string(scene.passes[i]);
  }
  out += "],\"holders\":[";
  for (size_t i = 0; i < scene.holders.size(); ++i) {
    const HolderPasses& h = scene.holders[i];
    out += std::string(i ? "," : "") + "\n{\"holder\":" + jsonString(h.holderName) +
           ",\"node\":" + (h.target ? jsonString(h.targetName) : "null") + ",\"passes\":[";
    for (size_t k = 0; k < h.passes.size(); ++k) {
      if (k) out += ",";
      out += std::to_string(h.passes[k]);
    }
    out += "],\"properties\":[";
    for (size_t k = 0; k < h.properties.size(); ++k) {
      if (k) out += ",";
      out += jsonString(h.properties[k]);
    }
    out += "],\"values\":[";
    bool first = true;
    for (const PassValue& v : h.values) {
      if (!only.empty() && !only.count(v.pass)) continue;
      // Appended in place: a big scene has hundreds of thousands of these.
      out += first ? "\n {\"property\":" : ",\n {\"property\":";
      appendJsonString(out, v.property);
      out += ",\"pass\":";
      out += jsonPass(v.pass);
      out += ",\"kind\":\"";
      out += kindName(v.value.kind);
      out += "\",\"value\":";
      out += jsonValue(v.value);
      out += ",\"text\":";
      appendJsonString(out, v.text);
      out += ",\"class\":";
      appendJsonString(out, v.classTag);
      out += v.animated ? ",\"animated\":true" : ",\"animated\":false";
      if (v.controller) {
        out += ",\"controller\":{\"class\":";
        appendJsonString(out, v.controllerClass);
        out += ",\"address\":";
        appendJsonString(out, v.controllerAddress);
        out += "}";
      }
      out += "}";
      first = false;
    }
    out += "]}";
    writeIfLarge(out);
  }
  out += "],\n\"problems\":[";
  for (size_t i = 0; i < scene.problems.size(); ++i) {
    if (i) out += ",";
    out += jsonString(scene.problems[i]);
  }
  out += "]}\n";
  std::cout << out;
}

// ---- CSV (one row per node, property and state) ---------------------------------------------------
std::string csvField(std::string_view s) {
  if (s.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(s);
  std::string out = "\"";
  for (char c : s) (c == '"' ? out += "\"\"" : out += c);
  return out + "\"";
}

void printCsv(const ScenePasses& scene, const std::set<int>& only) {
  std::string out = "holder,node,property,pass,kind,value,text,class,animated,controller_class,controller_address\n";
  for (const HolderPasses& h : scene.holders)
    for (const PassValue& v : h.values) {
      if (!only.empty() && !only.count(v.pass)) continue;
      const std::string value = v.value.kind == ValueKind::String ? v.value.text : displayText(v.value);
      for (const std::string& f : {h.holderName, h.targetName, v.property, passLabel(v.pass), std::string(kindName(v.value.kind)),
                                   value, v.text, v.classTag, std::string(v.animated ? "1" : "0"), v.controllerClass})
        out += csvField(f) + ",";
      out += csvField(v.controllerAddress) + "\n";
      writeIfLarge(out);
    }
  std::cout << out;
}

}  // namespace

int runPassesCommand(const SceneCommandOptions& o) {
  if (o.json && o.csv) {
    scene_command::error(kCommand, "--json and --csv exclude each other");
    return 2;
  }
  // The records are all this reads: the nodes' transforms and geometry, most of a big scene, are
  // left in the file.
  if (!scene_command::loadScene(kCommand, o.scene, sim::SceneLoadExtent::WithoutTransformsAndGeometry)) return 2;
  ScenePasses scene;
  std::string error;
  if (!readScenePasses(scene, error)) {
    scene_command::error(kCommand, o.scene + ": " + error);
    return 2;
  }
  std::set<int> only;
  if (!selectedPasses(o, scene, only)) return 2;
  if (o.json) printJson(scene, only, o.scene);
  else if (o.csv) printCsv(scene, only);
  else printText(scene, only, o.scene);
  std::cout.flush();
  for (const std::string& p : scene.problems) scene_command::error(kCommand, o.scene + ": " + p);
  return scene.problems.empty() ? 0 : 1;
}
