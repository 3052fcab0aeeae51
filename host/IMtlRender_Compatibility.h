// Whether a material or map works with a renderer. A material's class descriptor may carry
// IMtlRender_Compatibility_MtlBase as a static interface; the host asks it before offering the class
// with a renderer. A class without it works with every renderer.
#pragma once

#include "ifnpub.h"
#include "iparamb2.h"  // p_end
#include "plugapi.h"

#define IMTLRENDER_COMPATIBILITY_MTLBASE_INTERFACEID Interface_ID(0x5537445b, 0x70a97e02)

#if defined(_WIN32)
struct _IMAGELIST;
using HIMAGELIST = _IMAGELIST*;  // as <commctrl.h> declares it
#else
using HIMAGELIST = void*;
#endif

class HOST_API IMtlRender_Compatibility_MtlBase : public FPStaticInterface {
 public:
  // Loads the interface's (empty) function table and adds it to `classDesc`. The internal name is
  // the host's own, spelled as the host spells it.
  void Init(ClassDesc& classDesc) {
    LoadDescriptor(IMTLRENDER_COMPATIBILITY_MTLBASE_INTERFACEID, _T("IMtlRender_Compability_MtlBase"), 0, &classDesc,
                   0, p_end);
    classDesc.AddInterface(this);
  }
  virtual bool IsCompatibleWithRenderer(ClassDesc& rendererClassDesc) = 0;
  // An icon of the material browser's own; false to keep the host's.
  virtual bool GetCustomMtlBrowserIcon(HIMAGELIST& hImageList, int& inactiveIndex, int& activeIndex,
                                       int& disabledIndex) = 0;
};

inline IMtlRender_Compatibility_MtlBase* Get_IMtlRender_Compatibility_MtlBase(ClassDesc& mtlBaseClassDesc) {
  return dynamic_cast<IMtlRender_Compatibility_MtlBase*>(
      mtlBaseClassDesc.GetInterface(IMTLRENDER_COMPATIBILITY_MTLBASE_INTERFACEID));
}

// True when the material class works with the renderer class.
inline bool AreMtlAndRendererCompatible(ClassDesc& mtlBaseClassDesc, ClassDesc& rendererClassDesc) {
  IMtlRender_Compatibility_MtlBase* mtlCompat = Get_IMtlRender_Compatibility_MtlBase(mtlBaseClassDesc);
  return !mtlCompat || mtlCompat->IsCompatibleWithRenderer(rendererClassDesc);
}
