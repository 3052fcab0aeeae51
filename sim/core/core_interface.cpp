#include "core/core_interface.h"

#include "animate.h"
#include "core/class_registry.h"
#include "core/ref_graph.h"
#include "core/text.h"
#include "core/undo_stack.h"
#include "scene/scene_node.h"

#include <vector>

namespace sim {

CoreInterface::CoreInterface() { resetScene(); }

CoreInterface::~CoreInterface() { clearScene(); }

void CoreInterface::clearScene() {
  flushUndo();
  if (root_) {
    SceneNode* root = root_;
    root_ = nullptr;
    root->DeleteTree();
    RefGraph::unhold(root, false);  // the scene's own claim on its root
  }
}

void CoreInterface::resetScene() {
  clearScene();
  root_ = new SceneNode(true);
  RefGraph::hold(root_);  // the scene's own claim, dropped by clearScene
  time_ = 0;
  range_ = Interval(0, 100 * GetTicksPerFrame());
}

INode* CoreInterface::GetRootNode() { return root_; }

INode* CoreInterface::GetINodeByName(const TCHAR* name) {
  if (!name || !root_) return nullptr;
  std::vector<INode*> stack{root_};
  while (!stack.empty()) {
    INode* n = stack.back();
    stack.pop_back();
    for (int i = n->NumberOfChildren(); i-- > 0;) {
      INode* c = n->GetChildNode(i);
      if (equalsIgnoreCase(c->GetName(), name)) return c;
      stack.push_back(c);
    }
  }
  return nullptr;
}

void* CoreInterface::CreateInstance(SClass_ID superID, Class_ID classID) { return createInstance(superID, classID); }

INode* CoreInterface::CreateObjectNode(Object* obj) {
  auto* node = new SceneNode(false);
  root_->AttachChild(node);
  if (obj) {
    TSTR base;
    obj->InitNodeName(base);
    node->SetName(uniqueNodeName(base.isNull() ? std::string_view("Object") : std::string_view(base.str())).c_str());
    node->SetObjectRef(obj);
  }
  return node;
}

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

CoreInterface* coreInterface() {
  static CoreInterface* core = new CoreInterface;  // freed by shutdownCore, never by a static destructor
  return core;
}

}  // namespace sim

Interface* GetCOREInterface() { return sim::coreInterface(); }

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
