// QZMMaterial: construction, references and sub-animations, validity, reset, clone, change
// messages and its own save chunk.
// The Win32 declarations come first, as the SDK has them: windows.h renames GetClassName, which
// the material overrides, and must do so in the class as in its definition.
#include "win_ui.h"
#include "qzm_material.h"

#include "ioapi.h"
#include "qzm_material_dlg.h"
#include "resource_strings.h"

namespace {

// Older numeric interface ids the host asks materials for; the material answers itself.
constexpr ULONG I_MTL_SELF_A = 0x2F96F73;
constexpr ULONG I_MTL_SELF_B = 0x66B073EA;

// Sets a flag for a scope and puts back what it was.
class FlagScope {
 public:
  explicit FlagScope(int& flag) : flag_(flag), old_(flag) { flag_ = 1; }
  ~FlagScope() { flag_ = old_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  int& flag_;
  int old_;
};

}  // namespace

QZMMaterial::QZMMaterial(BOOL loading) {
  FlagScope constructing(busy_);
  if (!loading) Reset();
}

// The references go with the reference maker, which drops them without recording undo. An open
// panel is told first, so that it does not reach for a freed material; the editor closes it later.
QZMMaterial::~QZMMaterial() { detachPanel(); }

void QZMMaterial::detachPanel() {
  if (dlg_) dlg_->Detach();
  dlg_ = nullptr;
}

void QZMMaterial::GetClassName(TSTR& s) { s = GetString(IDS_CLASS_NAME); }

int QZMMaterial::ActiveSlot(TimeValue t) {
  if (!pblock_) return 0;
  if (pblock_->GetInt(pb_enableOMaterial, t) != 0) return kOverrideSlot;
  int pass = pblock_->GetInt(pb_whichPass, t);
  if (pass < 1) pass = 1;
  if (pass > kNumSlots) pass = kNumSlots;
  return pass - 1;
}

Animatable* QZMMaterial::SubAnim(int i) {
  if (isSlot(i)) return slots_[static_cast<size_t>(i)];
  return i == kPBlockRef ? pblock_ : nullptr;
}

RefTargetHandle QZMMaterial::GetReference(int i) {
  if (isSlot(i)) return slots_[static_cast<size_t>(i)];
  return i == kPBlockRef ? pblock_ : nullptr;
}

void QZMMaterial::SetReference(int i, RefTargetHandle rtarg) {
  if (isSlot(i))
    slots_[static_cast<size_t>(i)] = dynamic_cast<Mtl*>(rtarg);
  else if (i == kPBlockRef)
    pblock_ = dynamic_cast<IParamBlock2*>(rtarg);
}

IParamBlock2* QZMMaterial::GetParamBlockByID(BlockID id) {
  return pblock_ && pblock_->ID() == id ? pblock_ : nullptr;
}

void* QZMMaterial::GetInterface(ULONG id) {
  if (id == I_SUBMAP) return static_cast<ISubMap*>(this);
  if (id == I_MTL_SELF_A || id == I_MTL_SELF_B) return static_cast<Mtl*>(this);
  return Mtl::GetInterface(id);
}

BaseInterface* QZMMaterial::GetInterface(Interface_ID id) {
  if (id == IMRMTLPHENTRANSLATION_INTERFACE_ID) return static_cast<imrMaterialPhenomenonTranslation*>(this);
  if (id == IQZMMATERIAL_INTERFACE) return static_cast<IQZMMaterial*>(this);
  return nullptr;
}

// ---- validity -------------------------------------------------------------------------------------

void QZMMaterial::Update(TimeValue t, Interval& valid) {
  if (!ivalid_.InInterval(t)) {
    ivalid_ = FOREVER;
    if (pblock_) {
      int pass = 0;
      pblock_->GetValue(pb_whichPass, t, pass, ivalid_);
    }
    for (Mtl* m : slots_)
      if (m) m->Update(t, ivalid_);
  }
  valid &= ivalid_;
}

Interval QZMMaterial::Validity(TimeValue t) {
  Interval valid = FOREVER;
  for (Mtl* m : slots_)
    if (m) valid &= m->Validity(t);
  if (pblock_) {
    int pass = 0;
    pblock_->GetValue(pb_whichPass, t, pass, valid);
  }
  return valid;
}

// ---- reset and clone ------------------------------------------------------------------------------

void QZMMaterial::Reset() {
  ivalid_.SetEmpty();
  // The panel is let go both ways: the material forgets it, and it forgets the material, which may be
  // deleted before the editor closes the panel.
  detachPanel();
  for (int i = 0; i < kNumSlots; ++i)
    if (slots_[static_cast<size_t>(i)]) DeleteReference(i);
  DeleteReference(kPBlockRef);
  GetQZMMaterialDesc()->MakeAutoParamBlocks(this);
}

RefTargetHandle QZMMaterial::Clone(RemapDir& remap) {
  auto* m = new QZMMaterial(FALSE);
  copyMtlBase(m);
  m->ReplaceReference(kPBlockRef, remap.CloneRef(pblock_));
  m->ivalid_.SetEmpty();
  for (int i = 0; i < kNumSlots; ++i)
    if (Mtl* slot = slots_[static_cast<size_t>(i)]) m->ReplaceReference(i, remap.CloneRef(slot));
  BaseClone(this, m, remap);
  return m;
}

// ---- change messages ------------------------------------------------------------------------------

RefResult QZMMaterial::NotifyRefChanged(Interval, RefTargetHandle hTarget, PartID& partID, RefMessage message) {
  switch (message) {
    case REFMSG_CHANGE:
      if (busy_) break;
      ivalid_.SetEmpty();
      if (hTarget && hTarget == pblock_) {
        GetQZMMaterialDesc()->InvalidateUI(GetQZMMaterialParamsDesc(), pblock_->LastNotifyParamID());
      } else if (hTarget && hTarget->SuperClassID() == MATERIAL_CLASS_ID) {
        // The panel shows a tiny stamp of each slot; the changed material's is stale now.
        for (Mtl* m : slots_)
          if (m && m == hTarget) {
            m->DiscardPStamp(PS_TINY);
            break;
          }
      }
      if (pblock_) {
        FlagScope refreshing(busy_);
        if (dlg_) {
          invalidatePanel();
          dlg_->UpdateSubMtlNames();
        }
      }
      break;
    case REFMSG_NODE_MATERIAL_CHANGED:
      if (hTarget == this) NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
      break;
    case REFMSG_MTL_REF_ADDED_OR_REMOVED:
      partID = 1;
      if (dlg_) invalidatePanel();
      break;
    default:
      break;
  }
  return REF_SUCCEED;
}

// The panel repaints its rows at its next paint; invalidating a corner of its page brings that paint.
void QZMMaterial::invalidatePanel() {
  if (!dlg_) return;
  dlg_->valid = 0;
  RECT corner = {0, 0, 10, 10};
  InvalidateRect(hPanel_, &corner, FALSE);
}

void QZMMaterial::RefreshPanelRows() {
  if (dlg_) dlg_->UpdateSubMtlNames();
}

// The panel records itself in the material once its page is open.
ParamDlg* QZMMaterial::CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) {
  if (!imp) return nullptr;
  return new QZMMaterialDlg(hwMtlEdit, imp, this);
}

// ---- save and load --------------------------------------------------------------------------------

// The parameter block and the slot materials are references: the host saves and loads them.
IOResult QZMMaterial::Save(ISave* isave) {
  if (!isave) return IO_ERROR;
  isave->BeginChunk(MTL_HDR_CHUNK);
  IOResult r = MtlBase::Save(isave);
  if (r != IO_OK) return r;
  isave->EndChunk();
  return IO_OK;
}

IOResult QZMMaterial::Load(ILoad* iload) {
  if (!iload) return IO_ERROR;
  IOResult r;
  while ((r = iload->OpenChunk()) == IO_OK) {
    IOResult res = IO_OK;
    if (iload->CurChunkID() == MTL_HDR_CHUNK) res = MtlBase::Load(iload);
    IOResult closed = iload->CloseChunk();
    if (res != IO_OK) return res;
    if (closed != IO_OK) return closed;
  }
  return r == IO_END ? IO_OK : r;
}
