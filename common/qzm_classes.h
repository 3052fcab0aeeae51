// What the deliverables know of each other's classes: their class ids, and the per-pass material's
// parameter block, which the holder reads and writes when it restores a pass. Each deliverable
// includes this header, never another deliverable's own.
#pragma once

#include "iparamb2.h"
#include "maxtypes.h"

constexpr Class_ID QZMPROPHOLDER_CLASS_ID(0xa5d9dbeb, 0x5710a701);
constexpr Class_ID QZMMATERIAL_CLASS_ID(0x9350465d, 0x60d9022e);

// The per-pass material's layout. Slots 0-100 are references 0-100 and the entries of the
// `materialArray` table; slots 0-98 belong to passes 1-99, slot 99 is the override slot, slot 100 is
// reached with pass 101 and holds the material a node had before it got the per-pass material.
// The parameter block is reference 101.
namespace pass_material {

enum { qzm_params };
enum : ParamID { pb_whichPass, pb_materialArray, pb_labels, pb_enableOMaterial, pb_uiOffset, pb_activeStampOnly };

constexpr int kNumSlots = 101;
constexpr int kOverrideSlot = 99;
constexpr int kInitialSlot = 100;
constexpr int kPBlockRef = 101;

}  // namespace pass_material
