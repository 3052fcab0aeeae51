// ClassDesc2: a class descriptor's block descriptors, automatic blocks, and the record of the
// automatic-rollout calls that the UI layer will serve.
#include "iparamb2.h"

#include "core/param_block2.h"
#include "core/text.h"
#include "ui/param_map.h"

#include <algorithm>
#include <unordered_map>

namespace {

struct ClassDesc2State {
  std::vector<ParamBlockDesc2*> descs;  // in registration order
  sim::InvalidateUIRecord invalidate;
  sim::EditParamsRecord edit;
  std::vector<IParamMap2*> maps;  // the open automatic rollouts, in the order they were made
};

using Registry = std::unordered_map<const ClassDesc2*, ClassDesc2State>;

Registry& registry() {
  // Never destroyed: plug-in statics unregister from it while the process exits, in any order.
  static auto* r = new Registry;
  return *r;
}

ClassDesc2State& stateOf(const ClassDesc2* cd) { return registry()[cd]; }

}  // namespace

namespace sim {

void registerParamBlockDesc(ClassDesc2* cd, ParamBlockDesc2* pbd) {
  if (!cd || !pbd) return;
  auto& descs = stateOf(cd).descs;
  if (std::find(descs.begin(), descs.end(), pbd) == descs.end()) descs.push_back(pbd);
}

void unregisterParamBlockDesc(ClassDesc2* cd, ParamBlockDesc2* pbd) {
  auto it = registry().find(cd);
  if (it == registry().end()) return;
  auto& descs = it->second.descs;
  descs.erase(std::remove(descs.begin(), descs.end(), pbd), descs.end());
}

const InvalidateUIRecord& lastInvalidateUI(ClassDesc2* cd) { return stateOf(cd).invalidate; }
const EditParamsRecord& editParamsState(ClassDesc2* cd) { return stateOf(cd).edit; }

}  // namespace sim

// Deliberately touches no state: block descriptors may have registered with this object already.
ClassDesc2::ClassDesc2() {}

ClassDesc2::~ClassDesc2() {
  auto it = registry().find(this);
  if (it == registry().end()) return;
  for (ParamBlockDesc2* d : it->second.descs)
    if (d->cd == this) d->cd = nullptr;
  registry().erase(it);
}

int ClassDesc2::NumParamBlockDescs() { return static_cast<int>(stateOf(this).descs.size()); }

ParamBlockDesc2* ClassDesc2::GetParamBlockDesc(int i) {
  auto& descs = stateOf(this).descs;
  return i >= 0 && i < static_cast<int>(descs.size()) ? descs[static_cast<size_t>(i)] : nullptr;
}

ParamBlockDesc2* ClassDesc2::GetParamBlockDescByID(BlockID id) {
  for (ParamBlockDesc2* d : stateOf(this).descs)
    if (d->ID == id) return d;
  return nullptr;
}

ParamBlockDesc2* ClassDesc2::GetParamBlockDescByName(const TCHAR* name) {
  if (!name) return nullptr;
  for (ParamBlockDesc2* d : stateOf(this).descs)
    if (d->int_name && sim::equalsIgnoreCase(d->int_name, name)) return d;
  return nullptr;
}

void ClassDesc2::AddParamBlockDesc(ParamBlockDesc2* pbd) {
  if (!pbd) return;
  if (!pbd->cd) pbd->cd = this;
  sim::registerParamBlockDesc(this, pbd);
}

void ClassDesc2::ClearParamBlockDescs() { stateOf(this).descs.clear(); }

void ClassDesc2::RemoveParamBlockDesc(ParamBlockDesc2* pbd) { sim::unregisterParamBlockDesc(this, pbd); }

void ClassDesc2::MakeAutoParamBlocks(ReferenceMaker* owner) {
  if (!owner) return;
  // A copy: the owner's SetReference is plug-in code and may add descriptors.
  const std::vector<ParamBlockDesc2*> descs = stateOf(this).descs;
  for (ParamBlockDesc2* d : descs) {
    if (!(d->flags & P_AUTO_CONSTRUCT)) continue;
    IParamBlock2* pb = CreateParameterBlock2(d, owner);
    if (owner->ReplaceReference(d->ref_no, pb) == REF_SUCCEED) pb->GetOwner();  // confirms the owner
    else pb->MaybeAutoDelete();  // the owner has no such reference: nothing holds the block
  }
}

void ClassDesc2::Reset(ReferenceMaker* owner, BOOL updateUI, BOOL callSetHandlers) {
  if (!owner) return;
  for (int i = 0, n = owner->NumParamBlocks(); i < n; ++i)
    if (IParamBlock2* pb = owner->GetParamBlock(i); pb && pb->GetDesc() && pb->GetDesc()->cd == this)
      pb->ResetAll(updateUI, callSetHandlers);
}

void ClassDesc2::GetValidity(ReferenceMaker* owner, TimeValue t, Interval& valid) {
  if (!owner) return;
  for (int i = 0, n = owner->NumParamBlocks(); i < n; ++i)
    if (IParamBlock2* pb = owner->GetParamBlock(i)) pb->GetValidity(t, valid);
}

// Makes the automatic rollout of each block of `obj` whose descriptor asks for one (P_AUTO_UI), one
// per map, in the order the descriptors were registered, as pages of `ip` (the command panel passes
// itself). With a null interface only the call is recorded.
void ClassDesc2::BeginEditParams(IObjParam* ip, ReferenceMaker* obj, ULONG flags, Animatable* prev) {
  ClassDesc2State& state = stateOf(this);
  sim::EditParamsRecord& e = state.edit;
  e.ip = ip;
  e.obj = obj;
  e.flags = flags;
  ++e.begins;
  if (!ip || !obj || !state.maps.empty()) return;
  const std::vector<ParamBlockDesc2*> descs = state.descs;
  for (ParamBlockDesc2* d : descs) {
    if (!(d->flags & P_AUTO_UI)) continue;
    IParamBlock2* pb = nullptr;
    for (int i = 0, n = obj->NumParamBlocks(); i < n && !pb; ++i)
      if (IParamBlock2* b = obj->GetParamBlock(i); b && b->GetDesc() == d) pb = b;
    if (!pb) continue;
    std::vector<MapID> ids;
    if (d->flags & P_MULTIMAP)
      for (int k = 0; k < d->map_specs.Count(); ++k) ids.push_back(d->map_specs[k].map_id);
    else
      ids.push_back(0);
    for (MapID id : ids)
      if (IParamMap2* map = sim::ui::createParamMap(ip, pb, id, d->GetUserDlgProc(id)))
        stateOf(this).maps.push_back(map);
  }
}

void ClassDesc2::EndEditParams(IObjParam* ip, ReferenceMaker* obj, ULONG flags, Animatable* prev) {
  ClassDesc2State& state = stateOf(this);
  sim::EditParamsRecord& e = state.edit;
  e.ip = nullptr;
  e.obj = nullptr;
  e.flags = flags;
  ++e.ends;
  std::vector<IParamMap2*> maps;
  maps.swap(state.maps);
  for (IParamMap2* map : maps) sim::ui::destroyParamMap(map);
}

void ClassDesc2::InvalidateUI() { InvalidateUI(nullptr, -1, -1); }

void ClassDesc2::InvalidateUI(ParamBlockDesc2* pbd) { InvalidateUI(pbd, -1, -1); }

void ClassDesc2::InvalidateUI(ParamBlockDesc2* pbd, ParamID id, int tabIndex) {
  sim::InvalidateUIRecord& r = stateOf(this).invalidate;
  r.pbd = pbd;
  r.id = id;
  r.tabIndex = tabIndex;
  ++r.calls;
  const std::vector<IParamMap2*> maps = stateOf(this).maps;
  for (IParamMap2* map : maps) {
    IParamBlock2* pb = map->GetParamBlock();
    if (pbd && (!pb || pb->GetDesc() != pbd)) continue;
    if (id < 0) map->Invalidate();
    else map->Invalidate(id, tabIndex);
  }
}

int ClassDesc2::NumParamMaps() { return static_cast<int>(stateOf(this).maps.size()); }

IParamMap2* ClassDesc2::GetParamMap(int i) {
  auto& maps = stateOf(this).maps;
  return i >= 0 && i < static_cast<int>(maps.size()) ? maps[static_cast<size_t>(i)] : nullptr;
}

IParamMap2* ClassDesc2::GetParamMap(ParamBlockDesc2* pbd, MapID map_id) {
  for (IParamMap2* map : stateOf(this).maps)
    if (IParamBlock2* pb = map->GetParamBlock(); pb && pb->GetDesc() == pbd && sim::ui::paramMapId(map) == map_id)
      return map;
  return nullptr;
}

void ClassDesc2::RestoreRolloutState() { ++stateOf(this).edit.rolloutRestores; }

// An open rollout of the block takes the procedure at once (and owns it from then on); later
// rollouts start with it too.
void ClassDesc2::SetUserDlgProc(ParamBlockDesc2* pbd, MapID map_id, ParamMap2UserDlgProc* proc) {
  if (!pbd) return;
  pbd->SetUserDlgProc(map_id, proc);
  if (IParamMap2* map = GetParamMap(pbd, map_id)) sim::ui::setParamMapUserDlgProc(map, proc);
}

ParamMap2UserDlgProc* ClassDesc2::GetUserDlgProc(ParamBlockDesc2* pbd, MapID map_id) {
  return pbd ? pbd->GetUserDlgProc(map_id) : nullptr;
}
