// The holder's parameter block as the loaded plug-in declares it. Stored scenes and the pass
// manager's scripts address its parameters by id and by name, so both are pinned here as numbers
// and texts, read from the block the host holds for the holder class.
#include "core/class_registry.h"
#include "core/plugin_loader.h"
#include "iparamb2.h"
#include "support/holder_module_suite.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

class HolderBlock : public test::HolderModuleSuite {
 protected:
  void SetUp() override {
    cd_ = dynamic_cast<ClassDesc2*>(sim::ClassRegistry::instance().findByInternalName("QZMPropHolder"));
    ASSERT_NE(cd_, nullptr);
    ASSERT_EQ(cd_->NumParamBlockDescs(), 1);
    block_ = cd_->GetParamBlockDesc(0);
    ASSERT_NE(block_, nullptr);
  }

  ClassDesc2* cd_ = nullptr;
  ParamBlockDesc2* block_ = nullptr;
};

struct Row {
  ParamID id;
  const char* name;
  ParamType2 type;
};

// Every parameter in the order of the declaration; ids 10 and 21 stay free.
const Row kRows[] = {
    {0, "whichPass", TYPE_INT},
    {1, "node", TYPE_INODE},
    {29, "nodeArray", TYPE_INODE_TAB},
    {2, "ViewportIcon", TYPE_INT},
    {3, "iconsize", TYPE_FLOAT},
    {4, "passlist", TYPE_INT_TAB},
    {5, "propertyName", TYPE_STRING_TAB},
    {6, "propertyState", TYPE_STRING_TAB},
    {7, "propertyClass", TYPE_STRING_TAB},
    {8, "propertyIsAnimated", TYPE_STRING_TAB},
    {9, "propertyObject", TYPE_REFTARG_TAB},
    {11, "propertyFloatController", TYPE_REFTARG_TAB},
    {12, "propertyPoint3Controller", TYPE_REFTARG_TAB},
    {13, "propertyPoint4Controller", TYPE_REFTARG_TAB},
    {14, "propertyPosController", TYPE_REFTARG_TAB},
    {15, "propertyRotController", TYPE_REFTARG_TAB},
    {16, "propertyScaleController", TYPE_REFTARG_TAB},
    {17, "IpropertyState", TYPE_STRING_TAB},
    {18, "IpropertyClass", TYPE_STRING_TAB},
    {19, "IpropertyIsAnimated", TYPE_STRING_TAB},
    {20, "IpropertyObject", TYPE_REFTARG_TAB},
    {22, "IpropertyFloatController", TYPE_REFTARG_TAB},
    {23, "IpropertyPoint3Controller", TYPE_REFTARG_TAB},
    {24, "IpropertyPoint4Controller", TYPE_REFTARG_TAB},
    {25, "IpropertyPosController", TYPE_REFTARG_TAB},
    {26, "IpropertyRotController", TYPE_REFTARG_TAB},
    {27, "IpropertyScaleController", TYPE_REFTARG_TAB},
    {28, "thisName", TYPE_STRING},
    {30, "doTopLevelEval", TYPE_INT},
    {31, "doDebugPrint", TYPE_INT},
};

TEST_F(HolderBlock, TheDeclarationIsReadCompletelyWithEveryIdNameAndTypeInOrder) {
  EXPECT_STREQ(block_->ParseError(), "");
  EXPECT_STREQ(block_->int_name, "qzmpropholderectParameters");
  EXPECT_EQ(block_->ID, 0);
  EXPECT_EQ(block_->ref_no, 0);
  EXPECT_EQ(block_->flags, P_AUTO_CONSTRUCT + P_AUTO_UI);
  EXPECT_EQ(block_->dlg_template, 101);
  EXPECT_EQ(block_->title, 4);
  ASSERT_EQ(block_->Count(), static_cast<int>(std::size(kRows)));
  for (int i = 0; i < block_->Count(); ++i) {
    const Row& row = kRows[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(block_->IndextoID(i), row.id);
    EXPECT_EQ(block_->IDtoIndex(row.id), i);
    const ParamDef& def = block_->GetParamDef(row.id);
    EXPECT_STREQ(def.int_name, row.name);
    EXPECT_EQ(def.type, row.type);
    if (row.type & TYPE_TAB) {
      EXPECT_TRUE(def.flags & P_VARIABLE_SIZE) << "every table grows with the passes and properties";
      EXPECT_EQ(def.tab_size, 0);
    }
  }
  EXPECT_EQ(block_->IDtoIndex(10), -1);
  EXPECT_EQ(block_->IDtoIndex(21), -1);
}

TEST_F(HolderBlock, ThePanelsParametersKeepTheirDefaultsRangesAndControls) {
  const ParamDef& pass = block_->GetParamDef(0);
  EXPECT_TRUE(pass.flags & P_ANIMATABLE);
  EXPECT_EQ(pass.local_name, 33);
  EXPECT_EQ(pass.def.i, 1);
  EXPECT_EQ(pass.range_low.i, 1);
  EXPECT_EQ(pass.range_high.i, 100000);
  EXPECT_EQ(pass.ctrl_type, TYPE_SPINNER);
  EXPECT_EQ(pass.spin_type, EDITTYPE_INT);
  EXPECT_EQ(pass.ctrl_IDs, (std::vector<int>{1490, 1496}));
  EXPECT_FLOAT_EQ(pass.scale, 1.0f);

  const ParamDef& node = block_->GetParamDef(1);
  EXPECT_EQ(node.ctrl_type, TYPE_PICKNODEBUTTON);
  EXPECT_EQ(node.ctrl_IDs, std::vector<int>{1001});
  EXPECT_TRUE(node.flags & P_IS_REF);

  const ParamDef& icon = block_->GetParamDef(2);
  EXPECT_EQ(icon.def.i, 0);
  EXPECT_EQ(icon.ctrl_IDs, std::vector<int>{1003});

  const ParamDef& size = block_->GetParamDef(3);
  EXPECT_FLOAT_EQ(size.def.f, 1.0f);
  EXPECT_FLOAT_EQ(size.range_low.f, 0.0f);
  EXPECT_FLOAT_EQ(size.range_high.f, 100000.0f);
  EXPECT_FLOAT_EQ(size.scale, 0.01f);
  EXPECT_EQ(size.ctrl_IDs, (std::vector<int>{1491, 1497}));

  EXPECT_STREQ(block_->GetParamDef(28).def.s, "");
  EXPECT_EQ(block_->GetParamDef(30).def.i, 0);
  EXPECT_EQ(block_->GetParamDef(31).def.i, 0);
  EXPECT_EQ(block_->GetParamDef(5).ctrl_type, -1) << "the tables have no control";
}

TEST_F(HolderBlock, ParametersAreFoundByInternalNameWhateverTheCase) {
  EXPECT_EQ(block_->NameToIndex("WHICHPASS"), 0);
  EXPECT_EQ(block_->NameToIndex("PropertyName"), block_->IDtoIndex(5));
  EXPECT_EQ(block_->NameToIndex("propertyNames"), -1);
  EXPECT_EQ(block_->NameToIndex(nullptr), -1);
  EXPECT_EQ(block_->GetParamDef(77).ID, -1) << "an unknown id gives an empty definition";
  EXPECT_EQ(block_->GetParamDef(77).type, TYPE_VOID);
}

TEST_F(HolderBlock, TheClassDescriptorKnowsItsBlockByIndexIdAndName) {
  EXPECT_EQ(cd_->GetParamBlockDesc(1), nullptr);
  EXPECT_EQ(cd_->GetParamBlockDescByID(0), block_);
  EXPECT_EQ(cd_->GetParamBlockDescByID(3), nullptr);
  EXPECT_EQ(cd_->GetParamBlockDescByName("QZMPROPHOLDERECTPARAMETERS"), block_);
  cd_->AddParamBlockDesc(block_);
  EXPECT_EQ(cd_->NumParamBlockDescs(), 1) << "adding again changes nothing";
}

}  // namespace
