// Multimaterial: a list of sub-materials, each with a material id, a name and an on switch. A face
// is shaded by the sub-material whose id is the face's material id (ids past the list wrap round,
// as the application's renderer does). Scripts reach the list as m[i], m.materialList and numsubs.
#include "iparamb2.h"
#include "istdplug.h"
#include "scene/host_class_desc.h"
#include "scene/materials/block_mtl.h"
#include "script/property_table.h"
#include "maxscript/maxscript.h"
#include "stdmat.h"

#include <algorithm>

namespace sim {
namespace {

constexpr ULONG kMultiMtlClassID = 0x00000200;
// What a new multimaterial holds, as in the application.
constexpr int kDefaultSubs = 10;
// An end for numsubs: far past any real material, short of tables that exhaust memory.
constexpr int kMaxSubs = 1000;

enum { multi_materials, multi_ids, multi_names, multi_enabled };

void* newMultiMtl(BOOL loading);
HostClassDesc multiMtlDesc("Multimaterial", MATERIAL_CLASS_ID, Class_ID(kMultiMtlClassID, 0), "Materials", newMultiMtl);
ParamBlockDesc2 multiMtlParams(0, _T("MultiMaterialParameters"), 0, &multiMtlDesc, P_AUTO_CONSTRUCT, 0,
    multi_materials, _T("materialList"), TYPE_MTL_TAB, 0, P_VARIABLE_SIZE, 0, p_end,
    multi_ids, _T("materialIDList"), TYPE_INT_TAB, 0, P_VARIABLE_SIZE, 0, p_end,
    multi_names, _T("names"), TYPE_STRING_TAB, 0, P_VARIABLE_SIZE, 0, p_end,
    multi_enabled, _T("mapEnabled"), TYPE_BOOL_TAB, 0, P_VARIABLE_SIZE, 0, p_end,
    p_end);

class MultiMtl : public BlockMtl<Mtl> {
 public:
  explicit MultiMtl(BOOL loading) {
    if (loading) return;
    multiMtlDesc.MakeAutoParamBlocks(this);
    nameNew("Material #", materialCounter());
    SetNumSubs(kDefaultSubs);
  }

  void GetClassName(TSTR& s) override { s = "Multi/Sub-Object"; }
  Class_ID ClassID() override { return Class_ID(kMultiMtlClassID, 0); }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = new MultiMtl(TRUE);
    c->ReplaceReference(0, remap.CloneRef(pblock));
    copyMtlBase(c);
    BaseClone(this, c, remap);
    return c;
  }
  void Reset() override {
    if (!pblock) return;
    for (ParamID id : {multi_materials, multi_ids, multi_names, multi_enabled}) pblock->ZeroCount(id);
    SetNumSubs(kDefaultSubs);
  }

  int count() { return pblock ? pblock->Count(multi_materials) : 0; }

  // Grows with new standard materials numbered after the highest id, or drops from the end.
  void SetNumSubs(int n) {
    if (!pblock) return;
    n = std::clamp(n, 0, kMaxSubs);
    int old = count();
    int nextID = 1;
    for (int i = 0; i < std::min(old, pblock->Count(multi_ids)); ++i) nextID = std::max(nextID, pblock->GetInt(multi_ids, 0, i) + 1);
    for (ParamID id : {multi_materials, multi_ids, multi_names, multi_enabled}) pblock->SetCount(id, n);
    for (int i = old; i < n; ++i) {
      pblock->SetValue(multi_materials, 0, static_cast<ReferenceTarget*>(NewDefaultStdMat()), i);
      pblock->SetValue(multi_ids, 0, nextID++, i);
      pblock->SetValue(multi_enabled, 0, 1, i);
    }
  }

  // The sub-material slot that shades material id `mtlNum` (0-based, as faces carry it).
  int slotFor(int mtlNum) {
    int n = count();
    if (n == 0) return -1;
    for (int i = 0; i < n && i < pblock->Count(multi_ids); ++i)
      if (pblock->GetInt(multi_ids, 0, i) == mtlNum + 1) return i;
    return ((mtlNum % n) + n) % n;
  }
  Mtl* shadingSub(int mtlNum) {
    int i = slotFor(mtlNum);
    if (i < 0 || !pblock->GetInt(multi_enabled, 0, i)) return nullptr;
    return GetSubMtl(i);
  }

  // ---- Mtl: the answers of the sub-material that shades the id ----
  Color GetAmbient(int m, BOOL b) override { Mtl* s = shadingSub(m); return s ? s->GetAmbient(0, b) : Color(); }
  Color GetDiffuse(int m, BOOL b) override { Mtl* s = shadingSub(m); return s ? s->GetDiffuse(0, b) : Color(); }
  Color GetSpecular(int m, BOOL b) override { Mtl* s = shadingSub(m); return s ? s->GetSpecular(0, b) : Color(); }
  float GetShininess(int m, BOOL b) override { Mtl* s = shadingSub(m); return s ? s->GetShininess(0, b) : 0.0f; }
  float GetShinStr(int m, BOOL b) override { Mtl* s = shadingSub(m); return s ? s->GetShinStr(0, b) : 0.0f; }
  float GetXParency(int m, BOOL b) override { Mtl* s = shadingSub(m); return s ? s->GetXParency(0, b) : 0.0f; }
  void SetAmbient(Color, TimeValue) override {}
  void SetDiffuse(Color, TimeValue) override {}
  void SetSpecular(Color, TimeValue) override {}
  void SetShininess(float, TimeValue) override {}

  // A switched-off or empty slot shades black, as the application's renderer does.
  void Shade(ShadeContext& sc) override {
    Mtl* sub = shadingSub(sc.mtlNum);
    if (!sub) {
      sc.out.c = Color(0.0f, 0.0f, 0.0f);
      sc.out.t = Color(0.0f, 0.0f, 0.0f);
      return;
    }
    int keep = sc.mtlNum;
    sc.mtlNum = 0;  // the sub-material shades as a material of its own
    Interval valid = FOREVER;
    sub->Update(sc.CurTime(), valid);
    sub->Shade(sc);
    sc.mtlNum = keep;
    if (GetGBufID() != 0) sc.SetGBufferID(GetGBufID());
  }

  int NumSubMtls() override { return count(); }
  Mtl* GetSubMtl(int i) override {
    if (!pblock || i < 0 || i >= count()) return nullptr;
    return dynamic_cast<Mtl*>(pblock->GetReferenceTarget(multi_materials, 0, i));
  }
  void SetSubMtl(int i, Mtl* m) override {
    if (pblock && i >= 0 && i < count()) pblock->SetValue(multi_materials, 0, static_cast<ReferenceTarget*>(m), i);
  }
  TSTR GetSubMtlSlotName(int i) override {
    const TCHAR* name = pblock && i >= 0 && i < pblock->Count(multi_names) ? pblock->GetStr(multi_names, 0, i) : nullptr;
    return TSTR(name ? name : _T(""));
  }

};
void* newMultiMtl(BOOL loading) { return new MultiMtl(loading); }

MultiMtl* multi(ReferenceTarget* t) { return static_cast<MultiMtl*>(t); }

// A sub-material index from script, 1-based.
int slotArg(MultiMtl* m, Value* index) {
  int i = index->to_int();
  if (i < 1 || i > m->count()) throw RuntimeError("Array index out of bounds: ", index);
  return i - 1;
}

const PropertyScope kMultiScope{MATERIAL_CLASS_ID, Class_ID(kMultiMtlClassID, 0), true};

const bool multiProps = addPropertyTable(kMultiScope, {
    {"numsubs", [](ReferenceTarget* t, TimeValue) -> Value* { return Integer::intern(multi(t)->count()); },
     [](ReferenceTarget* t, TimeValue, Value* v) {
       if (!is_number(v)) throw ConversionError(v, "Integer");
       int n = v->to_int();
       if (n < 1 || n > kMaxSubs) throw RuntimeError("The number of sub-materials must be from 1 to 1000: ", v);
       multi(t)->SetNumSubs(n);
     }},
});

// m[i] and m[i] = mtl: the sub-materials, as indexing reaches them.
const bool multiIndex = addMethodTable(kMultiScope, {
    {"get", [](ReferenceTarget* t, Value** arg_list, int count) -> Value* {
       check_arg_count(get, 1, count);
       return wrapTarget(multi(t)->GetSubMtl(slotArg(multi(t), arg_list[0])));
     }},
    {"put", [](ReferenceTarget* t, Value** arg_list, int count) -> Value* {
       check_arg_count(put, 2, count);
       MultiMtl* m = multi(t);
       int i = slotArg(m, arg_list[0]);
       Value* v = arg_list[1];
       Mtl* sub = v == undefined ? nullptr : v->to_mtl();
       m->SetSubMtl(i, sub);
       // References refuse loops: a material that holds this one, or this one itself, is not taken.
       if (m->GetSubMtl(i) != sub) throw RuntimeError("A material cannot hold itself: ", v);
       return v;
     }},
});

}  // namespace
}  // namespace sim
