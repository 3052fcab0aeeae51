#include "core/core_interface.h"

#include "animate.h"
#include "core/class_registry.h"
#include "core/ref_graph.h"
#include "core/text.h"
#include "core/undo_stack.h"
#include "hold.h"
#include "imtl.h"
#include "object.h"
#include "render/render_preview.h"
#include "scene/host_class_desc.h"
#include "scene/node_index.h"
#include "scene/scene_node.h"
#include "scene/scene_services.h"

#include <algorithm>
#include <vector>

namespace sim {

CoreInterface::CoreInterface() : index_(std::make_unique<NodeIndex>()) {
  registerHostClasses();
  resetScene();
}

CoreInterface::~CoreInterface() { clearScene(); }

void CoreInterface::clearScene() {
  flushUndo();
  ClearNodeSelection();
  sceneServices().clear();
  if (sceneMtls_) {
    MtlBaseLib* lib = sceneMtls_;
    sceneMtls_ = nullptr;
    lib->DeleteAll();
    RefGraph::unhold(lib, false);
    RefGraph::deleteTarget(lib);
  }
  if (root_) {
    SceneNode* root = root_;
    root_ = nullptr;
    root->DeleteTree();
    RefGraph::unhold(root, false);  // the scene's own claim on its root
  }
  index_->clear();
  prompts_.clear();
}

void CoreInterface::resetScene() {
  clearScene();
  root_ = new SceneNode(true);
  RefGraph::hold(root_);  // the scene's own claim, dropped by clearScene
  sceneMtls_ = new MtlBaseLib;
  RefGraph::hold(sceneMtls_);
  time_ = 0;
  range_ = Interval(0, 100 * GetTicksPerFrame());
  sceneFile_.clear();
  sceneServices().reset();
  flushUndo();  // setting up the services is nothing to undo
}

INode* CoreInterface::GetRootNode() { return root_; }

INode* CoreInterface::GetINodeByName(const TCHAR* name) { return name ? index_->find(name) : nullptr; }

INode* CoreInterface::GetINodeByHandle(ULONG handle) {
  if (!root_) return nullptr;
  if (root_->GetHandle() == handle) return root_;
  return index_->findHandle(handle);
}

void* CoreInterface::CreateInstance(SClass_ID superID, Class_ID classID) { return createInstance(superID, classID); }

INode* CoreInterface::CreateObjectNode(Object* obj) {
  if (!root_) return nullptr;
  // Making a node records nothing: undo does not take nodes out of the scene again, so a half
  // undone node (nameless, without its object) must not be left behind either.
  theHold.Suspend();
  INode* node = makeObjectNode(obj);
  theHold.Resume();
  return node;
}

INode* CoreInterface::makeObjectNode(Object* obj) {
  auto* node = new SceneNode(false);
  TSTR base;
  if (obj) obj->InitNodeName(base);
  // Named before it joins the scene, so that the name index sees one name only.
  node->SetName(index_->uniqueName(base.isNull() ? std::string_view("Object") : std::string_view(base.str())).c_str());
  root_->AttachChild(node, 0);
  if (obj) node->SetObjectRef(obj);
  // A target camera comes with the node it looks at, along its -z at its target distance.
  if (auto* cam = dynamic_cast<GenCamera*>(obj); cam && cam->Type() == TARGETED_CAMERA) {
    auto* target = static_cast<Object*>(createInstance(GEOMOBJECT_CLASS_ID, Class_ID(0x00001020, 0)));
    if (target) {
      auto* tnode = new SceneNode(false);
      tnode->SetName((std::string(node->GetName()) + ".Target").c_str());
      root_->AttachChild(tnode, 0);
      tnode->SetObjectRef(target);
      Matrix3 at = TransMatrix(Point3(0.0f, 0.0f, -cam->GetTDist(time_)));
      tnode->SetNodeTM(time_, at);
      node->setTarget(tnode);
    }
  }
  return node;
}

void CoreInterface::DeleteNode(INode* node, BOOL, BOOL) {
  if (node && !node->IsRootNode()) node->Delete(time_, TRUE);
}

bool CoreInterface::AddModifier(INode& node, Modifier& modifier, int modIdx) {
  if (node.IsRootNode() || modifier.SuperClassID() != OSM_CLASS_ID) return false;
  Object* obj = node.GetObjectRef();
  if (!obj) return false;
  auto* derived = dynamic_cast<IDerivedObject*>(obj);
  if (!derived || derived->ClassID() != derivObjClassID) {
    derived = CreateDerivedObject(obj);
    node.SetObjectRef(derived);
    if (node.GetObjectRef() != derived) {
      derived->DeleteMe();
      return false;
    }
  }
  int before = derived->NumModifiers();
  derived->AddModifier(&modifier, nullptr, modIdx);
  return derived->NumModifiers() == before + 1;
}

bool CoreInterface::DeleteModifier(INode& node, int modIdx) {
  auto* derived = dynamic_cast<IDerivedObject*>(node.GetObjectRef());
  if (!derived || modIdx < 0 || modIdx >= derived->NumModifiers()) return false;
  derived->DeleteModifier(modIdx);
  return true;
}

bool CoreInterface::bindSpaceWarp(INode* node, INode* warpNode) {
  auto* sn = dynamic_cast<SceneNode*>(node);
  if (!sn || !warpNode || sn->IsRootNode() || node == warpNode) return false;
  auto* warp = dynamic_cast<WSMObject*>(warpNode->GetObjectRef());
  if (!warp) return false;
  Modifier* binding = warp->CreateWSMMod(warpNode);
  if (!binding) return false;
  KeepAlive keep(binding);
  auto* top = dynamic_cast<IDerivedObject*>(sn->GetObjOrWSMRef());
  if (!top || top->ClassID() != WSMDerivObjClassID) {
    Object* below = sn->GetObjOrWSMRef();
    if (!below) return false;
    top = CreateWSDerivedObject(below);
    sn->ReplaceReference(1, top);
    if (sn->GetObjOrWSMRef() != top) {
      top->DeleteMe();
      return false;
    }
  }
  int before = top->NumModifiers();
  top->AddModifier(binding);
  return top->NumModifiers() == before + 1;
}

// ---- selection ----------------------------------------------------------------------------------

// One node entering or leaving the selection at a place in its order. Records are undone newest
// first, so each finds the selection as its change left it and the order comes back exactly.
class SelectionRestore : public RestoreObj {
 public:
  SelectionRestore(SceneNode* node, size_t at, bool added) : node_(node, false), at_(at), added_(added) {}
  void Restore(int) override { apply(!added_); }
  void Redo() override { apply(added_); }
  TSTR Description() override { return TSTR("Select"); }

 private:
  void apply(bool add) {
    auto* node = static_cast<SceneNode*>(node_.live());
    CoreInterface* ip = coreInterface();
    if (!node || !ip) return;
    auto& sel = ip->selection_;
    auto it = std::find(sel.begin(), sel.end(), node);
    if (add && it == sel.end() && node->inScene()) {
      node->setSelectedFlag(true);
      sel.insert(sel.begin() + static_cast<std::ptrdiff_t>(std::min(at_, sel.size())), node);
    } else if (!add && it != sel.end()) {
      node->setSelectedFlag(false);
      sel.erase(it);
    }
  }

  KeepAlive node_;
  size_t at_;
  bool added_;
};

void CoreInterface::addSelected(SceneNode* node, size_t at) {
  node->setSelectedFlag(true);
  selection_.insert(selection_.begin() + static_cast<std::ptrdiff_t>(at), node);
  if (theHold.Holding()) theHold.Put(new SelectionRestore(node, at, true));
}

void CoreInterface::removeSelected(size_t at) {
  SceneNode* node = selection_[at];
  node->setSelectedFlag(false);
  selection_.erase(selection_.begin() + static_cast<std::ptrdiff_t>(at));
  if (theHold.Holding()) theHold.Put(new SelectionRestore(node, at, false));
}

INode* CoreInterface::GetSelNode(int i) {
  return i >= 0 && i < GetSelNodeCount() ? selection_[static_cast<size_t>(i)] : nullptr;
}

void CoreInterface::SelectNode(INode* node, int clearSel) {
  if (clearSel) ClearNodeSelection();
  auto* sn = dynamic_cast<SceneNode*>(node);
  if (!sn || sn->IsRootNode() || !sn->inScene() || sn->Selected()) return;
  addSelected(sn, selection_.size());
}

void CoreInterface::DeSelectNode(INode* node) {
  auto* sn = dynamic_cast<SceneNode*>(node);
  if (!sn || !sn->Selected()) return;
  auto it = std::find(selection_.begin(), selection_.end(), sn);
  if (it == selection_.end()) {
    sn->setSelectedFlag(false);
    return;
  }
  removeSelected(static_cast<size_t>(it - selection_.begin()));
}

// From the end, where each removal costs nothing to move.
void CoreInterface::ClearNodeSelection(BOOL) {
  while (!selection_.empty()) removeSelected(selection_.size() - 1);
}

// ---- materials, render elements, previews -------------------------------------------------------

MtlBase* CoreInterface::GetMtlSlot(int slot) { return sceneServices().materialEditor.GetTopMtlSlot(slot); }

void CoreInterface::PutMtlToMtlEditor(MtlBase* mb, int slot) { sceneServices().materialEditor.PutMtlToMtlEditor(mb, slot); }

IRenderElementMgr* CoreInterface::GetCurRenderElementMgr() { return &sceneServices().renderElements; }

void CoreInterface::CreatePreview(PreviewParams* pvp, MSTR* fileName, MSTR*) {
  PreviewRecord& r = sceneServices().preview;
  ++r.count;
  r.hadParams = pvp != nullptr;
  r.params = pvp ? *pvp : PreviewParams();
  r.fileName = fileName ? fileName->str() : std::string();
  renderPreview(r.params, r.fileName, r);
}

// ---- prompts ------------------------------------------------------------------------------------

void CoreInterface::PushPrompt(const TCHAR* s) { prompts_.emplace_back(s ? s : ""); }

void CoreInterface::PopPrompt() {
  if (!prompts_.empty()) prompts_.pop_back();
}

void CoreInterface::ReplacePrompt(const TCHAR* s) {
  if (prompts_.empty()) prompts_.emplace_back();
  prompts_.back() = s ? s : "";
}

void CoreInterface::DisplayTempPrompt(const TCHAR* s, int) { ReplacePrompt(s); }

std::string CoreInterface::prompt() const { return prompts_.empty() ? std::string() : prompts_.back(); }

// ---- progress -----------------------------------------------------------------------------------

BOOL CoreInterface::ProgressStart(const TCHAR* title, BOOL, void*, void*) {
  progresses_.push_back(std::make_unique<Progress>(title ? title : "", 100));
  return TRUE;
}

void CoreInterface::ProgressUpdate(int pct, BOOL, const TCHAR* title) {
  if (!progresses_.empty()) progresses_.back()->percent(pct, title ? title : "");
}

// An end without a start is ignored: a plug-in's unbalanced call must not take another's line.
void CoreInterface::ProgressEnd() {
  if (!progresses_.empty()) progresses_.pop_back();
}

CoreInterface* coreInterface() {
  static CoreInterface* core = new CoreInterface;  // freed by shutdownCore, never by a static destructor
  return core;
}

}  // namespace sim

Interface* GetCOREInterface() { return sim::coreInterface(); }

// ---- reference messages -------------------------------------------------------------------------

namespace {
bool g_refMsgsEnabled = true;
}

void DisableRefMsgs() { g_refMsgsEnabled = false; }
void EnableRefMsgs() { g_refMsgsEnabled = true; }
BOOL RefMsgsEnabled() { return g_refMsgsEnabled; }

// ---- time and animate state ----------------------------------------------------------------------

namespace {
int g_frameRate = 30;
int g_timeDisplayMode = DISPTIME_FRAMES;
bool g_animating = false;
std::vector<bool> g_suspended;  // animate states saved by SuspendAnimate
}  // namespace

int GetTicksPerFrame() { return TIME_TICKSPERSEC / g_frameRate; }
void SetTicksPerFrame(int ticks) {
  if (ticks > 0 && TIME_TICKSPERSEC % ticks == 0) g_frameRate = TIME_TICKSPERSEC / ticks;
}
int GetFrameRate() { return g_frameRate; }
void SetFrameRate(int fps) {
  if (fps > 0 && TIME_TICKSPERSEC % fps == 0) g_frameRate = fps;
}

void SuspendAnimate() {
  g_suspended.push_back(g_animating);
  g_animating = false;
}
void ResumeAnimate() {
  if (g_suspended.empty()) return;
  g_animating = g_suspended.back();
  g_suspended.pop_back();
}
void AnimateOn() { g_animating = true; }
void AnimateOff() { g_animating = false; }
BOOL Animating() { return g_animating; }

int GetTimeDisplayMode() { return g_timeDisplayMode; }
void SetTimeDisplayMode(int mode) {
  if (mode >= DISPTIME_FRAMES && mode <= DISPTIME_TIMETICKS) g_timeDisplayMode = mode;
}
