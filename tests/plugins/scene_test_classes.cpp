#include "scene_test_classes.h"

#include "imtl.h"
#include "inode.h"
#include "ioapi.h"
#include "iparamb2.h"
#include "object.h"
#include "plugapi.h"

#include <cstring>

using namespace scenetest;

namespace {

template <class Self>
class Desc : public ClassDesc2 {
 public:
  Desc(const char* name, SClass_ID s, Class_ID c) : name_(name), s_(s), c_(c) {}
  int IsPublic() override { return TRUE; }
  void* Create(BOOL loading) override { return static_cast<Animatable*>(new Self(loading)); }
  const TCHAR* ClassName() override { return name_; }
  SClass_ID SuperClassID() override { return s_; }
  Class_ID ClassID() override { return c_; }
  const TCHAR* Category() override { return "Tests"; }

 private:
  const char* name_;
  SClass_ID s_;
  Class_ID c_;
};

// ---- a helper whose values all live in its block ----

class TestHolder;
Desc<TestHolder> holderDesc("SceneTestHolder", HELPER_CLASS_ID, kHolderClass);
ParamBlockDesc2 holderBlock(0, _T("allTypes"), 0, &holderDesc, P_AUTO_CONSTRUCT, 0,
    pInt, _T("anInt"), TYPE_INT, 0, 0, p_default, 7, p_end,
    pFloat, _T("aFloat"), TYPE_FLOAT, 0, 0, p_default, 1.5, p_end,
    pRGBA, _T("aColor"), TYPE_RGBA, 0, 0, p_end,
    pPoint3, _T("aPoint3"), TYPE_POINT3, 0, 0, p_end,
    pBool, _T("aBool"), TYPE_BOOL, 0, 0, p_end,
    pAngle, _T("anAngle"), TYPE_ANGLE, 0, 0, p_end,
    pPcntFrac, _T("aFraction"), TYPE_PCNT_FRAC, 0, 0, p_end,
    pWorld, _T("aWorld"), TYPE_WORLD, 0, 0, p_end,
    pString, _T("aString"), TYPE_STRING, 0, 0, p_end,
    pFilename, _T("aFilename"), TYPE_FILENAME, 0, 0, p_end,
    pHSV, _T("anHSV"), TYPE_HSV, 0, 0, p_end,
    pColorChannel, _T("aChannel"), TYPE_COLOR_CHANNEL, 0, 0, p_end,
    pTimeValue, _T("aTime"), TYPE_TIMEVALUE, 0, 0, p_end,
    pRadio, _T("aRadio"), TYPE_RADIOBTN_INDEX, 0, 0, p_end,
    pIndex, _T("anIndex"), TYPE_INDEX, 0, 0, p_end,
    pMatrix3, _T("aMatrix"), TYPE_MATRIX3, 0, 0, p_end,
    pPoint4, _T("aPoint4"), TYPE_POINT4, 0, 0, p_end,
    pFRGBA, _T("anFRGBA"), TYPE_FRGBA, 0, 0, p_end,
    pNode, _T("aNode"), TYPE_INODE, 0, 0, p_end,
    pRefTarg, _T("aRefTarg"), TYPE_REFTARG, 0, 0, p_end,
    pMtl, _T("aMtl"), TYPE_MTL, 0, 0, p_end,
    pTexmap, _T("aTexmap"), TYPE_TEXMAP, 0, 0, p_end,
    pIntTab, _T("ints"), TYPE_INT_TAB, 0, P_VARIABLE_SIZE, 0, p_end,
    pFloatTab, _T("floats"), TYPE_FLOAT_TAB, 0, P_VARIABLE_SIZE, 0, p_end,
    pStringTab, _T("strings"), TYPE_STRING_TAB, 0, P_VARIABLE_SIZE, 0, p_end,
    pPoint3Tab, _T("points"), TYPE_POINT3_TAB, 0, P_VARIABLE_SIZE, 0, p_end,
    pMatrix3Tab, _T("matrices"), TYPE_MATRIX3_TAB, 0, P_VARIABLE_SIZE, 0, p_end,
    pPoint4Tab, _T("point4s"), TYPE_POINT4_TAB, 0, P_VARIABLE_SIZE, 0, p_end,
    pNodeTab, _T("nodes"), TYPE_INODE_TAB, 0, P_VARIABLE_SIZE, 0, p_end,
    pRefTargTab, _T("targets"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE, 0, p_end,
    pMtlTab, _T("mtls"), TYPE_MTL_TAB, 0, P_VARIABLE_SIZE, 0, p_end,
    pAnimFloat, _T("animFloat"), TYPE_FLOAT, P_ANIMATABLE, 0, p_end,
    pAnimPoint3Tab, _T("animPoints"), TYPE_POINT3_TAB, 0, P_ANIMATABLE + P_VARIABLE_SIZE, 0, p_end,
    p_end);

class TestHolder : public HelperObject {
 public:
  explicit TestHolder(BOOL loading) {
    if (!loading) holderDesc.MakeAutoParamBlocks(this);
  }
  Class_ID ClassID() override { return kHolderClass; }
  void GetClassName(TSTR& s) override { s = "SceneTestHolder"; }
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? pblock_ : nullptr; }
  void SetReference(int i, RefTargetHandle t) override {
    if (i == 0) pblock_ = dynamic_cast<IParamBlock2*>(t);
  }
  int NumParamBlocks() override { return 1; }
  IParamBlock2* GetParamBlock(int i) override { return i == 0 ? pblock_ : nullptr; }
  IParamBlock2* GetParamBlockByID(BlockID id) override { return pblock_ && pblock_->ID() == id ? pblock_ : nullptr; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  // Everything lives in the block: nothing of its own to write or read.
  IOResult Save(ISave*) override { return IO_OK; }
  IOResult Load(ILoad*) override { return IO_OK; }

 private:
  IParamBlock2* pblock_ = nullptr;
};

// ---- a helper with chunks of its own ----

class Chunky;
Desc<Chunky> chunkyDesc("SceneTestChunky", HELPER_CLASS_ID, kChunkyClass);

enum : USHORT { cText = 0x10, cNested = 0x20, cNumbers = 0x21, cDeeper = 0x22, cWatched = 0x30 };

class Chunky : public HelperObject {
 public:
  explicit Chunky(BOOL) {}
  Class_ID ClassID() override { return kChunkyClass; }
  void GetClassName(TSTR& s) override { s = "SceneTestChunky"; }
  int NumRefs() override { return 2; }
  RefTargetHandle GetReference(int i) override { return i >= 0 && i < 2 ? refs_[i] : nullptr; }
  void SetReference(int i, RefTargetHandle t) override {
    if (i >= 0 && i < 2) refs_[i] = t;
  }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  void* GetInterface(ULONG id) override { return id == kChunkyData ? &data_ : HelperObject::GetInterface(id); }

  IOResult Save(ISave* s) override {
    ULONG n;
    s->BeginChunk(cText);
    s->WriteCString(data_.text.c_str());
    s->EndChunk();
    s->BeginChunk(cNested);
    s->BeginChunk(cNumbers);
    s->Write(data_.numbers, sizeof data_.numbers, &n);
    s->EndChunk();
    s->BeginChunk(cDeeper);
    s->BeginChunk(cDeeper);
    s->EndChunk();
    s->EndChunk();
    s->EndChunk();
    const int watched = s->GetRefID(data_.watched);
    s->BeginChunk(cWatched);
    s->Write(&watched, sizeof watched, &n);
    s->EndChunk();
    return IO_OK;
  }

  IOResult Load(ILoad* l) override {
    IOResult r;
    while ((r = l->OpenChunk()) == IO_OK) {
      ULONG n;
      switch (l->CurChunkID()) {
        case cText: {
          char* text = nullptr;
          r = l->ReadCStringChunk(&text);
          if (r == IO_OK) data_.text = text;
          break;
        }
        case cNested:
          while (r == IO_OK && (r = l->OpenChunk()) == IO_OK) {
            if (l->CurChunkID() == cNumbers) r = l->Read(data_.numbers, sizeof data_.numbers, &n);
            if (r == IO_OK) r = l->CloseChunk();
          }
          if (r == IO_END) r = IO_OK;
          break;
        case cWatched: {
          int watched = -1;
          r = l->Read(&watched, sizeof watched, &n);
          if (r == IO_OK) l->RecordBackpatch(watched, &data_.watched);
          break;
        }
        default:
          break;
      }
      if (l->CloseChunk() != IO_OK || r != IO_OK) return IO_ERROR;
    }
    return r == IO_END ? IO_OK : IO_ERROR;
  }

 private:
  RefTargetHandle refs_[2] = {nullptr, nullptr};
  ChunkyData data_;
};

// ---- a material with slots on its own references ----

class SlotMtl;
Desc<SlotMtl> slotMtlDesc("SceneTestSlotMtl", MATERIAL_CLASS_ID, kSlotMtlClass);
ParamBlockDesc2 slotMtlBlock(0, _T("params"), 0, &slotMtlDesc, P_AUTO_CONSTRUCT, 3,
    mSlots, _T("slots"), TYPE_MTL_TAB, 3, P_OWNERS_REF, 0, p_refno, 0, p_end,
    mLabels, _T("labels"), TYPE_STRING_TAB, 3, 0, 0, p_end,
    mWhich, _T("which"), TYPE_INT, 0, 0, p_default, 1, p_end,
    p_end);

class SlotMtl : public Mtl {
 public:
  explicit SlotMtl(BOOL loading) {
    if (!loading) slotMtlDesc.MakeAutoParamBlocks(this);
  }
  Class_ID ClassID() override { return kSlotMtlClass; }
  void GetClassName(TSTR& s) override { s = "SceneTestSlotMtl"; }
  int NumRefs() override { return 4; }
  RefTargetHandle GetReference(int i) override {
    if (i >= 0 && i < 3) return slots_[i];
    return i == 3 ? pblock_ : nullptr;
  }
  void SetReference(int i, RefTargetHandle t) override {
    if (i >= 0 && i < 3) slots_[i] = dynamic_cast<Mtl*>(t);
    else if (i == 3) pblock_ = dynamic_cast<IParamBlock2*>(t);
  }
  int NumParamBlocks() override { return 1; }
  IParamBlock2* GetParamBlock(int) override { return pblock_; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  int NumSubMtls() override { return 3; }
  Mtl* GetSubMtl(int i) override { return i >= 0 && i < 3 ? slots_[i] : nullptr; }

  IOResult Save(ISave* s) override {
    s->BeginChunk(MTL_HDR_CHUNK);
    IOResult r = MtlBase::Save(s);
    s->EndChunk();
    return r;
  }
  IOResult Load(ILoad* l) override {
    IOResult r;
    while ((r = l->OpenChunk()) == IO_OK) {
      IOResult inner = l->CurChunkID() == MTL_HDR_CHUNK ? MtlBase::Load(l) : IO_OK;
      if (l->CloseChunk() != IO_OK || inner != IO_OK) return IO_ERROR;
    }
    return r == IO_END ? IO_OK : IO_ERROR;
  }

  void Update(TimeValue, Interval&) override {}
  void Reset() override {}
  Interval Validity(TimeValue) override { return FOREVER; }
  ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }
  Color GetAmbient(int, BOOL) override { return Color(); }
  Color GetDiffuse(int, BOOL) override { return Color(); }
  Color GetSpecular(int, BOOL) override { return Color(); }
  float GetShininess(int, BOOL) override { return 0.0f; }
  float GetShinStr(int, BOOL) override { return 0.0f; }
  float GetXParency(int, BOOL) override { return 0.0f; }
  void SetAmbient(Color, TimeValue) override {}
  void SetDiffuse(Color, TimeValue) override {}
  void SetSpecular(Color, TimeValue) override {}
  void SetShininess(float, TimeValue) override {}
  void Shade(ShadeContext&) override {}

 private:
  Mtl* slots_[3] = {nullptr, nullptr, nullptr};
  IParamBlock2* pblock_ = nullptr;
};

ClassDesc* const kClasses[] = {&holderDesc, &chunkyDesc, &slotMtlDesc};

}  // namespace

PLUGIN_EXPORT const TCHAR* LibDescription() { return "Scene file test classes"; }
PLUGIN_EXPORT int LibNumberClasses() { return 3; }
PLUGIN_EXPORT ClassDesc* LibClassDesc(int i) { return i >= 0 && i < 3 ? kClasses[i] : nullptr; }
PLUGIN_EXPORT ULONG LibVersion() { return VERSION_3DSMAX; }
