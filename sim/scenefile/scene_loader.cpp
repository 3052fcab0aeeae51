// Reading a scene: every object is made through its class descriptor (a stand-in when its class is
// missing), loads its own chunks, and gets its references once all objects exist. Only when the
// whole file has been read without a fault does the current scene make way for the loaded one;
// until then the loaded objects are held by the loader alone and go with it on any error.
#include "scenefile/scene_file.h"

#include "core/class_registry.h"
#include "core/core_interface.h"
#include "core/ref_graph.h"
#include "core/text.h"
#include "core/undo_stack.h"
#include "hold.h"
#include "imtl.h"
#include "imtledit.h"
#include "scene/layers.h"
#include "scene/scene_node.h"
#include "scene/scene_services.h"
#include "scenefile/chunk_format.h"
#include "scenefile/chunk_io.h"
#include "scenefile/chunk_reader.h"
#include "scenefile/stand_in.h"

#include <cmath>
#include <cstring>
#include <new>
#include <set>

namespace sim {

namespace {

std::string damagedAt(size_t byte) { return "scene file is damaged at byte " + std::to_string(byte); }

class SceneReader {
 public:
  SceneReader(const unsigned char* data, size_t size, SceneLoadExtent extent)
      : data_(data), size_(size), extent_(extent), r_(data, size, kSceneHeaderSize) {}

  SceneLoadResult run() {
    SceneLoadResult result;
    if (size_ < kSceneHeaderSize || std::memcmp(data_, kSceneMagic, sizeof kSceneMagic) != 0) {
      result.error = "not a scene file";
      return result;
    }
    std::uint32_t version;
    std::memcpy(&version, data_ + sizeof kSceneMagic, sizeof version);
    if (version == 0) {
      result.error = "not a scene file";
      return result;
    }
    if (version > kSceneVersion) {
      result.error = "made by a newer version";
      return result;
    }
    const IOResult r = io::forEachChunk(&r_, [this](USHORT id) { return readSection(id); });
    if (r != IO_OK || r_.damaged() || !sawScene_) {
      result.error = damagedAt(r_.damaged() ? r_.damagedAt() : r_.position());
      return result;
    }
    commit();
    result.ok = true;
    result.warnings = std::move(warnings_);
    return result;
  }

 private:
  IOResult readSection(USHORT id) {
    switch (id) {
      case kClassDirectory:
        if (sawDirectory_) return r_.fail();
        sawDirectory_ = true;
        return io::forEachChunk(&r_, [this](USHORT e) { return e == kClassEntry ? readClass() : IO_OK; });
      case kMakers:
        if (!sawDirectory_ || sawMakers_) return r_.fail();
        sawMakers_ = true;
        if (extent_ != SceneLoadExtent::Whole) planLeftOut();
        if (io::forEachChunk(&r_, [this](USHORT m) { return m == kMaker ? readMaker() : IO_OK; }) != IO_OK) return IO_ERROR;
        return connect();
      case kScene:
        if (!sawMakers_ || sawScene_) return r_.fail();
        sawScene_ = true;
        return io::forEachChunk(&r_, [this](USHORT s) { return readSceneChunk(s); });
      default:
        return IO_OK;
    }
  }

  // ---- classes ----
  bool getText(std::string& s) {
    std::uint32_t n;
    if (!r_.get(n) || n > r_.remaining()) return false;
    s.assign(reinterpret_cast<const char*>(r_.rest()), n);
    r_.skip(n);
    return true;
  }

  IOResult readClass() {
    SavedClass c;
    std::uint32_t sclass, a, b;
    if (!r_.get(sclass) || !r_.get(a) || !r_.get(b) || !getText(c.name) || !getText(c.module)) return r_.fail();
    c.sclass = sclass;
    c.cid = Class_ID(a, b);
    classes_.push_back(std::move(c));
    return IO_OK;
  }

  // ---- objects ----
  ReferenceTarget* create(const SavedClass& c) {
    if (ClassDesc* cd = ClassRegistry::instance().find(c.sclass, c.cid)) {
      auto* made = static_cast<Animatable*>(cd->Create(TRUE));
      if (auto* t = dynamic_cast<ReferenceTarget*>(made)) return t;
      if (made) made->DeleteThis();
      return nullptr;
    }
    if (reported_.insert(std::make_pair(c.sclass, c.cid)).second)
      warnings_.push_back("-- Missing class " + c.name + " of module " + (c.module.empty() ? "(none)" : c.module) +
                          ": its objects are kept as they were saved");
    madeStandIn_ = true;
    return makeStandIn(c);
  }

  IOResult readMaker() {
    const size_t start = r_.position();
    if (leftOut(static_cast<std::int32_t>(objects_.size()))) {
      objects_.push_back(nullptr);
      refsAt_.push_back(start);
      refStart_.push_back(refTargets_.size());
      return IO_OK;
    }
    ReferenceTarget* obj = nullptr;
    const SavedClass* cls = nullptr;
    bool sawRefs = false;
    size_t refsAt = start;
    const size_t firstRef = refTargets_.size();
    madeStandIn_ = false;
    IOResult r = io::forEachChunk(&r_, [&](USHORT id) -> IOResult {
      switch (id) {
        case kMakerClass: {
          std::uint32_t index;
          if (obj || io::read(&r_, index) != IO_OK || index >= classes_.size()) return r_.fail();
          cls = &classes_[index];
          obj = create(*cls);
          if (!obj) return r_.fail();
          holds_.emplace_back(obj);
          return IO_OK;
        }
        case kMakerData:
          return obj ? loadData(obj, *cls) : r_.fail();
        case kMakerRefs: {
          std::uint32_t n;
          refsAt = r_.position();
          if (sawRefs || !r_.get(n) || r_.remaining() != size_t(n) * sizeof(std::int32_t)) return r_.fail();
          sawRefs = true;
          refTargets_.resize(firstRef + n);
          ULONG got;
          return r_.Read(refTargets_.data() + firstRef, n * sizeof(std::int32_t), &got);
        }
        case kMakerAppData:
          return obj ? readAppData(obj) : r_.fail();
        default:
          return IO_OK;
      }
    });
    if (r != IO_OK) return IO_ERROR;
    if (!obj) return r_.fail(start);
    if (madeStandIn_)
      if (auto* missing = dynamic_cast<MissingClass*>(obj)) missing->setNumRefs(static_cast<int>(refTargets_.size() - firstRef));
    objects_.push_back(obj);
    refsAt_.push_back(refsAt);
    refStart_.push_back(firstRef);
    return IO_OK;
  }

  // ---- loading in part ----
  // Finds the objects a load without transforms and geometry leaves out, from the makers' classes
  // and references alone (a scan of their headers, before anything is made): made are the nodes,
  // every object nothing refers to (the scene's materials, for one), and all these reach, except
  // through a node's transform controller or a node's geometry object. The scan reads with a
  // reader of its own, so a damaged file fails in the real reading exactly as in a whole load; a
  // scan that meets damage plans nothing and everything is made.
  void planLeftOut() {
    std::vector<std::int32_t> classOf, targets;
    std::vector<size_t> first;
    // The scan reads chunk headers straight from the bytes: it visits every maker of the file, and a
    // reader's bookkeeping per chunk would cost as much as the plan saves.
    const bool whole = eachChunkIn(r_.position(), r_.position() + r_.remaining(), [&](USHORT m, size_t at, size_t end) {
      if (m != kMaker) return true;
      std::int32_t cls = -1;
      first.push_back(targets.size());
      const bool read = eachChunkIn(at, end, [&](USHORT id, size_t body, size_t bodyEnd) {
        std::uint32_t n;
        if (id == kMakerClass) {
          if (bodyEnd - body < sizeof n) return false;
          std::memcpy(&n, data_ + body, sizeof n);
          if (n >= classes_.size()) return false;
          cls = static_cast<std::int32_t>(n);
        } else if (id == kMakerRefs) {
          if (bodyEnd - body < sizeof n) return false;
          std::memcpy(&n, data_ + body, sizeof n);
          if (bodyEnd - body - sizeof n != size_t(n) * sizeof(std::int32_t)) return false;
          const size_t had = targets.size();
          targets.resize(had + n);
          std::memcpy(targets.data() + had, data_ + body + sizeof n, size_t(n) * sizeof(std::int32_t));
        }
        return true;
      });
      classOf.push_back(cls);
      return read && cls >= 0;
    });
    if (!whole) return;
    const size_t count = classOf.size();
    first.push_back(targets.size());
    auto classAt = [&](size_t i) -> const SavedClass& { return classes_[static_cast<size_t>(classOf[i])]; };
    auto isNode = [&](size_t i) { return classAt(i).sclass == BASENODE_CLASS_ID; };
    auto isGeometry = [&](size_t i) { return classAt(i).sclass == GEOMOBJECT_CLASS_ID || classAt(i).sclass == SHAPE_CLASS_ID; };
    // A node's references: 0 its transform controller, 1 its object.
    auto followed = [&](size_t from, size_t k, size_t to) { return !isNode(from) || (k != 0 && !(k == 1 && isGeometry(to))); };
    std::vector<char> referenced(count, 0), made(count, 0);
    for (size_t i = 0; i < count; ++i)
      for (size_t k = first[i]; k < first[i + 1]; ++k)
        if (targets[k] >= 0 && static_cast<size_t>(targets[k]) < count) referenced[static_cast<size_t>(targets[k])] = 1;
    std::vector<size_t> todo;
    for (size_t i = 0; i < count; ++i)
      if (isNode(i) || !referenced[i]) {
        made[i] = 1;
        todo.push_back(i);
      }
    while (!todo.empty()) {
      const size_t i = todo.back();
      todo.pop_back();
      for (size_t k = first[i]; k < first[i + 1]; ++k) {
        if (targets[k] < 0 || static_cast<size_t>(targets[k]) >= count) continue;
        const auto t = static_cast<size_t>(targets[k]);
        if (made[t] || !followed(i, k - first[i], t)) continue;
        made[t] = 1;
        todo.push_back(t);
      }
    }
    leftOut_.assign(count, 0);
    for (size_t i = 0; i < count; ++i) leftOut_[i] = !made[i];
  }

  // Calls f(id, content begin, content end) for each chunk that lies whole in [begin, end), in
  // order, while f answers true. False when f says no or the headers do not fit their room.
  template <class F> bool eachChunkIn(size_t begin, size_t end, F&& f) const {
    while (begin < end) {
      if (end - begin < kChunkHeaderSize) return false;
      USHORT id;
      ULONGLONG length;
      std::memcpy(&id, data_ + begin, sizeof id);
      std::memcpy(&length, data_ + begin + sizeof id, sizeof length);
      length &= ~kContainerBit;
      const size_t body = begin + kChunkHeaderSize;
      if (length > end - body) return false;
      if (!f(id, body, body + static_cast<size_t>(length))) return false;
      begin = body + static_cast<size_t>(length);
    }
    return true;
  }

  bool leftOut(std::int32_t i) const { return i >= 0 && static_cast<size_t>(i) < leftOut_.size() && leftOut_[static_cast<size_t>(i)]; }

  IOResult loadData(ReferenceTarget*& obj, const SavedClass& cls) {
    const ChunkReader::Mark mark = r_.mark();
    const int depth = r_.CurChunkDepth();
    IOResult r = obj->Load(&r_);
    if (r_.CurChunkDepth() < depth) return r_.fail();
    r_.closeTo(depth);
    if (r_.takeStandInWish() && !r_.damaged()) {
      // The object cannot read its data: a stand-in keeps it instead.
      holds_.pop_back();
      obj = makeStandIn(cls);
      madeStandIn_ = true;
      holds_.emplace_back(obj);
      r_.restore(mark);
      r = obj->Load(&r_);
      r_.closeTo(depth);
    }
    if (r != IO_OK || r_.damaged()) return r_.fail();
    return IO_OK;
  }

  IOResult readAppData(ReferenceTarget* obj) {
    std::uint32_t n;
    if (!r_.get(n) || n > r_.remaining() / 20) return r_.fail();
    for (std::uint32_t k = 0; k < n; ++k) {
      std::uint32_t a, b, sclass, sub, len;
      if (!r_.get(a) || !r_.get(b) || !r_.get(sclass) || !r_.get(sub) || !r_.get(len) || len > r_.remaining()) return r_.fail();
      void* bytes = MAX_malloc(len);
      if (len) std::memcpy(bytes, r_.rest(), len);
      r_.skip(len);
      obj->AddAppDataChunk(Class_ID(a, b), sclass, sub, len, bytes);
    }
    return r_.remaining() == 0 ? IO_OK : r_.fail();
  }

  // Sets every saved reference, once every object exists. A file may describe a loop of references,
  // which the reference system refuses; the loaded graph is checked for one once, as a whole, so
  // that the references can then be set without the reference system's walk on every one (which
  // made long chains load in quadratic time).
  IOResult connect() {
    const size_t count = objects_.size();
    const int n = static_cast<int>(count);
    refStart_.push_back(refTargets_.size());
    // Each object's links, flat: those of object i are linkAt[i] .. linkAt[i + 1].
    std::vector<Link> links;
    links.reserve(refTargets_.size());
    std::vector<size_t> linkAt(count + 1, 0);
    for (size_t i = 0; i < count; ++i) {
      linkAt[i] = links.size();
      for (size_t k = refStart_[i]; k < refStart_[i + 1]; ++k) {
        const int target = refTargets_[k];
        if (target < -1 || target >= n) return r_.fail(refsAt_[i]);
        if (leftOut(target)) continue;
        // A class that now has fewer references (or moved them) decides where each one goes.
        const int slot = objects_[i]->RemapRefOnLoad(static_cast<int>(k - refStart_[i]));
        if (slot < 0 || slot >= objects_[i]->NumRefs()) continue;
        links.push_back(Link{slot, target});
      }
    }
    linkAt[count] = links.size();
    std::vector<std::int32_t>().swap(refTargets_);
    if (int inLoop = findLoop(links, linkAt); inLoop >= 0) return r_.fail(refsAt_[static_cast<size_t>(inLoop)]);
    for (size_t i = 0; i < count; ++i) {
      ReferenceTarget* obj = objects_[i];
      for (size_t k = linkAt[i]; k < linkAt[i + 1]; ++k) {
        const Link& l = links[k];
        ReferenceTarget* t = l.target < 0 ? nullptr : objects_[static_cast<size_t>(l.target)];
        if (obj->GetReference(l.slot) == t) continue;
        if (RefGraph::replace(obj, l.slot, t, true, false) != REF_SUCCEED || obj->GetReference(l.slot) != t)
          return r_.fail(refsAt_[i]);
      }
    }
    r_.setObjects(&objects_);
    r_.finish();
    return IO_OK;
  }

  struct Link {
    int slot;
    std::int32_t target;  // -1 for none
  };

  // An object on a loop of the file's references, or -1: a depth-first walk with an explicit stack,
  // each object and each link visited once.
  static int findLoop(const std::vector<Link>& links, const std::vector<size_t>& linkAt) {
    enum : std::uint8_t { kNew, kOnPath, kDone };
    const size_t count = linkAt.size() - 1;
    std::vector<std::uint8_t> state(count, kNew);
    std::vector<std::pair<size_t, size_t>> path;  // object, next link to follow
    for (size_t start = 0; start < count; ++start) {
      if (state[start] != kNew) continue;
      state[start] = kOnPath;
      path.emplace_back(start, linkAt[start]);
      while (!path.empty()) {
        auto& [at, next] = path.back();
        if (next == linkAt[at + 1]) {
          state[at] = kDone;
          path.pop_back();
          continue;
        }
        const std::int32_t to = links[next++].target;
        if (to < 0) continue;
        const auto t = static_cast<size_t>(to);
        if (state[t] == kOnPath) return static_cast<int>(t);
        if (state[t] == kNew) {
          state[t] = kOnPath;
          path.emplace_back(t, linkAt[t]);
        }
      }
    }
    return -1;
  }

  // ---- the scene ----
  template <class T>
  T* objectAt(std::int32_t i) {
    return i >= 0 && static_cast<size_t>(i) < objects_.size() ? dynamic_cast<T*>(objects_[static_cast<size_t>(i)]) : nullptr;
  }

  bool getIndices(std::vector<std::int32_t>& out) {
    std::uint32_t n;
    if (!r_.get(n) || n > r_.remaining() / sizeof(std::int32_t)) return false;
    out.resize(n);
    ULONG got;
    return r_.Read(out.data(), n * sizeof(std::int32_t), &got) == IO_OK;
  }

  IOResult readSceneChunk(USHORT id) {
    std::vector<std::int32_t> v;
    switch (id) {
      case kHierarchy: {
        // Pairs of node and parent; a parent always comes before its children, so the hierarchy
        // read is a tree whatever the file says.
        if (!getIndices(v) || v.size() % 2 != 0) return r_.fail();
        std::set<SceneNode*> placed;
        for (size_t k = 0; k < v.size(); k += 2) {
          SceneNode* node = objectAt<SceneNode>(v[k]);
          SceneNode* parent = v[k + 1] < 0 ? nullptr : objectAt<SceneNode>(v[k + 1]);
          if (!node || node->IsRootNode() || placed.count(node) || (v[k + 1] >= 0 && (!parent || !placed.count(parent))) ||
              v[k + 1] < -1)
            return r_.fail();
          placed.insert(node);
          hierarchy_.emplace_back(node, parent);
        }
        return r_.remaining() == 0 ? IO_OK : r_.fail();
      }
      case kMeditSlots: {
        if (!getIndices(v) || !r_.get(activeSlot_)) return r_.fail();
        for (std::int32_t i : v) {
          MtlBase* m = objectAt<MtlBase>(i);
          if (i != -1 && !m && !leftOut(i)) return r_.fail();
          medit_.push_back(m);
        }
        return IO_OK;
      }
      case kSceneMaterials:
        if (!getIndices(v)) return r_.fail();
        for (std::int32_t i : v) {
          MtlBase* m = objectAt<MtlBase>(i);
          if (!m && leftOut(i)) continue;
          if (!m) return r_.fail();
          library_.push_back(m);
        }
        return IO_OK;
      case kSelection:
        if (!getIndices(v)) return r_.fail();
        for (std::int32_t i : v) {
          SceneNode* n = objectAt<SceneNode>(i);
          if (!n) return r_.fail();
          selection_.push_back(n);
        }
        return IO_OK;
      case kTime: {
        std::int32_t t, start, end;
        if (!r_.get(t) || !r_.get(start) || !r_.get(end)) return r_.fail();
        time_ = t;
        range_ = Interval(start, end);
        haveTime_ = true;
        return IO_OK;
      }
      case kEnvironment: {
        float f[6];
        for (float& x : f)
          if (!r_.get(x) || !std::isfinite(x)) return r_.fail();
        environment_ = RenderEnvironment{Color(f[0], f[1], f[2]), Color(f[3], f[4], f[5])};
        return IO_OK;
      }
      case kLayers:
        return readLayers() ? IO_OK : r_.fail();
      default:
        return IO_OK;
    }
  }

  // The layers, checked whole: "0" first, names unique and usable, each node on one layer at most.
  bool readLayers() {
    std::uint32_t n;
    if (!r_.get(n) || n == 0 || n > r_.remaining()) return false;
    std::set<SceneNode*> placed;
    for (std::uint32_t i = 0; i < n; ++i) {
      SavedLayer l;
      std::uint32_t len;
      if (!r_.get(len) || len == 0 || len > r_.remaining()) return false;
      l.name.resize(len);
      ULONG got;
      if (r_.Read(l.name.data(), len, &got) != IO_OK || l.name.find('\0') != std::string::npos) return false;
      if ((i == 0) != (l.name == "0")) return false;
      for (const SavedLayer& other : layers_)
        if (equalsIgnoreCase(other.name, l.name)) return false;
      std::vector<std::int32_t> v;
      if (!r_.get(l.flags) || !r_.get(l.wire) || !getIndices(v)) return false;
      for (std::int32_t k : v) {
        SceneNode* node = objectAt<SceneNode>(k);
        if (!node || node->IsRootNode() || !placed.insert(node).second) return false;
        l.nodes.push_back(node);
      }
      layers_.push_back(std::move(l));
    }
    return r_.get(currentLayer_) && currentLayer_ >= 0 && static_cast<std::uint32_t>(currentLayer_) < n && r_.remaining() == 0;
  }

  void commitLayers() {
    if (layers_.empty()) return;
    std::vector<Layer*> made;
    for (const SavedLayer& s : layers_) {
      auto* l = new Layer(s.name, s.wire);
      l->setHidden((s.flags & 1u) != 0);
      l->setFrozen((s.flags & 2u) != 0);
      l->setRenderable((s.flags & 4u) == 0);
      made.push_back(l);
    }
    LayerList& list = sceneServices().layers;
    list.replace(made, made[static_cast<size_t>(currentLayer_)]);
    for (size_t i = 1; i < layers_.size(); ++i)
      for (SceneNode* n : layers_[i].nodes) list.moveNode(n, made[i]);
  }

  void commit() {
    CoreInterface* core = coreInterface();
    core->resetScene();
    INode* root = core->GetRootNode();
    for (auto& [node, parent] : hierarchy_) (parent ? static_cast<INode*>(parent) : root)->AttachChild(node, FALSE);
    MaterialEditorSlots& medit = sceneServices().materialEditor;
    for (size_t i = 0; i < medit_.size() && i < static_cast<size_t>(NUM_MEDIT_SLOTS); ++i)
      if (medit_[i]) medit.PutMtlToMtlEditor(medit_[i], static_cast<int>(i));
    medit.SetActiveMtlSlot(activeSlot_);
    for (MtlBase* m : library_) core->GetSceneMtls()->Add(m);
    for (SceneNode* n : selection_)
      if (n->inScene()) core->SelectNode(n, FALSE);
    sceneServices().environment = environment_;
    commitLayers();
    if (haveTime_) {
      core->SetAnimRange(range_);
      core->SetTime(time_, FALSE);
    }
    sceneServices().loadedInPart = !leftOut_.empty();
    flushUndo();
  }

  const unsigned char* data_;
  size_t size_;
  SceneLoadExtent extent_;
  ChunkReader r_;
  bool sawDirectory_ = false, sawMakers_ = false, sawScene_ = false;
  std::vector<SavedClass> classes_;
  std::set<std::pair<SClass_ID, Class_ID>> reported_;
  std::vector<std::string> warnings_;
  std::vector<KeepAlive> holds_;  // the loader's claim on every object until the scene takes them
  std::vector<ReferenceTarget*> objects_;
  // The saved references of every object, flat: those of object i are refTargets_[refStart_[i]]
  // up to refStart_[i + 1]; refsAt_[i] is where they were read, for the message.
  std::vector<std::int32_t> refTargets_;
  std::vector<size_t> refStart_, refsAt_;
  bool madeStandIn_ = false;  // the object being read is a stand-in
  std::vector<char> leftOut_;  // by maker index, when loading in part
  std::vector<std::pair<SceneNode*, SceneNode*>> hierarchy_;
  std::vector<MtlBase*> medit_, library_;
  std::int32_t activeSlot_ = 0;
  std::vector<SceneNode*> selection_;
  TimeValue time_ = 0;
  Interval range_;
  bool haveTime_ = false;
  RenderEnvironment environment_;
  struct SavedLayer {
    std::string name;
    std::uint32_t flags = 0, wire = 0;
    std::vector<SceneNode*> nodes;
  };
  std::vector<SavedLayer> layers_;
  std::int32_t currentLayer_ = 0;
};

// Loading records nothing to undo; the load ends by forgetting every step anyway.
struct HoldSuspended {
  HoldSuspended() { theHold.Suspend(); }
  ~HoldSuspended() { theHold.Resume(); }
};

}  // namespace

SceneLoadResult readScene(const unsigned char* data, size_t size, SceneLoadExtent extent) {
  HoldSuspended quiet;
  try {
    SceneReader reader(data, size, extent);
    return reader.run();
  } catch (const std::bad_alloc&) {
    SceneLoadResult result;
    result.error = "not enough memory to load the scene";
    return result;
  }
}

}  // namespace sim
