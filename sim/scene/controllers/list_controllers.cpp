#include "core/ref_graph.h"
#include "script/script_failure.h"
#include "hold.h"
#include "iparamb2.h"
#include "scene/change_restore.h"
#include "scene/controllers/controllers.h"
#include "scene/host_class_desc.h"
#include "maxscript/maxscript.h"
#include "script/evaluator.h"
#include "script/property_table.h"

#include <algorithm>

FPInterfaceDesc* IListControl::GetDesc() {
  static FPInterfaceDesc desc(
      LIST_CONTROLLER_INTERFACE, _T("list"), 0, nullptr, FP_MIXIN,
      list_getNumItems, _T("getCount"), 0, TYPE_INT, 0, 0,
      list_setActive, _T("setActive"), 0, TYPE_VOID, 0, 1,
          _T("listIndex"), 0, TYPE_INDEX,
      list_getActive, _T("getActive"), 0, TYPE_INDEX, 0, 0,
      list_deleteItem, _T("deleteItem"), 0, TYPE_VOID, 0, 1,
          _T("listIndex"), 0, TYPE_INDEX,
      list_cutItem, _T("cutItem"), 0, TYPE_VOID, 0, 1,
          _T("listIndex"), 0, TYPE_INDEX,
      list_pasteItem, _T("pasteItem"), 0, TYPE_VOID, 0, 1,
          _T("listIndex"), 0, TYPE_INDEX,
      list_getName, _T("getName"), 0, TYPE_TSTR, 0, 1,
          _T("listIndex"), 0, TYPE_INDEX,
      list_setName, _T("setName"), 0, TYPE_VOID, 0, 2,
          _T("listIndex"), 0, TYPE_INDEX,
          _T("name"), 0, TYPE_STRING,
      list_getSubCtrl, _T("getSubCtrl"), 0, TYPE_CONTROL, 0, 1,
          _T("listIndex"), 0, TYPE_INDEX,
      list_getSubCtrlWeight, _T("getSubCtrlWeight"), 0, TYPE_FLOAT, 0, 1,
          _T("listIndex"), 0, TYPE_INDEX,
      properties,
          list_count, FP_NO_FUNCTION, _T("count"), 0, TYPE_INT,
          list_getActive_prop, list_setActive_prop, _T("active"), 0, TYPE_INDEX,
      p_end);
  return &desc;
}

namespace sim {

// What undo needs to put a list back: its entries (kept alive) and the active index.
struct ListControl::Snapshot {
  struct Item {
    KeepAlive ctrl;
    ListEntryName name;
    float weight;
  };
  std::vector<Item> items;
  int active = 0;
};

class ListRestore : public RestoreObj {
 public:
  ListRestore(ListControl* list, ListControl::Snapshot before, ListControl::Snapshot after, const char* what)
      : list_(list, false), before_(std::move(before)), after_(std::move(after)), what_(what) {}
  void Restore(int) override {
    if (auto* l = static_cast<ListControl*>(static_cast<Control*>(list_.live()))) l->applySnapshot(before_);
  }
  void Redo() override {
    if (auto* l = static_cast<ListControl*>(static_cast<Control*>(list_.live()))) l->applySnapshot(after_);
  }
  TSTR Description() override { return TSTR(what_); }

 private:
  KeepAlive list_;
  ListControl::Snapshot before_, after_;
  const char* what_;
};

namespace {
// The one cut entry a list can paste back, shared by all lists as the host's clipboard is.
KeepAlive& clipboard() {
  static auto* c = new KeepAlive;
  return *c;
}
}  // namespace

ListControl::ListControl(SClass_ID sclass, ULONG classPartA, const char* className)
    : sclass_(sclass), classA_(classPartA), className_(className) {}

ListControl::~ListControl() = default;

BaseInterface* ListControl::GetInterface(Interface_ID id) {
  if (id == LIST_CONTROLLER_INTERFACE) return static_cast<IListControl*>(this);
  return Control::GetInterface(id);
}

RefTargetHandle ListControl::GetReference(int i) {
  return i >= 0 && i < NumRefs() ? entries_[static_cast<size_t>(i)].ctrl : nullptr;
}

void ListControl::SetReference(int i, RefTargetHandle rtarg) {
  if (i < 0 || i >= NumRefs()) return;
  // Entries give values of the list's own type; one of another type is refused (a damaged file).
  auto* c = dynamic_cast<Control*>(rtarg);
  if (rtarg && !(c && ctrlFits(sclass_, c->SuperClassID()))) return;
  entries_[static_cast<size_t>(i)].ctrl = c;
}

TSTR ListControl::SubAnimName(int i) {
  if (i == GetListCount()) return TSTR("Available");
  return GetName(i);
}

RefTargetHandle ListControl::Clone(RemapDir& remap) {
  auto* c = new ListControl(sclass_, classA_, className_);
  c->entries_.resize(entries_.size());
  for (size_t i = 0; i < entries_.size(); ++i) {
    c->entries_[i].name = entries_[i].name;
    c->entries_[i].weight = entries_[i].weight;
    c->ReplaceReference(static_cast<int>(i), remap.CloneRef(entries_[i].ctrl));
  }
  c->active_ = active_;
  BaseClone(this, c, remap);
  return c;
}

ListControl::Snapshot ListControl::snapshot() {
  Snapshot s;
  s.items.reserve(entries_.size());
  for (const Entry& e : entries_) s.items.push_back({KeepAlive(e.ctrl), e.name, e.weight});
  s.active = active_;
  return s;
}

void ListControl::applySnapshot(const Snapshot& s) {
  // Moves the references into place without recording each move: the caller records the whole.
  theHold.Suspend();
  size_t n = s.items.size();
  if (entries_.size() < n) entries_.resize(n);
  for (size_t i = 0; i < n; ++i) {
    auto* c = static_cast<Control*>(s.items[i].ctrl.live());
    ReplaceReference(static_cast<int>(i), c);
    entries_[i].name = s.items[i].name;
    entries_[i].weight = s.items[i].weight;
  }
  for (size_t i = entries_.size(); i-- > n;) ReplaceReference(static_cast<int>(i), nullptr);
  entries_.resize(n);
  active_ = s.active;
  theHold.Resume();
  NotifyDependents(FOREVER, PART_ALL, REFMSG_SUBANIM_STRUCTURE_CHANGED);
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

void ListControl::changeEntries(const char* what, void (*edit)(std::vector<Entry>&, int, Control*), int index,
                                Control* c) {
  Snapshot before = snapshot();
  // Build the wanted entries as a snapshot and apply it, so every edit records the same way.
  std::vector<Entry> wanted = entries_;
  edit(wanted, index, c);
  Snapshot after;
  after.items.reserve(wanted.size());
  for (const Entry& e : wanted) after.items.push_back({KeepAlive(e.ctrl), e.name, e.weight});
  after.active = std::clamp(active_, 0, std::max(0, static_cast<int>(wanted.size()) - 1));
  KeepAlive keep(c);  // c may be referenced by nothing yet
  applySnapshot(after);
  if (theHold.Holding()) theHold.Put(new ListRestore(this, std::move(before), std::move(after), what));
}

BOOL ListControl::AssignController(Animatable* control, int subAnim) {
  auto* c = dynamic_cast<Control*>(control);
  if (!c || c == this || subAnim < 0 || subAnim > GetListCount() || !ctrlFits(sclass_, c->SuperClassID())) return FALSE;
  if (subAnim < GetListCount()) {
    return ReplaceReference(subAnim, c) == REF_SUCCEED ? (NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE), TRUE)
                                                       : FALSE;
  }
  if (!theHold.Holding()) {
    // Nothing to record: add the one entry rather than rebuilding the list, which made filling a
    // list quadratic in its length. The reference refuses a controller that would make a loop.
    entries_.emplace_back();
    if (ReplaceReference(GetListCount() - 1, c) != REF_SUCCEED) {
      entries_.pop_back();
      return FALSE;
    }
    NotifyDependents(FOREVER, PART_ALL, REFMSG_SUBANIM_STRUCTURE_CHANGED);
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    return TRUE;
  }
  // Appending: refuse a controller that would make a loop before the entry exists.
  if (RefGraph::createsLoop(this, c)) return FALSE;
  changeEntries("List append", [](std::vector<Entry>& e, int, Control* ctrl) { Entry entry;
    entry.ctrl = ctrl;
    e.push_back(entry); }, subAnim, c);
  return TRUE;
}

BOOL ListControl::AssignPadded(Control* ctrl, int index, MSTR padName, MSTR name) {
  if (index < 0) return FALSE;
  if (index < GetListCount()) {
    if (!AssignController(ctrl, index)) return FALSE;
    SetName(index, name);
    return TRUE;
  }
  // The same tests AssignController makes for each entry, made once: the entries all hold `ctrl`.
  if (!ctrl || ctrl == this || ctrl->IsDeleted() || !ctrlFits(sclass_, ctrl->SuperClassID()) ||
      RefGraph::createsLoop(this, ctrl))
    return FALSE;
  return appendInstances(ctrl, index + 1 - GetListCount(), ListEntryName(padName.str()), ListEntryName(name.str()));
}

BOOL ListControl::appendInstances(Control* c, int count, const ListEntryName& pad, const ListEntryName& last) {
  const bool holding = theHold.Holding();
  Snapshot before;
  if (holding) before = snapshot();
  const size_t first = entries_.size();
  const size_t total = first + static_cast<size_t>(count);
  entries_.reserve(total);
  // One record below covers every reference this adds.
  theHold.Suspend();
  bool added = true;
  for (size_t i = first; i < total && added; ++i) {
    entries_.push_back(Entry{nullptr, i + 1 == total ? last : pad, 1.0f});
    // The loop test was made once for all of them; a controller being deleted is still refused.
    added = RefGraph::replace(this, static_cast<int>(i), c, false, false) == REF_SUCCEED;
    if (!added) entries_.pop_back();
  }
  theHold.Resume();
  if (entries_.size() == first) return FALSE;
  if (holding) theHold.Put(new ListRestore(this, std::move(before), snapshot(), "List append"));
  NotifyDependents(FOREVER, PART_ALL, REFMSG_SUBANIM_STRUCTURE_CHANGED);
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  return added;
}

void ListControl::Copy(Control* from) {
  if (!from || from == this || GetListCount() > 0) return;
  AssignController(from, 0);
}

void ListControl::SetActive(int index) {
  if (index < 0 || index >= GetListCount() || index == active_) return;
  int old = active_;
  recordChange(this, old, index, [this](const int& v) { active_ = v; }, "List active");
  active_ = index;
}

void ListControl::DeleteItem(int index) {
  if (index < 0 || index >= GetListCount()) return;
  changeEntries("List delete", [](std::vector<Entry>& e, int i, Control*) { e.erase(e.begin() + i); }, index, nullptr);
}

void ListControl::CutItem(int index) {
  if (index < 0 || index >= GetListCount()) return;
  clipboard() = KeepAlive(entries_[static_cast<size_t>(index)].ctrl);
  DeleteItem(index);
}

void ListControl::PasteItem(int index) {
  auto* c = static_cast<Control*>(clipboard().live());
  if (!c || !ctrlFits(sclass_, c->SuperClassID()) || RefGraph::createsLoop(this, c)) return;
  index = std::clamp(index, 0, GetListCount());
  changeEntries("List paste", [](std::vector<Entry>& e, int i, Control* ctrl) { Entry entry;
    entry.ctrl = ctrl;
    e.insert(e.begin() + i, entry); },
                index, c);
}

void ListControl::SetName(int index, MSTR name) {
  if (index < 0 || index >= GetListCount()) return;
  Entry& e = entries_[static_cast<size_t>(index)];
  ListEntryName now(name.str());
  if (e.name == now) return;
  recordChange(this, e.name, now, [this, index](const ListEntryName& v) {
    if (index < GetListCount()) entries_[static_cast<size_t>(index)].name = v;
  }, "List name");
  e.name = std::move(now);
}

MSTR ListControl::GetName(int index) {
  if (index < 0 || index >= GetListCount()) return MSTR();
  const Entry& e = entries_[static_cast<size_t>(index)];
  if (e.name.named()) return MSTR(e.name.text().c_str());
  TSTR cls;
  if (e.ctrl) e.ctrl->GetClassName(cls);
  return cls;
}

Control* ListControl::GetSubCtrl(int index) {
  return index >= 0 && index < GetListCount() ? entries_[static_cast<size_t>(index)].ctrl : nullptr;
}

float ListControl::GetSubCtrlWeight(int index, TimeValue) {
  return index >= 0 && index < GetListCount() ? entries_[static_cast<size_t>(index)].weight : 0.0f;
}

bool ListControl::SetSubCtrlWeight(int index, float weight) {
  if (index < 0 || index >= GetListCount()) return false;
  float old = entries_[static_cast<size_t>(index)].weight;
  if (old == weight) return true;
  recordChange(this, old, weight, [this, index](const float& w) {
    if (index < GetListCount()) entries_[static_cast<size_t>(index)].weight = w;
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  }, "List weight");
  entries_[static_cast<size_t>(index)].weight = weight;
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  return true;
}

void ListControl::GetValue(TimeValue t, void* val, Interval& valid, GetSetMethod method) {
  if (!val) return;
  CtrlValue kind = ctrlValueOf(sclass_);
  switch (kind) {
    case CtrlValue::Float: {
      float sum = 0;
      for (Entry& e : entries_)
        if (e.ctrl) {
          float v = 0;
          e.ctrl->GetValue(t, &v, valid, CTRL_ABSOLUTE);
          sum += v * e.weight;
        }
      float* out = static_cast<float*>(val);
      *out = method == CTRL_RELATIVE ? *out + sum : sum;
      break;
    }
    case CtrlValue::Point3: {
      Point3 sum;
      for (Entry& e : entries_)
        if (e.ctrl) {
          Point3 v;
          e.ctrl->GetValue(t, &v, valid, CTRL_ABSOLUTE);
          sum += v * e.weight;
        }
      if (method == CTRL_RELATIVE && sclass_ == CTRL_POSITION_CLASS_ID) static_cast<Matrix3*>(val)->PreTranslate(sum);
      else if (method == CTRL_RELATIVE) *static_cast<Point3*>(val) += sum;
      else *static_cast<Point3*>(val) = sum;
      break;
    }
    case CtrlValue::Point4: {
      Point4 sum;
      for (Entry& e : entries_)
        if (e.ctrl) {
          Point4 v;
          e.ctrl->GetValue(t, &v, valid, CTRL_ABSOLUTE);
          sum = sum + v * e.weight;
        }
      Point4* out = static_cast<Point4*>(val);
      *out = method == CTRL_RELATIVE ? *out + sum : sum;
      break;
    }
    case CtrlValue::Quat: {
      Quat q;
      for (Entry& e : entries_)
        if (e.ctrl) {
          Quat v;
          e.ctrl->GetValue(t, &v, valid, CTRL_ABSOLUTE);
          q = q * Slerp(Quat(), v, e.weight);
        }
      if (method == CTRL_RELATIVE) {
        Matrix3 r;
        q.MakeMatrix(r);
        Matrix3& m = *static_cast<Matrix3*>(val);
        m = r * m;
      } else {
        *static_cast<Quat*>(val) = q;
      }
      break;
    }
    case CtrlValue::Scale: {
      Point3 s(1.0f, 1.0f, 1.0f);
      for (Entry& e : entries_)
        if (e.ctrl) {
          ScaleValue v;
          e.ctrl->GetValue(t, &v, valid, CTRL_ABSOLUTE);
          s = s * (Point3(1.0f, 1.0f, 1.0f) + (v.s - Point3(1.0f, 1.0f, 1.0f)) * e.weight);
        }
      if (method == CTRL_RELATIVE) static_cast<Matrix3*>(val)->PreScale(s);
      else *static_cast<ScaleValue*>(val) = ScaleValue(s);
      break;
    }
    default: break;
  }
}

void ListControl::SetValue(TimeValue t, void* val, int commit, GetSetMethod method) {
  if (!val || active_ < 0 || active_ >= GetListCount()) return;
  Control* active = entries_[static_cast<size_t>(active_)].ctrl;
  if (!active) return;
  // The active entry takes whatever makes the list's total the wanted value.
  Interval valid = FOREVER;
  switch (ctrlValueOf(sclass_)) {
    case CtrlValue::Float: {
      float total = 0, mine = 0, want = *static_cast<float*>(val);
      GetValue(t, &total, valid, CTRL_ABSOLUTE);
      active->GetValue(t, &mine, valid, CTRL_ABSOLUTE);
      if (method == CTRL_RELATIVE) want += total;
      float v = mine + (want - total);
      active->SetValue(t, &v, commit, CTRL_ABSOLUTE);
      break;
    }
    case CtrlValue::Point3: {
      Point3 total, mine, want = *static_cast<Point3*>(val);
      GetValue(t, &total, valid, CTRL_ABSOLUTE);
      active->GetValue(t, &mine, valid, CTRL_ABSOLUTE);
      if (method == CTRL_RELATIVE) want += total;
      Point3 v = mine + (want - total);
      active->SetValue(t, &v, commit, CTRL_ABSOLUTE);
      break;
    }
    case CtrlValue::Point4: {
      Point4 total, mine, want = *static_cast<Point4*>(val);
      GetValue(t, &total, valid, CTRL_ABSOLUTE);
      active->GetValue(t, &mine, valid, CTRL_ABSOLUTE);
      if (method == CTRL_RELATIVE) want = want + total;
      Point4 v = mine + (want - total);
      active->SetValue(t, &v, commit, CTRL_ABSOLUTE);
      break;
    }
    case CtrlValue::Quat: {
      // total = before * mine * after, so mine' = before^-1 * want * after^-1.
      Quat before, after, want = *static_cast<Quat*>(val);
      for (int i = 0; i < GetListCount(); ++i) {
        Control* c = entries_[static_cast<size_t>(i)].ctrl;
        if (!c || i == active_) continue;
        Quat v;
        c->GetValue(t, &v, valid, CTRL_ABSOLUTE);
        v = Slerp(Quat(), v, entries_[static_cast<size_t>(i)].weight);
        if (i < active_) before = before * v;
        else after = after * v;
      }
      if (method == CTRL_RELATIVE) {
        Quat total;
        GetValue(t, &total, valid, CTRL_ABSOLUTE);
        want = total * want;
      }
      Quat v = before.Inverse() * want * after.Inverse();
      active->SetValue(t, &v, commit, CTRL_ABSOLUTE);
      break;
    }
    case CtrlValue::Scale: {
      ScaleValue total, mine;
      Point3 want = static_cast<ScaleValue*>(val)->s;
      GetValue(t, &total, valid, CTRL_ABSOLUTE);
      active->GetValue(t, &mine, valid, CTRL_ABSOLUTE);
      if (method == CTRL_RELATIVE) want = want * total.s;
      Point3 s = mine.s;
      for (int k = 0; k < 3; ++k)
        if (total.s[k] != 0.0f) s[k] = mine.s[k] * want[k] / total.s[k];
      ScaleValue v(s);
      active->SetValue(t, &v, commit, CTRL_ABSOLUTE);
      break;
    }
    default: break;
  }
}

int ListControl::NumKeys() {
  std::vector<TimeValue> times;
  for (Entry& e : entries_)
    if (e.ctrl)
      for (int k = 0, n = e.ctrl->NumKeys(); k < n; ++k) times.push_back(e.ctrl->GetKeyTime(k));
  std::sort(times.begin(), times.end());
  return static_cast<int>(std::unique(times.begin(), times.end()) - times.begin());
}

TimeValue ListControl::GetKeyTime(int index) {
  std::vector<TimeValue> times;
  for (Entry& e : entries_)
    if (e.ctrl)
      for (int k = 0, n = e.ctrl->NumKeys(); k < n; ++k) times.push_back(e.ctrl->GetKeyTime(k));
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());
  return index >= 0 && index < static_cast<int>(times.size()) ? times[static_cast<size_t>(index)] : 0;
}

// ---- descriptors ----------------------------------------------------------------------------------

namespace {

template <SClass_ID S, ULONG A>
void* makeList(BOOL) {
  static const char* const names[] = {"float_list", "point3_list", "position_list", "rotation_list", "scale_list",
                                      "point4_list"};
  return new ListControl(S, A, names[A - FLOATLIST_CONTROL_CLASS_ID]);
}

HostClassDesc floatListDesc("float_list", CTRL_FLOAT_CLASS_ID, Class_ID(FLOATLIST_CONTROL_CLASS_ID, 0), "Controllers",
                            makeList<CTRL_FLOAT_CLASS_ID, FLOATLIST_CONTROL_CLASS_ID>);
HostClassDesc point3ListDesc("point3_list", CTRL_POINT3_CLASS_ID, Class_ID(POINT3LIST_CONTROL_CLASS_ID, 0),
                             "Controllers", makeList<CTRL_POINT3_CLASS_ID, POINT3LIST_CONTROL_CLASS_ID>);
HostClassDesc positionListDesc("position_list", CTRL_POSITION_CLASS_ID, Class_ID(POSLIST_CONTROL_CLASS_ID, 0),
                               "Controllers", makeList<CTRL_POSITION_CLASS_ID, POSLIST_CONTROL_CLASS_ID>);
HostClassDesc rotationListDesc("rotation_list", CTRL_ROTATION_CLASS_ID, Class_ID(ROTLIST_CONTROL_CLASS_ID, 0),
                               "Controllers", makeList<CTRL_ROTATION_CLASS_ID, ROTLIST_CONTROL_CLASS_ID>);
HostClassDesc scaleListDesc("scale_list", CTRL_SCALE_CLASS_ID, Class_ID(SCALELIST_CONTROL_CLASS_ID, 0), "Controllers",
                            makeList<CTRL_SCALE_CLASS_ID, SCALELIST_CONTROL_CLASS_ID>);
HostClassDesc point4ListDesc("point4_list", CTRL_POINT4_CLASS_ID, Class_ID(POINT4LIST_CONTROL_CLASS_ID, 0),
                             "Controllers", makeList<CTRL_POINT4_CLASS_ID, POINT4LIST_CONTROL_CLASS_ID>);
// Colours with alpha share the point4 list's class id under their own super class.
HostClassDesc rgbaListDesc("rgba_list", CTRL_FRGBA_CLASS_ID, Class_ID(POINT4LIST_CONTROL_CLASS_ID, 0), "Controllers",
                           makeList<CTRL_FRGBA_CLASS_ID, POINT4LIST_CONTROL_CLASS_ID>);

// .weight: the entries' weights in percent, a live array as script reads and writes it
// (lst.weight[2] = 50 changes the list).
ListControl* listOf(ReferenceTarget* t) { return dynamic_cast<ListControl*>(t); }

ValueMetaClass ListWeights_class("ArrayParameter");

class ListWeightsValue : public Value {
 public:
  explicit ListWeightsValue(ListControl* l) : hold_(l), list_(l) { tag = &ListWeights_class; }
  Value* get_index(Value* index) override {
    return Float::intern(list()->GetSubCtrlWeight(slot(index), 0) * 100.0f);
  }
  Value* set_index(Value* index, Value* v) override {
    if (!is_number(v)) throw ConversionError(v, "Float");
    list()->SetSubCtrlWeight(slot(index), v->to_float() / 100.0f);
    return v;
  }
  Value* get_property(Value* prop) override {
    if (static_cast<Name*>(prop)->lower == "count") return Integer::intern(list()->GetListCount());
    return unknown_property(this, prop);
  }
  bool has_property(Value* prop) override { return static_cast<Name*>(prop)->lower == "count"; }
  Array* as_collection() override {
    auto* a = static_cast<Array*>(rt::keep(new Array(list()->GetListCount())));
    for (int i = 0; i < list()->GetListCount(); ++i) a->append(Float::intern(list()->GetSubCtrlWeight(i, 0) * 100.0f));
    return a;
  }
  void sprin1(CharStream* s) override { as_collection()->sprin1(s); }

 private:
  ListControl* list() const {
    if (!hold_.live()) throw RuntimeError("Attempt to access deleted scene object");
    return list_;
  }
  int slot(Value* index) const {
    int i = index->to_int();
    if (i < 1 || i > list()->GetListCount()) throw RuntimeError("Array index out of bounds: ", index);
    return i - 1;
  }
  KeepAlive hold_;
  ListControl* list_;
};

const bool listProps = addPropertyTable(
    PropertyScope{0, Class_ID(0, 0), false, [](ReferenceTarget* t) { return listOf(t) != nullptr; }},
    {
        {"weight", [](ReferenceTarget* t, TimeValue) -> Value* { return new ListWeightsValue(listOf(t)); },
         [](ReferenceTarget* t, TimeValue, Value* v) {
           ListControl* l = listOf(t);
           Array* a = v->as_collection();
           if (!a) throw ConversionError(v, "Array");
           if (a->size > l->GetListCount()) throw RuntimeError("More weights than list entries: ", v);
           for (int i = 0; i < a->size; ++i)
             if (!is_number(a->data[i])) throw ConversionError(a->data[i], "Float");
           std::vector<float> weights;
           for (int i = 0; i < a->size; ++i) weights.push_back(a->data[i]->to_float() / 100.0f);
           for (size_t i = 0; i < weights.size(); ++i) l->SetSubCtrlWeight(static_cast<int>(i), weights[i]);
         }},
    });

}  // namespace

}  // namespace sim
