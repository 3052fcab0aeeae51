#include "core/class_registry.h"
#include "core/fp_call.h"
#include "ifnpub.h"
#include "iparamb2.h"
#include "plugapi.h"
#include "ref.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// ---- a holder-like object with a twelve-function mixin, dispatched by table ----------------------

constexpr Interface_ID HOLDER_INTERFACE(0xae24a15f, 0x8e33a9d1);
constexpr Class_ID HOLDER_CLASS_ID(0x7e57f0, 0x12);

enum {
  fn_getNode, fn_restore, fn_setWhichPass, fn_capture, fn_restoreAll, fn_unlink, fn_removeProperty,
  fn_restoreInitial, fn_captureInitial, fn_removePass, fn_captureAll, fn_captureAllInitial,
};

class ITestHolder : public FPMixinInterface {
 public:
  BEGIN_FUNCTION_MAP
    FN_0(fn_getNode, TYPE_INODE, GetNode);
    VFN_2(fn_restore, RestoreProperties, TYPE_INT, TYPE_INT);
    VFN_1(fn_setWhichPass, SetWhichPass, TYPE_INT);
    VFN_2(fn_capture, CaptureProperties, TYPE_INT, TYPE_INT);
    FN_1(fn_removeProperty, TYPE_INT, RemoveProperty, TYPE_STRING_TAB_BR);
    VFN_1(fn_restoreInitial, RestoreInitialProperties, TYPE_STRING);
    FN_1(fn_removePass, TYPE_INT, RemovePass, TYPE_INT);
  END_FUNCTION_MAP

  FPInterfaceDesc* GetDesc() override;
  virtual INode* GetNode() = 0;
  virtual void RestoreProperties(int whichPass, int whereInList) = 0;
  virtual void SetWhichPass(int whichPass) = 0;
  virtual void CaptureProperties(int whichPass, int doOnlyUncaptured) = 0;
  virtual int RemoveProperty(Tab<const TCHAR*>& names) = 0;
  virtual void RestoreInitialProperties(const TCHAR* name) = 0;
  virtual int RemovePass(int whichPass) = 0;
};

class TestHolder : public ReferenceTarget, public ITestHolder {
 public:
  SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
  Class_ID ClassID() override { return HOLDER_CLASS_ID; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  BaseInterface* GetInterface(Interface_ID id) override {
    return id == HOLDER_INTERFACE ? static_cast<ITestHolder*>(this) : ReferenceTarget::GetInterface(id);
  }

  INode* GetNode() override { return node; }
  void RestoreProperties(int whichPass, int whereInList) override {
    log.push_back("restore " + std::to_string(whichPass) + " " + std::to_string(whereInList));
  }
  void SetWhichPass(int whichPass) override { log.push_back("pass " + std::to_string(whichPass)); }
  void CaptureProperties(int whichPass, int only) override {
    log.push_back("capture " + std::to_string(whichPass) + " " + std::to_string(only));
  }
  int RemoveProperty(Tab<const TCHAR*>& names) override {
    for (int k = 0; k < names.Count(); ++k) log.push_back(std::string("remove ") + names[k]);
    return names.Count();
  }
  void RestoreInitialProperties(const TCHAR* name) override { log.push_back(std::string("initial '") + name + "'"); }
  int RemovePass(int whichPass) override { return whichPass * 10; }

  INode* node = nullptr;
  std::vector<std::string> log;
};

class TestClassDesc : public ClassDesc {
 public:
  TestClassDesc(const TCHAR* name, SClass_ID sid, Class_ID cid) : name_(name), sid_(sid), cid_(cid) {}
  int IsPublic() override { return TRUE; }
  void* Create(BOOL) override { return new TestHolder; }
  const TCHAR* ClassName() override { return name_; }
  SClass_ID SuperClassID() override { return sid_; }
  Class_ID ClassID() override { return cid_; }
  const TCHAR* Category() override { return _T("Test"); }
  const TCHAR* GetRsrcString(INT_PTR id) override { return id == 7 ? _T("Materials") : nullptr; }

 private:
  const TCHAR* name_;
  SClass_ID sid_;
  Class_ID cid_;
};

TestClassDesc holderClassDesc(_T("TestHolder"), HELPER_CLASS_ID, HOLDER_CLASS_ID);

FPInterfaceDesc holderInterfaceDesc(
    HOLDER_INTERFACE, _T("ITestHolder"), 0, &holderClassDesc, FP_MIXIN,
    fn_getNode, _T("GetNode"), 0, TYPE_INODE, 0, 0,
    fn_restore, _T("RestoreProperties"), 0, TYPE_VOID, 0, 2,
        _T("whichPass"), 0, TYPE_INT,
        _T("whereInList"), 0, TYPE_INT,
    fn_setWhichPass, _T("SetWhichPass"), 0, TYPE_VOID, 0, 1,
        _T("whichPass"), 0, TYPE_INT,
    fn_capture, _T("CaptureProperties"), 0, TYPE_VOID, 0, 2,
        _T("whichPass"), 0, TYPE_INT,
        _T("doOnlyUncaptured"), 0, TYPE_INT,
    fn_restoreAll, _T("RestoreAllProperties"), 0, TYPE_VOID, 0, 2,
        _T("whichPass"), 0, TYPE_INT,
        _T("whereInList"), 0, TYPE_INT,
    fn_unlink, _T("UnlinkInstancedControllers"), 0, TYPE_VOID, 0, 1,
        _T("controller"), 0, TYPE_REFTARG,
    fn_removeProperty, _T("RemoveProperty"), 0, TYPE_INT, 0, 1,
        _T("propName"), 0, TYPE_STRING_TAB_BR,
    fn_restoreInitial, _T("RestoreInitialProperties"), 0, TYPE_VOID, 0, 1,
        _T("propName"), 0, TYPE_STRING,
    fn_captureInitial, _T("CaptureInitialProperties"), 0, TYPE_VOID, 0, 1,
        _T("doOnlyUncaptured"), 0, TYPE_INT,
    fn_removePass, _T("RemovePass"), 0, TYPE_INT, 0, 1,
        _T("whichPass"), 0, TYPE_INT,
    fn_captureAll, _T("CaptureAllProperties"), 0, TYPE_VOID, 0, 2,
        _T("whichPass"), 0, TYPE_INT,
        _T("doOnlyUncaptured"), 0, TYPE_INT,
    fn_captureAllInitial, _T("CaptureAllInitialProperties"), 0, TYPE_VOID, 0, 1,
        _T("doOnlyUncaptured"), 0, TYPE_INT,
    p_end);

FPInterfaceDesc* ITestHolder::GetDesc() { return &holderInterfaceDesc; }

// A fresh holder whose class is registered with its mixin descriptor, as a plug-in's class is.
class FunctionPublishing : public ::testing::Test {
 protected:
  void SetUp() override {
    holderClassDesc.AddInterface(&holderInterfaceDesc);
    sim::ClassRegistry::instance().add(&holderClassDesc, "fp-test");
    holder = new TestHolder;
  }
  void TearDown() override {
    holder->DeleteMe();
    sim::ClassRegistry::instance().removeModule("fp-test");
  }
  FPInterface* mixin() { return static_cast<ITestHolder*>(holder); }
  TestHolder* holder = nullptr;
};

TEST_F(FunctionPublishing, ATwelveFunctionTableIsReadWithItsIdsNamesAndTypes) {
  FPInterfaceDesc& d = holderInterfaceDesc;
  EXPECT_STREQ(d.LoadError(), "");
  ASSERT_EQ(d.functions.Count(), 12);
  EXPECT_EQ(d.internal_name, "ITestHolder");
  EXPECT_EQ(d.flags, ULONG(FP_MIXIN));
  for (int k = 0; k < 12; ++k) EXPECT_EQ(d.functions[k]->ID, k) << "in table order";

  const FPFunctionDef* getNode = d.GetFnDef(fn_getNode);
  EXPECT_EQ(getNode->internal_name, "GetNode");
  EXPECT_EQ(getNode->result_type, TYPE_INODE);
  EXPECT_EQ(getNode->NumParams(), 0);

  const FPFunctionDef* restore = d.GetFnDef(fn_restore);
  ASSERT_EQ(restore->NumParams(), 2);
  EXPECT_EQ(restore->params[1]->internal_name, "whereInList");
  EXPECT_EQ(restore->params[1]->type, TYPE_INT);

  const FPFunctionDef* remove = d.GetFnDef(fn_removeProperty);
  EXPECT_EQ(remove->result_type, TYPE_INT);
  ASSERT_EQ(remove->NumParams(), 1);
  EXPECT_EQ(remove->params[0]->internal_name, "propName");
  EXPECT_EQ(remove->params[0]->type, TYPE_STRING_TAB_BR);
  EXPECT_EQ(d.GetFnDef(fn_unlink)->params[0]->type, TYPE_REFTARG);
  EXPECT_EQ(d.GetFnDef(fn_captureAllInitial)->internal_name, "CaptureAllInitialProperties");
}

TEST_F(FunctionPublishing, FunctionsAreFoundByNameInAnyCaseAndByTheirId) {
  EXPECT_EQ(mixin()->FindFn(_T("capturePROPERTIES")), fn_capture);
  EXPECT_EQ(mixin()->FindFn(_T("CaptureProperty")), FP_NO_FUNCTION);
  EXPECT_EQ(mixin()->FindFn(nullptr), FP_NO_FUNCTION);
  EXPECT_EQ(holderInterfaceDesc.GetFnDef(12), nullptr);
}

TEST_F(FunctionPublishing, DispatchByIdRunsTheFunctionAndFillsTheResult) {
  FPParams args(2, TYPE_INT, 3, TYPE_INT, 1);
  EXPECT_EQ(mixin()->Invoke(fn_capture, &args), FPS_OK);

  Tab<const TCHAR*> names;
  const TCHAR* two[] = {_T("radius"), _T("height")};
  names.Append(2, two);
  FPParams removeArgs(1, TYPE_STRING_TAB_BR, names);
  FPValue result;
  EXPECT_EQ(mixin()->Invoke(fn_removeProperty, result, &removeArgs), FPS_OK);
  EXPECT_EQ(result.type, TYPE_INT);
  EXPECT_EQ(result.i, 2);

  FPParams initialArgs(1, TYPE_STRING, _T("radius"));
  EXPECT_EQ(mixin()->Invoke(fn_restoreInitial, &initialArgs), FPS_OK);
  EXPECT_EQ(holder->log, (std::vector<std::string>{"capture 3 1", "remove radius", "remove height", "initial 'radius'"}));

  EXPECT_EQ(mixin()->Invoke(fn_getNode, result), FPS_OK);
  EXPECT_EQ(result.type, TYPE_INODE);
  EXPECT_EQ(result.n, nullptr);
}

TEST_F(FunctionPublishing, AnUnknownIdAnswersNoSuchFunctionAndBadArgumentsFailWithoutACall) {
  FPValue result;
  EXPECT_EQ(mixin()->Invoke(12, result), FPS_NO_SUCH_FUNCTION);
  EXPECT_EQ(mixin()->Invoke(-1, result), FPS_NO_SUCH_FUNCTION);

  FPParams tooFew(1, TYPE_INT, 3);
  EXPECT_EQ(mixin()->Invoke(fn_capture, &tooFew), FPS_FAIL);
  EXPECT_EQ(mixin()->Invoke(fn_capture), FPS_FAIL) << "no argument list at all";
  FPParams wrongType(1, TYPE_FLOAT, 3.0f);
  EXPECT_EQ(mixin()->Invoke(fn_setWhichPass, &wrongType), FPS_FAIL);
  FPParams nullTable;
  nullTable.params.SetCount(1);
  nullTable.params[0].type = TYPE_STRING_TAB_BR;  // a by-reference table that is not there
  EXPECT_EQ(mixin()->Invoke(fn_removeProperty, result, &nullTable), FPS_FAIL);
  EXPECT_TRUE(holder->log.empty());
}

TEST_F(FunctionPublishing, AMixinIsFoundThroughItsObjectAndItsDescriptorThroughTheClass) {
  EXPECT_EQ(holder->GetInterface(HOLDER_INTERFACE), static_cast<BaseInterface*>(mixin()));
  EXPECT_EQ(mixin()->GetDesc(), &holderInterfaceDesc);
  EXPECT_EQ(mixin()->GetID(), HOLDER_INTERFACE);

  EXPECT_EQ(holderClassDesc.GetInterface(HOLDER_INTERFACE), &holderInterfaceDesc);
  EXPECT_EQ(holderClassDesc.GetInterface(_T("itestholder")), &holderInterfaceDesc);
  holderClassDesc.AddInterface(&holderInterfaceDesc);
  EXPECT_EQ(holderClassDesc.NumInterfaces(), 1) << "adding the same descriptor again changes nothing";

  EXPECT_EQ(sim::publishedInterfaces(holder), std::vector<FPInterface*>{mixin()});
  EXPECT_EQ(sim::findFunctionInterface(holder, "removepass"), mixin());
  EXPECT_EQ(sim::findFunctionInterface(holder, "Frobnicate"), nullptr);
}

// ---- a material-like class: a hand-written dispatcher and a static interface on its class --------

constexpr Interface_ID MATERIAL_INTERFACE(0xae24a15f, 0x8e13a9d1);
constexpr Interface_ID RENDER_COMPAT_INTERFACE(0x5537445b, 0x70a97e02);

class IMaterialAssign : public FPMixinInterface {
 public:
  enum { fn_assignMaterial };
  virtual void AssignMaterial(Mtl* material, int pass) = 0;

 protected:
  FPStatus _dispatch_fn(FunctionID fid, TimeValue, FPValue&, FPParams* p) override {
    switch (fid) {
      case fn_assignMaterial:
        if (!FP_ARGS_2(TYPE_MTL, TYPE_INT)) return FPS_FAIL;
        AssignMaterial(p->params[0].mtl, p->params[1].i);
        return FPS_OK;
      default:
        return FPS_NO_SUCH_FUNCTION;
    }
  }
};

class RenderCompatibility : public FPStaticInterface {
 public:
  void Init(ClassDesc& cd) {
    LoadDescriptor(RENDER_COMPAT_INTERFACE, _T("IMtlRender_Compability_MtlBase"), 0, &cd, 0, p_end);
  }
};

struct TestMaterial : IMaterialAssign {
  FPInterfaceDesc* GetDesc() override { return desc; }
  void AssignMaterial(Mtl* material, int pass) override { assigned.push_back(pass); }
  FPInterfaceDesc* desc = nullptr;
  std::vector<int> assigned;
};

TEST(FunctionPublishingByHand, AHandWrittenDispatcherAnswersMinusOneForUnknownIdsAndOneAfterACall) {
  TestClassDesc materialClass(_T("TestMaterial"), MATERIAL_CLASS_ID, Class_ID(0x7e57f0, 0x13));
  FPInterfaceDesc desc(MATERIAL_INTERFACE, _T("IMaterialAssign"), 0, &materialClass, FP_MIXIN,
                       IMaterialAssign::fn_assignMaterial, _T("AssignMaterial"), 0, TYPE_VOID, 0, 2,
                           _T("material"), 0, TYPE_MTL,
                           _T("pass"), 0, TYPE_INT,
                       p_end);
  TestMaterial material;
  material.desc = &desc;

  FPParams args(2, TYPE_MTL, nullptr, TYPE_INT, 101);
  EXPECT_EQ(material.Invoke(IMaterialAssign::fn_assignMaterial, &args), 1);
  EXPECT_EQ(material.Invoke(1, &args), -1);
  EXPECT_EQ(material.assigned, std::vector<int>{101});
  EXPECT_EQ(materialClass.NumInterfaces(), 0) << "a mixin descriptor waits for its plug-in to add it";
}

TEST(FunctionPublishingByHand, AStaticInterfaceAddsItselfToItsClassAndIsFoundByName) {
  TestClassDesc materialClass(_T("TestMaterial"), MATERIAL_CLASS_ID, Class_ID(0x7e57f0, 0x13));
  RenderCompatibility compat;
  compat.Init(materialClass);

  EXPECT_EQ(materialClass.GetInterface(_T("IMtlRender_Compability_MtlBase")), &compat);
  EXPECT_EQ(materialClass.GetInterface(RENDER_COMPAT_INTERFACE), &compat);
  EXPECT_EQ(materialClass.GetInterface(_T("IMtlRender_Compatibility_MtlBase")), nullptr) << "the name is spelt so";
  EXPECT_EQ(compat.GetDesc(), &compat);
  EXPECT_EQ(compat.functions.Count(), 0);
  EXPECT_STREQ(compat.LoadError(), "");
  EXPECT_STREQ(compat.GetRsrcString(7), "Materials") << "strings come from the owning class";
  compat.Init(materialClass);
  EXPECT_EQ(materialClass.NumInterfaces(), 1);
}

// ---- core interfaces -----------------------------------------------------------------------------

constexpr Interface_ID CORE_TEST_INTERFACE(0x7e57c0de, 0x1);

class CoreCounter : public FPStaticInterface {
 public:
  DECLARE_DESCRIPTOR(CoreCounter)
  enum { fn_bump, fn_getCount, fn_setCount };
  BEGIN_FUNCTION_MAP
    FN_1(fn_bump, TYPE_INT, Bump, TYPE_INT);
    PROP_FNS(fn_getCount, GetCount, fn_setCount, SetCount, TYPE_INT);
  END_FUNCTION_MAP
  int Bump(int by) { return count += by; }
  int GetCount() { return count; }
  void SetCount(int c) { count = c; }
  int count = 0;
};

TEST(CoreInterfaces, ACoreDescriptorRegistersItselfAndLeavesWhenDestroyed) {
  const int before = NumCOREInterfaces();
  {
    CoreCounter counter(CORE_TEST_INTERFACE, _T("TestCounter"), 0, nullptr, FP_CORE,
                        CoreCounter::fn_bump, _T("bump"), 0, TYPE_INT, 0, 1,
                            _T("by"), 0, TYPE_INT,
                        properties,
                            CoreCounter::fn_getCount, CoreCounter::fn_setCount, _T("count"), 0, TYPE_INT,
                        p_end);
    ASSERT_EQ(GetCOREInterface(CORE_TEST_INTERFACE), &counter);
    EXPECT_EQ(NumCOREInterfaces(), before + 1);
    EXPECT_EQ(sim::findCoreInterface("testcounter"), &counter);

    FPParams by(1, TYPE_INT, 5);
    FPValue result;
    EXPECT_EQ(GetCOREInterface(CORE_TEST_INTERFACE)->Invoke(CoreCounter::fn_bump, result, &by), FPS_OK);
    EXPECT_EQ(result.i, 5);

    CoreCounter replacement(CORE_TEST_INTERFACE, _T("TestCounter2"), 0, nullptr, FP_CORE, p_end);
    EXPECT_EQ(GetCOREInterface(CORE_TEST_INTERFACE), &replacement) << "the later registration answers";
    EXPECT_EQ(NumCOREInterfaces(), before + 1);
  }
  EXPECT_EQ(GetCOREInterface(CORE_TEST_INTERFACE), nullptr);
  EXPECT_EQ(NumCOREInterfaces(), before);
  RegisterCOREInterface(nullptr);
  EXPECT_EQ(NumCOREInterfaces(), before);
}

// ---- tables beyond the plain function list -------------------------------------------------------

TEST(DescriptorTables, PropertiesEnumerationsAndDefaultsAreRead) {
  enum { fn_render, fn_getMode, fn_setMode, fn_getName, mode_enum = 3 };
  FPInterfaceDesc desc(Interface_ID(0x7e57, 0x2), _T("IRenderish"), 0, nullptr, 0,
                       fn_render, _T("Render"), 0, TYPE_BOOL, 0, 3,
                           _T("frame"), 0, TYPE_INT,
                           _T("scale"), 0, TYPE_FLOAT, f_keyArgDefault, 1,
                           _T("label"), 0, TYPE_STRING, f_keyArgDefault, _T("none"),
                       properties,
                           fn_getMode, fn_setMode, _T("mode"), 0, TYPE_ENUM, mode_enum, f_range, 0, 2,
                           fn_getName, FP_NO_FUNCTION, _T("name"), 0, TYPE_STRING,
                       enums,
                           mode_enum, 2, _T("fast"), 0, _T("best"), 2,
                       p_end);
  EXPECT_STREQ(desc.LoadError(), "");
  const FPFunctionDef* render = desc.FindFnDef(_T("render"));
  ASSERT_NE(render, nullptr);
  EXPECT_EQ(render->NumRequiredParams(), 1);
  EXPECT_TRUE(render->flags & FP_HAS_KEYARGS);
  ASSERT_NE(render->params[1]->KeyArgDefault(), nullptr);
  EXPECT_EQ(render->params[1]->KeyArgDefault()->f, 1.0f) << "an integer default for a float parameter";
  EXPECT_STREQ(render->params[2]->KeyArgDefault()->s, "none");
  EXPECT_EQ(render->params[0]->KeyArgDefault(), nullptr);

  ASSERT_EQ(desc.props.Count(), 2);
  const FPPropDef* mode = desc.FindPropDef(_T("MODE"));
  EXPECT_EQ(mode->getter_ID, fn_getMode);
  EXPECT_EQ(mode->setter_ID, fn_setMode);
  EXPECT_EQ(mode->enumID, mode_enum);
  ASSERT_NE(mode->setter_param, nullptr);
  EXPECT_EQ(mode->setter_param->options->range_high.i, 2);
  EXPECT_EQ(desc.FindPropDef(_T("name"))->setter_ID, FP_NO_FUNCTION);

  const FPEnum* modes = desc.GetEnum(mode_enum);
  ASSERT_NE(modes, nullptr);
  ASSERT_EQ(modes->enumeration.Count(), 2);
  EXPECT_EQ(modes->enumeration[1].name, "best");
  EXPECT_EQ(modes->enumeration[1].code, 2);
}

TEST(DescriptorTables, AMalformedTableKeepsWhatCameBeforeTheBadEntryAndSaysWhere) {
  FPInterfaceDesc countTooBig(Interface_ID(0x7e57, 0x3), _T("IBad"), 0, nullptr, 0,
                              0, _T("Fine"), 0, TYPE_VOID, 0, 0,
                              1, _T("Broken"), 0, TYPE_VOID, 0, 100000,
                                  _T("x"), 0, TYPE_INT,
                              p_end);
  EXPECT_EQ(countTooBig.functions.Count(), 1);
  EXPECT_STREQ(countTooBig.LoadError(), "entry 12: an argument count out of range (100000)");

  FPInterfaceDesc nameForType(Interface_ID(0x7e57, 0x4), _T("IBad"), 0, nullptr, 0,
                              0, _T("Fine"), 0, TYPE_VOID, 0, 1,
                                  _T("x"), 0, _T("oops"),
                              p_end);
  EXPECT_EQ(nameForType.functions.Count(), 0);
  EXPECT_STREQ(nameForType.LoadError(), "entry 9: a parameter type expected");

  FPInterfaceDesc twice(Interface_ID(0x7e57, 0x5), _T("IBad"), 0, nullptr, 0,
                        0, _T("A"), 0, TYPE_VOID, 0, 0,
                        0, _T("B"), 0, TYPE_VOID, 0, 0,
                        p_end);
  EXPECT_STREQ(twice.LoadError(), "entry 7: function id 0 used twice");

  FPInterfaceDesc unended(Interface_ID(0x7e57, 0x6), _T("IBad"), 0, nullptr, 0,
                          0, _T("A"), 0, TYPE_VOID, 0, 1,
                              _T("x"), 0, TYPE_INT);
  EXPECT_EQ(unended.functions.Count(), 1);
  EXPECT_STREQ(unended.LoadError(), "entry 10: p_end expected");

  FPInterfaceDesc wrongDefault(Interface_ID(0x7e57, 0x7), _T("IBad"), 0, nullptr, 0,
                               0, _T("A"), 0, TYPE_VOID, 0, 1,
                                   _T("x"), 0, TYPE_INT, f_keyArgDefault, _T("seven"),
                               p_end);
  EXPECT_STREQ(wrongDefault.LoadError(), "entry 11: a default does not fit the parameter's type");
}

class Actions : public FPStaticInterface {
 public:
  DECLARE_DESCRIPTOR(Actions)
  enum { fn_go, fn_canGo };
  BEGIN_FUNCTION_MAP
    VFN_0(fn_go, Go);
    FN_0(fn_canGo, TYPE_BOOL, CanGo);
  END_FUNCTION_MAP
  void Go() { ++calls; }
  BOOL CanGo() { return enabled; }
  int calls = 0;
  BOOL enabled = FALSE;
};

TEST(DescriptorTables, AnActionWhosePredicateSaysDisabledIsNotCalled) {
  Actions actions(Interface_ID(0x7e57, 0x8), _T("Actions"), 0, nullptr, FP_ACTIONS,
                  Actions::fn_go, _T("go"), 0, TYPE_VOID, 0, 0, f_isEnabled, Actions::fn_canGo,
                  Actions::fn_canGo, _T("canGo"), 0, TYPE_BOOL, 0, 0,
                  p_end);
  EXPECT_STREQ(actions.LoadError(), "");
  EXPECT_EQ(actions.Invoke(Actions::fn_go), FPS_ACTION_DISABLED);
  actions.enabled = TRUE;
  EXPECT_EQ(actions.Invoke(Actions::fn_go), FPS_OK);
  EXPECT_EQ(actions.calls, 1);
}

}  // namespace
