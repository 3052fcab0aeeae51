// The automatic rollout of a parameter block (param_map.h).
#include "ui/param_map.h"

#include "custcont.h"
#include "hold.h"
#include "imtlparams.h"  // ROLLUP_CAT_STANDARD
#include "inode.h"
#include "ui/pick_mode.h"

#include <vector>

namespace sim::ui {

namespace {

// What the host's undo list calls an edit made in a rollout.
constexpr const char* kUndoLabel = "Parameter Change";

TimeValue now() { return GetCOREInterface() ? GetCOREInterface()->GetTime() : 0; }

bool isFloatParam(const ParamDef& d) {
  switch (int(d.type) & ~TYPE_TAB) {
    case TYPE_FLOAT: case TYPE_ANGLE: case TYPE_PCNT_FRAC: case TYPE_WORLD: case TYPE_COLOR_CHANNEL: return true;
    default: return false;
  }
}

INT_PTR CALLBACK pageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

class ParamMap : public IParamMap2, public PickTarget {
 public:
  ParamMap(IObjParam* ip, IParamBlock2* pb, MapID id, ParamMap2UserDlgProc* proc)
      : ip_(ip), pb_(pb), desc_(pb->GetDesc()), id_(id), proc_(proc) {}

  ~ParamMap() override {
    stopPickMode(this);
    // A drag the rollout's end cut short keeps what it reached, as one undoable step.
    if (dragging_) theHold.Accept(kUndoLabel);
    if (IsWindow(hwnd_)) SetWindowLongPtr(hwnd_, GWLP_USERDATA, 0);
    dropProc();
    if (IsWindow(hwnd_) && ip_) ip_->DeleteRollupPage(hwnd_);
  }

  bool open() {
    int dlgTemplate = desc_->dlg_template, title = desc_->title, flags = desc_->rollup_flags;
    int category = desc_->category ? desc_->category : ROLLUP_CAT_STANDARD;
    if (desc_->flags & P_MULTIMAP) {
      dlgTemplate = 0;
      for (int k = 0; k < desc_->map_specs.Count(); ++k)
        if (desc_->map_specs[k].map_id == id_) {
          dlgTemplate = desc_->map_specs[k].dlg_template;
          title = desc_->map_specs[k].title;
          flags = desc_->map_specs[k].rollup_flags;
          if (desc_->map_specs[k].category) category = desc_->map_specs[k].category;
        }
    }
    ClassDesc2* cd = desc_->cd;
    if (!ip_ || !dlgTemplate || !cd) return false;
    const TCHAR* text = cd->GetRsrcString(title);
    // WM_INITDIALOG runs inside AddRollupPage: it records the page and sets up the controls.
    ip_->AddRollupPage(cd->HInstance(), MAKEINTRESOURCE(dlgTemplate), pageProc, text ? text : "",
                       reinterpret_cast<LPARAM>(this), DWORD(flags), category);
    return IsWindow(hwnd_);
  }

  MapID id() const { return id_; }

  void setProc(ParamMap2UserDlgProc* proc) {
    if (proc == proc_) return;
    dropProc();
    proc_ = proc;
    if (proc_ && IsWindow(hwnd_)) proc_->DlgProc(now(), this, hwnd_, WM_INITDIALOG, 0, 0);
  }

  // ---- IParamMap2 ----
  IParamBlock2* GetParamBlock() override { return pb_; }
  HWND GetHWnd() override { return hwnd_; }
  ParamMap2UserDlgProc* GetUserDlgProc() override { return proc_; }
  void Invalidate() override {
    for (int i = 0; i < desc_->count; ++i) show(desc_->paramdefs[i]);
  }
  void Invalidate(ParamID id, int) override {
    ParamDef& d = desc_->GetParamDef(id);
    if (d.ID == id) show(d);
  }

  // ---- the page's messages ----
  INT_PTR message(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
      case WM_INITDIALOG:
        hwnd_ = hwnd;
        setUp();
        break;
      case CC_SPINNER_BUTTONDOWN:
        if (!dragging_) {
          theHold.Begin();
          dragging_ = true;
        }
        break;
      case CC_SPINNER_CHANGE:
        if (const ParamDef* d = boundTo(LOWORD(wParam), TYPE_SPINNER)) {
          if (dragging_) writeSpinner(*d);
          else oneStep([&] { writeSpinner(*d); });
        }
        break;
      case CC_SPINNER_BUTTONUP:
        if (dragging_) {
          dragging_ = false;
          if (HIWORD(wParam)) theHold.Accept(kUndoLabel);
          else theHold.Cancel();
          Invalidate();
        }
        break;
      case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) command(LOWORD(wParam));
        break;
      case WM_DESTROY:
        stopPickMode(this);
        if (dragging_) {
          dragging_ = false;
          theHold.Accept(kUndoLabel);
        }
        break;
      default: break;
    }
    // The plug-in's procedure comes last and may end the rollout: nothing of the map is used after.
    if (!proc_) return msg == WM_INITDIALOG ? TRUE : FALSE;
    INT_PTR r = proc_->DlgProc(now(), this, hwnd, msg, wParam, lParam);
    return msg == WM_INITDIALOG ? TRUE : r;
  }

  // ---- PickTarget: the pick-node button ----
  bool pick(INode* node) override {
    const ParamDef* d = picking_;
    if (!d || !pb_) return false;
    theHold.Begin();
    bool taken = pb_->SetValue(d->ID, now(), node) && pb_->GetINode(d->ID, now()) == node;
    // A node that depends on this block (its own holder's node) would make a reference loop.
    if (!taken) {
      theHold.Cancel();
      return false;
    }
    theHold.Accept(kUndoLabel);
    endPick();
    show(*d);
    return true;
  }
  void pickEnded() override { endPick(); }

 private:
  template <class F>
  void oneStep(F write) {
    theHold.Begin();
    write();
    theHold.Accept(kUndoLabel);
  }

  // The definition whose p_ui names control `id` in this map, of control kind `type`.
  const ParamDef* boundTo(int id, int type) {
    for (int i = 0; i < desc_->count; ++i) {
      const ParamDef& d = desc_->paramdefs[i];
      if (d.ctrl_type != type || !inThisMap(d)) continue;
      for (int c : d.ctrl_IDs)
        if (c == id) return &d;
    }
    return nullptr;
  }

  bool inThisMap(const ParamDef& d) {
    for (int k = 0; k < d.maps.Count(); ++k)
      if (d.maps[k] == id_) return true;
    return false;
  }

  void setUp() {
    InitCustomControls(nullptr);
    for (int i = 0; i < desc_->count; ++i) {
      const ParamDef& d = desc_->paramdefs[i];
      if (!inThisMap(d) || d.ctrl_count < 1) continue;
      if (d.ctrl_type == TYPE_SPINNER && d.ctrl_count >= 2) {
        ISpinnerControl* spin = GetISpinner(GetDlgItem(hwnd_, d.ctrl_IDs[1]));
        if (!spin) continue;
        bool hasRange = d.flags & P_HAS_RANGE;
        if (isFloatParam(d)) {
          spin->SetLimits(hasRange ? d.range_low.f : -1.0e30f, hasRange ? d.range_high.f : 1.0e30f, FALSE);
        } else {
          spin->SetLimits(hasRange ? d.range_low.i : -2147483647 - 1, hasRange ? d.range_high.i : 2147483647, FALSE);
        }
        spin->SetScale(d.scale);
        spin->LinkToEdit(GetDlgItem(hwnd_, d.ctrl_IDs[0]),
                         EditSpinnerType(d.spin_type ? d.spin_type : isFloatParam(d) ? EDITTYPE_FLOAT : EDITTYPE_INT));
        ReleaseISpinner(spin);
      } else if (d.ctrl_type == TYPE_PICKNODEBUTTON) {
        if (ICustButton* b = GetICustButton(GetDlgItem(hwnd_, d.ctrl_IDs[0]))) {
          b->SetType(CBT_CHECK);
          ReleaseICustButton(b);
        }
      }
    }
    Invalidate();
  }

  void show(const ParamDef& d) {
    if (!IsWindow(hwnd_) || !pb_ || !inThisMap(d) || d.ctrl_count < 1) return;
    TimeValue t = now();
    switch (d.ctrl_type) {
      case TYPE_SPINNER:
        if (d.ctrl_count < 2) return;
        if (ISpinnerControl* spin = GetISpinner(GetDlgItem(hwnd_, d.ctrl_IDs[1]))) {
          if (isFloatParam(d)) spin->SetValue(pb_->GetFloat(d.ID, t), FALSE);
          else spin->SetValue(pb_->GetInt(d.ID, t), FALSE);
          ReleaseISpinner(spin);
        }
        return;
      case TYPE_SINGLECHEKBOX:
        CheckDlgButton(hwnd_, d.ctrl_IDs[0], pb_->GetInt(d.ID, t) ? BST_CHECKED : BST_UNCHECKED);
        return;
      case TYPE_PICKNODEBUTTON:
        if (ICustButton* b = GetICustButton(GetDlgItem(hwnd_, d.ctrl_IDs[0]))) {
          INode* node = pb_->GetINode(d.ID, t);
          b->SetText(node ? node->GetName() : "None");
          b->SetCheck(picking_ == &d);
          ReleaseICustButton(b);
        }
        return;
      default: return;
    }
  }

  void writeSpinner(const ParamDef& d) {
    ISpinnerControl* spin = GetISpinner(GetDlgItem(hwnd_, d.ctrl_IDs[1]));
    if (!spin || !pb_) {
      ReleaseISpinner(spin);
      return;
    }
    if (isFloatParam(d)) pb_->SetValue(d.ID, now(), spin->GetFVal());
    else pb_->SetValue(d.ID, now(), spin->GetIVal());
    ReleaseISpinner(spin);
  }

  void command(int id) {
    if (const ParamDef* d = boundTo(id, TYPE_SINGLECHEKBOX)) {
      int on = IsDlgButtonChecked(hwnd_, id) == BST_CHECKED ? 1 : 0;
      oneStep([&] { pb_->SetValue(d->ID, now(), on); });
      show(*d);
    } else if (const ParamDef* p = boundTo(id, TYPE_PICKNODEBUTTON)) {
      // A second press while waiting gives the pick up.
      if (picking_ == p) {
        endPick();
      } else {
        picking_ = p;
        startPickMode(this);
        show(*p);
      }
    }
  }

  void endPick() {
    const ParamDef* d = picking_;
    picking_ = nullptr;
    stopPickMode(this);
    if (d) show(*d);
  }

  void dropProc() {
    ParamMap2UserDlgProc* proc = proc_;
    proc_ = nullptr;
    if (!proc) return;
    if (desc_->GetUserDlgProc(id_) == proc) desc_->SetUserDlgProc(id_, nullptr);
    proc->DeleteThis();
  }

  IObjParam* ip_;
  IParamBlock2* pb_;
  ParamBlockDesc2* desc_;
  MapID id_;
  ParamMap2UserDlgProc* proc_;
  HWND hwnd_ = nullptr;
  bool dragging_ = false;
  const ParamDef* picking_ = nullptr;
};

INT_PTR CALLBACK pageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ParamMap* map = nullptr;
  if (msg == WM_INITDIALOG) {
    map = reinterpret_cast<ParamMap*>(lParam);
    SetWindowLongPtr(hwnd, GWLP_USERDATA, lParam);
  } else {
    map = reinterpret_cast<ParamMap*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
  }
  return map ? map->message(hwnd, msg, wParam, lParam) : FALSE;
}

}  // namespace

IParamMap2* createParamMap(IObjParam* ip, IParamBlock2* pb, MapID mapId, ParamMap2UserDlgProc* proc) {
  if (!ip || !pb || !pb->GetDesc()) return nullptr;
  auto* map = new ParamMap(ip, pb, mapId, proc);
  if (map->open()) return map;
  delete map;
  return nullptr;
}

void destroyParamMap(IParamMap2* map) { delete static_cast<ParamMap*>(map); }

MapID paramMapId(IParamMap2* map) { return map ? static_cast<ParamMap*>(map)->id() : MapID(-1); }

void setParamMapUserDlgProc(IParamMap2* map, ParamMap2UserDlgProc* proc) {
  if (map) static_cast<ParamMap*>(map)->setProc(proc);
}

}  // namespace sim::ui

IParamMap2::~IParamMap2() = default;
