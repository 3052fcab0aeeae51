#include "holder_scene.h"

#include "holder_capture.h"
#include "holder_params.h"
#include "holder_restore.h"
#include "ixrefobj.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "prop_holder.h"

#include <string>
#include <vector>

namespace {

// `obj` as a derived object, or null when it is not one of the host's two derived-object classes.
IDerivedObject* asDerivedObject(Object* obj) {
  // The super class alone says nothing of the object's layout: a scene file may make a stand-in of
  // any super class for a class it does not know.
  if (!obj || obj->SuperClassID() != GEN_DERIVOB_CLASS_ID) return nullptr;
  const Class_ID cid = obj->ClassID();
  if (cid != derivObjClassID && cid != WSMDerivObjClassID) return nullptr;
  return dynamic_cast<IDerivedObject*>(obj);
}

}  // namespace

Object* UnwrappedObject(INode* node, SClass_ID& sclass) {
  sclass = 0;
  // The top of the pipeline: a node bound to space warps shows its world-space derived object, so
  // that such a node (a derived object over a derived object) is not taken for its base object.
  Object* obj = node ? node->GetObjOrWSMRef() : nullptr;
  if (!obj) return nullptr;
  sclass = obj->SuperClassID();
  if (IDerivedObject* derived = asDerivedObject(obj)) {
    obj = derived->GetObjRef();
    if (!obj) return nullptr;
    sclass = obj->SuperClassID();
  }
  if (sclass == SYSTEM_CLASS_ID && obj->ClassID() == XREFOBJ_CLASS_ID) {
    if (IXRefObject8* xref = IXRefObject8::GetInterface(*obj))
      if (Object* source = xref->GetSourceObject(false)) sclass = source->SuperClassID();
  }
  return obj;
}

bool IsKnownKind(SClass_ID sclass) {
  switch (sclass) {
    case GEOMOBJECT_CLASS_ID:
    case SHAPE_CLASS_ID:
    case HELPER_CLASS_ID:
    case LIGHT_CLASS_ID:
    case CAMERA_CLASS_ID: return true;
    default: return false;
  }
}

void PrintForcedEval(SClass_ID sclass) {
  the_listener->edit_stream->printf("Forcing top level eval to true... %d\n", static_cast<int>(sclass));
}

SClass_ID ResolveNodeKind(INode* node, int& topLevelEval, bool debug) {
  SClass_ID sclass = 0;
  UnwrappedObject(node, sclass);
  if (topLevelEval == 0 && !IsKnownKind(sclass)) {
    if (debug) PrintForcedEval(sclass);
    topLevelEval = 1;
  }
  if (topLevelEval == 1 && node) {
    const ObjectState& os = node->EvalWorldState(0, TRUE);
    sclass = os.obj ? os.obj->SuperClassID() : 0;
  }
  return sclass;
}

namespace {

class HolderNodeFinder : public DependentEnumProc {
 public:
  int proc(ReferenceMaker* rmaker) override {
    auto* node = rmaker && rmaker->SuperClassID() == BASENODE_CLASS_ID ? dynamic_cast<INode*>(rmaker) : nullptr;
    if (!node) return DEP_ENUM_CONTINUE;
    Object* obj = node->GetObjectRef();
    if (obj && obj->ClassID() == QZMPROPHOLDER_CLASS_ID) {
      found = node;
      return DEP_ENUM_HALT;
    }
    return DEP_ENUM_CONTINUE;
  }
  INode* found = nullptr;
};

QZMPropHolder* HolderOf(Object* obj) {
  if (!obj || obj->ClassID() != QZMPROPHOLDER_CLASS_ID || obj->SuperClassID() != HELPER_CLASS_ID) return nullptr;
  return dynamic_cast<QZMPropHolder*>(obj);
}

// A node to visit: its handle (the node may be gone by the time it is visited, since every capture
// runs script) and whether the forcing line is written for it.
struct Visit {
  ULONG handle;
  bool printForced;
  SClass_ID sclass;
};

// Every node below `root`, depth first in child order. A node whose kind is unknown forces the
// evaluation for itself and everything below it. The hierarchy may be any depth, so the walk keeps
// its own stack; it runs no script, so the nodes stay as they are while it goes.
std::vector<Visit> collect(INode* root, int walkFlag) {
  struct Pending {
    INode* node;
    int walkFlag;
  };
  std::vector<Pending> pending;
  auto pushChildren = [&pending](INode* node, int flag) {
    for (int i = node->NumberOfChildren(); i-- > 0;) pending.push_back(Pending{node->GetChildNode(i), flag});
  };
  std::vector<Visit> out;
  pushChildren(root, walkFlag);
  while (!pending.empty()) {
    const Pending p = pending.back();
    pending.pop_back();
    if (!p.node) continue;
    SClass_ID sclass = 0;
    UnwrappedObject(p.node, sclass);
    const bool forced = p.walkFlag == 0 && !IsKnownKind(sclass);
    out.push_back(Visit{p.node->GetHandle(), forced, sclass});
    pushChildren(p.node, forced ? 1 : p.walkFlag);
  }
  return out;
}

}  // namespace

std::string FindHolderNodeName(IParamBlock2* pblock) {
  if (!pblock) return {};
  HolderNodeFinder finder;
  pblock->DoEnumDependents(&finder);
  return finder.found ? std::string(finder.found->GetName()) : std::string();
}

namespace {

// The host's progress line over a walk of the whole scene; ended however the walk ends, since a
// script error inside a holder's texts leaves the walk by an exception.
class WalkProgress {
 public:
  WalkProgress(Interface* ip, const HolderWalk& walk, size_t total) : ip_(ip), total_(total) {
    std::string title = walk.mode == HolderWalk::CaptureInitial ? std::string("Capturing the initial state")
                        : walk.mode == HolderWalk::CapturePass ? "Capturing pass " + std::to_string(walk.whichPass)
                                                               : "Restoring pass " + std::to_string(walk.whichPass);
    ip_->ProgressStart(title.c_str(), TRUE);
  }
  ~WalkProgress() { ip_->ProgressEnd(); }
  WalkProgress(const WalkProgress&) = delete;
  WalkProgress& operator=(const WalkProgress&) = delete;

  void at(size_t done) {
    const std::string detail = "node " + std::to_string(done + 1) + " of " + std::to_string(total_);
    ip_->ProgressUpdate(static_cast<int>(done * 100 / total_), TRUE, detail.c_str());
  }

 private:
  Interface* ip_;
  size_t total_;
};

}  // namespace

int WalkSceneHolders(const HolderWalk& walk, int topLevelEval, bool debug) {
  Interface* ip = GetCOREInterface();
  INode* root = ip->GetRootNode();
  if (!root) return 0;
  const int children = root->NumberOfChildren();
  const std::vector<Visit> visits = collect(root, topLevelEval);
  WalkProgress progress(ip, walk, visits.size());
  for (size_t i = 0; i < visits.size(); ++i) {
    const Visit& v = visits[i];
    progress.at(i);
    INode* node = ip->GetINodeByHandle(v.handle);
    if (!node) continue;
    if (v.printForced && debug) PrintForcedEval(v.sclass);
    SClass_ID sclass = 0;
    QZMPropHolder* holder = HolderOf(UnwrappedObject(node, sclass));
    IParamBlock2* pb = holder ? holder->pblock : nullptr;
    INode* target = pb ? pb->GetINode(pb_node) : nullptr;
    if (!target) continue;
    const int ownTopLevel = pb->GetInt(pb_doTopLevelEval);
    switch (walk.mode) {
      case HolderWalk::CapturePass:
        RunCapture(CaptureRequest{target, pb, false, walk.whichPass, walk.doOnlyUncaptured, ownTopLevel, debug});
        break;
      case HolderWalk::CaptureInitial:
        RunCapture(CaptureRequest{target, pb, true, 0, walk.doOnlyUncaptured, ownTopLevel, debug});
        break;
      case HolderWalk::RestorePass:
        RunRestore(RestoreRequest{target, pb, false, walk.whichPass, walk.whereInList, {}, ownTopLevel, debug});
        break;
    }
  }
  return children;
}
