// Classes of the test module test_scene_classes.dlo, which the scene file tests save and load:
// a helper whose every value lives in a parameter block with a parameter of each type (the way the
// holder keeps its records), a helper that writes nested chunks of its own and keeps a plain pointer
// to a node, and a material with slots on its own references beside its block.
#pragma once

#include "maxtypes.h"

#include <string>

namespace scenetest {

constexpr Class_ID kHolderClass(0x7e575ce0, 1);
constexpr Class_ID kChunkyClass(0x7e575ce0, 2);
constexpr Class_ID kSlotMtlClass(0x7e575ce0, 3);

// Parameters of the holder's block, one of each type.
enum {
  pInt, pFloat, pRGBA, pPoint3, pBool, pAngle, pPcntFrac, pWorld, pString, pFilename, pHSV, pColorChannel,
  pTimeValue, pRadio, pIndex, pMatrix3, pPoint4, pFRGBA, pNode, pRefTarg, pMtl, pTexmap,
  pIntTab, pFloatTab, pStringTab, pPoint3Tab, pMatrix3Tab, pPoint4Tab, pNodeTab, pRefTargTab, pMtlTab,
  pAnimFloat, pAnimPoint3Tab,
};

// The material's block: labels, and its slots as the owner's references 0-2.
enum { mSlots, mLabels, mWhich };

// What the chunky helper holds besides its two references; GetInterface(kChunkyData) answers it.
constexpr ULONG kChunkyData = 0x7e575ce0;
struct ChunkyData {
  std::string text;
  int numbers[3] = {0, 0, 0};
  void* watched = nullptr;  // a node, kept as a plain pointer
};

}  // namespace scenetest
