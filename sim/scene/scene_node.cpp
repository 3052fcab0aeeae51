#include "scene/scene_node.h"

#include "core/c_format.h"
#include "core/ref_graph.h"
#include "core/text.h"
#include "maxapi.h"

#include <algorithm>

namespace sim {

SceneNode::SceneNode(bool isRoot) : isRoot_(isRoot), name_(isRoot ? "Scene Root" : "") {}

SceneNode::~SceneNode() = default;

void SceneNode::SetName(const TCHAR* s) {
  name_ = s ? s : "";
  NotifyDependents(FOREVER, PART_ALL, REFMSG_NODE_NAMECHANGE);
}

INode* SceneNode::GetChildNode(int i) {
  return i >= 0 && i < NumberOfChildren() ? children_[static_cast<size_t>(i)] : nullptr;
}

void SceneNode::AttachChild(INode* node, int) {
  auto* child = dynamic_cast<SceneNode*>(node);
  if (!child || child == this || child->IsDeleted() || child->isRoot_) return;
  for (SceneNode* p = this; p; p = p->parent_)
    if (p == child) return;  // a node cannot become its own descendant
  RefGraph::hold(child);
  if (child->parent_) {
    child->parent_->removeChild(child);
    RefGraph::unhold(child, false);
  }
  child->parent_ = this;
  children_.push_back(child);
}

void SceneNode::Detach(TimeValue, int) {
  if (isRoot_ || !parent_) return;
  if (INode* root = GetCOREInterface()->GetRootNode()) root->AttachChild(this);
}

void SceneNode::removeChild(SceneNode* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
  child->parent_ = nullptr;
}

void SceneNode::SetObjectRef(Object* o) { ReplaceReference(0, o); }

void SceneNode::SetReference(int i, RefTargetHandle rtarg) {
  if (i == 0) object_ = dynamic_cast<Object*>(rtarg);
}

void SceneNode::Delete(TimeValue, int) {
  if (isRoot_ || IsDeleted()) return;
  RefGraph::hold(this);
  // Children move up to this node's parent (or the root).
  SceneNode* newParent = parent_;
  if (!newParent) newParent = dynamic_cast<SceneNode*>(GetCOREInterface()->GetRootNode());
  while (!children_.empty()) {
    SceneNode* c = children_.back();
    if (newParent && newParent != this) newParent->AttachChild(c);
    else { removeChild(c); RefGraph::unhold(c, false); }
  }
  if (parent_) {
    parent_->removeChild(this);
    RefGraph::unhold(this, false);
  }
  RefGraph::deleteTarget(this);
  RefGraph::unhold(this, false);
}

void SceneNode::DeleteTree() {
  // Deepest nodes first, without recursion: hierarchies can be deeper than the stack.
  std::vector<SceneNode*> order{this}, stack{this};
  while (!stack.empty()) {
    SceneNode* n = stack.back();
    stack.pop_back();
    for (SceneNode* c : n->children_) {
      order.push_back(c);
      stack.push_back(c);
    }
  }
  for (SceneNode* n : order) RefGraph::hold(n);
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    SceneNode* n = *it;
    if (n->parent_) {
      n->parent_->removeChild(n);
      RefGraph::unhold(n, false);
    }
    RefGraph::deleteTarget(n);
  }
  for (auto it = order.rbegin(); it != order.rend(); ++it) RefGraph::unhold(*it, false);
}

std::string uniqueNodeName(std::string_view base) {
  INode* root = GetCOREInterface()->GetRootNode();
  std::vector<bool> used(2, false);
  std::string lowerBase = toLowerAscii(base);
  std::vector<INode*> stack;
  if (root) stack.push_back(root);
  while (!stack.empty()) {
    INode* n = stack.back();
    stack.pop_back();
    for (int i = 0; i < n->NumberOfChildren(); ++i) {
      INode* c = n->GetChildNode(i);
      stack.push_back(c);
      std::string name = toLowerAscii(c->GetName());
      if (name.size() <= lowerBase.size() || name.compare(0, lowerBase.size(), lowerBase) != 0) continue;
      std::string digits = name.substr(lowerBase.size());
      if (digits.size() > 6 || !std::all_of(digits.begin(), digits.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
        continue;
      size_t k = std::stoul(digits);
      if (k >= used.size()) used.resize(k + 1, false);
      used[k] = true;
    }
  }
  size_t k = 1;
  while (k < used.size() && used[k]) ++k;
  return std::string(base) + c_format("%02zu", k);
}

}  // namespace sim
