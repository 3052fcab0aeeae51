// qzmhost passes SCENE: node × property × pass → value, from the holders' records alone.
#include "scene_commands.h"

#include "passes/scene_passes.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
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

// A report is written as the holders are read, one at a time: a head once the scene's passes are
// known, a part per holder, and a tail once every problem is known. `out` is handed to standard
// output whenever it is large.
struct Report {
  Report(const std::set<int>& o, const std::string& p) : only(o), path(p) {}
  const std::set<int>& only;
  const std::string& path;
  std::string out;
  virtual ~Report() = default;
  virtual void head(const ScenePasses& scene) = 0;
  virtual void holder(const HolderPasses& h) = 0;
  virtual void tail(const ScenePasses&) {}
  bool shown(int pass) const { return only.empty() || only.count(pass); }
};

// ---- text: one table per holder, a row per property, a column per state -----------------------
struct TextReport final : Report {
  TextReport(const std::set<int>& o, const std::string& p) : Report(o, p) {}

  void head(const ScenePasses& scene) override {
    out = path + ": " + std::to_string(scene.holderCount) + (scene.holderCount == 1 ? " holder, " : " holders, ") +
          std::to_string(scene.passes.size()) + (scene.passes.size() == 1 ? " pass" : " passes");
    for (int p : scene.passes) {
      out += ' ';
      out += std::to_string(p);
    }
    out += "\n";
  }

  void holder(const HolderPasses& h) override {
    std::vector<int> columns;
    if (h.hasInitial) columns.push_back(kInitialState);
    for (int p : h.passes)
      if (std::find(columns.begin(), columns.end(), p) == columns.end()) columns.push_back(p);
    columns.erase(std::remove_if(columns.begin(), columns.end(), [&](int p) { return !shown(p); }), columns.end());
    std::map<std::pair<std::string_view, int>, std::string> cells;
    for (const PassValue& v : h.values)
      cells.emplace(std::make_pair(std::string_view(v.property), v.pass), displayText(v.value) + animatedNote(v));
    std::vector<std::vector<std::string_view>> rows;
    std::vector<std::string> labels;
    for (int p : columns) labels.push_back(passLabel(p));
    std::vector<std::string_view> top = {"property"};
    top.insert(top.end(), labels.begin(), labels.end());
    rows.push_back(top);
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
    std::vector<size_t> width(top.size(), 0);
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
  }
};

// ---- JSON -----------------------------------------------------------------------------------------
std::string jsonPass(int pass) { return pass == kInitialState ? "\"initial\"" : std::to_string(pass); }

struct JsonReport final : Report {
  JsonReport(const std::set<int>& o, const std::string& p) : Report(o, p) {}
  bool firstHolder = true;

  void head(const ScenePasses& scene) override {
    out = "{\"scene\":" + jsonString(path) + ",\"passes\":[";
    for (size_t i = 0; i < scene.passes.size(); ++i) {
      if (i) out += ",";
      out += std::to_string(scene.passes[i]);
    }
    out += "],\"holders\":[";
  }

  void holder(const HolderPasses& h) override {
    out += std::string(firstHolder ? "" : ",") + "\n{\"holder\":" + jsonString(h.holderName) +
           ",\"node\":" + (h.target ? jsonString(h.targetName) : "null") + ",\"passes\":[";
    firstHolder = false;
    for (size_t k = 0; k < h.passes.size(); ++k) {
      if (k) out += ",";
      out += std::to_string(h.passes[k]);
    }
    out += "],\"properties\":[";
    for (size_t k = 0; k < h.properties.size(); ++k) {
      if (k) out += ",";
      appendJsonString(out, h.properties[k]);
    }
    out += "],\"values\":[";
    bool first = true;
    for (const PassValue& v : h.values) {
      if (!shown(v.pass)) continue;
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
  }

  void tail(const ScenePasses& scene) override {
    out += "],\n\"problems\":[";
    for (size_t i = 0; i < scene.problems.size(); ++i) {
      if (i) out += ",";
      appendJsonString(out, scene.problems[i]);
    }
    out += "]}\n";
  }
};

// ---- CSV (one row per node, property and state) ---------------------------------------------------
std::string csvField(std::string_view s) {
  if (s.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(s);
  std::string out = "\"";
  for (char c : s) (c == '"' ? out += "\"\"" : out += c);
  return out + "\"";
}

struct CsvReport final : Report {
  CsvReport(const std::set<int>& o, const std::string& p) : Report(o, p) {}

  void head(const ScenePasses&) override {
    out = "holder,node,property,pass,kind,value,text,class,animated,controller_class,controller_address\n";
  }

  void holder(const HolderPasses& h) override {
    for (const PassValue& v : h.values) {
      if (!shown(v.pass)) continue;
      const std::string value = v.value.kind == ValueKind::String ? v.value.text : displayText(v.value);
      for (const std::string& f : {h.holderName, h.targetName, v.property, passLabel(v.pass), std::string(kindName(v.value.kind)),
                                   value, v.text, v.classTag, std::string(v.animated ? "1" : "0"), v.controllerClass})
        out += csvField(f) + ",";
      out += csvField(v.controllerAddress) + "\n";
    }
  }
};

}  // namespace

int runPassesCommand(const SceneCommandOptions& o) {
  if (o.json && o.csv) {
    scene_command::error(kCommand, "--json and --csv exclude each other");
    return 2;
  }
  // The records are all this reads: the nodes' transforms and geometry, most of a big scene, are
  // left in the file.
  if (!scene_command::loadScene(kCommand, o.scene, sim::SceneLoadExtent::WithoutTransformsAndGeometry)) return 2;
  std::set<int> only;
  std::unique_ptr<Report> report;
  if (o.json) report = std::make_unique<JsonReport>(only, o.scene);
  else if (o.csv) report = std::make_unique<CsvReport>(only, o.scene);
  else report = std::make_unique<TextReport>(only, o.scene);
  ScenePasses scene;
  std::string error;
  bool chosen = true;
  const bool read = readScenePasses(
      scene,
      [&](const ScenePasses& s) {
        if (!(chosen = selectedPasses(o, s, only))) return false;
        report->head(s);
        return true;
      },
      [&](HolderPasses& h) {
        report->holder(h);
        writeIfLarge(report->out);
      },
      error);
  if (!read) {
    scene_command::error(kCommand, o.scene + ": " + error);
    return 2;
  }
  if (!chosen) return 2;
  report->tail(scene);
  std::cout << report->out;
  std::cout.flush();
  for (const std::string& p : scene.problems) scene_command::error(kCommand, o.scene + ": " + p);
  return scene.problems.empty() ? 0 : 1;
}
