// Groups: a dummy head whose children are the group's members (group, ungroup, setGroupOpen and
// the questions about a node's place in a group). The head sits at the centre of its members'
// box; members keep their place in the world as they move under it and back out.
#include "inode.h"
#include "maxapi.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "scene/scene_node.h"
#include "script/ast.h"
#include "script/evaluator.h"
#include "script/node_args.h"
#include "script/node_bounds.h"
#include "script/property_table.h"
#include "script/runtime.h"
#include "script/scene_access.h"

#include <algorithm>
#include <vector>

using namespace sim::rt;

namespace {

INode* groupHeadArg(Value* v) {
  INode* n = nodeArg(v);
  if (!n->IsGroupHead()) throw RuntimeError("Not a group head: ", v);
  return n;
}

bool hasAncestorIn(INode* n, const std::vector<INode*>& nodes) {
  for (INode* p = n->GetParentNode(); p; p = p->GetParentNode())
    if (std::find(nodes.begin(), nodes.end(), p) != nodes.end()) return true;
  return false;
}

INode* newHead(Value* name) {
  Value* dummy = constructFromClass(Runtime::get().builtin(sim::script::intern("dummy")), nullptr, 0);
  if (!dummy) throw RuntimeError("Cannot create a group head");
  INode* head = dummy->to_node();
  std::string text = name == &unsupplied ? sim::uniqueNodeName("Group") : std::string(name->to_string());
  head->SetName(text.c_str());
  head->SetGroupHead(TRUE);
  return head;
}

}  // namespace

// group nodes [name:string]: the new group's head. Nodes whose parent is grouped with them stay
// under it; the others move under the head.
def_visible_primitive(group, "group");
Value* group_cf(Value** arg_list, int count) {
  int n = count_positional_args(arg_list, count);
  if (n != 1) throw ArgCountError("group", 1, n);
  std::vector<INode*> nodes = nodesOf(arg_list[0]);
  if (nodes.empty()) throw RuntimeError("No nodes to group: ", arg_list[0]);
  Value* name = key_arg(name);
  if (name != &unsupplied && !is_string(name)) throw ConversionError(name, "String");
  Box3 box = worldBoxAround(nodes);
  INode* head = newHead(name);
  TimeValue t = Runtime::get().time();
  Matrix3 at = head->GetNodeTM(t);
  at.SetTrans(box.Center());
  head->SetNodeTM(t, at);
  for (INode* node : nodes) {
    if (node == head) continue;
    if (!hasAncestorIn(node, nodes)) head->AttachChild(node, 1);
    node->SetGroupMember(TRUE);
  }
  return MAXNode::intern(head);
}

// ungroup heads: members go back to the head's parent (and so stay in an outer group), and the
// head is deleted. Nodes of the argument that are no group head are left as they are.
def_visible_primitive(ungroup, "ungroup");
Value* ungroup_cf(Value** arg_list, int count) {
  check_arg_count(ungroup, 1, count);
  std::vector<INode*> heads;
  for (INode* n : nodesOf(arg_list[0]))
    if (n->IsGroupHead()) heads.push_back(n);
  TimeValue t = Runtime::get().time();
  Interface* ip = GetCOREInterface();
  for (INode* head : heads) {
    INode* up = head->GetParentNode();
    bool outerGroup = up && (up->IsGroupHead() || up->IsGroupMember());
    std::vector<INode*> members;
    for (int i = 0; i < head->NumberOfChildren(); ++i) members.push_back(head->GetChildNode(i));
    for (INode* m : members) {
      if (up && !up->IsRootNode()) up->AttachChild(m, 1);
      else m->Detach(t, 1);
      if (!outerGroup) m->SetGroupMember(FALSE);
    }
    ip->DeleteNode(head);
  }
  return ok;
}

def_visible_primitive(setGroupOpen, "setGroupOpen");
Value* setGroupOpen_cf(Value** arg_list, int count) {
  check_arg_count(setGroupOpen, 2, count);
  INode* head = groupHeadArg(arg_list[0]);
  head->SetGroupHeadOpen(arg_list[1]->to_bool());
  return ok;
}

#define group_query(fn, call)                        \
  def_visible_primitive(fn, #fn);                    \
  Value* fn##_cf(Value** arg_list, int count) {      \
    check_arg_count(fn, 1, count);                   \
    return bool_result(nodeArg(arg_list[0])->call() != 0); \
  }
group_query(isGroupHead, IsGroupHead)
group_query(isGroupMember, IsGroupMember)
group_query(isOpenGroupHead, IsOpenGroupHead)
group_query(isOpenGroupMember, IsOpenGroupMember)
