// ParamBlockDesc2: reading a plug-in's declaration list and looking parameters up by id and name.
#include "iparamb2.h"

#include "core/param_block2.h"
#include "core/text.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>

namespace {

constexpr int kMaxParams = 1000;      // parameters of one block
constexpr int kMaxTagsPerParam = 256;
constexpr int kMaxMaps = 64;          // rollouts of a P_MULTIMAP block
constexpr int kMaxListed = 1000;      // radio buttons, p_enable_ctrls entries
constexpr int kMaxControls = 4096;    // control ids of one p_ui

bool isBlockType(int type) {
  // A parameter type is one of the parameter-block base types, optionally as a table.
  if ((type & ~(TYPE_TAB | 0xff)) != 0) return false;
  const int b = type & 0xff;
  return b >= TYPE_FLOAT && b <= TYPE_FRGBA;
}

}  // namespace

PBValidator::~PBValidator() = default;
PBAccessor::~PBAccessor() = default;
ParamMap2UserDlgProc::~ParamMap2UserDlgProc() = default;

// Reads the varargs of the constructor and of AddParam. Every read takes exactly the kind the
// declaration form documents (see iparamb2.h); the first thing it cannot make sense of ends reading.
struct ParamBlockDesc2::Parser {
  ParamBlockDesc2& d;
  va_list* ap;
  const TCHAR* param = nullptr;  // internal name of the parameter being read, for messages

  int i() { return va_arg(*ap, int); }
  double f() { return va_arg(*ap, double); }
  template <class T> T arg() { return va_arg(*ap, T); }

  bool fail(const std::string& what) {
    std::string msg = "parameter block \"";
    msg += d.int_name ? d.int_name : "";
    msg += "\": ";
    msg += what;
    if (param) {
      msg += " (in parameter \"";
      msg += param;
      msg += "\")";
    }
    msg += "; the rest of the declaration list is ignored";
    d.error_ = msg;
    std::fprintf(stderr, "qzmhost: %s\n", msg.c_str());
    return false;
  }

  // header -> [version] [ref_no] [rollout specs] [source descriptor]
  bool header(int flags) {
    if (flags & P_VERSION) d.version = static_cast<ULONG>(i());
    if (flags & P_AUTO_CONSTRUCT) d.ref_no = i();
    if (flags & P_AUTO_UI) {
      if (flags & P_MULTIMAP) {
        const int n = i();
        if (n < 0 || n > kMaxMaps) return fail("implausible number of rollouts " + std::to_string(n));
        for (int k = 0; k < n; ++k) {
          ParamBlockDesc2::map_spec m;
          m.map_id = static_cast<MapID>(i());
          m.dlg_template = i();
          m.title = i();
          m.test_flags = i();
          m.rollup_flags = i();
          m.dlgProc = arg<ParamMap2UserDlgProc*>();
          if (flags & P_HASCATEGORY) m.category = i();
          d.map_specs.Append(1, &m);
        }
      } else {
        d.dlg_template = i();
        d.title = i();
        d.test_flags = i();
        d.rollup_flags = i();
        d.dlgProc = arg<ParamMap2UserDlgProc*>();
        if (flags & P_HASCATEGORY) d.category = i();
      }
    }
    if (flags & (P_USE_PARAMS | P_INCLUDE_PARAMS)) {
      ParamBlockDesc2* src = arg<ParamBlockDesc2*>();
      if (!src || src == &d) return fail("no descriptor to take the parameters from");
      for (const ParamDef& pd : src->defs_) {
        ParamDef copy = pd;
        copy.int_name = d.keep(pd.int_name);
        copy.def.s = d.keep(pd.def.s);
        copy.ms_def.s = d.keep(pd.ms_def.s);
        copy.init_file = d.keep(pd.init_file);
        d.defs_.push_back(std::move(copy));
      }
      d.rebuildIndex();
    }
    return true;
  }

  // parameters -> { parameter } p_end
  bool parameters() {
    for (;;) {
      param = nullptr;
      const int id = i();
      if (id == p_end) return true;
      if (!parameter(id)) return false;
    }
  }

  // parameter -> id int_name type [table_size] flags local_name { tag } p_end
  bool parameter(int id) {
    if (static_cast<int>(d.defs_.size()) >= kMaxParams) return fail("more than 1000 parameters");
    if (id < SHRT_MIN || id > SHRT_MAX) return fail("a parameter id or p_end was expected, found " + std::to_string(id));
    const TCHAR* name = arg<const TCHAR*>();
    if (!name || !*name) return fail("parameter " + std::to_string(id) + " has no internal name");
    param = name;
    ParamDef pd;
    pd.ID = static_cast<ParamID>(id);
    const int type = i();
    if (!isBlockType(type)) return fail("unknown parameter type " + std::to_string(type));
    pd.type = static_cast<ParamType2>(type);
    if (is_tab(type)) {
      const int size = i();
      if (size < 0 || size > SHRT_MAX) return fail("implausible table size " + std::to_string(size));
      pd.tab_size = static_cast<short>(size);
    }
    pd.flags = static_cast<unsigned int>(i());
    pd.local_name = i();
    pd.flags |= P_UI_ENABLED;
    if (reftarg_type(type)) pd.flags |= P_IS_REF;
    if (d.IDtoIndex(pd.ID) >= 0) return fail("parameter id " + std::to_string(id) + " is used twice");
    if (d.NameToIndex(name) >= 0) return fail("the internal name is used twice");
    for (int k = 0;; ++k) {
      const int t = i();
      if (t == p_end) break;
      if (k >= kMaxTagsPerParam) return fail("more than 256 tags");
      if (!tag(pd, t)) return false;
    }
    pd.int_name = d.keep(name);
    d.defs_.push_back(std::move(pd));
    d.rebuildIndex();
    return true;
  }

  bool tag(ParamDef& pd, int t) {
    switch (t) {
      case p_default:
        pd.flags |= P_HAS_DEFAULT;
        return value(pd, pd.def, "p_default");
      case p_ms_default:
        pd.flags |= P_HAS_MS_DEFAULT;
        return value(pd, pd.ms_def, "p_ms_default");
      case p_range:
        pd.flags |= P_HAS_RANGE;
        return range(pd);
      case p_ui:
        return ui(pd);
      case p_uix: {
        MapID m = static_cast<MapID>(i());
        pd.maps.Append(1, &m);
        return true;
      }
      case p_vals: {
        if (pd.ctrl_type != TYPE_RADIO) return fail("p_vals without a TYPE_RADIO p_ui before it");
        pd.val_bits.clear();
        for (int k = 0; k < pd.ctrl_count; ++k) pd.val_bits.push_back(i());
        return true;
      }
      case p_validator:
        pd.validator = arg<PBValidator*>();
        return true;
      case p_accessor:
        pd.accessor = arg<PBAccessor*>();
        return true;
      case p_refno: {
        const int r = i();
        if (r < 0 || r > SHRT_MAX) return fail("implausible reference number " + std::to_string(r));
        pd.ref_no = static_cast<short>(r);
        pd.flags |= P_HAS_REFNO;
        return true;
      }
      case p_subtexno:
      case p_submtlno:
        pd.subobj_no = static_cast<short>(i());
        pd.flags |= P_HAS_SUBTEXNO;
        return true;
      case p_dim:
        pd.dim = arg<ParamDimension*>();
        return true;
      case p_classID:
        pd.class_ID = arg<Class_ID>();
        pd.flags |= P_HAS_CLASS_ID;
        return true;
      case p_sclassID:
        pd.sclass_ID = arg<SClass_ID>();
        pd.flags |= P_HAS_SCLASS_ID;
        return true;
      case p_enabled:
        if (i()) pd.flags |= P_UI_ENABLED;
        else pd.flags &= ~P_UI_ENABLED;
        return true;
      case p_enable_ctrls: {
        const int n = i();
        if (n < 0 || n > kMaxListed) return fail("implausible p_enable_ctrls count " + std::to_string(n));
        pd.enable_ctrls.clear();
        for (int k = 0; k < n; ++k) pd.enable_ctrls.push_back(static_cast<ParamID>(i()));
        pd.enable_count = static_cast<short>(n);
        return true;
      }
      case p_prompt:
        pd.prompt = i();
        pd.flags |= P_HAS_PROMPT;
        return true;
      case p_caption:
        pd.caption = i();
        pd.flags |= P_HAS_CAPTION;
        return true;
      case p_file_types:
        pd.file_types = i();
        pd.flags |= P_HAS_FILETYPES;
        return true;
      case p_tooltip:
        pd.toolTip = i();
        pd.flags |= P_HAS_TOOLTIP;
        return true;
      case p_init_file:
        pd.init_file = d.keep(arg<const TCHAR*>());
        return true;
      default:
        return fail("unknown tag " + std::to_string(t));
    }
  }

  // A default value, of the kind of the parameter's entries.
  bool value(ParamDef& pd, PB2DefValue& v, const char* tagName) {
    switch (base_type(pd.type)) {
      case TYPE_INT: case TYPE_BOOL: case TYPE_TIMEVALUE: case TYPE_RADIOBTN_INDEX: case TYPE_INDEX:
        v.i = i();
        return true;
      case TYPE_FLOAT: case TYPE_ANGLE: case TYPE_PCNT_FRAC: case TYPE_WORLD: case TYPE_COLOR_CHANNEL:
        v.f = static_cast<float>(f());
        return true;
      case TYPE_POINT3: case TYPE_HSV:
        v.p = arg<Point3>();
        return true;
      case TYPE_RGBA:
        v.p = Point3(arg<Color>());
        return true;
      case TYPE_POINT4:
        v.p4 = arg<Point4>();
        return true;
      case TYPE_FRGBA: {
        const AColor c = arg<AColor>();
        v.p4 = Point4(c.r, c.g, c.b, c.a);
        return true;
      }
      case TYPE_MATRIX3:
        v.m = arg<Matrix3>();
        return true;
      case TYPE_STRING: case TYPE_FILENAME:
        v.s = d.keep(arg<const TCHAR*>());
        return true;
      default:
        return fail(std::string(tagName) + " is not allowed for this type");
    }
  }

  bool range(ParamDef& pd) {
    switch (base_type(pd.type)) {
      case TYPE_INT: case TYPE_BOOL: case TYPE_TIMEVALUE: case TYPE_RADIOBTN_INDEX: case TYPE_INDEX:
        pd.range_low.i = i();
        pd.range_high.i = i();
        return true;
      case TYPE_FLOAT: case TYPE_ANGLE: case TYPE_PCNT_FRAC: case TYPE_WORLD: case TYPE_COLOR_CHANNEL:
      case TYPE_POINT3: case TYPE_HSV: case TYPE_RGBA: case TYPE_POINT4: case TYPE_FRGBA:
        pd.range_low.f = static_cast<float>(f());
        pd.range_high.f = static_cast<float>(f());
        return true;
      default:
        return fail("p_range is not allowed for this type");
    }
  }

  // ui -> [map_id] control_type control_arguments
  bool ui(ParamDef& pd) {
    MapID map = 0;
    if (d.flags & P_MULTIMAP) map = static_cast<MapID>(i());
    const int ctrl = i();
    // A table without a list control has one set of controls per declared entry.
    const int sets = is_tab(pd.type) && pd.tab_size > 0 ? pd.tab_size : 1;
    std::vector<int> ids;
    switch (ctrl) {
      case TYPE_SPINNER:
      case TYPE_SLIDER:
        if (2 * sets > kMaxControls) return fail("too many controls for the table");
        pd.spin_type = i();
        for (int k = 0; k < 2 * sets; ++k) ids.push_back(i());
        if (ctrl == TYPE_SPINNER) pd.scale = static_cast<float>(f());
        else pd.numSegs = i();
        break;
      case TYPE_RADIO: {
        const int n = i();
        if (n < 1 || n > kMaxListed) return fail("implausible radio button count " + std::to_string(n));
        for (int k = 0; k < n; ++k) ids.push_back(i());
        break;
      }
      case TYPE_SINGLECHEKBOX: case TYPE_CHECKBUTTON: case TYPE_COLORSWATCH: case TYPE_COLORSWATCH_FRGBA:
      case TYPE_EDITBOX: case TYPE_PICKNODEBUTTON: case TYPE_TEXMAPBUTTON: case TYPE_MTLBUTTON:
      case TYPE_BITMAPBUTTON: case TYPE_FILEOPENBUTTON: case TYPE_FILESAVEBUTTON:
        if (sets > kMaxControls) return fail("too many controls for the table");
        for (int k = 0; k < sets; ++k) ids.push_back(i());
        break;
      default:
        return fail("unknown or unsupported control type " + std::to_string(ctrl) + " in p_ui");
    }
    pd.ctrl_type = ctrl;
    pd.ctrl_IDs = std::move(ids);
    pd.ctrl_count = static_cast<short>(pd.ctrl_IDs.size());
    pd.maps.Append(1, &map);
    return true;
  }
};

ParamBlockDesc2::ParamBlockDesc2() = default;

ParamBlockDesc2::ParamBlockDesc2(BlockID id, const TCHAR* name, StringResID localName, ClassDesc2* classDesc, int blockFlags,
                                 ...)
    : cd(classDesc), local_name(localName), ID(id), flags(static_cast<USHORT>(blockFlags)) {
  int_name = keep(name ? name : "");
  va_list ap;
  va_start(ap, blockFlags);
  Parser parser{*this, &ap};
  if (parser.header(blockFlags) && !(blockFlags & P_USE_PARAMS)) parser.parameters();
  va_end(ap);
  rebuildIndex();
  if (cd) sim::registerParamBlockDesc(cd, this);
}

ParamBlockDesc2::~ParamBlockDesc2() {
  if (cd) sim::unregisterParamBlockDesc(cd, this);
}

void ParamBlockDesc2::AddParam(int id, ...) {
  va_list ap;
  va_start(ap, id);
  Parser parser{*this, &ap};
  parser.parameter(id);
  va_end(ap);
  rebuildIndex();
}

void ParamBlockDesc2::SetClassDesc(ClassDesc2* classDesc) {
  if (cd || !classDesc) return;
  cd = classDesc;
  sim::registerParamBlockDesc(cd, this);
}

const TCHAR* ParamBlockDesc2::keep(const TCHAR* s) {
  if (!s) return nullptr;
  texts_.emplace_back(s);
  return texts_.back().c_str();
}

void ParamBlockDesc2::rebuildIndex() {
  paramdefs = defs_.empty() ? nullptr : defs_.data();
  count = static_cast<USHORT>(defs_.size());
  byId_.clear();
  byName_.clear();
  if (defs_.empty()) return;
  auto [lo, hi] = std::minmax_element(defs_.begin(), defs_.end(), [](const ParamDef& a, const ParamDef& b) { return a.ID < b.ID; });
  idBase_ = lo->ID;
  byId_.assign(static_cast<size_t>(hi->ID - lo->ID + 1), -1);
  for (size_t k = 0; k < defs_.size(); ++k) {
    byId_[static_cast<size_t>(defs_[k].ID - idBase_)] = static_cast<short>(k);
    byName_.emplace(sim::toLowerAscii(defs_[k].int_name), static_cast<int>(k));
  }
}

int ParamBlockDesc2::IDtoIndex(ParamID id) const {
  const int k = id - idBase_;
  return k >= 0 && k < static_cast<int>(byId_.size()) ? byId_[static_cast<size_t>(k)] : -1;
}

int ParamBlockDesc2::NameToIndex(const TCHAR* name) const {
  if (!name) return -1;
  auto it = byName_.find(sim::toLowerAscii(name));
  return it == byName_.end() ? -1 : it->second;
}

ParamDef& ParamBlockDesc2::GetParamDef(ParamID id) {
  const int k = IDtoIndex(id);
  if (k >= 0) return defs_[static_cast<size_t>(k)];
  none_ = ParamDef();  // whatever a caller wrote into it last time is gone
  return none_;
}

void ParamBlockDesc2::SetUserDlgProc(MapID map_id, ParamMap2UserDlgProc* proc) {
  if (flags & P_MULTIMAP) {
    for (int k = 0; k < map_specs.Count(); ++k)
      if (map_specs[k].map_id == map_id) map_specs[k].dlgProc = proc;
  } else if (map_id == 0) {
    dlgProc = proc;
  }
}

ParamMap2UserDlgProc* ParamBlockDesc2::GetUserDlgProc(MapID map_id) {
  if (flags & P_MULTIMAP) {
    for (int k = 0; k < map_specs.Count(); ++k)
      if (map_specs[k].map_id == map_id) return map_specs[k].dlgProc;
    return nullptr;
  }
  return map_id == 0 ? dlgProc : nullptr;
}

void ParamBlockDesc2::InvalidateUI() {
  if (cd) cd->InvalidateUI(this);
}

void ParamBlockDesc2::InvalidateUI(ParamID id, int tabIndex) {
  if (cd) cd->InvalidateUI(this, id, tabIndex);
}
