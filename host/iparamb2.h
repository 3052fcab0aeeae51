// Parameter blocks, second edition: a plug-in describes its parameters once in a ParamBlockDesc2
// (usually a static built by the variadic constructor below), registers it with its ClassDesc2, and
// every instance gets an IParamBlock2 holding the values, made by CreateParameterBlock2 or
// ClassDesc2::MakeAutoParamBlocks.
//
// What every block shares:
// - Parameters are addressed by their permanent ParamID; lookups by id are constant time. A
//   parameter of a _TAB type is a table; `tabIndex` picks the entry and is ignored otherwise.
// - Every change (SetValue, table edits, Reset) updates LastNotifyParamID, records itself in
//   theHold when it is holding, and then tells the block's dependents REFMSG_CHANGE.
// - Values set from C++ are not clamped to their p_range (the host does not clamp either); the
//   range is there for the UI and for script.
// - Reference-valued parameters (TYPE_INODE, TYPE_REFTARG, TYPE_MTL, TYPE_TEXMAP, TYPE_PBLOCK2 and
//   their tables) are real references of the block: the block keeps their targets alive and an
//   entry becomes null when its target is deleted. The block's reference numbering: parameters in
//   definition order; each reference-valued parameter contributes one reference per current entry
//   (its target), and each P_ANIMATABLE parameter of a numeric, point or colour type contributes one
//   reference per current entry (its controller; null until controllers drive values). A table edit
//   therefore renumbers the references of later parameters.
// - P_OWNERS_REF parameters are references of the block's owner instead: entry i is the owner's
//   reference `p_refno + i`. Reading gives owner->GetReference(refno + i), writing does
//   owner->ReplaceReference(refno + i, t); the block holds no reference for them and keeps only the
//   table's length.
// - Strings are copied in. A string returned by GetStr (or GetValue) stays valid until that entry
//   changes or is deleted. A string entry can be unset (null) as well as empty.
#pragma once

#include "color.h"
#include "host_api.h"
#include "interval.h"
#include "iparamm2.h"
#include "matrix3.h"
#include "maxtypes.h"
#include "paramtype.h"
#include "plugapi.h"
#include "point3.h"
#include "ref.h"
#include "strclass.h"
#include "tab.h"

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

class ClassDesc2;
class Control;
class IParamBlock2;
class IObjParam;
class INode;
class ParamDimension;

using USHORT = unsigned short;
using ULONGLONG = std::uint64_t;
// A string-table id of the plug-in (ClassDesc::GetRsrcString turns it into text).
using StringResID = INT_PTR;
using ResID = INT_PTR;

// ---- block flags (the descriptor constructor's `flags`) -----------------------------------------
constexpr int P_CLASS_PARAMS = 0x0001;    // class-level parameters (not supported: read as a normal block)
constexpr int P_AUTO_CONSTRUCT = 0x0002;  // MakeAutoParamBlocks builds it; a reference number follows
constexpr int P_AUTO_UI = 0x0004;         // automatic rollout; the rollout arguments follow
constexpr int P_USE_PARAMS = 0x0008;      // shares the parameters of another descriptor (pointer follows)
constexpr int P_INCLUDE_PARAMS = 0x0010;  // starts from a copy of another descriptor's parameters
constexpr int P_MULTIMAP = 0x0020;        // several rollouts: a count and one entry per map follow
constexpr int P_CALLSETS_ON_LOAD = 0x0040;
constexpr int P_HASCATEGORY = 0x0080;     // each rollout entry ends with a category number
constexpr int P_TEMPLATE_UI = 0x0100;
constexpr int P_VERSION = 0x0200;         // a version number follows the flags, before the reference number
constexpr int P_SCRIPTED_CLASS = 0x1000;
constexpr int P_TEMPORARY = 0x2000;

// ---- parameter flags (the `flags` of each parameter definition) -----------------------------------
constexpr int P_ANIMATABLE = 0x00000001;
constexpr int P_TRANSIENT = 0x00000002;    // not saved with the scene
constexpr int P_NO_INIT = 0x00000004;
constexpr int P_COMPUTED_NAME = 0x00000008;
constexpr int P_INVISIBLE = 0x00000010;
constexpr int P_RESET_DEFAULT = 0x00000020;
constexpr int P_SUBANIM = 0x00000040;
constexpr int P_TV_SHOW_ALL = 0x00000080;
constexpr int P_NO_REF = 0x00000100;       // a reference-typed value kept as a plain pointer: no reference
constexpr int P_OWNERS_REF = 0x00000200;   // entries are the owner's references from p_refno on
constexpr int P_CAN_CONVERT = 0x00000400;
constexpr int P_SUBTEX = 0x00000800;
constexpr int P_VARIABLE_SIZE = 0x00001000;  // script may resize the table; C++ always may
constexpr int P_NO_AUTO_LABELS = 0x00002000;
constexpr int P_SHORT_LABELS = 0x00004000;
constexpr int P_READ_ONLY = 0x00008000;      // script may not assign it
constexpr int P_OBSOLETE = 0x40000000;

// Flags the descriptor sets itself in ParamDef::flags, beside the ones above.
constexpr ULONGLONG P_IS_REF = 0x0000000000010000ull;
constexpr ULONGLONG P_HAS_DEFAULT = 0x0000000000020000ull;
constexpr ULONGLONG P_HAS_MS_DEFAULT = 0x0000000000080000ull;
constexpr ULONGLONG P_HAS_RANGE = 0x0000000000100000ull;
constexpr ULONGLONG P_HAS_CLASS_ID = 0x0000000000200000ull;
constexpr ULONGLONG P_HAS_SCLASS_ID = 0x0000000000400000ull;
constexpr ULONGLONG P_UI_ENABLED = 0x0000000000800000ull;
constexpr ULONGLONG P_HAS_PROMPT = 0x0000000001000000ull;
constexpr ULONGLONG P_HAS_CAPTION = 0x0000000002000000ull;
constexpr ULONGLONG P_HAS_FILETYPES = 0x0000000004000000ull;
constexpr ULONGLONG P_HAS_REFNO = 0x0000000008000000ull;
constexpr ULONGLONG P_HAS_SUBTEXNO = 0x0000000010000000ull;
constexpr ULONGLONG P_HAS_TOOLTIP = 0x0001000000000000ull;

// Tags of the optional part of a parameter definition, with the host's values (far outside the
// range of a ParamID, so a parameter id can never be taken for a tag).
enum ParamTags {
  p_default = -(1 << 30),
  p_ms_default,
  p_range,
  p_ui,
  p_validator,
  p_accessor,
  p_vals,
  p_refno,
  p_subtexno,
  p_submtlno,
  p_dim,
  p_classID,
  p_sclassID,
  p_enabled,
  p_enable_ctrls,
  p_prompt,
  p_caption,
  p_init_file,
  p_file_types,
  p_ctrl_ids,
  p_uix,
  p_configurable_default,
  p_tooltip,
  p_assetTypeID,
  p_assetTypeName,
};

// The end of a parameter (and of the whole list) is p_default + 1024. Function-publishing tables end
// with the same value: whichever of the two headers comes first defines it.
#ifndef QZM_P_END_DEFINED
#  define QZM_P_END_DEFINED
enum : int { p_end = -(1 << 30) + 1024 };
#endif
static_assert(p_end == p_default + 1024);

constexpr bool reftarg_type(int t) {
  const int b = base_type(t);
  return b == TYPE_MTL || b == TYPE_TEXMAP || b == TYPE_INODE || b == TYPE_REFTARG || b == TYPE_PBLOCK2;
}

// Validators and accessors are stored with their parameters (p_validator, p_accessor) for the UI
// and script layers; the block does not call them.
class HOST_API PBValidator {
 public:
  virtual ~PBValidator();
  virtual void DeleteThis() {}
};

class HOST_API PBAccessor {
 public:
  virtual ~PBAccessor();
  virtual void DeleteThis() {}
};

// A default, script default, or range end of a parameter: the member of the parameter's kind is
// set (i for int-like types, f for float-like, p for Point3 and Color, p4 for Point4 and AColor,
// m for Matrix3, s for strings, owned by the descriptor).
struct PB2DefValue {
  int i = 0;
  float f = 0.0f;
  Point3 p;
  Point4 p4;
  Matrix3 m;
  const TCHAR* s = nullptr;
};

// One parameter's definition. Names and texts point into storage owned by the descriptor.
struct ParamDef {
  ParamID ID = -1;
  const TCHAR* int_name = nullptr;  // the script-visible name
  ParamType2 type = TYPE_VOID;
  ULONGLONG flags = 0;              // P_* flags above
  StringResID local_name = 0;       // string-table id of the display name
  ParamDimension* dim = nullptr;
  PB2DefValue def;                  // p_default (P_HAS_DEFAULT)
  PB2DefValue ms_def;               // p_ms_default (P_HAS_MS_DEFAULT)
  PB2DefValue range_low;            // p_range (P_HAS_RANGE)
  PB2DefValue range_high;
  PBValidator* validator = nullptr;
  PBAccessor* accessor = nullptr;
  short tab_size = 0;               // declared (initial) number of entries of a table
  short ref_no = -1;                // p_refno: the owner's first reference of a P_OWNERS_REF parameter
  short subobj_no = -1;             // p_subtexno / p_submtlno
  Class_ID class_ID;                // p_classID
  SClass_ID sclass_ID = 0;          // p_sclassID
  // The p_ui binding (ctrl_type -1: none). For a table shown by per-entry controls, ctrl_IDs holds
  // the ids of every entry in turn.
  int ctrl_type = -1;               // ControlType2
  int spin_type = 0;                // EditSpinnerType of a spinner or slider
  std::vector<int> ctrl_IDs;
  short ctrl_count = 0;
  std::vector<int> val_bits;        // p_vals of a radio-button group
  float scale = 0.0f;               // spinner step
  int numSegs = 0;                  // slider ticks
  std::vector<ParamID> enable_ctrls;  // p_enable_ctrls
  short enable_count = 0;
  int prompt = 0;
  int caption = 0;
  int toolTip = 0;
  const TCHAR* init_file = nullptr;
  int file_types = 0;
  Tab<MapID> maps;                  // maps showing the parameter: the p_ui map, then each p_uix
};

// The descriptor of one kind of block. Built once, before any block of it exists; blocks keep a
// pointer to it, so it must outlive them (plug-ins declare it static).
class HOST_API ParamBlockDesc2 {
 public:
  ParamDef* paramdefs = nullptr;  // `count` definitions, in definition order
  ClassDesc2* cd = nullptr;
  const TCHAR* int_name = nullptr;
  StringResID local_name = 0;
  BlockID ID = 0;
  USHORT count = 0;
  ULONG version = 0;  // P_VERSION
  USHORT flags = 0;
  int ref_no = 0;     // P_AUTO_CONSTRUCT: the owner's reference that holds the block
  // P_AUTO_UI, one rollout:
  int dlg_template = 0;
  int title = 0;
  int test_flags = 0;
  int rollup_flags = 0;
  ParamMap2UserDlgProc* dlgProc = nullptr;
  int category = 0;
  // P_AUTO_UI with P_MULTIMAP: one entry per rollout.
  struct map_spec {
    MapID map_id = 0;
    int dlg_template = 0;
    int title = 0;
    int test_flags = 0;
    int rollup_flags = 0;
    ParamMap2UserDlgProc* dlgProc = nullptr;
    int category = 0;
  };
  Tab<map_spec> map_specs;
  IParamBlock2* class_params = nullptr;

  ParamBlockDesc2();
  // The descriptor from the plug-in's declaration list, registered with `cd` (when not null):
  //
  //   ParamBlockDesc2 desc(BlockID id, _T("int_name"), StringResID local_name, ClassDesc2* cd, flags,
  //     [int version,]                          with P_VERSION
  //     [int ref_no,]                           with P_AUTO_CONSTRUCT
  //     [int dlg_template, int title, int test_flags, int rollup_flags,
  //      ParamMap2UserDlgProc* proc, [int category,]]           with P_AUTO_UI
  //     [int map_count, then per map: MapID map_id, int dlg_template, int title, int test_flags,
  //      int rollup_flags, ParamMap2UserDlgProc* proc, [int category]]   with P_AUTO_UI + P_MULTIMAP
  //     [ParamBlockDesc2* source,]              with P_USE_PARAMS (the list ends here) or P_INCLUDE_PARAMS
  //     parameters..., p_end);
  //
  // Each parameter: ParamID id, const TCHAR* int_name, ParamType2 type, [int table_size for _TAB
  // types,] int flags, int local_name_string_id, then tags, then p_end. The tags and what each reads
  // (float-like values are doubles: write 1.0, not 1, since varargs do not convert):
  //   p_default, p_ms_default   int for INT/BOOL/TIMEVALUE/RADIOBTN_INDEX/INDEX; double for
  //                             FLOAT/ANGLE/PCNT_FRAC/WORLD/COLOR_CHANNEL; Point3 for POINT3/HSV;
  //                             Color for RGBA; Point4 for POINT4; AColor for FRGBA; Matrix3 for
  //                             MATRIX3; const TCHAR* (may be NULL) for STRING/FILENAME. A table's
  //                             default is of its entries' type.
  //   p_range                   two ints for int-like types, two doubles for float-like, point and
  //                             colour types (each component's range)
  //   p_ui                      [MapID with P_MULTIMAP,] control type, then by control:
  //                               TYPE_SPINNER: EditSpinnerType, edit id, spinner id, double step
  //                               TYPE_SLIDER: EditSpinnerType, edit id, slider id, int ticks
  //                               TYPE_RADIO: int count, that many button ids
  //                               TYPE_SINGLECHEKBOX, TYPE_CHECKBUTTON, TYPE_COLORSWATCH,
  //                               TYPE_COLORSWATCH_FRGBA, TYPE_EDITBOX, TYPE_PICKNODEBUTTON,
  //                               TYPE_TEXMAPBUTTON, TYPE_MTLBUTTON, TYPE_BITMAPBUTTON,
  //                               TYPE_FILEOPENBUTTON, TYPE_FILESAVEBUTTON: the control id
  //                             A table with per-entry controls gives the ids (edit and spinner
  //                             pairs for spinners and sliders) once per declared entry.
  //   p_uix                     MapID
  //   p_vals                    one int per button of the preceding TYPE_RADIO
  //   p_validator, p_accessor   PBValidator*, PBAccessor*
  //   p_refno, p_subtexno, p_submtlno, p_enabled, p_prompt, p_caption, p_file_types, p_tooltip: int
  //   p_dim                     ParamDimension*
  //   p_classID                 Class_ID;  p_sclassID: SClass_ID
  //   p_enable_ctrls            int count, that many ParamIDs
  //   p_init_file               const TCHAR*
  // Reading stops at the final p_end. Anything it cannot read (an unknown tag or control, a type it
  // does not know, a duplicate id or name, more than 1000 parameters, an implausible count) ends
  // reading there: the parameters read completely so far are kept and ParseError() says what
  // happened (it is also written to standard error). Nothing after that point is read.
  // `flags` is an int where the host has USHORT (and AddParam's id an int where it has ParamID): the
  // last parameter before `...` must not be of a type that varargs promote. Callers write the same.
  ParamBlockDesc2(BlockID ID, const TCHAR* int_name, StringResID local_name, ClassDesc2* cd, int flags, ...);
  ~ParamBlockDesc2();
  ParamBlockDesc2(const ParamBlockDesc2&) = delete;
  ParamBlockDesc2& operator=(const ParamBlockDesc2&) = delete;

  // Adds one parameter, in the constructor's form (starting at its id, ending at its p_end).
  // Only before any block of the descriptor exists.
  void AddParam(int id, ...);
  // For a descriptor constructed with a null ClassDesc2: sets and registers it once.
  void SetClassDesc(ClassDesc2* cd);

  USHORT Count() const { return count; }
  DWORD Version() const { return version; }
  int IDtoIndex(ParamID id) const;
  // Index of the parameter whose internal name is `name`, ignoring case; -1 if none.
  int NameToIndex(const TCHAR* name) const;
  ParamID IndextoID(int i) const { return i >= 0 && i < count ? paramdefs[i].ID : ParamID(-1); }
  // The definition of `id`; an unknown id gives a definition with ID -1 and type TYPE_VOID.
  ParamDef& GetParamDef(ParamID id);

  // The rollout's user procedure for map `map_id` (map 0 of a one-rollout block).
  void SetUserDlgProc(ParamMap2UserDlgProc* proc = nullptr) { SetUserDlgProc(0, proc); }
  void SetUserDlgProc(MapID map_id, ParamMap2UserDlgProc* proc);
  ParamMap2UserDlgProc* GetUserDlgProc(MapID map_id = 0);
  // Forwarded to the ClassDesc2.
  void InvalidateUI();
  void InvalidateUI(ParamID id, int tabIndex = -1);

  // Empty when the declaration list was read completely.
  const TCHAR* ParseError() const { return error_.c_str(); }

 private:
  struct Parser;
  const TCHAR* keep(const TCHAR* s);
  void rebuildIndex();

  std::vector<ParamDef> defs_;
  std::deque<std::string> texts_;  // names and default strings; a deque never moves its elements
  std::vector<short> byId_;        // index by id - idBase_, -1 for gaps
  int idBase_ = 0;
  std::unordered_map<std::string, int> byName_;  // lower-case name -> index
  ParamDef none_;
  std::string error_;
};

// The values of one block. Implemented by the host; plug-ins see only this interface.
class HOST_API IParamBlock2 : public ReferenceTarget {
 public:
  using ReferenceMaker::RefDeleted;  // the reference system's callback, beside the overload below
  ~IParamBlock2() override;
  SClass_ID SuperClassID() override { return PARAMETER_BLOCK2_CLASS_ID; }
  Class_ID ClassID() override { return Class_ID(PARAMETER_BLOCK2_CLASS_ID, 0); }
  void GetClassName(TSTR& s) override { s = "ParamBlock2"; }

  virtual DWORD GetVersion() = 0;
  virtual int NumParams() = 0;
  // The block's display name.
  virtual MSTR GetLocalName() = 0;
  virtual ParamBlockDesc2* GetDesc() = 0;
  virtual void ReleaseDesc() {}
  virtual ParamDef& GetParamDef(ParamID id) = 0;
  virtual BlockID ID() = 0;
  virtual int IDtoIndex(ParamID id) = 0;
  virtual ParamID IndextoID(int i) = 0;
  // The maker that holds the block as a reference (the one it was created for until then); null
  // when nothing references it.
  virtual ReferenceMaker* GetOwner() = 0;
  virtual void SetOwner(ReferenceMaker* owner) = 0;
  virtual ParamType2 GetParameterType(ParamID id) = 0;
  // A parameter's display name: the string-table text of its local name, or its internal name when
  // it has none.
  virtual MSTR GetLocalName(ParamID id, int tabIndex = -1) = 0;

  // Setting: TRUE when stored. Fails for an unknown id, an entry outside the table, or a value the
  // parameter's type cannot hold. Int-like and float-like parameters take either number; Point3 and
  // Color, Point4 and AColor take each other; reference parameters take targets of their type (a node
  // for TYPE_INODE, a material for TYPE_MTL, a texture map for TYPE_TEXMAP).
  virtual BOOL SetValue(ParamID id, TimeValue t, float v, int tabIndex = 0) = 0;
  virtual BOOL SetValue(ParamID id, TimeValue t, int v, int tabIndex = 0) = 0;
  virtual BOOL SetValue(ParamID id, TimeValue t, const Point3& v, int tabIndex = 0) = 0;
  virtual BOOL SetValue(ParamID id, TimeValue t, const Point4& v, int tabIndex = 0) = 0;
  virtual BOOL SetValue(ParamID id, TimeValue t, const Color& v, int tabIndex = 0) = 0;
  virtual BOOL SetValue(ParamID id, TimeValue t, const AColor& v, int tabIndex = 0) = 0;
  virtual BOOL SetValue(ParamID id, TimeValue t, const TCHAR* v, int tabIndex = 0) = 0;  // NULL unsets
  virtual BOOL SetValue(ParamID id, TimeValue t, const Matrix3& v, int tabIndex = 0) = 0;
  virtual BOOL SetValue(ParamID id, TimeValue t, INode* v, int tabIndex = 0) = 0;
  virtual BOOL SetValue(ParamID id, TimeValue t, ReferenceTarget* v, int tabIndex = 0) = 0;
  // Mtl* and Texmap* overloads come with the material classes; until then pass them as ReferenceTarget*.

  // Getting: TRUE and `v` set when the parameter holds that kind of value; `v` is left alone
  // otherwise. Plain values never narrow `ivalid`.
  virtual BOOL GetValue(ParamID id, TimeValue t, float& v, Interval& ivalid, int tabIndex = 0) = 0;
  virtual BOOL GetValue(ParamID id, TimeValue t, int& v, Interval& ivalid, int tabIndex = 0) = 0;
  virtual BOOL GetValue(ParamID id, TimeValue t, Point3& v, Interval& ivalid, int tabIndex = 0) = 0;
  virtual BOOL GetValue(ParamID id, TimeValue t, Point4& v, Interval& ivalid, int tabIndex = 0) = 0;
  virtual BOOL GetValue(ParamID id, TimeValue t, Color& v, Interval& ivalid, int tabIndex = 0) = 0;
  virtual BOOL GetValue(ParamID id, TimeValue t, AColor& v, Interval& ivalid, int tabIndex = 0) = 0;
  virtual BOOL GetValue(ParamID id, TimeValue t, const TCHAR*& v, Interval& ivalid, int tabIndex = 0) = 0;
  virtual BOOL GetValue(ParamID id, TimeValue t, TCHAR*& v, Interval& ivalid, int tabIndex = 0) = 0;
  virtual BOOL GetValue(ParamID id, TimeValue t, Matrix3& v, Interval& ivalid, int tabIndex = 0) = 0;
  virtual BOOL GetValue(ParamID id, TimeValue t, INode*& v, Interval& ivalid, int tabIndex = 0) = 0;
  virtual BOOL GetValue(ParamID id, TimeValue t, ReferenceTarget*& v, Interval& ivalid, int tabIndex = 0) = 0;

  // Typed getters: zero, black, null or identity when the value cannot be read.
  virtual int GetInt(ParamID id, TimeValue t = 0, int tabIndex = 0) = 0;
  virtual float GetFloat(ParamID id, TimeValue t = 0, int tabIndex = 0) = 0;
  virtual TimeValue GetTimeValue(ParamID id, TimeValue t = 0, int tabIndex = 0) = 0;
  virtual Point3 GetPoint3(ParamID id, TimeValue t = 0, int tabIndex = 0) = 0;
  virtual Point4 GetPoint4(ParamID id, TimeValue t = 0, int tabIndex = 0) = 0;
  virtual Color GetColor(ParamID id, TimeValue t = 0, int tabIndex = 0) = 0;
  virtual AColor GetAColor(ParamID id, TimeValue t = 0, int tabIndex = 0) = 0;
  virtual const TCHAR* GetStr(ParamID id, TimeValue t = 0, int tabIndex = 0) = 0;
  virtual Matrix3 GetMatrix3(ParamID id, TimeValue t = 0, int tabIndex = 0) = 0;
  virtual INode* GetINode(ParamID id, TimeValue t = 0, int tabIndex = 0) = 0;
  virtual ReferenceTarget* GetReferenceTarget(ParamID id, TimeValue t = 0, int tabIndex = 0) = 0;
  // GetMtl and GetTexmap come with the material classes.

  // Tables. Each returns what the host's does: the count left after Delete, the previous count after
  // Append, `at` after Insert (clamped into the table); Append and Insert answer -1 and change
  // nothing when an element does not suit the parameter (all or nothing). Entries that SetCount adds
  // take the parameter's default. Count is 0 for a parameter that is not a table. A P_OWNERS_REF
  // table keeps its declared length: the owner's references are a fixed range. Tables hold at most
  // 1,048,576 entries; an edit beyond that changes nothing.
  virtual int Count(ParamID id) = 0;
  virtual void ZeroCount(ParamID id) = 0;
  virtual void SetCount(ParamID id, int n) = 0;
  virtual int Delete(ParamID id, int start, int num) = 0;
  virtual int Resize(ParamID id, int num) = 0;
  virtual void Shrink(ParamID id) = 0;

  virtual int Append(ParamID id, int num, int* el, int allocExtra = 0) = 0;  // also TimeValue* and BOOL*
  virtual int Append(ParamID id, int num, float* el, int allocExtra = 0) = 0;
  virtual int Append(ParamID id, int num, Point3* el, int allocExtra = 0) = 0;
  virtual int Append(ParamID id, int num, Point3** el, int allocExtra = 0) = 0;
  virtual int Append(ParamID id, int num, Point4* el, int allocExtra = 0) = 0;
  virtual int Append(ParamID id, int num, Point4** el, int allocExtra = 0) = 0;
  virtual int Append(ParamID id, int num, Color* el, int allocExtra = 0) = 0;
  virtual int Append(ParamID id, int num, Color** el, int allocExtra = 0) = 0;
  virtual int Append(ParamID id, int num, AColor* el, int allocExtra = 0) = 0;
  virtual int Append(ParamID id, int num, AColor** el, int allocExtra = 0) = 0;
  virtual int Append(ParamID id, int num, Matrix3* el, int allocExtra = 0) = 0;
  virtual int Append(ParamID id, int num, Matrix3** el, int allocExtra = 0) = 0;
  virtual int Append(ParamID id, int num, const TCHAR** el, int allocExtra = 0) = 0;
  virtual int Append(ParamID id, int num, TCHAR** el, int allocExtra = 0) = 0;
  virtual int Append(ParamID id, int num, INode** el, int allocExtra = 0) = 0;
  virtual int Append(ParamID id, int num, ReferenceTarget** el, int allocExtra = 0) = 0;

  virtual int Insert(ParamID id, int at, int num, int* el) = 0;
  virtual int Insert(ParamID id, int at, int num, float* el) = 0;
  virtual int Insert(ParamID id, int at, int num, Point3* el) = 0;
  virtual int Insert(ParamID id, int at, int num, Point3** el) = 0;
  virtual int Insert(ParamID id, int at, int num, Point4* el) = 0;
  virtual int Insert(ParamID id, int at, int num, Point4** el) = 0;
  virtual int Insert(ParamID id, int at, int num, Color* el) = 0;
  virtual int Insert(ParamID id, int at, int num, Color** el) = 0;
  virtual int Insert(ParamID id, int at, int num, AColor* el) = 0;
  virtual int Insert(ParamID id, int at, int num, AColor** el) = 0;
  virtual int Insert(ParamID id, int at, int num, Matrix3* el) = 0;
  virtual int Insert(ParamID id, int at, int num, Matrix3** el) = 0;
  virtual int Insert(ParamID id, int at, int num, const TCHAR** el) = 0;
  virtual int Insert(ParamID id, int at, int num, TCHAR** el) = 0;
  virtual int Insert(ParamID id, int at, int num, INode** el) = 0;
  virtual int Insert(ParamID id, int at, int num, ReferenceTarget** el) = 0;

  // The parameter (and entry) whose change was notified last; -1 before any. It stays set after the
  // notification. An edit of several entries reports the first; SetCount, ZeroCount and a reset of a
  // whole table report tabIndex -1.
  virtual ParamID LastNotifyParamID() = 0;
  virtual ParamID LastNotifyParamID(int& tabIndex) = 0;
  void LastNotifyParamID(ParamID& id, int& tabIndex) { id = LastNotifyParamID(tabIndex); }
  // Turns change notifications of every block off and on (values still change).
  virtual void EnableNotifications(BOOL onOff) = 0;
  virtual BOOL IsNotificationEnabled() = 0;
  // For an owner whose P_OWNERS_REF target was deleted: notifies the change of that entry.
  virtual void RefDeleted(ParamID id, int tabIndex = 0) = 0;

  // Defaults. A table reset with tabIndex -1 also goes back to its declared number of entries.
  virtual void ResetAll(BOOL updateUI = TRUE, BOOL callSetHandlers = TRUE) = 0;
  virtual void Reset(ParamID id, int tabIndex = -1, BOOL updateUI = TRUE, BOOL callSetHandlers = TRUE) = 0;

  // Reference numbering (see the top of this file): the reference of parameter index `i`'s entry,
  // the reference of its controller, and the parameter holding `ref` (-1 if none).
  virtual int GetRefNum(int i, int tabIndex = 0) = 0;
  virtual int GetControllerRefNum(int i, int tabIndex = 0) = 0;
  virtual ParamID FindRefParam(ReferenceTarget* ref, int& tabIndex) = 0;
  // Controllers of P_ANIMATABLE entries (numeric, point and colour types). An entry has none until
  // it is set with the animate state on at a time other than 0, or one is assigned; while it has
  // one, the entry's value is the controller's, and setting it sets the controller's value.
  virtual Control* GetControllerByID(ParamID id, int tabIndex = 0) = 0;
  virtual Control* GetControllerByIndex(int i, int tabIndex = 0) = 0;
  // Puts `newc` (a controller of the entry's value type, or null to go back to a plain value) in
  // charge of the entry. With preserveFrameZeroValue the new controller first takes the entry's
  // value at time 0. FALSE for an entry without a controller slot or a controller that does not fit.
  virtual BOOL SetControllerByID(ParamID id, int tabIndex, Control* newc, bool preserveFrameZeroValue = true) = 0;
  // Plain values are valid forever: `valid` is left as it is.
  virtual void GetValidity(TimeValue t, Interval& valid) = 0;
};

// A new block for `pdesc` with every parameter at its default, owned by `owner` (which is expected to
// reference it right away). Null for a null descriptor.
HOST_API IParamBlock2* CreateParameterBlock2(ParamBlockDesc2* pdesc, ReferenceMaker* owner);

// The class descriptor of a plug-in class that keeps its parameters in blocks.
class HOST_API ClassDesc2 : public ClassDesc {
 public:
  ClassDesc2();
  ~ClassDesc2() override;

  int NumParamBlockDescs();
  ParamBlockDesc2* GetParamBlockDesc(int i);
  ParamBlockDesc2* GetParamBlockDescByID(BlockID id);
  ParamBlockDesc2* GetParamBlockDescByName(const TCHAR* name);
  // Adds once; a descriptor built with this ClassDesc2 has added itself.
  void AddParamBlockDesc(ParamBlockDesc2* pbd);
  void ClearParamBlockDescs();
  void RemoveParamBlockDesc(ParamBlockDesc2* pbd);

  // Builds every P_AUTO_CONSTRUCT block with its defaults and makes it the owner's reference
  // `ref_no` (ReplaceReference, so the owner's SetReference stores it).
  void MakeAutoParamBlocks(ReferenceMaker* owner);
  // Resets every block the owner reports through NumParamBlocks / GetParamBlock.
  void Reset(ReferenceMaker* owner, BOOL updateUI = TRUE, BOOL callSetHandlers = TRUE);
  void GetValidity(ReferenceMaker* owner, TimeValue t, Interval& valid);

  // Automatic rollouts: BeginEditParams makes the rollout of every block of `obj` whose descriptor
  // has P_AUTO_UI (one per map) in the command panel `ip`, EndEditParams removes them. InvalidateUI
  // shows the blocks' values again in the open rollouts (all of them, those of one descriptor, or
  // the controls of one parameter).
  void BeginEditParams(IObjParam* ip, ReferenceMaker* obj, ULONG flags, Animatable* prev);
  void EndEditParams(IObjParam* ip, ReferenceMaker* obj, ULONG flags, Animatable* prev);
  void InvalidateUI();
  void InvalidateUI(ParamBlockDesc2* pbd);
  void InvalidateUI(ParamBlockDesc2* pbd, ParamID id, int tabIndex = -1);
  void RestoreRolloutState();
  int NumParamMaps();
  IParamMap2* GetParamMap(int i);
  IParamMap2* GetParamMap(ParamBlockDesc2* pbd, MapID map_id = 0);
  void SetUserDlgProc(ParamBlockDesc2* pbd, MapID map_id, ParamMap2UserDlgProc* proc = nullptr);
  void SetUserDlgProc(ParamBlockDesc2* pbd, ParamMap2UserDlgProc* proc = nullptr) { SetUserDlgProc(pbd, 0, proc); }
  ParamMap2UserDlgProc* GetUserDlgProc(ParamBlockDesc2* pbd, MapID map_id = 0);
};
