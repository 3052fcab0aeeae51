// A node's mesh as the vertex queries read it: the world-state object at a time converted to a
// triangle object. A triangle object made by the conversion belongs to the reader and is deleted
// with it; one that the pipeline already had is left alone.
#pragma once

#include "inode.h"
#include "object.h"
#include "triobj.h"

class EvaluatedMesh {
 public:
  EvaluatedMesh(INode* node, TimeValue t) {
    Object* obj = node ? node->EvalWorldState(t).obj : nullptr;
    if (!obj || !obj->CanConvertToType(triObjectClassID)) return;
    Object* converted = obj->ConvertToType(t, triObjectClassID);
    if (!converted) return;
    tri_ = static_cast<TriObject*>(converted);
    owned_ = converted != obj;
  }
  ~EvaluatedMesh() {
    if (owned_) tri_->DeleteMe();
  }
  EvaluatedMesh(const EvaluatedMesh&) = delete;
  EvaluatedMesh& operator=(const EvaluatedMesh&) = delete;

  // Null when the node has no geometry that converts to a mesh.
  Mesh* mesh() const { return tri_ ? &tri_->mesh : nullptr; }

 private:
  TriObject* tri_ = nullptr;
  bool owned_ = false;
};
