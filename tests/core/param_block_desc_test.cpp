// Block descriptors: reading the declaration lists plug-ins write, looking parameters up, and the
// class descriptor's bookkeeping of its blocks and rollouts. The holder's own block is read from the
// loaded plug-in (tests/propholder/holder_block_test.cpp), never copied here.
#include "core/param_block2.h"
#include "iparamb2.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DescTestClassDesc : public ClassDesc2 {
 public:
  explicit DescTestClassDesc(const char* name) : name_(name) {}
  int IsPublic() override { return FALSE; }
  void* Create(BOOL) override { return nullptr; }
  const TCHAR* ClassName() override { return name_; }
  SClass_ID SuperClassID() override { return HELPER_CLASS_ID; }
  Class_ID ClassID() override { return Class_ID(0x7e57, 0xde5c); }
  const TCHAR* Category() override { return "Test"; }

 private:
  const char* name_;
};

DescTestClassDesc materialCD("MaterialLike");

enum { mtl_params };
enum { mp_whichPass, mp_materialArray, mp_labels, mp_enable, mp_offset, mp_activeStampOnly };
ParamBlockDesc2 materialBlock(
    mtl_params, _T("params"), 0, &materialCD, P_AUTO_CONSTRUCT + P_AUTO_UI, 101,
    101, 4, 0, 0, NULL,
    mp_whichPass, _T("whichPass"), TYPE_INT, 0, 5, p_default, 1, p_range, 1, 99, p_end,
    mp_materialArray, _T("materialArray"), TYPE_MTL_TAB, 101, P_OWNERS_REF, 7, p_refno, 0, p_end,
    mp_labels, _T("Labels"), TYPE_STRING_TAB, 101, 0, 68, p_end,
    mp_enable, _T("EnableOMaterial"), TYPE_INT, 0, 19, p_default, 0, p_end,
    mp_offset, _T("UIOffset"), TYPE_INT, 0, 15, p_default, 0, p_end,
    mp_activeStampOnly, _T("ActiveStampOnly"), TYPE_BOOL, 0, 9, p_default, FALSE, p_end,
    p_end);

TEST(ParamBlockDesc, TheMaterialBlockHasFlagsSixAndOwnerReferencedTables) {
  EXPECT_STREQ(materialBlock.ParseError(), "");
  EXPECT_EQ(P_AUTO_CONSTRUCT + P_AUTO_UI, 6);
  EXPECT_EQ(materialBlock.flags, 6);
  EXPECT_EQ(materialBlock.ref_no, 101);
  const ParamDef& mtls = materialBlock.GetParamDef(mp_materialArray);
  EXPECT_EQ(mtls.type, 0x80E);
  EXPECT_EQ(mtls.tab_size, 101);
  EXPECT_TRUE(mtls.flags & P_OWNERS_REF);
  EXPECT_EQ(mtls.ref_no, 0);
  EXPECT_EQ(materialBlock.GetParamDef(mp_labels).type, 0x808);
  EXPECT_EQ(materialBlock.GetParamDef(mp_activeStampOnly).def.i, FALSE);
}

// Declared before its class descriptor, which lives further down this file: the descriptor
// registers before the class descriptor's constructor has run.
class LateClassDesc : public DescTestClassDesc {
 public:
  LateClassDesc() : DescTestClassDesc("Late") {}
};
extern LateClassDesc lateCD;
ParamBlockDesc2 earlyBlock(5, _T("early"), 0, &lateCD, 0,
                           0, _T("a"), TYPE_INT, 0, 0, p_end,
                           p_end);
LateClassDesc lateCD;

TEST(ParamBlockDesc, ABlockDeclaredBeforeItsClassDescriptorIsStillRegistered) {
  ASSERT_EQ(lateCD.NumParamBlockDescs(), 1);
  EXPECT_EQ(lateCD.GetParamBlockDesc(0), &earlyBlock);
}

TEST(ParamBlockDesc, AnUnknownTagEndsReadingAndKeepsTheParametersBefore) {
  DescTestClassDesc cd("Bad");
  // After the bad tag come arguments that must never be read.
  ParamBlockDesc2 d(0, _T("bad"), 0, &cd, 0,
                    0, _T("first"), TYPE_INT, 0, 0, p_default, 3, p_end,
                    1, _T("second"), TYPE_INT, 0, 0, 12345, 7, p_end,
                    2, _T("third"), TYPE_INT, 0, 0, p_end,
                    p_end);
  EXPECT_EQ(d.Count(), 1);
  EXPECT_EQ(d.GetParamDef(0).def.i, 3);
  EXPECT_STREQ(d.ParseError(),
               "parameter block \"bad\": unknown tag 12345 (in parameter \"second\"); the rest of the declaration "
               "list is ignored");
  EXPECT_EQ(cd.NumParamBlockDescs(), 1) << "still registered";
}

TEST(ParamBlockDesc, AnUnknownControlOrTypeEndsReading) {
  ParamBlockDesc2 control(0, _T("c"), 0, nullptr, 0,
                          0, _T("a"), TYPE_INT, 0, 0, p_ui, 999, 1, 2, p_end,
                          p_end);
  EXPECT_EQ(control.Count(), 0);
  EXPECT_STREQ(control.ParseError(),
               "parameter block \"c\": unknown or unsupported control type 999 in p_ui (in parameter \"a\"); the rest "
               "of the declaration list is ignored");

  ParamBlockDesc2 type(0, _T("t"), 0, nullptr, 0,
                       0, _T("a"), 0x4444, 0, 0, p_end,
                       p_end);
  EXPECT_EQ(type.Count(), 0);
  EXPECT_NE(std::string(type.ParseError()).find("unknown parameter type 17476"), std::string::npos);
}

TEST(ParamBlockDesc, ADuplicateIdOrNameEndsReading) {
  ParamBlockDesc2 ids(0, _T("ids"), 0, nullptr, 0,
                      4, _T("a"), TYPE_INT, 0, 0, p_end,
                      4, _T("b"), TYPE_INT, 0, 0, p_end,
                      p_end);
  EXPECT_EQ(ids.Count(), 1);
  EXPECT_NE(std::string(ids.ParseError()).find("parameter id 4 is used twice"), std::string::npos);

  ParamBlockDesc2 names(0, _T("names"), 0, nullptr, 0,
                        4, _T("Pass"), TYPE_INT, 0, 0, p_end,
                        5, _T("pass"), TYPE_INT, 0, 0, p_end,
                        p_end);
  EXPECT_EQ(names.Count(), 1);
  EXPECT_NE(std::string(names.ParseError()).find("internal name is used twice"), std::string::npos);
}

TEST(ParamBlockDesc, NoMoreThanAThousandParametersAreRead) {
  ParamBlockDesc2 d;
  for (int i = 0; i < 1001; ++i) {
    std::string name = "p" + std::to_string(i);
    d.AddParam(i, name.c_str(), TYPE_FLOAT, 0, 0, p_default, double(i), p_end);
  }
  EXPECT_EQ(d.Count(), 1000);
  EXPECT_FLOAT_EQ(d.GetParamDef(999).def.f, 999.0f);
  EXPECT_NE(std::string(d.ParseError()).find("more than 1000 parameters"), std::string::npos);
}

TEST(ParamBlockDesc, DefaultsAreReadInTheKindOfTheirType) {
  ParamBlockDesc2 d(0, _T("kinds"), 0, nullptr, 0,
                    0, _T("p3"), TYPE_POINT3, 0, 0, p_default, Point3(1, 2, 3), p_range, -5.0, 5.0, p_end,
                    1, _T("rgb"), TYPE_RGBA, 0, 0, p_default, Color(0.25f, 0.5f, 1.0f), p_end,
                    2, _T("rgba"), TYPE_FRGBA, 0, 0, p_default, AColor(0.1f, 0.2f, 0.3f, 0.4f), p_end,
                    3, _T("p4"), TYPE_POINT4, 0, 0, p_default, Point4(1.0f, 2.0f, 3.0f, 4.0f), p_end,
                    4, _T("tm"), TYPE_MATRIX3, 0, 0, p_default, TransMatrix(Point3(7, 8, 9)), p_end,
                    5, _T("text"), TYPE_STRING, 0, 0, p_default, _T("hello"), p_end,
                    6, _T("angles"), TYPE_ANGLE_TAB, 2, 0, 0, p_default, 0.5, p_end,
                    7, _T("time"), TYPE_TIMEVALUE, 0, 0, p_default, 160, p_range, 0, 4800, p_end,
                    8, _T("flag"), TYPE_BOOL, 0, 0, p_default, TRUE, p_end,
                    p_end);
  ASSERT_STREQ(d.ParseError(), "");
  ASSERT_EQ(d.Count(), 9);
  EXPECT_EQ(d.GetParamDef(0).def.p, Point3(1, 2, 3));
  EXPECT_FLOAT_EQ(d.GetParamDef(0).range_low.f, -5.0f);
  EXPECT_EQ(d.GetParamDef(1).def.p, Point3(0.25f, 0.5f, 1.0f));
  EXPECT_EQ(d.GetParamDef(2).def.p4, Point4(0.1f, 0.2f, 0.3f, 0.4f));
  EXPECT_EQ(d.GetParamDef(3).def.p4, Point4(1.0f, 2.0f, 3.0f, 4.0f));
  EXPECT_EQ(d.GetParamDef(4).def.m.GetTrans(), Point3(7, 8, 9));
  EXPECT_STREQ(d.GetParamDef(5).def.s, "hello");
  EXPECT_EQ(d.GetParamDef(6).tab_size, 2);
  EXPECT_FLOAT_EQ(d.GetParamDef(6).def.f, 0.5f);
  EXPECT_EQ(d.GetParamDef(7).range_high.i, 4800);
  EXPECT_EQ(d.GetParamDef(8).def.i, TRUE);
}

TEST(ParamBlockDesc, OptionalTagsAreStored) {
  PBAccessor accessor;
  ParamBlockDesc2 d(0, _T("tags"), 0, nullptr, P_VERSION + P_AUTO_CONSTRUCT, 3, 9,
                    0, _T("obj"), TYPE_REFTARG, P_OWNERS_REF, 0,
                      p_refno, 12, p_classID, Class_ID(1, 2), p_sclassID, MATERIAL_CLASS_ID,
                      p_accessor, &accessor, p_tooltip, 77, p_enabled, FALSE, p_end,
                    1, _T("mode"), TYPE_INT, 0, 0,
                      p_ui, TYPE_RADIO, 3, 10, 11, 12, p_vals, 5, 6, 7, p_enable_ctrls, 1, 0, p_end,
                    2, _T("file"), TYPE_FILENAME, 0, 0, p_init_file, _T("a.txt"), p_caption, 4, p_end,
                    p_end);
  ASSERT_STREQ(d.ParseError(), "");
  EXPECT_EQ(d.version, 3u) << "the version comes before the reference number";
  EXPECT_EQ(d.ref_no, 9);
  const ParamDef& obj = d.GetParamDef(0);
  EXPECT_EQ(obj.ref_no, 12);
  EXPECT_EQ(obj.class_ID, Class_ID(1, 2));
  EXPECT_EQ(obj.sclass_ID, MATERIAL_CLASS_ID);
  EXPECT_EQ(obj.accessor, &accessor);
  EXPECT_EQ(obj.toolTip, 77);
  EXPECT_FALSE(obj.flags & P_UI_ENABLED);
  const ParamDef& mode = d.GetParamDef(1);
  EXPECT_EQ(mode.ctrl_IDs, (std::vector<int>{10, 11, 12}));
  EXPECT_EQ(mode.val_bits, (std::vector<int>{5, 6, 7}));
  EXPECT_EQ(mode.enable_ctrls, std::vector<ParamID>{0});
  EXPECT_STREQ(d.GetParamDef(2).init_file, "a.txt");
}

TEST(ParamBlockDesc, AMultiMapBlockReadsOneRolloutPerMapAndAMapIdPerControl) {
  ParamBlockDesc2 d(0, _T("multi"), 0, nullptr, P_AUTO_UI + P_MULTIMAP,
                    2,
                    0, 201, 21, 0, 0, NULL,
                    1, 202, 22, 0, 0, NULL,
                    0, _T("segs"), TYPE_INT, 0, 0, p_ui, 1, TYPE_SPINNER, EDITTYPE_INT, 30, 31, 1.0, p_uix, 0, p_end,
                    1, _T("hemi"), TYPE_BOOL, 0, 0, p_ui, 0, TYPE_SINGLECHECKBOX, 40, p_end,
                    p_end);
  ASSERT_STREQ(d.ParseError(), "");
  ASSERT_EQ(d.map_specs.Count(), 2);
  EXPECT_EQ(d.map_specs[1].map_id, 1);
  EXPECT_EQ(d.map_specs[1].dlg_template, 202);
  const ParamDef& segs = d.GetParamDef(0);
  ASSERT_EQ(segs.maps.Count(), 2);
  EXPECT_EQ(segs.maps[0], 1);
  EXPECT_EQ(segs.maps[1], 0);
  EXPECT_EQ(d.GetParamDef(1).ctrl_IDs, std::vector<int>{40});
}

TEST(ParamBlockDesc, ASpinnerOnATableGivesControlsForEveryDeclaredEntry) {
  ParamBlockDesc2 d(0, _T("tab"), 0, nullptr, 0,
                    0, _T("weights"), TYPE_FLOAT_TAB, 2, 0, 0,
                      p_ui, TYPE_SPINNER, EDITTYPE_FLOAT, 10, 11, 12, 13, 0.1, p_default, 0.5, p_end,
                    p_end);
  ASSERT_STREQ(d.ParseError(), "");
  EXPECT_EQ(d.GetParamDef(0).ctrl_IDs, (std::vector<int>{10, 11, 12, 13}));
  EXPECT_FLOAT_EQ(d.GetParamDef(0).def.f, 0.5f);
}

TEST(ParamBlockDesc, IncludedParametersAreCopiedAndCanBeExtended) {
  ParamBlockDesc2 d(1, _T("more"), 0, nullptr, P_INCLUDE_PARAMS, &materialBlock,
                    40, _T("extra"), TYPE_INT, 0, 0, p_end,
                    p_end);
  ASSERT_STREQ(d.ParseError(), "");
  EXPECT_EQ(d.Count(), materialBlock.Count() + 1);
  EXPECT_NE(d.GetParamDef(mp_labels).int_name, materialBlock.GetParamDef(mp_labels).int_name) << "own copies";
  EXPECT_STREQ(d.GetParamDef(mp_labels).int_name, "Labels");
  EXPECT_EQ(d.NameToIndex("extra"), materialBlock.Count());
}

TEST(ParamBlockDesc, UserDialogProceduresAreStoredPerMap) {
  struct Proc : ParamMap2UserDlgProc {
    void DeleteThis() override {}
  } proc;
  materialCD.SetUserDlgProc(&materialBlock, &proc);
  EXPECT_EQ(materialBlock.dlgProc, &proc);
  EXPECT_EQ(materialCD.GetUserDlgProc(&materialBlock), &proc);
  EXPECT_EQ(materialCD.GetUserDlgProc(&materialBlock, 1), nullptr) << "a one-rollout block has map 0 only";
  materialCD.SetUserDlgProc(&materialBlock);
  EXPECT_EQ(materialBlock.dlgProc, nullptr);
}

TEST(ParamBlockDesc, RolloutCallsAreRecordedForTheUILayer) {
  const int before = sim::lastInvalidateUI(&materialCD).calls;
  materialBlock.InvalidateUI(mp_labels, 3);
  const sim::InvalidateUIRecord& r = sim::lastInvalidateUI(&materialCD);
  EXPECT_EQ(r.calls, before + 1);
  EXPECT_EQ(r.pbd, &materialBlock);
  EXPECT_EQ(r.id, mp_labels);
  EXPECT_EQ(r.tabIndex, 3);
  materialCD.InvalidateUI();
  EXPECT_EQ(sim::lastInvalidateUI(&materialCD).pbd, nullptr);
  EXPECT_EQ(sim::lastInvalidateUI(&materialCD).id, -1);

  int marker = 0;
  auto* obj = reinterpret_cast<ReferenceMaker*>(&marker);  // only recorded, never used
  materialCD.BeginEditParams(nullptr, obj, 2, nullptr);
  EXPECT_EQ(sim::editParamsState(&materialCD).obj, obj);
  EXPECT_EQ(sim::editParamsState(&materialCD).flags, 2u);
  materialCD.EndEditParams(nullptr, obj, 0, nullptr);
  EXPECT_EQ(sim::editParamsState(&materialCD).obj, nullptr);
  EXPECT_EQ(sim::editParamsState(&materialCD).ends, sim::editParamsState(&materialCD).begins);
}

}  // namespace
