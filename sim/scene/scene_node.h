// The host's node: name, hierarchy and object reference. A parent keeps its children alive; the
// scene keeps the root node alive.
#pragma once

#include "inode.h"
#include "object.h"

#include <string>
#include <vector>

namespace sim {

class HOST_API SceneNode : public INode {
 public:
  explicit SceneNode(bool isRoot = false);
  ~SceneNode() override;

  void GetClassName(TSTR& s) override { s = "Node"; }
  Class_ID ClassID() override { return Class_ID(BASENODE_CLASS_ID, 0); }

  const TCHAR* GetName() override { return name_.c_str(); }
  void SetName(const TCHAR* s) override;
  BOOL IsRootNode() override { return isRoot_; }
  INode* GetParentNode() override { return parent_; }
  int NumberOfChildren() override { return static_cast<int>(children_.size()); }
  INode* GetChildNode(int i) override;
  void AttachChild(INode* node, int keepTM = 1) override;
  void Detach(TimeValue t, int keepTM = 1) override;
  Object* GetObjectRef() override { return object_; }
  void SetObjectRef(Object* o) override;
  void Delete(TimeValue t, int keepChildPosition) override;

  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? object_ : nullptr; }
  void SetReference(int i, RefTargetHandle rtarg) override;
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }

  // Frees the whole subtree below and including this node (scene reset and shutdown).
  void DeleteTree();

 private:
  void removeChild(SceneNode* child);

  bool isRoot_;
  std::string name_;
  SceneNode* parent_ = nullptr;
  std::vector<SceneNode*> children_;
  Object* object_ = nullptr;
};

// The first name of the form <base>NN (two digits at least, from 01) that no node of the scene has.
HOST_API std::string uniqueNodeName(std::string_view base);

}  // namespace sim
