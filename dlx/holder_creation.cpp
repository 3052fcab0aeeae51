// Holder nodes for the pass manager: a holder object in a node of its own, hidden from the user's
// lists but reachable from script; plus the small switches for reference messages and the undo hold.
#include "primitive_args.h"

#include "hold.h"
#include "inode.h"
#include "inodeexposure.h"
#include "maxapi.h"
#include "maxscript/maxobjects.h"
#include "object.h"
#include "qzm_classes.h"

namespace {

using namespace qzmdlx;

// Only the pass manager's scripts know it; any other number makes the creation functions refuse.
constexpr int kAccessCode = 5830719;

// Every user-interface area but scripting (2), which must keep finding the node.
constexpr int kHiddenAreas[] = {6, 7, 8, 3, 4, 5, 1, 0};

void setExposure(INode* node, bool state) {
  INodeExposure* exposure = node ? INodeExposure::GetINodeExposure(*node) : nullptr;
  if (!exposure) return;
  for (int area : kHiddenAreas) exposure->SetExposed(state, area);
}

Object* newHolder() {
  return static_cast<Object*>(GetCOREInterface()->CreateInstance(HELPER_CLASS_ID, QZMPROPHOLDER_CLASS_ID));
}

INode* newHiddenNode(Object* holder) {
  INode* node = GetCOREInterface()->CreateObjectNode(holder);
  setExposure(node, false);
  return node;
}

}  // namespace

def_visible_primitive(QZMMakeObjectPropHolder, "QZMMakeObjectPropHolder");
Value* QZMMakeObjectPropHolder_cf(Value** arg_list, int count) {
  checkCount(_T("QZMMakeObjectPropHolder"), 1, count);
  ResultFrame frame;
  if (arg_list[0]->to_int() != kAccessCode) return false_value;
  // Without the holder's module there is nothing to put in a node: refuse before making one.
  Object* holder = newHolder();
  if (!holder) return false_value;
  NewTarget made(holder);
  INode* node = newHiddenNode(holder);
  if (!node) return false_value;
  return frame.result(MAXNode::intern(node));
}

def_visible_primitive(QZMMakeObjectPropHolders, "QZMMakeObjectPropHolders");
Value* QZMMakeObjectPropHolders_cf(Value** arg_list, int count) {
  checkCount(_T("QZMMakeObjectPropHolders"), 2, count);
  ResultFrame frame;
  if (arg_list[1]->to_int() != kAccessCode) return false_value;
  // Only the length counts; anything else that is no array is a caller's mistake worth saying.
  Array* wanted = requireArray(arg_list[0], _T("Array not supplied"));
  auto* nodes = new Array(wanted->size);
  frame.keep(nodes);
  if (wanted->size > 0) {
    Object* holder = newHolder();  // one object, shared by every node of this call
    if (!holder) return false_value;
    NewTarget made(holder);
    for (int i = 0; i < wanted->size; ++i) {
      INode* node = newHiddenNode(holder);
      if (!node) break;
      nodes->append(MAXNode::intern(node));
    }
  }
  return frame.result(nodes);
}

def_visible_primitive(QZMaddExposureFP, "QZMaddExposureFP");
Value* QZMaddExposureFP_cf(Value** arg_list, int count) {
  checkCount(_T("QZMaddExposureFP"), 2, count);
  INode* node = arg_list[0]->to_node();
  bool state = arg_list[1]->to_bool() != FALSE;
  setExposure(node, state);
  return true_value;
}

def_visible_primitive(QZMgetSelectionExposureFP, "QZMgetSelectionExposureFP");
Value* QZMgetSelectionExposureFP_cf(Value** arg_list, int count) {
  checkCount(_T("QZMgetSelectionExposureFP"), 1, count);
  INode* node = arg_list[0]->to_node();
  INodeExposure* exposure = node ? INodeExposure::GetINodeExposure(*node) : nullptr;
  return bool_result(exposure && exposure->IsExposed(INodeExposure::kSelectObjects));
}

// Kept for the scripts that call it; it does nothing.
def_visible_primitive(QZMSetRefTarg, "QZMSetRefTarg");
Value* QZMSetRefTarg_cf(Value**, int count) {
  checkCount(_T("QZMSetRefTarg"), 4, count);
  return true_value;
}

def_visible_primitive(QZMdisableRefs, "QZMdisableRefs");
Value* QZMdisableRefs_cf(Value**, int) {
  DisableRefMsgs();
  return true_value;
}

def_visible_primitive(QZMenableRefs, "QZMenableRefs");
Value* QZMenableRefs_cf(Value**, int) {
  EnableRefMsgs();
  return true_value;
}

def_struct_primitive(QZMRelease, theHold, "QZMRelease");
Value* QZMRelease_cf(Value**, int) {
  theHold.Release();
  return ok;
}
