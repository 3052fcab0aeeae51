#include "ui/viewport_creation.h"

#include "hold.h"
#include "inode.h"
#include "maxapi.h"
#include "object.h"
#include "ui/viewport.h"

namespace sim::ui {

namespace {

// Undoing a creation takes its node out of the scene; redoing puts a node with the same object,
// name, transform and wire colour back (a new node, so a new handle).
class NodeCreationRestore : public RestoreObj {
 public:
  NodeCreationRestore(INode* node, Object* obj) : handle_(node->GetHandle()), object_(obj) {}
  void Restore(int) override {
    Interface* ip = GetCOREInterface();
    INode* node = ip->GetINodeByHandle(handle_);
    if (!node || node->GetObjectRef() != object_.get()) return;
    name_ = node->GetName();
    tm_ = node->GetNodeTM(ip->GetTime());
    wire_ = node->GetWireColor();
    ip->DeleteNode(node, FALSE);
    handle_ = 0;
  }
  void Redo() override {
    Interface* ip = GetCOREInterface();
    auto* obj = static_cast<Object*>(object_.live());
    if (!obj || handle_) return;
    INode* node = ip->CreateObjectNode(obj);
    if (!node) return;
    node->SetName(name_);
    node->SetNodeTM(ip->GetTime(), tm_);
    node->SetWireColor(wire_);
    handle_ = node->GetHandle();
  }
  TSTR Description() override { return TSTR("Create"); }

 private:
  ULONG handle_;
  KeepAlive object_;
  TSTR name_;
  Matrix3 tm_;
  DWORD wire_ = 0;
};

}  // namespace

ObjectCreation& ObjectCreation::instance() {
  // Never destroyed: a creation left open at exit must not reach into a scene already gone.
  static ObjectCreation* creation = new ObjectCreation;
  return *creation;
}

bool ObjectCreation::start(ClassDesc* cd, std::string& error) {
  if (active()) event(MOUSE_ABORT, IPoint2());
  auto* made = cd ? static_cast<Animatable*>(cd->Create(FALSE)) : nullptr;
  auto* object = dynamic_cast<Object*>(made);
  if (!object) {
    error = "cannot create objects of this class";
    if (auto* target = dynamic_cast<ReferenceTarget*>(made)) target->MaybeAutoDelete();
    return false;
  }
  object_ = KeepAlive(object);
  if (!object->GetCreateMouseCallBack()) {
    error = "objects of this class are not placed by mouse";
    object_ = KeepAlive();
    return false;
  }
  nodeHandle_ = 0;
  points_ = 0;
  mat_ = Matrix3();
  return true;
}

INode* ObjectCreation::lastCreated() const {
  return lastCreated_ ? GetCOREInterface()->GetINodeByHandle(lastCreated_) : nullptr;
}

void ObjectCreation::end(bool keep) {
  Interface* ip = GetCOREInterface();
  INode* node = nodeHandle_ ? ip->GetINodeByHandle(nodeHandle_) : nullptr;
  auto* obj = static_cast<Object*>(object_.live());
  if (node && keep && obj) {
    // The creation is one undo step, recorded once it is done: whatever hold a script keeps open
    // between two mouse events, the steps cannot interleave.
    theHold.Begin();
    theHold.Put(new NodeCreationRestore(node, obj));
    theHold.Accept("Create");
    ip->SelectNode(node, 1);
    lastCreated_ = nodeHandle_;
  } else if (node && !keep) {
    theHold.Suspend();
    ip->DeleteNode(node, FALSE);
    theHold.Resume();
  }
  nodeHandle_ = 0;
  points_ = 0;
  object_ = KeepAlive();
}

int ObjectCreation::event(int msg, IPoint2 m) {
  auto* obj = static_cast<Object*>(object_.live());
  if (!obj) {
    end(false);
    return CREATE_ABORT;
  }
  Interface* ip = GetCOREInterface();
  TimeValue t = ip->GetTime();
  INode* node = nodeHandle_ ? ip->GetINodeByHandle(nodeHandle_) : nullptr;
  // The node was deleted (or given another object) between two events: nothing left to place.
  if (nodeHandle_ && (!node || node->GetObjectRef() != obj)) {
    nodeHandle_ = 0;
    end(false);
    return CREATE_ABORT;
  }
  CreateMouseCallBack* callBack = obj->GetCreateMouseCallBack();
  if (!callBack) {
    end(false);
    return CREATE_ABORT;
  }
  int callMsg = msg;
  if (msg == MOUSE_MOVE && points_ == 0) callMsg = MOUSE_FREEMOVE;
  // What happens between the events is not recorded: the finished creation is (see end).
  theHold.Suspend();
  if (msg == MOUSE_POINT && !node) {
    node = ip->CreateObjectNode(obj);
    if (node) nodeHandle_ = node->GetHandle();
  }
  int result = CREATE_ABORT;
  if (node || msg != MOUSE_POINT) {
    Viewport& vp = Viewports::instance().active();
    result = callBack->proc(&vp, callMsg, points_, 0, m, mat_);
    if (msg == MOUSE_POINT) ++points_;
    node = nodeHandle_ ? ip->GetINodeByHandle(nodeHandle_) : nullptr;
    if (node && result != CREATE_ABORT) {
      Matrix3 cp;
      vp.GetConstructionTM(cp);
      Matrix3 tm = mat_ * cp;
      node->SetNodeTM(t, tm);
    }
  }
  theHold.Resume();
  if (result == CREATE_STOP) {
    end(node != nullptr);
  } else if (result == CREATE_ABORT || msg == MOUSE_ABORT) {
    end(false);
    result = CREATE_ABORT;
  }
  return result;
}

}  // namespace sim::ui
