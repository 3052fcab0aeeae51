// The host's parameter block: the values of one IParamBlock2, stored per parameter in one column of
// the parameter's kind, so that reading or writing an entry is a lookup of the id in the descriptor
// and an index into the column.
#pragma once

#include "hold.h"
#include "iparamb2.h"

#include "core/ref_graph.h"

#include <memory>
#include <variant>
#include <vector>

namespace sim {

// Whether a controller put on a parameter starts from the value the parameter shows now: a fresh
// one does, one that already has keys keeps its animation (setting the value at 0 with animation
// off would shift every key).
bool takesOverCurrentValue(Control* c);

// How a parameter's entries are stored, from its type and flags.
enum class ParamKind : unsigned char {
  Int,       // INT, BOOL, TIMEVALUE, RADIOBTN_INDEX, INDEX
  Float,     // FLOAT, ANGLE, PCNT_FRAC, WORLD, COLOR_CHANNEL
  Point3,    // POINT3, RGBA, HSV
  Point4,    // POINT4, FRGBA
  Matrix3,   // MATRIX3
  String,    // STRING, FILENAME
  Ref,       // reference types: references of the block
  OwnerRef,  // reference types with P_OWNERS_REF: references of the owner
  PlainRef,  // reference types with P_NO_REF: plain pointers
  None,      // types the block does not hold values for (TYPE_BITMAP); only a table length
};
HOST_API ParamKind paramKind(const ParamDef& d);

// A string entry: null when unset. Each text lives in one allocation of its own, exactly its size,
// so it stays put when the table around it grows or shifts.
using StrEntry = std::unique_ptr<char[]>;
HOST_API StrEntry makeText(const TCHAR* s);  // null for null

// One entry taken out of (or to be put into) a column, used by table edits and undo records.
// Targets are kept alive by the hold while the entry is outside the block.
using Entry = std::variant<int, float, Point3, Point4, Matrix3, StrEntry, KeepAlive>;

class HOST_API ParamBlock2 final : public IParamBlock2 {
 public:
  ParamBlock2(ParamBlockDesc2* desc, ReferenceMaker* owner);
  ~ParamBlock2() override;

  // ---- ReferenceMaker / ReferenceTarget ----
  int NumRefs() override;
  RefTargetHandle GetReference(int i) override;
  void SetReference(int i, RefTargetHandle rtarg) override;
  RefResult NotifyRefChanged(Interval changeInt, RefTargetHandle hTarget, PartID& partID, RefMessage message) override;
  void RefDeleted() override;
  RefTargetHandle Clone(RemapDir& remap) override;
  // Every parameter's entries (param_block2_io.cpp); references are saved by the host.
  IOResult Save(ISave* isave) override;
  IOResult Load(ILoad* iload) override;
  int RemapRefOnLoad(int iref) override;

  // ---- sub-animations (param_block2_subanims.cpp) ----
  // One per animatable parameter that is no table: its controller (null until it has one) under the
  // parameter's name, as the track view lists a block.
  int NumSubs() override;
  // The parameter behind sub-animation `i`, or -1.
  ParamID SubAnimParamID(int i) const { int p = subAnimParam(i); return p < 0 ? ParamID(-1) : defAt(p).ID; }
  Animatable* SubAnim(int i) override;
  TSTR SubAnimName(int i) override;
  BOOL AssignController(Animatable* control, int subAnim) override;

  // ---- IParamBlock2 ----
  DWORD GetVersion() override { return desc_->version; }
  int NumParams() override { return desc_->count; }
  MSTR GetLocalName() override;
  ParamBlockDesc2* GetDesc() override { return desc_; }
  ParamDef& GetParamDef(ParamID id) override { return desc_->GetParamDef(id); }
  BlockID ID() override { return desc_->ID; }
  int IDtoIndex(ParamID id) override { return desc_->IDtoIndex(id); }
  ParamID IndextoID(int i) override { return desc_->IndextoID(i); }
  ReferenceMaker* GetOwner() override;
  void SetOwner(ReferenceMaker* owner) override { owner_ = owner; }
  ParamType2 GetParameterType(ParamID id) override;
  MSTR GetLocalName(ParamID id, int tabIndex = -1) override;

  BOOL SetValue(ParamID id, TimeValue t, float v, int tabIndex = 0) override;
  BOOL SetValue(ParamID id, TimeValue t, int v, int tabIndex = 0) override;
  BOOL SetValue(ParamID id, TimeValue t, const ::Point3& v, int tabIndex = 0) override;
  BOOL SetValue(ParamID id, TimeValue t, const ::Point4& v, int tabIndex = 0) override;
  BOOL SetValue(ParamID id, TimeValue t, const Color& v, int tabIndex = 0) override;
  BOOL SetValue(ParamID id, TimeValue t, const AColor& v, int tabIndex = 0) override;
  BOOL SetValue(ParamID id, TimeValue t, const TCHAR* v, int tabIndex = 0) override;
  BOOL SetValue(ParamID id, TimeValue t, const ::Matrix3& v, int tabIndex = 0) override;
  BOOL SetValue(ParamID id, TimeValue t, INode* v, int tabIndex = 0) override;
  BOOL SetValue(ParamID id, TimeValue t, ReferenceTarget* v, int tabIndex = 0) override;

  BOOL GetValue(ParamID id, TimeValue t, float& v, Interval& ivalid, int tabIndex = 0) override;
  BOOL GetValue(ParamID id, TimeValue t, int& v, Interval& ivalid, int tabIndex = 0) override;
  BOOL GetValue(ParamID id, TimeValue t, ::Point3& v, Interval& ivalid, int tabIndex = 0) override;
  BOOL GetValue(ParamID id, TimeValue t, ::Point4& v, Interval& ivalid, int tabIndex = 0) override;
  BOOL GetValue(ParamID id, TimeValue t, Color& v, Interval& ivalid, int tabIndex = 0) override;
  BOOL GetValue(ParamID id, TimeValue t, AColor& v, Interval& ivalid, int tabIndex = 0) override;
  BOOL GetValue(ParamID id, TimeValue t, const TCHAR*& v, Interval& ivalid, int tabIndex = 0) override;
  BOOL GetValue(ParamID id, TimeValue t, TCHAR*& v, Interval& ivalid, int tabIndex = 0) override;
  BOOL GetValue(ParamID id, TimeValue t, ::Matrix3& v, Interval& ivalid, int tabIndex = 0) override;
  BOOL GetValue(ParamID id, TimeValue t, INode*& v, Interval& ivalid, int tabIndex = 0) override;
  BOOL GetValue(ParamID id, TimeValue t, ReferenceTarget*& v, Interval& ivalid, int tabIndex = 0) override;

  int GetInt(ParamID id, TimeValue t = 0, int tabIndex = 0) override;
  float GetFloat(ParamID id, TimeValue t = 0, int tabIndex = 0) override;
  TimeValue GetTimeValue(ParamID id, TimeValue t = 0, int tabIndex = 0) override { return GetInt(id, t, tabIndex); }
  ::Point3 GetPoint3(ParamID id, TimeValue t = 0, int tabIndex = 0) override;
  ::Point4 GetPoint4(ParamID id, TimeValue t = 0, int tabIndex = 0) override;
  Color GetColor(ParamID id, TimeValue t = 0, int tabIndex = 0) override;
  AColor GetAColor(ParamID id, TimeValue t = 0, int tabIndex = 0) override;
  const TCHAR* GetStr(ParamID id, TimeValue t = 0, int tabIndex = 0) override;
  ::Matrix3 GetMatrix3(ParamID id, TimeValue t = 0, int tabIndex = 0) override;
  INode* GetINode(ParamID id, TimeValue t = 0, int tabIndex = 0) override;
  ReferenceTarget* GetReferenceTarget(ParamID id, TimeValue t = 0, int tabIndex = 0) override;

  int Count(ParamID id) override;
  void ZeroCount(ParamID id) override { SetCount(id, 0); }
  void SetCount(ParamID id, int n) override;
  int Delete(ParamID id, int start, int num) override;
  int Resize(ParamID id, int num) override;
  void Shrink(ParamID id) override;

  int Append(ParamID id, int num, int* el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, float* el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, ::Point3* el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, ::Point3** el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, ::Point4* el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, ::Point4** el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, Color* el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, Color** el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, AColor* el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, AColor** el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, ::Matrix3* el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, ::Matrix3** el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, const TCHAR** el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, TCHAR** el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, INode** el, int allocExtra = 0) override { return appendAll(id, num, el); }
  int Append(ParamID id, int num, ReferenceTarget** el, int allocExtra = 0) override { return appendAll(id, num, el); }

  int Insert(ParamID id, int at, int num, int* el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, float* el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, ::Point3* el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, ::Point3** el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, ::Point4* el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, ::Point4** el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, Color* el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, Color** el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, AColor* el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, AColor** el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, ::Matrix3* el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, ::Matrix3** el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, const TCHAR** el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, TCHAR** el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, INode** el) override { return insertAll(id, at, num, el); }
  int Insert(ParamID id, int at, int num, ReferenceTarget** el) override { return insertAll(id, at, num, el); }

  using IParamBlock2::LastNotifyParamID;
  ParamID LastNotifyParamID() override { return lastId_; }
  ParamID LastNotifyParamID(int& tabIndex) override;
  void EnableNotifications(BOOL onOff) override;
  BOOL IsNotificationEnabled() override;
  void RefDeleted(ParamID id, int tabIndex = 0) override;

  void ResetAll(BOOL updateUI = TRUE, BOOL callSetHandlers = TRUE) override;
  void Reset(ParamID id, int tabIndex = -1, BOOL updateUI = TRUE, BOOL callSetHandlers = TRUE) override;

  int GetRefNum(int i, int tabIndex = 0) override;
  int GetControllerRefNum(int i, int tabIndex = 0) override;
  ParamID FindRefParam(ReferenceTarget* ref, int& tabIndex) override;
  Control* GetControllerByID(ParamID id, int tabIndex = 0) override;
  Control* GetControllerByIndex(int i, int tabIndex = 0) override;
  BOOL SetControllerByID(ParamID id, int tabIndex, Control* newc, bool preserveFrameZeroValue = true) override;
  void GetValidity(TimeValue t, Interval& valid) override {}

  // ---- host side ----
  // The kind of parameter index `i`.
  ParamKind kindAt(int i) const { return params_[static_cast<size_t>(i)].kind; }

 private:
  friend class ParamEntryRestore;
  friend class ParamTableRestore;
  friend class ParamControllerRestore;

  // The entries of one parameter: a column of its kind (an entry count for OwnerRef and None), and
  // for P_ANIMATABLE numeric, point and colour parameters one controller reference per entry.
  using Column = std::variant<std::vector<int>, std::vector<float>, std::vector<::Point3>, std::vector<::Point4>,
                              std::vector<::Matrix3>, std::vector<StrEntry>, std::vector<ReferenceTarget*>, int>;
  struct Param {
    ParamKind kind = ParamKind::None;
    bool hasControllers = false;
    Column values;
    std::vector<ReferenceTarget*> controllers;
  };

  // Suspends undo recording while the block changes references itself: its own records cover
  // those changes, and the reference system's would record them twice.
  struct NoRecords {
    NoRecords() { theHold.Suspend(); }
    ~NoRecords() { theHold.Resume(); }
    NoRecords(const NoRecords&) = delete;
    NoRecords& operator=(const NoRecords&) = delete;
  };

  // Fills the block with `desc`'s parameters at their defaults (a loaded block learns its
  // descriptor from the file).
  void build(ParamBlockDesc2* desc);

  // ---- scene files (param_block2_io.cpp) ----
  // Where the references the file saved for a parameter go: `count` saved references from `first`
  // belong to parameter `p` (its entries, or its controllers); p -1 drops them.
  struct SavedRefs {
    int first, count, p;
    bool controllers;
  };
  IOResult loadParam(ILoad* iload, int& savedRef);
  void fillDefaults(int p, int count);
  std::vector<SavedRefs> savedRefs_;
  bool loaded_ = false;

  // ---- lookup ----
  int paramIndex(ParamID id) const;
  // The entry `tabIndex` names: 0 for a parameter that is not a table, -1 outside the table.
  int entryIndex(int p, int tabIndex) const;
  bool locate(ParamID id, int tabIndex, int& p, int& tab) const;
  int countAt(int p) const;
  const ParamDef& defAt(int p) const { return desc_->paramdefs[p]; }
  MSTR displayName(StringResID localName, const TCHAR* intName) const;

  // ---- references ----
  // Slots the parameter contributes to the block's references.
  int refSlots(int p) const;
  void updateRefLayout();
  // Parameter and entry of reference `i`, and whether it is a controller slot; false when out of range.
  bool refAt(int i, int& p, int& tab, bool& controller);
  int refIndexOf(int p, int tab, bool controller);
  ReferenceTarget* targetAt(int p, int tab);
  // Points entry `tab` of reference parameter `p` at `t` the reference system's way, unrecorded.
  bool setTarget(int p, int tab, ReferenceTarget* t);
  bool acceptsTarget(int p, ReferenceTarget* t) const;
  // Whether entry values of `p` may be `t`: its type, not deleted, no reference loop.
  bool canHold(int p, ReferenceTarget* t);
  ParamID findRef(ReferenceTarget* ref, int& tabIndex, bool ownersToo);

  // ---- entries ----
  Entry defaultEntry(int p) const;
  // Swaps entry (p, tab) with `e`, which must be of the parameter's kind: the primitive of every
  // write, undo and redo. A target leaving the block stays alive in `e`.
  bool swapEntry(int p, int tab, Entry& e);
  // Replaces entry (p, tab) with `e`, recording undo and (unless told not to) notifying.
  BOOL write(int p, int tab, Entry&& e, bool notify = true);
  BOOL writeTarget(ParamID id, ReferenceTarget* t, int tabIndex);

  // The parameter index of sub-animation `i`, or -1.
  int subAnimParam(int i) const;

  // ---- controllers of animatable entries (param_block2_controllers.cpp) ----
  // The controller driving entry `tab` of parameter index `p`, or null.
  Control* controllerAt(int p, int tab);
  // Reads a driven entry at `t` into `v`; false when the entry has no controller.
  bool readDriven(int p, int tab, TimeValue t, float& v);
  bool readDriven(int p, int tab, TimeValue t, ::Point3& v);
  bool readDriven(int p, int tab, TimeValue t, ::Point4& v);
  // Writes through the entry's controller, making one first when the animate state is on at a
  // time other than 0; false when the value goes into the column instead.
  bool writeDriven(int p, int tab, TimeValue t, float v);
  bool writeDriven(int p, int tab, TimeValue t, const ::Point3& v);
  bool writeDriven(int p, int tab, TimeValue t, const ::Point4& v);
  template <class T>
  bool writeThrough(int p, int tab, TimeValue t, const T& v);
  // Puts `c` in the entry's controller slot, with an undo record of the block's own.
  bool replaceController(int p, int tab, Control* c);

  // ---- tables (param_block2_tables.cpp) ----
  // Takes `n` entries from `at` out of the table (and their controllers into `controllers`).
  std::vector<Entry> removeEntries(int p, int at, int n, std::vector<KeepAlive>& controllers);
  void insertEntries(int p, int at, std::vector<Entry>&& entries, std::vector<KeepAlive>&& controllers);
  // Recorded and notified table edits; `notifyTab` is what LastNotifyParamID reports.
  int insertRecorded(int p, int at, std::vector<Entry>&& entries, int notifyTab);
  void removeRecorded(int p, int at, int n, int notifyTab);
  template <class T> bool toEntries(int p, int num, T* el, std::vector<Entry>& out);
  template <class T> int appendAll(ParamID id, int num, T* el);
  template <class T> int insertAll(ParamID id, int at, int num, T* el);
  void recordEntry(int p, int tab, Entry&& previous);

  void changed(int p, int tab);

  ParamBlockDesc2* desc_;
  ReferenceMaker* owner_;
  bool ownerConfirmed_ = false;  // the owner was seen referencing the block
  std::vector<Param> params_;
  std::vector<int> refParams_;   // indices of parameters with reference slots, in order
  // Indices of parameters that can hold a target (reference, plain or owner's entries, or
  // controller slots), in order: the only ones findRef needs to look through, for every message.
  std::vector<int> targetParams_;
  std::vector<int> refStart_;    // first reference of each of them
  int numRefs_ = 0;
  bool refLayoutDirty_ = true;
  ParamID lastId_ = -1;
  int lastTab_ = -1;
};

// What ClassDesc2 records of the automatic rollout calls, for the UI layer and for tests.
struct InvalidateUIRecord {
  ParamBlockDesc2* pbd = nullptr;  // null: every rollout of the class
  ParamID id = -1;                 // -1: the whole rollout
  int tabIndex = -1;
  int calls = 0;
};
struct EditParamsRecord {
  IObjParam* ip = nullptr;
  ReferenceMaker* obj = nullptr;  // the object being edited; null once EndEditParams ran
  ULONG flags = 0;
  int begins = 0;
  int ends = 0;
  int rolloutRestores = 0;
};
HOST_API const InvalidateUIRecord& lastInvalidateUI(ClassDesc2* cd);
HOST_API const EditParamsRecord& editParamsState(ClassDesc2* cd);

// The class descriptors' lists of block descriptors live in the host, keyed by the ClassDesc2's
// address: a static ParamBlockDesc2 may register before its ClassDesc2 (a static of another source
// file) has been constructed, and nothing of the ClassDesc2 object is touched until it is used.
void registerParamBlockDesc(ClassDesc2* cd, ParamBlockDesc2* pbd);
void unregisterParamBlockDesc(ClassDesc2* cd, ParamBlockDesc2* pbd);

}  // namespace sim
