// The external-reference object: a stand-in for an object of another scene file. Its source object
// is reference 0; the pipeline evaluates to the source, so the node looks and renders like it.
#include "inode.h"
#include "ixrefobj.h"
#include "iparamb2.h"
#include "scene/change_restore.h"
#include "scene/host_class_desc.h"
#include "scenefile/chunk_io.h"
#include "script/property_table.h"

namespace sim {
namespace {

class XRefObject : public Object, public IXRefObject8 {
 public:
  SClass_ID SuperClassID() override { return SYSTEM_CLASS_ID; }
  Class_ID ClassID() override { return XREFOBJ_CLASS_ID; }
  void GetClassName(TSTR& s) override { s = "XRefObject"; }
  const TCHAR* GetObjectName() override { return "XRef"; }
  void InitNodeName(TSTR& s) override {
    if (source_) source_->InitNodeName(s);
    else s = "XRef";
  }
  BaseInterface* GetInterface(Interface_ID id) override {
    if (id == IID_XREF_OBJECT8) return static_cast<IXRefObject8*>(this);
    return Object::GetInterface(id);
  }
  void* GetInterface(ULONG id) override { return Object::GetInterface(id); }

  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? source_ : nullptr; }
  void SetReference(int i, RefTargetHandle rtarg) override {
    if (i == 0) source_ = dynamic_cast<Object*>(rtarg);
  }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  int NumSubs() override { return 1; }
  Animatable* SubAnim(int i) override { return i == 0 ? source_ : nullptr; }
  TSTR SubAnimName(int i) override { return i == 0 ? TSTR("Source Object") : TSTR(); }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = new XRefObject;
    c->ReplaceReference(0, source_);  // the source belongs to its file: clones share it
    c->file_ = file_;
    c->objName_ = objName_;
    BaseClone(this, c, remap);
    return c;
  }

  // The file and object names; the source object is a reference.
  IOResult Save(ISave* isave) override {
    if (io::writeText(isave, kFileChunk, file_) != IO_OK) return IO_ERROR;
    return io::writeText(isave, kObjNameChunk, objName_);
  }
  IOResult Load(ILoad* iload) override {
    return io::forEachChunk(iload, [&](USHORT id) {
      if (id == kFileChunk) return io::readText(iload, file_);
      if (id == kObjNameChunk) return io::readText(iload, objName_);
      return IO_OK;
    });
  }

  ObjectState Eval(TimeValue t) override { return source_ ? source_->Eval(t) : ObjectState(this); }
  int CanConvertToType(Class_ID obtype) override { return source_ && source_->CanConvertToType(obtype); }
  Object* ConvertToType(TimeValue t, Class_ID obtype) override {
    if (!source_) return nullptr;
    Object* c = source_->ConvertToType(t, obtype);
    // The source is not the caller's to free: hand out a copy of it instead.
    return c == source_ ? static_cast<Object*>(c->Clone(NoRemap())) : c;
  }

  // ---- IXRefObject8 ----
  Object* GetSourceObject(bool resolveNested, Modifier**) const override {
    Object* o = source_;
    for (int depth = 0; resolveNested && o && depth < 64; ++depth) {
      auto* inner = IXRefObject8::GetInterface(*o);
      if (!inner) break;
      o = inner->GetSourceObject(false, nullptr);
    }
    return o;
  }
  MSTR GetFile() const override { return MSTR(file_); }
  MSTR GetObjName() const override { return MSTR(objName_); }

  // ---- host side ----
  void setSource(Object* o) {
    if (o == this) return;
    ReplaceReference(0, o);
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  }
  void setFile(const std::string& f) {
    recordChange(static_cast<Object*>(this), file_, f, [this](const std::string& v) { file_ = v; }, "XRef file");
    file_ = f;
  }
  void setObjName(const std::string& n) {
    recordChange(static_cast<Object*>(this), objName_, n, [this](const std::string& v) { objName_ = v; }, "XRef name");
    objName_ = n;
  }

 private:
  static constexpr USHORT kFileChunk = 0x0001, kObjNameChunk = 0x0002;
  Object* source_ = nullptr;
  std::string file_;
  std::string objName_;
};

HostClassDesc xrefDesc("XRefObject", SYSTEM_CLASS_ID, XREFOBJ_CLASS_ID, "", [](BOOL) -> void* {
  return static_cast<Object*>(new XRefObject);
});

XRefObject* xref(ReferenceTarget* t) { return dynamic_cast<XRefObject*>(t); }

const bool xrefProps = addPropertyTable(
    PropertyScope{SYSTEM_CLASS_ID, XREFOBJ_CLASS_ID, true, nullptr},
    {
        {"fileName", [](ReferenceTarget* t, TimeValue) -> Value* { return new String(xref(t)->GetFile().str()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { xref(t)->setFile(v->to_string()); }},
        {"objectName", [](ReferenceTarget* t, TimeValue) -> Value* { return new String(xref(t)->GetObjName().str()); },
         [](ReferenceTarget* t, TimeValue, Value* v) { xref(t)->setObjName(v->to_string()); }},
        {"sourceObject", [](ReferenceTarget* t, TimeValue) { return wrapTarget(xref(t)->GetSourceObject(false, nullptr)); },
         [](ReferenceTarget* t, TimeValue, Value* v) {
           // A node stands for the object it carries.
           ReferenceTarget* r = v == undefined ? nullptr : v->to_reftarg();
           if (auto* n = dynamic_cast<INode*>(r)) r = n->GetObjectRef();
           xref(t)->setSource(dynamic_cast<Object*>(r));
         }},
    });

}  // namespace
}  // namespace sim

FPInterfaceDesc* IXRefObject8::GetDesc() {
  static FPInterfaceDesc desc(IID_XREF_OBJECT8, _T("IXRefObject8"), 0, nullptr, FP_MIXIN, p_end);
  return &desc;
}
