// Blocks, owners and a fixture shared by the parameter block tests: a block shaped like the holder's
// (representative rows), the material's block, and one with parameters of most other kinds, each on a
// small owner class built the way the plug-ins build theirs.
#pragma once

#include "core/undo_stack.h"
#include "iparamb2.h"
#include "scene/scene_node.h"
#include "support/test_objects.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace pbtest {

using test::Thing;


class BlockTestClassDesc : public ClassDesc2 {
 public:
  int IsPublic() override { return FALSE; }
  void* Create(BOOL) override { return nullptr; }
  const TCHAR* ClassName() override { return "BlockTest"; }
  SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
  Class_ID ClassID() override { return Class_ID(0x7e57, 0xb10c); }
  const TCHAR* Category() override { return "Test"; }
  const TCHAR* GetRsrcString(INT_PTR id) override {
    switch (id) {
      case 33: return "Which Pass";
      case 35: return "Icon Size";
      case 50: return "PropertyName";
      case 7: return "Materials";
      default: return "";
    }
  }
};

inline BlockTestClassDesc holderCD;
inline BlockTestClassDesc materialCD;
inline BlockTestClassDesc kindsCD;

// ---- the holder's block (representative rows) ----

enum { hp_whichPass = 0, hp_node = 1, hp_viewportIcon = 2, hp_iconsize = 3, hp_passlist = 4, hp_propertyName = 5,
       hp_propertyState = 6, hp_propertyObject = 9, hp_floatController = 11, hp_thisName = 28, hp_nodeArray = 29 };
inline ParamBlockDesc2 holderBlock(
    0, _T("qzmpropholderectParameters"), 0, &holderCD, P_AUTO_CONSTRUCT + P_AUTO_UI, 0,
    101, 4, 0, 0, NULL,
    hp_whichPass, _T("whichPass"), TYPE_INT, P_ANIMATABLE, 33,
      p_default, 1, p_range, 1, 100000, p_ui, TYPE_SPINNER, EDITTYPE_INT, 1490, 1496, 1.0, p_end,
    hp_node, _T("node"), TYPE_INODE, 0, 0, p_ui, TYPE_PICKNODEBUTTON, 1001, p_end,
    hp_nodeArray, _T("nodeArray"), TYPE_INODE_TAB, 0, P_VARIABLE_SIZE, 0, p_end,
    hp_viewportIcon, _T("ViewportIcon"), TYPE_INT, 0, 0, p_default, 0, p_ui, TYPE_SINGLECHEKBOX, 1003, p_end,
    hp_iconsize, _T("iconsize"), TYPE_FLOAT, 0, 35,
      p_default, 1.0, p_range, 0.0, 100000.0, p_ui, TYPE_SPINNER, EDITTYPE_FLOAT, 1491, 1497, 0.01, p_end,
    hp_passlist, _T("passlist"), TYPE_INT_TAB, 0, P_VARIABLE_SIZE, 48, p_end,
    hp_propertyName, _T("propertyName"), TYPE_STRING_TAB, 0, P_VARIABLE_SIZE, 50, p_end,
    hp_propertyState, _T("propertyState"), TYPE_STRING_TAB, 0, P_VARIABLE_SIZE, 108, p_end,
    hp_propertyObject, _T("propertyObject"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE, 49, p_end,
    hp_floatController, _T("propertyFloatController"), TYPE_REFTARG_TAB, 0, P_VARIABLE_SIZE, 109, p_end,
    hp_thisName, _T("thisName"), TYPE_STRING, 0, 52, p_end,
    p_end);

// ---- the material's block ----

enum { mp_whichPass, mp_materialArray, mp_labels, mp_enable, mp_offset, mp_activeStampOnly };
inline ParamBlockDesc2 materialBlock(
    0, _T("params"), 0, &materialCD, P_AUTO_CONSTRUCT + P_AUTO_UI, 101,
    101, 4, 0, 0, NULL,
    mp_whichPass, _T("whichPass"), TYPE_INT, 0, 5, p_default, 1, p_range, 1, 99, p_end,
    mp_materialArray, _T("materialArray"), TYPE_MTL_TAB, 101, P_OWNERS_REF, 7, p_refno, 0, p_end,
    mp_labels, _T("Labels"), TYPE_STRING_TAB, 101, 0, 68, p_end,
    mp_enable, _T("EnableOMaterial"), TYPE_INT, 0, 19, p_default, 0, p_end,
    mp_offset, _T("UIOffset"), TYPE_INT, 0, 15, p_default, 0, p_end,
    mp_activeStampOnly, _T("ActiveStampOnly"), TYPE_BOOL, 0, 9, p_default, FALSE, p_end,
    p_end);

// ---- one parameter of most other kinds ----

enum { kp_color, kp_frgba, kp_points, kp_tm, kp_files, kp_floats, kp_mtl, kp_ints };
inline ParamBlockDesc2 kindsBlock(
    0, _T("kinds"), 0, &kindsCD, 0,
    kp_color, _T("color"), TYPE_RGBA, P_ANIMATABLE, 0, p_default, Color(1.0f, 0.5f, 0.0f), p_end,
    kp_frgba, _T("frgba"), TYPE_FRGBA, 0, 0, p_default, AColor(0.1f, 0.2f, 0.3f, 0.4f), p_end,
    kp_points, _T("points"), TYPE_POINT3_TAB, 1, P_VARIABLE_SIZE, 0, p_default, Point3(1, 1, 1), p_end,
    kp_tm, _T("tm"), TYPE_MATRIX3, 0, 0, p_end,
    kp_files, _T("files"), TYPE_FILENAME_TAB, 2, 0, 0, p_default, _T("none.txt"), p_end,
    kp_floats, _T("floats"), TYPE_WORLD_TAB, 0, P_ANIMATABLE + P_VARIABLE_SIZE, 0, p_end,
    kp_mtl, _T("mtl"), TYPE_MTL, 0, 0, p_end,
    kp_ints, _T("ints"), TYPE_INT_TAB, 0, P_VARIABLE_SIZE, 0, p_default, 7, p_end,
    p_end);

// ---- owners ----

// Something that changed in a block, seen from its owner while the change is notified.
struct Change {
  ParamID id;
  int tab;
  bool operator==(const Change& o) const { return id == o.id && tab == o.tab; }
};

// Base of the test owners: counts instances and logs the block's change notifications.
class Owner : public ReferenceTarget {
 public:
  RefResult NotifyRefChanged(Interval, RefTargetHandle from, PartID&, RefMessage msg) override {
    if (msg == REFMSG_CHANGE && from && from == block()) {
      int tab = -7;
      const ParamID id = block()->LastNotifyParamID(tab);
      changes.push_back({id, tab});
    }
    return REF_SUCCEED;
  }
  int NumParamBlocks() override { return 1; }
  IParamBlock2* GetParamBlock(int) override { return block(); }
  virtual IParamBlock2* block() = 0;
  std::vector<Change> changes;
};

// Shaped like the holder: the block is reference 0.
class Holder : public Owner {
 public:
  explicit Holder(bool makeBlocks = true) {
    ++alive;
    if (makeBlocks) holderCD.MakeAutoParamBlocks(this);
  }
  ~Holder() override { --alive; }
  SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? pblock : nullptr; }
  void SetReference(int i, RefTargetHandle t) override {
    if (i == 0) pblock = dynamic_cast<IParamBlock2*>(t);
  }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* h = new Holder(false);
    h->ReplaceReference(0, remap.CloneRef(pblock));
    BaseClone(this, h, remap);
    return h;
  }
  IParamBlock2* block() override { return pblock; }
  IParamBlock2* pblock = nullptr;
  static inline int alive = 0;
};

// Shaped like the material: slots 0-100 are references 0-100 (the block's materialArray), the block
// is reference 101.
class OwnerMaterial : public Owner {
 public:
  OwnerMaterial() {
    ++alive;
    materialCD.MakeAutoParamBlocks(this);
  }
  ~OwnerMaterial() override { --alive; }
  SClass_ID SuperClassID() override { return MATERIAL_CLASS_ID; }
  int NumRefs() override { return 102; }
  RefTargetHandle GetReference(int i) override {
    if (i >= 0 && i <= 100) return slots[static_cast<size_t>(i)];
    return i == 101 ? pblock : nullptr;
  }
  void SetReference(int i, RefTargetHandle t) override {
    if (i >= 0 && i <= 100) slots[static_cast<size_t>(i)] = t;
    else if (i == 101) pblock = dynamic_cast<IParamBlock2*>(t);
  }
  IParamBlock2* block() override { return pblock; }
  IParamBlock2* pblock = nullptr;
  std::vector<ReferenceTarget*> slots = std::vector<ReferenceTarget*>(101, nullptr);
  static inline int alive = 0;
};

struct SubMtl : Thing {
  using Thing::Thing;
  SClass_ID SuperClassID() override { return MATERIAL_CLASS_ID; }
};

struct Node : sim::SceneNode {
  Node() { ++alive; }
  ~Node() override { --alive; }
  static inline int alive = 0;
};

// Every test starts and ends with no live objects and an empty undo history.
class ParamBlock : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::flushUndo();
    Thing::alive = Holder::alive = OwnerMaterial::alive = Node::alive = 0;
  }
  void TearDown() override {
    sim::flushUndo();
    EXPECT_EQ(Thing::alive, 0) << "targets leaked or freed twice";
    EXPECT_EQ(Node::alive, 0) << "nodes leaked or freed twice";
    EXPECT_EQ(Holder::alive, 0);
    EXPECT_EQ(OwnerMaterial::alive, 0);
  }

  // The entries of a string table, unset ones as nullopt.
  static std::vector<std::optional<std::string>> strings(IParamBlock2* pb, ParamID id) {
    std::vector<std::optional<std::string>> out;
    for (int i = 0; i < pb->Count(id); ++i) {
      const TCHAR* s = pb->GetStr(id, 0, i);
      out.push_back(s ? std::optional<std::string>(s) : std::nullopt);
    }
    return out;
  }
  static std::vector<ReferenceTarget*> targets(IParamBlock2* pb, ParamID id) {
    std::vector<ReferenceTarget*> out;
    for (int i = 0; i < pb->Count(id); ++i) out.push_back(pb->GetReferenceTarget(id, 0, i));
    return out;
  }
};

using Strings = std::vector<std::optional<std::string>>;

}  // namespace pbtest
