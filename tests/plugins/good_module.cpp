// A well-formed module with one class, for the loader's tests.
#include "object.h"
#include "plugapi.h"

namespace {

class TestHelper : public HelperObject {
 public:
  Class_ID ClassID() override { return Class_ID(0x7e570001, 0x1); }
  void GetClassName(TSTR& s) override { s = "TestHelper"; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
};

class TestHelperDesc : public ClassDesc {
 public:
  int IsPublic() override { return TRUE; }
  void* Create(BOOL) override { return new TestHelper; }
  const TCHAR* ClassName() override { return "TestHelper"; }
  SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
  Class_ID ClassID() override { return Class_ID(0x7e570001, 0x1); }
  const TCHAR* Category() override { return "Tests"; }
  const TCHAR* InternalName() override { return "TestHelperInternal"; }
};

TestHelperDesc desc;
int initCalls = 0;

}  // namespace

PLUGIN_EXPORT const TCHAR* LibDescription() { return "Test module"; }
PLUGIN_EXPORT int LibNumberClasses() { return 1; }
PLUGIN_EXPORT ClassDesc* LibClassDesc(int i) { return i == 0 ? &desc : nullptr; }
PLUGIN_EXPORT ULONG LibVersion() { return VERSION_3DSMAX; }
PLUGIN_EXPORT void LibInit() { ++initCalls; }
PLUGIN_EXPORT int TestInitCalls() { return initCalls; }
