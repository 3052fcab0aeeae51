#include "scenefile/stand_in.h"

#include "control.h"
#include "imtl.h"
#include "object.h"
#include "scenefile/chunk_format.h"
#include "scenefile/chunk_reader.h"

namespace sim {

MissingClass::~MissingClass() = default;

namespace {

// Reads the chunks of the current level into `out`, recursively (the reader bounds the depth).
IOResult readChunks(ILoad* iload, std::vector<SavedChunk>& out) {
  IOResult r;
  while ((r = iload->OpenChunk()) == IO_OK) {
    SavedChunk c;
    c.id = iload->CurChunkID();
    c.container = iload->CurChunkType() == CONTAINER_CHUNK;
    IOResult inner = IO_OK;
    if (c.container) {
      inner = readChunks(iload, c.chunks);
    } else {
      c.bytes.resize(static_cast<size_t>(iload->CurChunkLength()));
      ULONG n;
      inner = iload->Read(c.bytes.data(), static_cast<ULONG>(c.bytes.size()), &n);
    }
    if (iload->CloseChunk() != IO_OK || inner != IO_OK) return IO_ERROR;
    out.push_back(std::move(c));
  }
  return r == IO_END ? IO_OK : IO_ERROR;
}

IOResult writeChunks(ISave* isave, const std::vector<SavedChunk>& chunks) {
  for (const SavedChunk& c : chunks) {
    isave->BeginChunk(c.id);
    ULONG n;
    IOResult r = c.container ? writeChunks(isave, c.chunks) : isave->Write(c.bytes.data(), static_cast<ULONG>(c.bytes.size()), &n);
    isave->EndChunk();
    if (r != IO_OK) return r;
  }
  return IO_OK;
}

}  // namespace

IOResult MissingClass::loadData(ILoad* iload) {
  data_ = SavedChunk();
  data_.container = iload->CurChunkType() == CONTAINER_CHUNK;
  if (data_.container) return readChunks(iload, data_.chunks);
  data_.bytes.resize(static_cast<size_t>(iload->CurChunkLength()));
  ULONG n;
  return iload->Read(data_.bytes.data(), static_cast<ULONG>(data_.bytes.size()), &n);
}

IOResult MissingClass::saveData(ISave* isave) const {
  if (data_.container) return writeChunks(isave, data_.chunks);
  ULONG n;
  return data_.bytes.empty() ? IO_OK : isave->Write(data_.bytes.data(), static_cast<ULONG>(data_.bytes.size()), &n);
}

void keepAsStandIn(ILoad* iload) {
  if (auto* reader = dynamic_cast<ChunkReader*>(iload)) reader->wantStandIn();
}

namespace {

// What every stand-in does, whatever its base class.
template <class Base>
class StandIn : public Base, public MissingClass {
 public:
  explicit StandIn(const SavedClass& cls) : MissingClass(cls) {}

  void GetClassName(TSTR& s) override { s = savedClass().name.c_str(); }
  Class_ID ClassID() override { return savedClass().cid; }
  SClass_ID SuperClassID() override { return savedClass().sclass; }

  int NumRefs() override { return static_cast<int>(refs_.size()); }
  RefTargetHandle GetReference(int i) override { return i >= 0 && i < NumRefs() ? refs_[static_cast<size_t>(i)] : nullptr; }
  void SetReference(int i, RefTargetHandle rtarg) override {
    if (i >= 0 && i < NumRefs()) refs_[static_cast<size_t>(i)] = rtarg;
  }
  void setNumRefs(int n) override { refs_.assign(static_cast<size_t>(n), nullptr); }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }

  IOResult Save(ISave* isave) override { return saveData(isave); }
  IOResult Load(ILoad* iload) override { return loadData(iload); }

  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = static_cast<StandIn*>(makeStandIn(savedClass()));
    c->copyData(*this);
    c->setNumRefs(NumRefs());
    for (int i = 0; i < NumRefs(); ++i) c->ReplaceReference(i, remap.CloneRef(refs_[static_cast<size_t>(i)]));
    this->BaseClone(this, c, remap);
    return c;
  }

 private:
  std::vector<RefTargetHandle> refs_;
};

class TargetStandIn final : public StandIn<ReferenceTarget> {
 public:
  using StandIn::StandIn;
};

class ObjectStandIn final : public StandIn<Object> {
 public:
  using StandIn::StandIn;
  // Whatever class the file names, a stand-in is not an object of it: it converts to nothing.
  int CanConvertToType(Class_ID) override { return FALSE; }
  Object* ConvertToType(TimeValue, Class_ID) override { return nullptr; }
};

class ModifierStandIn final : public StandIn<Modifier> {
 public:
  using StandIn::StandIn;
  Class_ID InputType() override { return defObjectClassID; }
  void ModifyObject(TimeValue, ModContext&, ObjectState*, INode*) override {}
};

class ControlStandIn final : public StandIn<Control> {
 public:
  using StandIn::StandIn;
  // Leaves the value as it was given: a missing transform adds nothing to its parent's.
  void GetValue(TimeValue, void*, Interval&, GetSetMethod) override {}
  void SetValue(TimeValue, void*, int, GetSetMethod) override {}
};

class MtlStandIn final : public StandIn<Mtl> {
 public:
  using StandIn::StandIn;
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
};

class TexmapStandIn final : public StandIn<Texmap> {
 public:
  using StandIn::StandIn;
  void Update(TimeValue, Interval&) override {}
  void Reset() override {}
  Interval Validity(TimeValue) override { return FOREVER; }
  ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }
  AColor EvalColor(ShadeContext&) override { return AColor(); }
};

bool isControllerClass(SClass_ID s) { return s >= 0x9000 && s < 0x9100; }

}  // namespace

ReferenceTarget* makeStandIn(const SavedClass& cls) {
  switch (cls.sclass) {
    case GEOMOBJECT_CLASS_ID: case CAMERA_CLASS_ID: case LIGHT_CLASS_ID: case SHAPE_CLASS_ID:
    case HELPER_CLASS_ID: case SYSTEM_CLASS_ID: case WSM_OBJECT_CLASS_ID: case GEN_DERIVOB_CLASS_ID:
      return new ObjectStandIn(cls);
    case OSM_CLASS_ID: case WSM_CLASS_ID:
      return new ModifierStandIn(cls);
    case MATERIAL_CLASS_ID:
      return new MtlStandIn(cls);
    case TEXMAP_CLASS_ID:
      return new TexmapStandIn(cls);
    default:
      if (isControllerClass(cls.sclass)) return new ControlStandIn(cls);
      return new TargetStandIn(cls);
  }
}

}  // namespace sim
