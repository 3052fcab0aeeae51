#include "imtledit.h"
#include "iparamb2.h"
#include "scene/scene_fixture.h"
#include "scene/materials/stdmat.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A point of a flat patch facing the eye, lit by nothing: materials show ambient and self-light.
class FlatShadeContext : public ShadeContext {
 public:
  explicit FlatShadeContext(Point3 uvw = Point3()) : uvw_(uvw) {}
  TimeValue CurTime() override { return 0; }
  Point3 P() override { return Point3(0.0f, 0.0f, -1.0f); }
  Point3 Normal() override { return Point3(0.0f, 0.0f, 1.0f); }
  Point3 V() override { return Point3(0.0f, 0.0f, -1.0f); }
  Point3 UVW(int) override { return uvw_; }

 private:
  Point3 uvw_;
};

class Materials : public test::SceneFixture {
 protected:
  StdMat* standard() { return create<StdMat>(MATERIAL_CLASS_ID, Class_ID(DMTL_CLASS_ID, 0)); }
  // The pixel at (x, y) of a stamp, y counted from the bottom row: blue, green, red.
  static std::vector<int> pixel(const std::vector<UBYTE>& img, int size, int x, int y) {
    size_t at = static_cast<size_t>(y) * ByteWidth(size) + static_cast<size_t>(x) * 3;
    return {img[at], img[at + 1], img[at + 2]};
  }
};

TEST_F(Materials, AStandardMaterialKeepsItsColoursAndFractionsAndNamesItsClass) {
  StdMat* m = standard();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->GetDiffuse(0), Color(0.588f, 0.588f, 0.588f));
  EXPECT_FLOAT_EQ(m->GetOpacity(0), 1.0f);
  m->SetDiffuse(Color(1.0f, 0.0f, 0.0f), 0);
  m->SetAmbient(Color(0.0f, 0.5f, 0.0f), 0);
  m->SetShininess(0.4f, 0);
  m->SetOpacity(0.25f, 0);
  m->SetSelfIllum(0.5f, 0);
  Mtl* asMtl = m;
  EXPECT_EQ(asMtl->GetDiffuse(), Color(1.0f, 0.0f, 0.0f));
  EXPECT_EQ(asMtl->GetAmbient(), Color(0.0f, 0.5f, 0.0f));
  EXPECT_FLOAT_EQ(asMtl->GetShininess(), 0.4f);
  EXPECT_FLOAT_EQ(asMtl->GetXParency(), 0.75f);
  // Scripts see the same settings in the block, in percent.
  IParamBlock2* pb = m->GetParamBlock(0);
  EXPECT_FLOAT_EQ(pb->GetFloat(pb->GetDesc()->IndextoID(pb->GetDesc()->NameToIndex("opacity"))), 25.0f);

  m->SetName("Red");
  EXPECT_STREQ(m->GetFullName().data(), "Red ( Standard )");
  m->SetGBufID(3);
  FlatShadeContext sc;
  m->Shade(sc);
  EXPECT_EQ(sc.out.gbufId, 3);
  EXPECT_NEAR(sc.out.c.r, 0.5f, 1e-4f) << "half self-illuminated red";
  EXPECT_NEAR(sc.out.t.r, 0.75f, 1e-4f);
  m->DeleteMe();
}

TEST_F(Materials, NewMaterialsAndMapsAreNumberedAndMapsEvaluate) {
  StdMat* a = standard();
  StdMat* b = standard();
  EXPECT_NE(a->GetName().str(), b->GetName().str());
  EXPECT_EQ(a->GetName().str().rfind("Material #", 0), 0u);

  auto* checker = create<Texmap>(TEXMAP_CLASS_ID, Class_ID(CHECKER_CLASS_ID, 0));
  ASSERT_NE(checker, nullptr);
  FlatShadeContext first(Point3(0.1f, 0.1f, 0.0f)), second(Point3(0.6f, 0.1f, 0.0f));
  EXPECT_EQ(Color(checker->EvalColor(first)), Color(0.0f, 0.0f, 0.0f));
  EXPECT_EQ(Color(checker->EvalColor(second)), Color(1.0f, 1.0f, 1.0f));

  auto* bitmap = create<BitmapTex>(TEXMAP_CLASS_ID, Class_ID(BMTEX_CLASS_ID, 0));
  ASSERT_NE(bitmap, nullptr);
  bitmap->SetMapName("C:\\maps\\wood.png");
  EXPECT_STREQ(bitmap->GetMapName(), "C:\\maps\\wood.png");

  a->SetSubTexmap(0, checker);
  EXPECT_EQ(a->NumSubTexmaps(), 1);
  EXPECT_EQ(a->GetSubTexmap(0), checker);
  a->DeleteMe();
  b->DeleteMe();
  bitmap->DeleteMe();
}

TEST_F(Materials, PostageStampsHaveTheThreeSizesAndRowsOfBlueGreenRedBottomFirst) {
  StdMat* m = standard();
  m->SetDiffuse(Color(1.0f, 0.0f, 0.0f), 0);
  m->SetAmbient(Color(1.0f, 0.0f, 0.0f), 0);
  const std::pair<int, int> sizes[] = {{PS_SMALL, 32}, {PS_LARGE, 88}, {PS_TINY, 24}};
  for (auto [code, size] : sizes) {
    PStamp* s = m->CreatePStamp(code, TRUE);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Width(), size);
    EXPECT_EQ(s->Height(), size);
    EXPECT_EQ(m->GetPStamp(code), s);
    std::vector<UBYTE> img(static_cast<size_t>(ByteWidth(size)) * size + 1, 0xAB);
    s->GetImage(img.data());
    EXPECT_EQ(img.back(), 0xAB) << "exactly ByteWidth * height bytes";
    img.pop_back();

    auto centre = pixel(img, size, size / 2, size / 2);
    EXPECT_GT(centre[2], 0) << "red is the third byte";
    EXPECT_EQ(centre[0], 0);
    EXPECT_EQ(centre[1], 0);
    EXPECT_EQ(pixel(img, size, 0, 0), (std::vector<int>{0, 0, 0})) << "the corner is background";
    // The light comes from above, so the top of the sphere is brighter: the last rows are the top.
    int nearTop = pixel(img, size, size / 2, size - 1 - size / 8)[2];
    int nearBottom = pixel(img, size, size / 2, size / 8)[2];
    EXPECT_GT(nearTop, nearBottom);
  }
  EXPECT_EQ(ByteWidth(33), 100) << "rows are padded to four bytes";
  m->DiscardPStamp(PS_LARGE);
  EXPECT_EQ(m->GetPStamp(PS_LARGE), nullptr);
  EXPECT_NE(m->GetPStamp(PS_SMALL), nullptr);
  EXPECT_EQ(m->CreatePStamp(7), nullptr);
  m->SetDiffuse(Color(0.0f, 1.0f, 0.0f), 0);
  EXPECT_EQ(m->GetPStamp(PS_SMALL), nullptr) << "a changed material drops its stale stamps";
  m->DeleteMe();
}

TEST_F(Materials, AMapsStampShowsTheMapFlatAndATransparentMaterialLetsTheBackgroundThrough) {
  auto* checker = create<Texmap>(TEXMAP_CLASS_ID, Class_ID(CHECKER_CLASS_ID, 0));
  PStamp* s = checker->CreatePStamp(PS_TINY);
  std::vector<UBYTE> img(static_cast<size_t>(ByteWidth(24)) * 24);
  s->GetImage(img.data());
  EXPECT_EQ(pixel(img, 24, 2, 2), (std::vector<int>{0, 0, 0})) << "the first colour in the bottom-left corner";
  EXPECT_EQ(pixel(img, 24, 21, 2), (std::vector<int>{255, 255, 255}));
  checker->DeleteMe();

  StdMat* clear = standard();
  clear->SetOpacity(0.0f, 0);
  clear->CreatePStamp(PS_SMALL);
  std::vector<UBYTE> glass(static_cast<size_t>(ByteWidth(32)) * 32);
  clear->GetPStamp(PS_SMALL)->GetImage(glass.data());
  EXPECT_EQ(pixel(glass, 32, 16, 16), (std::vector<int>{0, 0, 0}));
  clear->DeleteMe();
}

TEST_F(Materials, AClonedMaterialKeepsItsSettingsAndChangesOnItsOwn) {
  StdMat* m = standard();
  m->SetName("Wood");
  m->SetDiffuse(Color(0.5f, 0.25f, 0.0f), 0);
  m->SetGBufID(2);
  DefaultRemapDir remap;
  auto* c = static_cast<StdMat*>(m->Clone(remap));
  ASSERT_NE(c, nullptr);
  EXPECT_STREQ(c->GetName().data(), "Wood");
  EXPECT_EQ(c->GetGBufID(), 2);
  EXPECT_EQ(c->GetDiffuse(0), Color(0.5f, 0.25f, 0.0f));
  c->SetDiffuse(Color(1.0f, 1.0f, 1.0f), 0);
  EXPECT_EQ(m->GetDiffuse(0), Color(0.5f, 0.25f, 0.0f));
  c->DeleteMe();
  m->DeleteMe();
}

TEST_F(Materials, TheMaterialEditorHasTwentyFourSlotsThroughItsCoreInterface) {
  auto* medit = static_cast<IMtlEditInterface*>(GetCOREInterface(MTLEDIT_INTERFACE));
  ASSERT_NE(medit, nullptr);
  ASSERT_NE(medit->GetTopMtlSlot(0), nullptr);
  EXPECT_STREQ(medit->GetTopMtlSlot(0)->GetName().data(), "01 - Default");
  EXPECT_STREQ(medit->GetTopMtlSlot(23)->GetName().data(), "24 - Default");
  EXPECT_EQ(medit->GetTopMtlSlot(24), nullptr);
  EXPECT_EQ(medit->GetTopMtlSlot(-1), nullptr);

  StdMat* m = standard();
  medit->PutMtlToMtlEditor(m, 5);
  EXPECT_EQ(ip->GetMtlSlot(5), m);
  medit->PutMtlToMtlEditor(m, 99);  // outside: ignored

  // The published functions answer the same, with 0-based slots from C++.
  FPParams p(1, TYPE_INDEX, 5);
  FPValue result;
  ASSERT_EQ(medit->Invoke(IMtlEditInterface::get_mtlSlot, result, &p), FPS_OK);
  EXPECT_EQ(result.r, m);
}

TEST_F(Materials, AssignedMaterialsJoinTheSceneLibraryUntilItIsEmptied) {
  INode* a = makeBox();
  INode* b = makeBox();
  StdMat* m = standard();
  a->SetMtl(m);
  b->SetMtl(m);
  MtlBaseLib* lib = ip->GetSceneMtls();
  ASSERT_EQ(lib->Count(), 1);
  EXPECT_EQ((*lib)[0], m);
  lib->DeleteAll();
  EXPECT_EQ(lib->Count(), 0);
  EXPECT_EQ(a->GetMtl(), m) << "emptying the library leaves the nodes' materials";
  lib->Add(m);
  lib->Add(m);
  EXPECT_EQ(lib->Count(), 1);
  a->SetMtl(nullptr);
  b->Delete(0, TRUE);
  EXPECT_EQ(lib->Count(), 1) << "the library keeps its material alive";
  m->DeleteMe();
  EXPECT_EQ(lib->Count(), 0) << "a deleted material leaves the library";
}

}  // namespace
