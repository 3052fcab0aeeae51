// The current renderer's render elements for scripts, as the host publishes them: the interface
// "RenderElementMgr" (indices from 0), reached as maxOps.GetCurRenderElementMgr().
#include "ifnpub.h"
#include "iparamb2.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "renderelements.h"
#include "script/published_calls.h"
#include "script/runtime.h"

ValueMetaClass MaxOps_class("Interface");

namespace sim {

namespace {

IRenderElementMgr* elements() { return GetCOREInterface()->GetCurRenderElementMgr(); }

class RenderElementMgrInterface : public FPStaticInterface {
 public:
  enum { add, remove, removeAll, num, get, setFile, getFile, setActive, getActive };

  RenderElementMgrInterface() {
    LoadDescriptor(Interface_ID(0x40c926b8, 0x52a33c21), _T("RenderElementMgr"), 0, nullptr, FP_CORE,
        add, _T("AddRenderElement"), 0, TYPE_BOOL, 0, 1,
            _T("element"), 0, TYPE_REFTARG,
        remove, _T("RemoveRenderElement"), 0, TYPE_BOOL, 0, 1,
            _T("element"), 0, TYPE_REFTARG,
        removeAll, _T("RemoveAllRenderElements"), 0, TYPE_VOID, 0, 0,
        num, _T("NumRenderElements"), 0, TYPE_INT, 0, 0,
        get, _T("GetRenderElement"), 0, TYPE_REFTARG, 0, 1,
            _T("index"), 0, TYPE_INT,
        setFile, _T("SetRenderElementFilename"), 0, TYPE_VOID, 0, 2,
            _T("index"), 0, TYPE_INT,
            _T("filename"), 0, TYPE_STRING,
        getFile, _T("GetRenderElementFilename"), 0, TYPE_STRING, 0, 1,
            _T("index"), 0, TYPE_INT,
        setActive, _T("SetElementsActive"), 0, TYPE_VOID, 0, 1,
            _T("active"), 0, TYPE_BOOL,
        getActive, _T("GetElementsActive"), 0, TYPE_BOOL, 0, 0,
        p_end);
  }

  BEGIN_FUNCTION_MAP
    FN_1(add, TYPE_BOOL, addElement, TYPE_REFTARG)
    FN_1(remove, TYPE_BOOL, removeElement, TYPE_REFTARG)
    VFN_0(removeAll, removeAllElements)
    FN_0(num, TYPE_INT, count)
    FN_1(get, TYPE_REFTARG, element, TYPE_INT)
    VFN_2(setFile, setFileName, TYPE_INT, TYPE_STRING)
    FN_1(getFile, TYPE_STRING, fileName, TYPE_INT)
    VFN_1(setActive, setElementsActive, TYPE_BOOL)
    FN_0(getActive, TYPE_BOOL, elementsActive)
  END_FUNCTION_MAP

 private:
  BOOL addElement(ReferenceTarget* e) { return elements()->AddRenderElement(e); }
  BOOL removeElement(ReferenceTarget* e) { return elements()->RemoveRenderElement(e); }
  void removeAllElements() { elements()->RemoveAllRenderElements(); }
  int count() { return elements()->NumRenderElements(); }
  ReferenceTarget* element(int i) { return elements()->GetRenderElement(i); }
  void setFileName(int i, const TCHAR* f) { elements()->SetRenderElementFilename(i, f); }
  const TCHAR* fileName(int i) { return elements()->GetRenderElementFilename(i); }
  void setElementsActive(BOOL on) { elements()->SetElementsActive(on); }
  BOOL elementsActive() { return elements()->GetElementsActive(); }
};

RenderElementMgrInterface& renderElementMgrInterface() {
  static auto* fpi = new RenderElementMgrInterface;
  return *fpi;
}

// maxOps: of the host's many scene operations, the one that leads to the render elements.
class MaxOpsValue : public Value {
 public:
  MaxOpsValue() {
    tag = &MaxOps_class;
    make_permanent();
  }
  Value* call_method(Value* name, Value** arg_list, int count) override {
    if (rt::lowerName(name) != "getcurrenderelementmgr") throw NoMethodError(rt::lowerName(name).c_str(), this);
    if (count_positional_args(arg_list, count) != 0)
      throw ArgCountError("GetCurRenderElementMgr", 0, count_positional_args(arg_list, count));
    renderElementMgrInterface();
    return rt::coreInterfaceNamed("renderelementmgr");
  }
  void sprin1(CharStream* s) override { s->puts("<Interface:maxOps>"); }
};

const bool kPublished = [] {
  renderElementMgrInterface();
  rt::defineSystemGlobal("maxOps", [] {
    static auto* ops = new MaxOpsValue;
    return static_cast<Value*>(ops);
  });
  return true;
}();

}  // namespace

}  // namespace sim
