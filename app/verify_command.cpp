// qzmhost verify SCENE: switches the scene to every pass and to its initial state through the
// holders' own restore, reads back every recorded property and reports each one that is not what
// the record says (drift). Last it checks that going through every pass and back to the initial
// state leaves the same scene as going to the initial state straight from the file.
#include "scene_commands.h"

#include "core/fp_call.h"
#include "imtl.h"
#include "inode.h"
#include "iparamb2.h"
#include "maxscript/maxscript.h"
#include "passes/read_back.h"
#include "passes/scene_passes.h"
#include "core/progress.h"
#include "scenefile/scene_file.h"

#include <iostream>
#include <map>

using namespace sim::passes;

namespace {

const char* kCommand = "verify";

struct Drift {
  std::string node, holder, property;
  int pass;
  std::string recorded, found;
};

std::string shown(const PassValue& v) {
  std::string s = displayText(v.value);
  if (v.controller) s += " (animated: " + v.controllerClass + ")";
  return s;
}

// What a node's material shows now, for a recorded per-pass material slot.
std::string materialFound(INode* node, int pass, const DecodedValue& recorded, bool& same) {
  Mtl* m = node->GetMtl();
  std::string name = m ? std::string(m->GetName().data()) : "no material";
  if (pass == kInitialState) {
    same = m == recorded.target;
    return name;
  }
  IParamBlock2* pb = m && m->ClassID() == kPerPassMaterialClassID ? m->GetParamBlock(0) : nullptr;
  ParamID id = -1;
  for (int i = 0; pb && i < pb->GetDesc()->count; ++i)
    if (pb->GetDesc()->paramdefs[i].int_name && std::string_view(pb->GetDesc()->paramdefs[i].int_name) == "whichPass")
      id = pb->GetDesc()->paramdefs[i].ID;
  if (id < 0) {
    same = false;
    return name + " (not a per-pass material)";
  }
  DecodedValue v;
  v.kind = ValueKind::Material;
  v.slot = pb->GetInt(id);
  perPassMaterialInSlot(node, v.slot, v);
  same = v.slot == recorded.slot;
  return displayText(v);
}

class Verifier {
 public:
  explicit Verifier(const SceneCommandOptions& o) : o_(o) {}

  int run() {
    if (!scene_command::loadScene(kCommand, o_.scene)) return 2;
    std::string error;
    if (!readScenePasses(scene_, error)) {
      scene_command::error(kCommand, o_.scene + ": " + error);
      return 2;
    }
    const int steps = static_cast<int>(scene_.passes.size()) + 2;
    sim::Progress progress("Verifying " + o_.scene, steps);
    int step = 0;
    for (int pass : scene_.passes) {
      progress.step(step++, "pass " + std::to_string(pass));
      if (!scene_command::switchToPass(scene_, pass)) return failed("the holders' RestoreAllProperties could not be called");
      if (!check(pass, error)) return failed(error);
    }
    progress.step(step++, "initial state");
    if (!scene_command::switchToPass(scene_, kInitialState)) return failed("the holders' RestoreInitialProperties could not be called");
    if (!check(kInitialState, error)) return failed(error);
    sim::Bytes after;
    if (!sim::writeScene(after, error)) return failed(error);

    // The same file put straight into its initial state, to compare with.
    progress.step(step++, "round trip");
    if (!scene_command::loadScene(kCommand, o_.scene)) return 2;
    ScenePasses fresh;
    sim::Bytes straight;
    if (!readScenePasses(fresh, error) || !scene_command::switchToPass(fresh, kInitialState) || !sim::writeScene(straight, error))
      return failed(error.empty() ? "the scene could not be put into its initial state" : error);
    scene_command::clearListener();
    roundTripSame_ = after == straight;
    report();
    return drift_.empty() && roundTripSame_ && scene_.problems.empty() ? 0 : 1;
  }

 private:
  int failed(const std::string& why) {
    scene_command::error(kCommand, o_.scene + ": " + why);
    return 2;
  }

  bool check(int pass, std::string& error) {
    scene_command::clearListener();
    for (const HolderPasses& h : scene_.holders) {
      std::vector<const PassValue*> recorded;
      for (const PassValue& v : h.values)
        if (v.pass == pass) recorded.push_back(&v);
      if (recorded.empty()) continue;
      checked_ += static_cast<int>(recorded.size());
      if (!h.target) {
        for (const PassValue* v : recorded) drift_.push_back({"", h.holderName, v->property, pass, shown(*v), "no node"});
        continue;
      }
      HolderPasses found;
      if (!readBack(h, pass, found, error)) return false;
      std::map<std::string, const PassValue*> now;
      for (const PassValue& v : found.values) now.emplace(v.property, &v);
      for (const PassValue* v : recorded) compare(h, pass, *v, now.count(v->property) ? now[v->property] : nullptr);
    }
    scene_command::clearListener();
    return true;
  }

  void compare(const HolderPasses& h, int pass, const PassValue& recorded, const PassValue* found) {
    bool same = false;
    std::string foundText;
    if (recorded.value.kind == ValueKind::Material) {
      foundText = materialFound(h.target, pass, recorded.value, same);
    } else if (!found) {
      foundText = "nothing (the holder cannot read it from the node)";
    } else {
      foundText = shown(*found);
      if (recorded.value.kind == ValueKind::Object) same = found->value.target == recorded.value.target;
      else same = found->text == recorded.text;
      // A restore links the stored controller itself, not a copy.
      if (recorded.controller && found->controller != recorded.controller) {
        same = false;
        if (found->controller && found->controllerClass == recorded.controllerClass)
          foundText += " (another controller of that class)";
        else if (!found->controller)
          foundText += " (not animated)";
      }
    }
    if (!same) drift_.push_back({h.targetName, h.holderName, recorded.property, pass, shown(recorded), foundText});
  }

  void report() {
    if (o_.json) {
      std::string out = "{\"scene\":" + jsonString(o_.scene) + ",\"passes\":[";
      for (size_t i = 0; i < scene_.passes.size(); ++i) {
        if (i) out += ",";
        out += std::to_string(scene_.passes[i]);
      }
      out += "],\"holders\":" + std::to_string(scene_.holders.size()) + ",\"checked\":" + std::to_string(checked_) +
             ",\"drift\":[";
      for (size_t i = 0; i < drift_.size(); ++i) {
        const Drift& d = drift_[i];
        out += std::string(i ? "," : "") + "\n {\"node\":" + (d.node.empty() ? "null" : jsonString(d.node)) +
               ",\"holder\":" + jsonString(d.holder) + ",\"property\":" + jsonString(d.property) + ",\"pass\":" +
               (d.pass == kInitialState ? "\"initial\"" : std::to_string(d.pass)) + ",\"recorded\":" + jsonString(d.recorded) +
               ",\"found\":" + jsonString(d.found) + "}";
      }
      out += "],\n\"roundTrip\":" + std::string(roundTripSame_ ? "true" : "false") + ",\"problems\":[";
      for (size_t i = 0; i < scene_.problems.size(); ++i) {
        if (i) out += ",";
        out += jsonString(scene_.problems[i]);
      }
      std::cout << out << "]}\n";
    } else {
      for (const Drift& d : drift_)
        std::cout << "drift: node '" << (d.node.empty() ? "(missing)" : d.node) << "' (holder '" << d.holder << "'), "
                  << d.property << ", " << (d.pass == kInitialState ? "initial state" : "pass " + std::to_string(d.pass))
                  << ": recorded " << d.recorded << ", found " << d.found << "\n";
      if (!roundTripSame_)
        std::cout << "round trip: after every pass and the initial state the scene is not the one its initial state "
                     "gives straight from the file\n";
      std::cout << o_.scene << ": " << scene_.holders.size() << (scene_.holders.size() == 1 ? " holder, " : " holders, ")
                << scene_.passes.size() << (scene_.passes.size() == 1 ? " pass" : " passes")
                << " and the initial state, " << checked_ << " recorded values: "
                << (drift_.empty() ? std::string("no drift") : std::to_string(drift_.size()) + " drifted")
                << (roundTripSame_ ? ", round trip clean\n" : ", round trip changed the scene\n");
    }
    std::cout.flush();
    for (const std::string& p : scene_.problems) scene_command::error(kCommand, o_.scene + ": " + p);
  }

  const SceneCommandOptions& o_;
  ScenePasses scene_;
  std::vector<Drift> drift_;
  int checked_ = 0;
  bool roundTripSame_ = true;
};

}  // namespace

int runVerifyCommand(const SceneCommandOptions& options) { return Verifier(options).run(); }
