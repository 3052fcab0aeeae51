// Cloning a node, as copy and instance do: the new node stands where the old one does, under the
// same parent, and owns its transform; only the object is the copy's own or shared.
#include "core/core_interface.h"
#include "hold.h"
#include "maxapi.h"
#include "scene/scene_node.h"

#include <string>

namespace sim {
namespace {

// "Box01" -> "Box": the base the clone's name is numbered from.
std::string nameBase(const std::string& name) {
  size_t end = name.size();
  while (end > 0 && name[end - 1] >= '0' && name[end - 1] <= '9') --end;
  return end == 0 ? name : name.substr(0, end);
}

Control* cloneController(Control* c, RemapDir& remap) {
  return c ? static_cast<Control*>(remap.CloneRef(c)) : nullptr;
}

}  // namespace

INode* cloneNode(INode* src, NodeClone kind) {
  auto* from = dynamic_cast<SceneNode*>(src);
  if (!from || from->IsRootNode()) return nullptr;
  DefaultRemapDir remap;
  Object* object = from->GetObjOrWSMRef();
  if (object && kind == NodeClone::Copy) {
    object = static_cast<Object*>(remap.CloneRef(object));
    if (!object) return nullptr;
  }
  // Named before the node exists, so that its own first name does not take the number.
  const std::string name = uniqueNodeName(nameBase(from->GetName()));
  auto* node = static_cast<SceneNode*>(GetCOREInterface()->CreateObjectNode(object));
  if (!node) return nullptr;
  // Like making the node, cloning records nothing for undo.
  theHold.Suspend();
  node->SetName(name.c_str());
  node->copySettingsFrom(*from);
  if (Control* tm = cloneController(from->GetTMController(), remap)) node->SetTMController(tm);
  node->SetVisController(cloneController(from->GetVisController(), remap));
  node->SetImageBlurMultController(cloneController(from->GetImageBlurMultController(), remap));
  node->SetMtl(from->GetMtl());
  INode* parent = from->GetParentNode();
  if (parent && !parent->IsRootNode()) parent->AttachChild(node, 0);
  remap.Backpatch();
  theHold.Resume();
  return node;
}

}  // namespace sim
