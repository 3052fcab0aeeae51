#include "passes/scene_passes.h"

#include "control.h"
#include "core/class_registry.h"
#include "imtl.h"
#include "inode.h"
#include "iparamb2.h"
#include "istdplug.h"
#include "maxapi.h"
#include "object.h"
#include "scene/scene_walk.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <unordered_set>

namespace sim::passes {

namespace {

constexpr char kSeparator = '\x01';

// The holder parameters the records are read from, by internal name and type.
enum Field {
  fNode,
  fPasslist,
  fPropertyName,
  fState,
  fClass,
  fAnimated,
  fObject,
  fFloatCtrl,
  fPoint3Ctrl,
  fPoint4Ctrl,
  fPosCtrl,
  fRotCtrl,
  fScaleCtrl,
  fIState,
  fIClass,
  fIAnimated,
  fIObject,
  fIFloatCtrl,
  fIPoint3Ctrl,
  fIPoint4Ctrl,
  fIPosCtrl,
  fIRotCtrl,
  fIScaleCtrl,
  kFieldCount
};

struct FieldSpec {
  const char* name;
  int type;
};

constexpr FieldSpec kFields[kFieldCount] = {
    {"node", TYPE_INODE},
    {"passlist", TYPE_INT_TAB},
    {"propertyName", TYPE_STRING_TAB},
    {"propertyState", TYPE_STRING_TAB},
    {"propertyClass", TYPE_STRING_TAB},
    {"propertyIsAnimated", TYPE_STRING_TAB},
    {"propertyObject", TYPE_REFTARG_TAB},
    {"propertyFloatController", TYPE_REFTARG_TAB},
    {"propertyPoint3Controller", TYPE_REFTARG_TAB},
    {"propertyPoint4Controller", TYPE_REFTARG_TAB},
    {"propertyPosController", TYPE_REFTARG_TAB},
    {"propertyRotController", TYPE_REFTARG_TAB},
    {"propertyScaleController", TYPE_REFTARG_TAB},
    {"IpropertyState", TYPE_STRING_TAB},
    {"IpropertyClass", TYPE_STRING_TAB},
    {"IpropertyIsAnimated", TYPE_STRING_TAB},
    {"IpropertyObject", TYPE_REFTARG_TAB},
    {"IpropertyFloatController", TYPE_REFTARG_TAB},
    {"IpropertyPoint3Controller", TYPE_REFTARG_TAB},
    {"IpropertyPoint4Controller", TYPE_REFTARG_TAB},
    {"IpropertyPosController", TYPE_REFTARG_TAB},
    {"IpropertyRotController", TYPE_REFTARG_TAB},
    {"IpropertyScaleController", TYPE_REFTARG_TAB},
};

// Parameter ids by internal name in one block descriptor.
struct BlockLayout {
  ParamBlockDesc2* desc = nullptr;
  ParamID id[kFieldCount];

  bool bind(ParamBlockDesc2* d, std::string& error) {
    desc = d;
    for (int f = 0; f < kFieldCount; ++f) {
      id[f] = -1;
      for (int i = 0; i < d->count; ++i) {
        const ParamDef& def = d->paramdefs[i];
        if (def.int_name && std::string_view(def.int_name) == kFields[f].name && def.type == kFields[f].type) id[f] = def.ID;
      }
      if (id[f] < 0) {
        error = std::string("the holder class has no parameter ") + kFields[f].name + " of the kind its records need";
        return false;
      }
    }
    return true;
  }
};

// Parameter `name` of a block by internal name, -1 when it has none.
ParamID paramNamed(IParamBlock2* pb, std::string_view name) {
  ParamBlockDesc2* d = pb ? pb->GetDesc() : nullptr;
  if (!d) return -1;
  for (int i = 0; i < d->count; ++i)
    if (d->paramdefs[i].int_name && name == d->paramdefs[i].int_name) return d->paramdefs[i].ID;
  return -1;
}

std::string text(IParamBlock2* pb, ParamID id, int i) {
  if (i >= pb->Count(id)) return {};
  const TCHAR* s = pb->GetStr(id, 0, i);
  return s ? s : "";
}

ReferenceTarget* ref(IParamBlock2* pb, ParamID id, int i) {
  return i >= 0 && i < pb->Count(id) ? pb->GetReferenceTarget(id, 0, i) : nullptr;
}

// Field k of a record, and whether the record has it at all (k + 1 separators).
bool field(std::string_view record, int k, std::string_view& out) {
  size_t start = 0;
  for (int i = 0; i < k; ++i) {
    const size_t sep = record.find(kSeparator, start);
    if (sep == std::string_view::npos) return false;
    start = sep + 1;
  }
  const size_t end = record.find(kSeparator, start);
  if (end == std::string_view::npos) return false;
  out = record.substr(start, end - start);
  return true;
}

int fieldCount(std::string_view record) { return static_cast<int>(std::count(record.begin(), record.end(), kSeparator)); }

std::string className(ReferenceTarget* t) {
  TSTR s;
  t->GetClassName(s);
  return s.data() ? std::string(s.data()) : std::string();
}

std::string objectName(ReferenceTarget* t) {
  if (auto* m = dynamic_cast<MtlBase*>(t)) return m->GetName().data();
  if (auto* n = dynamic_cast<INode*>(t)) return n->GetName() ? n->GetName() : "";
  return {};
}

// The controller table a restore links an animated property from, by the property's name and
// class tag; -1 when it links none.
int controllerField(std::string_view name, std::string_view cls, bool initial) {
  int f = -1;
  if (name == "position") f = fPosCtrl;
  else if (name == "rotation") f = fRotCtrl;
  else if (name == "scale") f = fScaleCtrl;
  else if (name == "visibility" || name == "imageMotionBlurMultiplier" || cls == "float" || cls == "int" || cls == "bool")
    f = fFloatCtrl;
  else if (cls == "point3" || cls == "color") f = fPoint3Ctrl;
  else if (cls == "point4" || cls == "rgba") f = fPoint4Ctrl;
  if (f < 0) return -1;
  return initial ? f + (fIFloatCtrl - fFloatCtrl) : f;
}

bool wholeIndex(std::string_view s, int& out) {
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return !s.empty() && ec == std::errc() && end == s.data() + s.size();
}

class HolderReader {
 public:
  HolderReader(const BlockLayout& layout, HolderPasses& h, std::vector<std::string>& problems)
      : L_(layout), h_(h), problems_(problems), pb_(h.block) {}

  void read() {
    const int names = pb_->Count(L_.id[fPropertyName]);
    for (int k = 0; k < names; ++k) h_.properties.push_back(text(pb_, L_.id[fPropertyName], k));
    if (!h_.target) problem("has no target node; nothing it records can be restored");
    if (pb_->Count(L_.id[fIState]) > 0) {
      h_.hasInitial = true;
      readRecord(kInitialState, 0, true);
    }
    std::set<int> seen;
    const int passes = pb_->Count(L_.id[fPasslist]);
    for (int p = 0; p < passes; ++p) {
      const int pass = pb_->GetInt(L_.id[fPasslist], 0, p);
      h_.passes.push_back(pass);
      if (!seen.insert(pass).second) {
        problem("lists pass " + std::to_string(pass) + " twice; a switch uses the first");
        continue;
      }
      if (pass < 5000) problem("lists pass " + std::to_string(pass) + ", below the lowest pass number 5000");
      if (p >= pb_->Count(L_.id[fState])) {
        problem("has no record of pass " + std::to_string(pass));
        continue;
      }
      readRecord(pass, p, false);
    }
  }

 private:
  void problem(const std::string& what) { problems_.push_back("holder '" + h_.holderName + "' " + what); }

  void readRecord(int pass, int slot, bool initial) {
    const std::string state = text(pb_, L_.id[initial ? fIState : fState], slot);
    const std::string cls = text(pb_, L_.id[initial ? fIClass : fClass], slot);
    const std::string anim = text(pb_, L_.id[initial ? fIAnimated : fAnimated], slot);
    auto label = [&] { return initial ? std::string("the initial record") : "the record of pass " + std::to_string(pass); };
    const int fields = fieldCount(state);
    if (fields != fieldCount(cls) || fields != fieldCount(anim))
      problem("has " + label() + " with " + std::to_string(fields) + " value fields, " + std::to_string(fieldCount(cls)) +
              " class fields and " + std::to_string(fieldCount(anim)) + " animated fields");
    else if (fields > static_cast<int>(h_.properties.size()))
      problem("has " + label() + " with " + std::to_string(fields) + " fields for " +
              std::to_string(h_.properties.size()) + " properties");
    for (int k = 0; k < static_cast<int>(h_.properties.size()); ++k) {
      const std::string& name = h_.properties[static_cast<size_t>(k)];
      if (name == "REMOVED") continue;
      std::string_view value, tag, animated;
      const bool has = field(state, k, value);
      field(cls, k, tag);
      field(anim, k, animated);
      // An empty field was not captured; a user property text is put back even when empty.
      if (value.empty() && !(name == "UserPropBuffer" && has)) continue;
      PassValue v;
      v.property = name;
      v.pass = pass;
      v.text = value;
      v.classTag = tag;
      v.animated = animated == "1";
      v.value = decodeField(name, value, tag);
      // Named only when something is wrong: most values are read without a word.
      auto where = [&] { return "property '" + name + "' of " + label(); };
      if (v.value.kind == ValueKind::Unreadable)
        problem("has " + where() + " stored as \"" + std::string(value) + "\", which is " +
                (tag.empty() ? std::string("without a class tag") : "no " + std::string(tag) + " value"));
      if (v.value.kind == ValueKind::Object) findObject(v, initial, where);
      if (v.animated) findController(v, slot, k, initial, where);
      h_.values.push_back(std::move(v));
    }
  }

  template <class Where>
  void findObject(PassValue& v, bool initial, const Where& where) {
    int index = 0;
    ReferenceTarget* obj = wholeIndex(v.classTag, index) ? ref(pb_, L_.id[initial ? fIObject : fObject], index - 1) : nullptr;
    if (!obj) {
      problem("has " + where() + " referring to object " + v.classTag + ", which the object table does not hold");
      return;
    }
    v.value.target = obj;
    v.value.text = objectName(obj);
    v.value.className = className(obj);
  }

  template <class Where>
  void findController(PassValue& v, int slot, int k, bool initial, const Where& where) {
    const int f = controllerField(v.property, v.classTag, initial);
    ReferenceTarget* entry = f < 0 ? nullptr : ref(pb_, L_.id[f], slot);
    auto* list = entry ? static_cast<IListControl*>(entry->GetInterface(LIST_CONTROLLER_INTERFACE)) : nullptr;
    if (!list || list->GetListCount() <= k || std::string_view(list->GetName(k).data()) == "Null" || !list->GetSubCtrl(k)) {
      problem("has " + where() + " marked animated, but no controller is stored for it");
      return;
    }
    v.controller = list->GetSubCtrl(k);
    v.controllerClass = className(v.controller);
    v.controllerAddress = "$'" + h_.holderName + "'." + kFields[f].name + "[" + std::to_string(slot + 1) + "][" +
                          std::to_string(k + 1) + "]";
  }

  const BlockLayout& L_;
  HolderPasses& h_;
  std::vector<std::string>& problems_;
  IParamBlock2* pb_;
};

// The material in `slot` of the node's per-pass material; false when the node has none.
bool perPassMaterialSlot(INode* node, int slot, DecodedValue& v) {
  Mtl* m = node ? node->GetMtl() : nullptr;
  if (!m || m->ClassID() != kPerPassMaterialClassID) return false;
  IParamBlock2* pb = m->GetParamBlock(0);
  const ParamID id = paramNamed(pb, "materialArray");
  if (id < 0) return false;
  if (ReferenceTarget* t = ref(pb, id, slot - 1)) {
    v.target = t;
    v.text = objectName(t);
    v.className = className(t);
  }
  return true;
}

}  // namespace

std::string passLabel(int pass) { return pass == kInitialState ? "initial" : std::to_string(pass); }

std::vector<std::pair<INode*, ReferenceTarget*>> sceneHolders() {
  std::vector<std::pair<INode*, ReferenceTarget*>> out;
  std::unordered_set<ReferenceTarget*> seen;
  forEachSceneNode([&](INode* n) {
    Object* obj = n->GetObjectRef();
    if (auto* derived = dynamic_cast<IDerivedObject*>(obj)) obj = derived->GetObjRef();
    if (obj && obj->SuperClassID() == HELPER_CLASS_ID && obj->ClassID() == kHolderClassID && seen.insert(obj).second)
      out.emplace_back(n, obj);
  });
  return out;
}

namespace {

const BlockLayout* holderLayout(std::string& error) {
  auto* cd = dynamic_cast<ClassDesc2*>(ClassRegistry::instance().find(HELPER_CLASS_ID, kHolderClassID));
  if (!cd || cd->NumParamBlockDescs() < 1) {
    error = "the holder class is not loaded (its module is missing from the plug-in folder)";
    return nullptr;
  }
  static BlockLayout layout;
  if (layout.desc == cd->GetParamBlockDesc(0)) return &layout;
  layout = BlockLayout();
  if (!layout.bind(cd->GetParamBlockDesc(0), error)) {
    layout.desc = nullptr;
    return nullptr;
  }
  return &layout;
}

}  // namespace

bool readHolder(INode* holderNode, ReferenceTarget* holder, HolderPasses& h, std::vector<std::string>& problems,
                std::string& error) {
  const BlockLayout* layout = holderLayout(error);
  if (!layout) return false;
  h = HolderPasses();
  h.holderNode = holderNode;
  h.holderName = holderNode && holderNode->GetName() ? holderNode->GetName() : "";
  h.block = holder->GetParamBlockByID(layout->desc->ID);
  if (!h.block || h.block->GetDesc() != layout->desc) {
    problems.push_back("holder '" + h.holderName + "' has no parameter block of its class");
    h.block = nullptr;
    return true;
  }
  h.target = h.block->GetINode(layout->id[fNode]);
  if (h.target) h.targetName = h.target->GetName() ? h.target->GetName() : "";
  HolderReader(*layout, h, problems).read();
  return true;
}

bool readScenePasses(ScenePasses& out, const std::function<bool(const ScenePasses&)>& ready,
                     const std::function<void(HolderPasses&)>& each, std::string& error) {
  out = ScenePasses();
  const BlockLayout* layout = holderLayout(error);
  if (!layout) return false;
  // First the pass numbers alone: a pass's material slot is its place among all of them.
  const auto holders = sceneHolders();
  std::set<int> passes;
  for (auto [node, holder] : holders) {
    IParamBlock2* block = holder->GetParamBlockByID(layout->desc->ID);
    if (!block || block->GetDesc() != layout->desc) continue;
    ++out.holderCount;
    const ParamID list = layout->id[fPasslist];
    for (int p = 0, n = block->Count(list); p < n; ++p) passes.insert(block->GetInt(list, 0, p));
  }
  out.passes.assign(passes.begin(), passes.end());
  if (!ready(out)) return true;
  // Problems with per-pass materials come after those of the tables, as a whole reading lists them.
  std::vector<std::string> materialProblems;
  for (auto [node, holder] : holders) {
    HolderPasses h;
    readHolder(node, holder, h, out.problems, error);
    if (!h.block) continue;
    for (PassValue& v : h.values)
      if (v.value.kind == ValueKind::Material) {
        v.value.slot = v.pass == kInitialState ? kInitialMaterialSlot : materialSlotOfPass(out, v.pass);
        if (!perPassMaterialSlot(h.target, v.value.slot, v.value) && h.target)
          materialProblems.push_back("holder '" + h.holderName + "' records a per-pass material for node '" + h.targetName +
                                     "', which has none");
      }
    each(h);
  }
  out.problems.insert(out.problems.end(), materialProblems.begin(), materialProblems.end());
  return true;
}

bool readScenePasses(ScenePasses& out, std::string& error) {
  std::vector<HolderPasses> kept;
  if (!readScenePasses(out, [](const ScenePasses&) { return true; }, [&](HolderPasses& h) { kept.push_back(std::move(h)); }, error))
    return false;
  out.holders = std::move(kept);
  return true;
}

bool perPassMaterialInSlot(INode* node, int slot, DecodedValue& v) { return perPassMaterialSlot(node, slot, v); }

int materialSlotOfPass(const ScenePasses& scene, int pass) {
  auto it = std::lower_bound(scene.passes.begin(), scene.passes.end(), pass);
  return it != scene.passes.end() && *it == pass ? static_cast<int>(it - scene.passes.begin()) + 1 : 0;
}

}  // namespace sim::passes
