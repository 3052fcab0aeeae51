#include "holder_removal.h"

#include "holder_params.h"
#include "istdplug.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "record_fields.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* kPassNotFound = "QZMMessage:Didn't find the pass to remove\n";

// The per-pass tables, in the order RemovePass shortens them.
constexpr ParamID kPerPassTables[] = {
    pb_passlist,
    pb_propertyState,
    pb_propertyClass,
    pb_propertyIsAnimated,
    pb_propertyFloatController,
    pb_propertyPoint3Controller,
    pb_propertyPoint4Controller,
    pb_propertyPosController,
    pb_propertyRotController,
    pb_propertyScaleController,
};

// The tables of one kind of record: the per-pass ones or the initial ones.
struct RecordTables {
  ParamID state, cls, anim, objects;
  ParamID controllers[6];
};

constexpr RecordTables kPassTables{pb_propertyState,
                                   pb_propertyClass,
                                   pb_propertyIsAnimated,
                                   pb_propertyObject,
                                   {pb_propertyFloatController, pb_propertyPoint3Controller, pb_propertyPoint4Controller,
                                    pb_propertyPosController, pb_propertyRotController, pb_propertyScaleController}};
constexpr RecordTables kInitialTables{
    pb_IpropertyState,
    pb_IpropertyClass,
    pb_IpropertyIsAnimated,
    pb_IpropertyObject,
    {pb_IpropertyFloatController, pb_IpropertyPoint3Controller, pb_IpropertyPoint4Controller, pb_IpropertyPosController,
     pb_IpropertyRotController, pb_IpropertyScaleController}};

int objectIndex(std::string_view classField) { return std::atoi(std::string(classField).c_str()); }

// Object entries are set to null, never deleted: the indices other class fields hold stay valid.
void releaseObjects(IParamBlock2* pb, ParamID table, const std::vector<int>& indices) {
  for (auto it = indices.rbegin(); it != indices.rend(); ++it)
    if (*it >= 1 && *it <= pb->Count(table)) pb->SetValue(table, 0, static_cast<ReferenceTarget*>(nullptr), *it - 1);
}

bool contains(const std::vector<int>& slots, int j) { return std::find(slots.begin(), slots.end(), j) != slots.end(); }

// Rewrites record `i` of `tabs` without the fields of `removed` (ascending property slots of the
// old `names` slots), releases their objects and deletes their sub-controllers.
void removeFields(IParamBlock2* pb, const RecordTables& tabs, int i, int names, const std::vector<int>& removed,
                  bool initial, TimeValue t) {
  // A pass slot (or initial state) that was never captured has no record to shorten; writing one
  // would make a state of empty fields that a restore then applies.
  if (i < pb->Count(tabs.state)) {
    const std::string state = holder_tables::GetText(pb, tabs.state, i);
    const std::string cls = holder_tables::GetText(pb, tabs.cls, i);
    const std::string anim = holder_tables::GetText(pb, tabs.anim, i);
    std::string newState, newClass, newAnim;
    std::vector<int> objects;
    for (int j = 0; j < names; ++j) {
      if (contains(removed, j)) {
        if (RecordField(state, j) == "reftarg") objects.push_back(objectIndex(RecordField(cls, j)));
        continue;
      }
      AppendField(newState, RecordField(state, j));
      AppendField(newClass, RecordField(cls, j));
      AppendField(newAnim, RecordField(anim, j));
    }
    releaseObjects(pb, tabs.objects, objects);
    const std::pair<ParamID, const std::string*> records[] = {
        {tabs.state, &newState}, {tabs.cls, &newClass}, {tabs.anim, &newAnim}};
    for (const auto& [id, text] : records) {
      if (initial && pb->Count(id) != 1) pb->SetCount(id, 1);
      holder_tables::GrowTo(pb, id, i + 1);
      holder_tables::SetText(pb, id, i, *text);
    }
  }
  for (ParamID id : tabs.controllers) {
    if (i >= pb->Count(id)) continue;
    ReferenceTarget* entry = pb->GetReferenceTarget(id, t, i);
    IListControl* list = entry ? GetIListControlInterface(entry) : nullptr;
    if (!list) continue;
    for (auto it = removed.rbegin(); it != removed.rend(); ++it)
      if (list->GetListCount() > *it) list->DeleteItem(*it);
  }
}

}  // namespace

int RemovePassFromBlock(IParamBlock2* pb, int whichPass) {
  if (!pb) return 0;
  const int passes = pb->Count(pb_passlist);
  const int names = pb->Count(pb_propertyName);
  int x = -1;
  for (int i = 0; i < passes; ++i)
    if (pb->GetInt(pb_passlist, 0, i) == whichPass) x = i;
  if (x < 0) {
    the_listener->edit_stream->puts(kPassNotFound);
    return 0;
  }
  if (x >= pb->Count(pb_propertyState) || x >= pb->Count(pb_propertyClass)) return 0;
  const std::string state = holder_tables::GetText(pb, pb_propertyState, x);
  const std::string cls = holder_tables::GetText(pb, pb_propertyClass, x);
  std::vector<int> objects;
  for (int j = 0; j < names; ++j)
    if (RecordField(state, j) == "reftarg") objects.push_back(objectIndex(RecordField(cls, j)));

  for (ParamID id : kPerPassTables)
    if (x < pb->Count(id)) pb->Delete(id, x, 1);
  // Released whatever the pass slot: the object table is shared by every pass, so its length says
  // nothing about this one, and only indices inside it are touched.
  releaseObjects(pb, pb_propertyObject, objects);
  return 1;
}

int RemovePropertiesFromBlock(IParamBlock2* pb, const Tab<const TCHAR*>& names) {
  if (!pb) return 0;
  const TimeValue t = GetCOREInterface()->GetTime();
  const int passes = pb->Count(pb_passlist);
  const int count = pb->Count(pb_propertyName);
  std::vector<int> removed;
  for (int i = 0; i < count; ++i) {
    const std::string name = holder_tables::GetText(pb, pb_propertyName, i);
    for (int k = 0; k < names.Count(); ++k) {
      const TCHAR* wanted = names[k];
      if (wanted && name == wanted) {
        removed.push_back(i);
        break;
      }
    }
  }
  if (removed.empty()) return 0;
  for (auto it = removed.rbegin(); it != removed.rend(); ++it) pb->Delete(pb_propertyName, *it, 1);
  for (int i = 0; i < passes; ++i) removeFields(pb, kPassTables, i, count, removed, false, t);
  removeFields(pb, kInitialTables, 0, count, removed, true, t);
  return 1;
}
