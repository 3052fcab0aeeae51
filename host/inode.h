// INode: a node of the scene: a name, a place in the hierarchy under the root node, and the object
// it carries.
#pragma once

#include "interval.h"
#include "ref.h"

class Object;

class HOST_API INode : public ReferenceTarget {
 public:
  SClass_ID SuperClassID() override { return BASENODE_CLASS_ID; }

  virtual const TCHAR* GetName() = 0;
  virtual void SetName(const TCHAR* s) = 0;
  virtual BOOL IsRootNode() = 0;
  virtual INode* GetParentNode() = 0;
  virtual int NumberOfChildren() = 0;
  virtual INode* GetChildNode(int i) = 0;
  // Makes `node` a child of this node, taking it from its previous parent.
  virtual void AttachChild(INode* node, int keepTM = 1) = 0;
  // Moves this node under the root node.
  virtual void Detach(TimeValue t, int keepTM = 1) = 0;
  virtual Object* GetObjectRef() = 0;
  virtual void SetObjectRef(Object* o) = 0;
  // Removes the node from the scene; its children move to its parent.
  virtual void Delete(TimeValue t, int keepChildPosition) = 0;
};
