// Writing a scene: the objects are numbered in a fixed walk (the node hierarchy depth first, then
// the material editor's slots, then the scene material library, each object followed by what it
// references, in reference order), so the same scene always gives the same file.
#include "scenefile/scene_file.h"

#include "core/class_registry.h"
#include "core/core_interface.h"
#include "imtl.h"
#include "imtledit.h"
#include "inode.h"
#include "scene/scene_services.h"
#include "scenefile/chunk_format.h"
#include "scenefile/chunk_writer.h"
#include "scenefile/stand_in.h"

#include <map>
#include <unordered_map>

namespace sim {

namespace {

std::string classNameOf(ReferenceTarget* t) {
  TSTR s;
  t->GetClassName(s);
  return s.str();
}

class SceneWriter {
 public:
  explicit SceneWriter(Bytes& out) : w_(out) { w_.setRefIds(&index_); }

  bool run(std::string& error) {
    collect();
    if (!describeClasses(error)) return false;
    w_.writeRaw(kSceneMagic, sizeof kSceneMagic);
    w_.put(static_cast<std::uint32_t>(kSceneVersion));
    writeDirectory();
    if (!writeMakers(error)) return false;
    writeScene();
    return true;
  }

 private:
  // ---- numbering ----
  int add(ReferenceTarget* root) {
    std::vector<ReferenceTarget*> stack{root};
    while (!stack.empty()) {
      ReferenceTarget* t = stack.back();
      stack.pop_back();
      if (!t || t->IsDeleted() || index_.count(t)) continue;
      index_.emplace(t, static_cast<int>(makers_.size()));
      makers_.push_back(t);
      for (int i = t->NumRefs(); i-- > 0;) stack.push_back(t->GetReference(i));
    }
    return root && index_.count(root) ? index_[root] : -1;
  }
  int indexOf(ReferenceTarget* t) const {
    auto it = index_.find(t);
    return it == index_.end() ? -1 : it->second;
  }

  void collect() {
    Interface* ip = GetCOREInterface();
    INode* root = ip->GetRootNode();
    std::vector<INode*> stack;
    for (int i = root->NumberOfChildren(); i-- > 0;) stack.push_back(root->GetChildNode(i));
    while (!stack.empty()) {
      INode* n = stack.back();
      stack.pop_back();
      INode* parent = n->GetParentNode();
      add(n);
      hierarchy_.emplace_back(n, parent == root ? nullptr : parent);
      for (int i = n->NumberOfChildren(); i-- > 0;) stack.push_back(n->GetChildNode(i));
    }
    MaterialEditorSlots& medit = sceneServices().materialEditor;
    for (int i = 0; i < NUM_MEDIT_SLOTS; ++i) medit_.push_back(add(medit.GetTopMtlSlot(i)));
    MtlBaseLib* lib = ip->GetSceneMtls();
    for (int i = 0; lib && i < lib->Count(); ++i) library_.push_back(add((*lib)[i]));
    for (int i = 0; i < ip->GetSelNodeCount(); ++i) selection_.push_back(indexOf(ip->GetSelNode(i)));
  }

  // ---- classes ----
  bool describeClasses(std::string& error) {
    std::map<std::pair<SClass_ID, Class_ID>, int> seen;
    for (ReferenceTarget* t : makers_) {
      SavedClass cls;
      if (auto* missing = dynamic_cast<MissingClass*>(t)) {
        cls = missing->savedClass();
      } else {
        cls.sclass = t->SuperClassID();
        cls.cid = t->ClassID();
        const ClassRegistry::Entry* entry = nullptr;
        for (const ClassRegistry::Entry& e : ClassRegistry::instance().entries())
          if (e.desc->SuperClassID() == cls.sclass && e.desc->ClassID() == cls.cid) entry = &e;
        if (!entry) {
          error = "cannot save an object of class " + classNameOf(t) + ": its class is not registered with the host";
          return false;
        }
        cls.name = entry->desc->ClassName() ? entry->desc->ClassName() : classNameOf(t);
        cls.module = entry->module;
      }
      auto [it, fresh] = seen.emplace(std::make_pair(cls.sclass, cls.cid), static_cast<int>(classes_.size()));
      if (fresh) classes_.push_back(std::move(cls));
      classOf_.push_back(it->second);
    }
    return true;
  }

  void putText(const std::string& s) {
    w_.put(static_cast<std::uint32_t>(s.size()));
    w_.writeRaw(s.data(), s.size());
  }

  void writeDirectory() {
    w_.BeginChunk(kClassDirectory);
    for (const SavedClass& c : classes_) {
      w_.BeginChunk(kClassEntry);
      w_.put(static_cast<std::uint32_t>(c.sclass));
      w_.put(static_cast<std::uint32_t>(c.cid.PartA()));
      w_.put(static_cast<std::uint32_t>(c.cid.PartB()));
      putText(c.name);
      putText(c.module);
      w_.EndChunk();
    }
    w_.EndChunk();
  }

  // ---- objects ----
  bool writeMakers(std::string& error) {
    w_.BeginChunk(kMakers);
    std::vector<std::int32_t> refs;
    for (size_t i = 0; i < makers_.size(); ++i) {
      ReferenceTarget* t = makers_[i];
      w_.BeginChunk(kMaker);
      w_.BeginChunk(kMakerClass);
      w_.put(static_cast<std::uint32_t>(classOf_[i]));
      w_.EndChunk();

      w_.BeginChunk(kMakerData);
      const int depth = w_.CurChunkDepth();
      const IOResult r = t->Save(&w_);
      w_.closeTo(depth);
      w_.EndChunk();
      if (r != IO_OK || !w_.error().empty()) {
        const std::string& cls = classes_[static_cast<size_t>(classOf_[i])].name;
        error = "an object of class " + cls + " could not save its data" + (w_.error().empty() ? "" : " (" + w_.error() + ")");
        return false;
      }

      refs.clear();
      for (int k = 0, n = t->NumRefs(); k < n; ++k) refs.push_back(indexOf(t->GetReference(k)));
      w_.BeginChunk(kMakerRefs);
      w_.put(static_cast<std::uint32_t>(refs.size()));
      w_.writeRaw(refs.data(), refs.size() * sizeof(std::int32_t));
      w_.EndChunk();

      if (int n = t->NumAppDataChunks(); n > 0) {
        w_.BeginChunk(kMakerAppData);
        w_.put(static_cast<std::uint32_t>(n));
        for (int k = 0; k < n; ++k) {
          const AppDataChunk* c = t->GetAppDataChunkByIndex(k);
          w_.put(static_cast<std::uint32_t>(c->classID.PartA()));
          w_.put(static_cast<std::uint32_t>(c->classID.PartB()));
          w_.put(static_cast<std::uint32_t>(c->superClassID));
          w_.put(static_cast<std::uint32_t>(c->subID));
          w_.put(static_cast<std::uint32_t>(c->length));
          if (c->length && c->data) w_.writeRaw(c->data, c->length);
        }
        w_.EndChunk();
      }
      w_.EndChunk();
    }
    w_.EndChunk();
    return true;
  }

  // ---- the scene ----
  void putIndices(const std::vector<int>& v) {
    w_.put(static_cast<std::uint32_t>(v.size()));
    for (int i : v) w_.put(static_cast<std::int32_t>(i));
  }

  void writeScene() {
    Interface* ip = GetCOREInterface();
    w_.BeginChunk(kScene);
    w_.BeginChunk(kHierarchy);
    w_.put(static_cast<std::uint32_t>(hierarchy_.size() * 2));
    for (auto& [node, parent] : hierarchy_) {
      w_.put(static_cast<std::int32_t>(indexOf(node)));
      w_.put(static_cast<std::int32_t>(parent ? indexOf(parent) : -1));
    }
    w_.EndChunk();
    w_.BeginChunk(kMeditSlots);
    putIndices(medit_);
    w_.put(static_cast<std::int32_t>(sceneServices().materialEditor.GetActiveMtlSlot()));
    w_.EndChunk();
    w_.BeginChunk(kSceneMaterials);
    putIndices(library_);
    w_.EndChunk();
    w_.BeginChunk(kSelection);
    putIndices(selection_);
    w_.EndChunk();
    w_.BeginChunk(kTime);
    const Interval range = ip->GetAnimRange();
    w_.put(static_cast<std::int32_t>(ip->GetTime()));
    w_.put(static_cast<std::int32_t>(range.Start()));
    w_.put(static_cast<std::int32_t>(range.End()));
    w_.EndChunk();
    w_.BeginChunk(kEnvironment);
    const RenderEnvironment& env = sceneServices().environment;
    for (const Color& c : {env.background, env.ambient})
      for (float f : {c.r, c.g, c.b}) w_.put(f);
    w_.EndChunk();
    writeLayers();
    w_.EndChunk();
  }

  void writeLayers() {
    const LayerList& layers = sceneServices().layers;
    if (layers.isDefault()) return;
    std::vector<std::vector<int>> members(static_cast<size_t>(layers.count()));
    for (auto& [node, parent] : hierarchy_) members[static_cast<size_t>(layers.indexOf(layers.layerOf(node)))].push_back(indexOf(node));
    w_.BeginChunk(kLayers);
    w_.put(static_cast<std::uint32_t>(layers.count()));
    for (int i = 0; i < layers.count(); ++i) {
      const Layer* l = layers.at(i);
      putText(l->name());
      w_.put(static_cast<std::uint32_t>((l->hidden() ? 1u : 0u) | (l->frozen() ? 2u : 0u) | (l->renderable() ? 0u : 4u)));
      w_.put(static_cast<std::uint32_t>(l->wireColor()));
      putIndices(members[static_cast<size_t>(i)]);
    }
    w_.put(static_cast<std::int32_t>(layers.indexOf(layers.current())));
    w_.EndChunk();
  }

  ChunkWriter w_;
  std::vector<ReferenceTarget*> makers_;
  std::unordered_map<const void*, int> index_;
  std::vector<SavedClass> classes_;
  std::vector<int> classOf_;
  std::vector<std::pair<INode*, INode*>> hierarchy_;
  std::vector<int> medit_, library_, selection_;
};

}  // namespace

bool writeScene(Bytes& out, std::string& error) {
  out.clear();
  if (sceneServices().loadedInPart) {
    error = "the scene was loaded without its transforms and geometry, for reading; saving it would lose them";
    return false;
  }
  SceneWriter writer(out);
  return writer.run(error);
}

}  // namespace sim
