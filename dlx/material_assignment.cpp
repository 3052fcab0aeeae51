// Material assignment in bulk: parallel arrays of nodes and materials, optional copies shared between
// nodes that carry the same instancing id, the scene material library emptied as the pass manager
// switches passes, and per-pass materials made for a set of nodes.
#include "primitive_args.h"

#include "imtl.h"
#include "imtledit.h"
#include "inode.h"
#include "maxapi.h"
#include "qzm_classes.h"

#include <cstdlib>
#include <map>
#include <string>

namespace {

using namespace qzmdlx;

constexpr const TCHAR* kNodesMissing = _T("Array of nodes not supplied");
constexpr const TCHAR* kMaterialsMissing = _T("Array of materials not supplied");
constexpr const TCHAR* kInstancingMissing = _T("Integer value for instancing behavior not supplied");

// Script app data: what scripts write with setAppData.
const Class_ID kScriptAppData(0x04d64858, 0x16d1751d);
constexpr SClass_ID kScriptAppDataSuper = UTILITY_CLASS_ID;
constexpr DWORD kEditorSlotSubId = 0xFFFFFFFF;

struct NodesAndMaterials {
  Array* nodes;
  Array* materials;
  bool sameLength() const { return nodes->size == materials->size; }
};

NodesAndMaterials readArrays(Value** arg_list) {
  Array* nodes = requireArray(arg_list[0], kNodesMissing);
  Array* materials = requireArray(arg_list[1], kMaterialsMissing);
  return {nodes, materials};
}

INode* nodeAt(Array* a, int i) { return a->data[i]->to_node(); }
Mtl* materialAt(Array* a, int i) { return a->data[i]->to_mtl(); }

void assign(INode* node, Mtl* mtl) {
  if (node) node->SetMtl(mtl);
}

MtlBaseLib* sceneLibrary() { return GetCOREInterface()->GetSceneMtls(); }

// The app data text as a number, read as the C library reads leading digits; false when absent.
bool readAppDataNumber(Animatable* a, DWORD subId, long& number) {
  AppDataChunk* chunk = a->GetAppDataChunk(kScriptAppData, kScriptAppDataSuper, subId);
  if (!chunk || !chunk->data) return false;
  std::string text(static_cast<const char*>(chunk->data), chunk->length);
  number = std::strtol(text.c_str(), nullptr, 10);
  return true;
}

Mtl* copyOf(Mtl* source) {
  DefaultRemapDir remap(FALSE);
  return static_cast<Mtl*>(source->Clone(remap));
}

// An editor slot that showed the source material shows its copy from now on.
void moveEditorSlotToCopy(Mtl* source, Mtl* copy) {
  long slotNumber = 0;
  if (!readAppDataNumber(source, kEditorSlotSubId, slotNumber)) return;
  if (slotNumber < 1 || slotNumber > NUM_MEDIT_SLOTS) return;
  auto* editor = static_cast<IMtlEditInterface*>(GetCOREInterface(MTLEDIT_INTERFACE));
  if (!editor) return;
  int slot = static_cast<int>(slotNumber - 1);
  MtlBase* shown = editor->GetTopMtlSlot(slot);
  if (shown && shown->GetAppDataChunk(kScriptAppData, kScriptAppDataSuper, kEditorSlotSubId))
    editor->PutMtlToMtlEditor(copy, slot);
}

}  // namespace

def_visible_primitive(QZMAssignMtl, "QZMAssignMtl");
Value* QZMAssignMtl_cf(Value** arg_list, int count) {
  if (count < 2) throw ArgCountError(_T("QZMAssignMtl"), 2, count);
  NodesAndMaterials a = readArrays(arg_list);
  if (!a.sameLength()) return false_value;
  for (int i = 0; i < a.nodes->size; ++i) assign(nodeAt(a.nodes, i), materialAt(a.materials, i));
  return true_value;
}

def_visible_primitive(QZMAssignMtlCopy, "QZMAssignMtlCopy");
Value* QZMAssignMtlCopy_cf(Value** arg_list, int count) {
  if (count < 2) throw ArgCountError(_T("QZMAssignMtlCopy"), 2, count);
  NodesAndMaterials a = readArrays(arg_list);
  if (!a.sameLength()) return false_value;
  for (int i = 0; i < a.nodes->size; ++i) {
    INode* node = nodeAt(a.nodes, i);
    Mtl* source = materialAt(a.materials, i);
    Mtl* copy = source ? copyOf(source) : nullptr;
    NewTarget made(copy);
    if (copy) assign(node, copy);
  }
  return true_value;
}

def_visible_primitive(QZMAssignMtlClear, "QZMAssignMtlClear");
Value* QZMAssignMtlClear_cf(Value** arg_list, int count) {
  if (count < 2) throw ArgCountError(_T("QZMAssignMtlClear"), 2, count);
  NodesAndMaterials a = readArrays(arg_list);
  if (!a.sameLength()) return false_value;
  MtlBaseLib* library = sceneLibrary();
  for (int i = 0; i < a.nodes->size; ++i) {
    assign(nodeAt(a.nodes, i), materialAt(a.materials, i));
    library->DeleteAll();
  }
  return true_value;
}

def_visible_primitive(QZMAssignOneMtlClear, "QZMAssignOneMtlClear");
Value* QZMAssignOneMtlClear_cf(Value** arg_list, int count) {
  if (count < 2) throw ArgCountError(_T("QZMAssignOneMtlClear"), 2, count);
  Array* nodes = requireArray(arg_list[0], kNodesMissing);
  Mtl* mtl = arg_list[1]->to_mtl();
  MtlBaseLib* library = sceneLibrary();
  for (int i = 0; i < nodes->size; ++i) {
    assign(nodeAt(nodes, i), mtl);
    library->DeleteAll();
  }
  return true_value;
}

def_visible_primitive(QZMAssignMtlInstancedClear, "QZMAssignMtlInstancedClear");
Value* QZMAssignMtlInstancedClear_cf(Value** arg_list, int count) {
  if (count < 3) throw ArgCountError(_T("QZMAssignMtlInstancedClear"), 3, count);
  NodesAndMaterials a = readArrays(arg_list);
  if (!a.sameLength()) return false_value;
  DWORD subId = static_cast<DWORD>(arg_list[2]->to_int());
  MtlBaseLib* library = sceneLibrary();
  library->DeleteAll();
  std::map<long, int> firstNodeOfId;  // instancing id -> position of the node that first carried it
  for (int i = 0; i < a.nodes->size; ++i) {
    INode* node = nodeAt(a.nodes, i);
    Mtl* source = materialAt(a.materials, i);
    if (!source) {
      assign(node, nullptr);
      continue;
    }
    long id = 0;
    bool hasId = readAppDataNumber(source, subId, id);
    auto seen = hasId ? firstNodeOfId.find(id) : firstNodeOfId.end();
    if (seen != firstNodeOfId.end()) {
      INode* first = nodeAt(a.nodes, seen->second);
      assign(node, first ? first->GetMtl() : nullptr);
    } else {
      if (hasId) firstNodeOfId.emplace(id, i);
      Mtl* copy = copyOf(source);
      NewTarget made(copy);
      if (copy) {
        assign(node, copy);
        moveEditorSlotToCopy(source, copy);
      }
    }
    library->DeleteAll();
  }
  return true_value;
}

// Kept for the scripts that call it: assigns the first material to the first node.
def_visible_primitive(QZMGetAppData, "QZMGetAppData");
Value* QZMGetAppData_cf(Value** arg_list, int count) {
  if (count < 2) throw ArgCountError(_T("QZMGetAppData"), 2, count);
  NodesAndMaterials a = readArrays(arg_list);
  if (a.nodes->size == 0 || a.materials->size == 0) return true_value;
  assign(nodeAt(a.nodes, 0), materialAt(a.materials, 0));
  return true_value;
}

def_visible_primitive(QZMclearscenematerials, "QZMclearscenematerials");
Value* QZMclearscenematerials_cf(Value**, int) {
  sceneLibrary()->DeleteAll();
  return true_value;
}

def_visible_primitive(QZMrebuildscenemats, "QZMrebuildscenemats");
Value* QZMrebuildscenemats_cf(Value** arg_list, int count) {
  if (count < 1) throw ArgCountError(_T("QZMrebuildscenemats"), 1, count);
  Array* materials = requireArray(arg_list[0], kMaterialsMissing);
  MtlBaseLib* library = sceneLibrary();
  for (int i = 0; i < materials->size; ++i)
    if (Mtl* m = materialAt(materials, i)) library->Add(m);
  return true_value;
}

def_visible_primitive(QZMMakeMaterial, "QZMMakeMaterial");
Value* QZMMakeMaterial_cf(Value** arg_list, int count) {
  checkCount(_T("QZMMakeMaterial"), 2, count);
  Array* nodes = requireArray(arg_list[0], kNodesMissing);
  int instancing = requireInteger(arg_list[1], kInstancingMissing);
  Interface* ip = GetCOREInterface();
  MtlBaseLib* library = ip->GetSceneMtls();
  auto makeOne = [ip] { return static_cast<Mtl*>(ip->CreateInstance(MATERIAL_CLASS_ID, QZMMATERIAL_CLASS_ID)); };
  if (instancing != 0) {
    Mtl* shared = makeOne();
    if (!shared) return false_value;
    NewTarget made(shared);
    for (int i = 0; i < nodes->size; ++i) {
      library->DeleteAll();
      assign(nodeAt(nodes, i), shared);
    }
    return true_value;
  }
  for (int i = 0; i < nodes->size; ++i) {
    Mtl* own = makeOne();
    if (!own) return false_value;
    NewTarget made(own);
    library->DeleteAll();
    assign(nodeAt(nodes, i), own);
  }
  return true_value;
}
