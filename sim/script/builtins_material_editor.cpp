// The material editor as scripts drive it: `MatEditor` opens and closes its window, `medit` fills
// and picks its 24 slots (1-based here, as in the language). The slots live in the host's editor
// interface; the window shows the material of the active slot.
#include "imtl.h"
#include "imtledit.h"
#include "maxscript/maxscript.h"
#include "script/material_editor_follow.h"
#include "script/property_table.h"
#include "ui/material_editor.h"

namespace {

IMtlEditInterface* slots() {
  auto* medit = dynamic_cast<IMtlEditInterface*>(GetCOREInterface(MTLEDIT_INTERFACE));
  if (!medit) throw RuntimeError("The material editor's slots are not there");
  return medit;
}

void checkCount(const char* fn, Value** arg_list, int count, int least, int most) {
  int given = count_positional_args(arg_list, count);
  if (given < least || given > most) throw ArgCountError(fn, least, given);
}

// A 1-based slot argument as the interface's 0-based slot.
int slotArg(Value* v) {
  int i = v->to_int();
  if (i < 1 || i > NUM_MEDIT_SLOTS) throw RuntimeError("Material editor slot out of range: ", v);
  return i - 1;
}

MtlBase* materialArg(Value* v) {
  ReferenceTarget* t = v->to_reftarg();
  auto* m = dynamic_cast<MtlBase*>(t);
  if (!m || (t->SuperClassID() != MATERIAL_CLASS_ID && t->SuperClassID() != TEXMAP_CLASS_ID))
    throw ConversionError(v, "Material");
  return m;
}

Value* wrapOrUndefined(ReferenceTarget* t) { return t ? sim::wrapTarget(t) : undefined; }

// What the editor window shows, decided here only: the material of the active slot. Opening the
// window, making another slot active and putting a material into the active slot all come here, and
// each shows that material's panel afresh (a sub-material opened from it is left); a slot changed
// any other way shows at the host's next idle step. A slot holding a map leaves the window as it
// was: the editor shows materials' panels only.
//
// What was shown is kept only to be compared, never used: a material freed and another made at its
// address would go unnoticed until the slot changes again, which costs a stale page, nothing more.
struct Shown {
  HWND window = nullptr;
  int slot = -1;
  const void* material = nullptr;
};
Shown shown;

void showActiveSlot() {
  IMtlEditInterface* medit = slots();
  int active = medit->GetActiveMtlSlot();
  MtlBase* inSlot = medit->GetTopMtlSlot(active);
  if (auto* m = dynamic_cast<Mtl*>(inSlot)) sim::ui::openMaterialEditor(m);
  shown = {sim::ui::materialEditorWindow(), active, inSlot};
}

}  // namespace

void sim::rt::followActiveMtlSlot() {
  HWND window = sim::ui::materialEditorWindow();
  if (!window || window != shown.window) return;
  auto* medit = dynamic_cast<IMtlEditInterface*>(GetCOREInterface(MTLEDIT_INTERFACE));
  if (!medit) return;
  int active = medit->GetActiveMtlSlot();
  if (active != shown.slot || medit->GetTopMtlSlot(active) != shown.material) showActiveSlot();
}

def_struct_primitive(mated_open, MatEditor, "Open");
Value* mated_open_cf(Value** arg_list, int count) {
  checkCount("Open", arg_list, count, 0, 0);
  showActiveSlot();
  return ok;
}

def_struct_primitive(mated_close, MatEditor, "Close");
Value* mated_close_cf(Value** arg_list, int count) {
  checkCount("Close", arg_list, count, 0, 0);
  sim::ui::closeMaterialEditor();
  return ok;
}

def_struct_primitive(mated_isOpen, MatEditor, "isOpen");
Value* mated_isOpen_cf(Value** arg_list, int count) {
  checkCount("isOpen", arg_list, count, 0, 0);
  return bool_result(sim::ui::materialEditorWindow() != nullptr);
}

def_struct_primitive(medit_getTopMtlSlot, medit, "GetTopMtlSlot");
Value* medit_getTopMtlSlot_cf(Value** arg_list, int count) {
  checkCount("GetTopMtlSlot", arg_list, count, 1, 1);
  return wrapOrUndefined(slots()->GetTopMtlSlot(slotArg(arg_list[0])));
}

// medit.PutMtlToMtlEditor mtl [slot]: into the active slot when no slot is given.
def_struct_primitive(medit_putMtlToMtlEditor, medit, "PutMtlToMtlEditor");
Value* medit_putMtlToMtlEditor_cf(Value** arg_list, int count) {
  checkCount("PutMtlToMtlEditor", arg_list, count, 1, 2);
  MtlBase* m = materialArg(arg_list[0]);
  IMtlEditInterface* medit = slots();
  int slot = count_positional_args(arg_list, count) == 2 ? slotArg(arg_list[1]) : medit->GetActiveMtlSlot();
  medit->PutMtlToMtlEditor(m, slot);
  if (slot == medit->GetActiveMtlSlot() && sim::ui::materialEditorWindow()) showActiveSlot();
  return ok;
}

def_struct_primitive(medit_getActiveMtlSlot, medit, "GetActiveMtlSlot");
Value* medit_getActiveMtlSlot_cf(Value** arg_list, int count) {
  checkCount("GetActiveMtlSlot", arg_list, count, 0, 0);
  return Integer::intern(slots()->GetActiveMtlSlot() + 1);
}

// medit.SetActiveMtlSlot slot [forceUpdate]: the open window shows the slot's material either way.
def_struct_primitive(medit_setActiveMtlSlot, medit, "SetActiveMtlSlot");
Value* medit_setActiveMtlSlot_cf(Value** arg_list, int count) {
  checkCount("SetActiveMtlSlot", arg_list, count, 1, 2);
  slots()->SetActiveMtlSlot(slotArg(arg_list[0]));
  if (sim::ui::materialEditorWindow()) showActiveSlot();
  return ok;
}

// The material being edited: the one the open window shows (a sub-material opened from the slot's
// included), else the active slot's.
def_struct_primitive(medit_getCurMtl, medit, "GetCurMtl");
Value* medit_getCurMtl_cf(Value** arg_list, int count) {
  checkCount("GetCurMtl", arg_list, count, 0, 0);
  if (sim::ui::materialEditorWindow()) return wrapOrUndefined(sim::ui::materialEditorMaterial());
  IMtlEditInterface* medit = slots();
  return wrapOrUndefined(medit->GetTopMtlSlot(medit->GetActiveMtlSlot()));
}

// The editor draws no slot brackets here: there is nothing to update.
def_struct_primitive(medit_updateMtlEditorBrackets, medit, "UpdateMtlEditorBrackets");
Value* medit_updateMtlEditorBrackets_cf(Value** arg_list, int count) {
  checkCount("UpdateMtlEditorBrackets", arg_list, count, 0, 0);
  return ok;
}
