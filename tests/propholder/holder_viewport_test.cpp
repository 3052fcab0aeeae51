// The holder in a viewport of the host: its ring icon, the colour it is drawn in, picking, snapping
// to its pivot, its boxes, and placing a new holder by mouse. Holders come from the loaded plug-in
// by class id and sit on nodes of a fresh scene, seen from above in a small window.
#include "bitmap/image_files.h"
#include "core/class_registry.h"
#include "core/core_interface.h"
#include "core/plugin_loader.h"
#include "holder_icon.h"
#include "inode.h"
#include "iparamb2.h"
#include "scene/scene_walk.h"
#include "ui/snap_settings.h"
#include "ui/viewport.h"
#include "ui/viewport_creation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include "support/stored_picture.h"
#include "support/holder_module_suite.h"

namespace {

using sim::ui::BitmapGraphicsWindow;
using sim::ui::Viewport;

enum { kViewportIcon = 2, kIconSize = 3 };
const uint32_t kBackground = sim::ui::packColor(0.45f, 0.45f, 0.45f);

class HolderViewport : public test::HolderModuleSuite {
 protected:
  static void TearDownTestSuite() {
    sim::coreInterface()->resetScene();
    HolderModuleSuite::TearDownTestSuite();
  }
  void SetUp() override {
    sim::coreInterface()->resetScene();
    sim::ui::Viewports::instance().reset();
    sim::ui::snapSettings() = sim::ui::SnapSettings();
    cd_ = sim::ClassRegistry::instance().findByInternalName("QZMPropHolder");
    ASSERT_NE(cd_, nullptr);
    // A top view one world unit per pixel, centred on the origin.
    view_.setSize(64, 64);
    view_.setOrthoWidth(64.0f);
  }
  void TearDown() override { sim::coreInterface()->resetScene(); }

  // A holder on a node of its own, its icon on, its node at `pos` in wire colour `wire`.
  INode* makeHolder(Point3 pos = Point3(), DWORD wire = 0x0000FF, float size = 1.0f) {
    holder_ = dynamic_cast<Object*>(static_cast<Animatable*>(cd_->Create(FALSE)));
    INode* node = GetCOREInterface()->CreateObjectNode(holder_);
    params()->SetValue(kViewportIcon, 0, 1);
    params()->SetValue(kIconSize, 0, size);
    Matrix3 tm = TransMatrix(pos);
    node->SetNodeTM(0, tm);
    node->SetWireColor(wire);
    return node;
  }
  IParamBlock2* params() { return holder_->GetParamBlock(0); }
  BitmapGraphicsWindow& window() { return view_.window(); }
  // Pixels that are not the background.
  int drawnPixels() {
    int n = 0;
    for (int y = 0; y < window().getWinSizeY(); ++y)
      for (int x = 0; x < window().getWinSizeX(); ++x)
        if (window().pixel(x, y) != kBackground) ++n;
    return n;
  }
  bool picks(INode* node, IPoint2 p) {
    return holder_->HitTest(0, node, HITTYPE_POINT, 0, HIT_ABORTONHIT, &p, &view_) != 0;
  }
  // The screen pixel of world point (x, y, 0) in the 64-pixel top view.
  static IPoint2 pixelOf(float x, float y) { return IPoint2(int(std::floor(32.0f + x)), int(std::floor(32.0f - y))); }

  ClassDesc* cd_ = nullptr;
  Object* holder_ = nullptr;
  Viewport view_{VIEW_TOP};
};

TEST(HolderIcon, HasTheStoredRingOfNineSectors) {
  Mesh mesh;
  BuildHolderIconMesh(mesh, 1.0f);
  ASSERT_EQ(mesh.getNumVerts(), 36);
  ASSERT_EQ(mesh.getNumFaces(), 18);
  const Point3 expected[] = {{18.8145f, 0.0f, -0.0517473f},   {17.6799f, 6.43495f, -0.0517473f},
                             {-3.26711f, 18.5287f, -0.0517473f}, {-18.8145f, 0.0f, -0.0517473f},
                             {-14.4128f, -12.0938f, -0.0517473f}, {17.6799f, -6.43495f, -0.0517473f}};
  const int at[] = {0, 1, 5, 9, 11, 17};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(mesh.getVert(at[i]), expected[i]) << "vertex " << at[i];
  EXPECT_EQ(mesh.getVert(22), Point3(1.63355f, 9.26435f, -0.0517473f));
  EXPECT_EQ(mesh.getVert(33), Point3(4.70363f, -8.14693f, -0.0517473f));
  EXPECT_EQ(mesh.getVert(31), Point3(-1.63355f, -9.26435f, -0.0517473f));

  struct FaceRow { int a, b, c, visA, visB, visC; };
  const FaceRow faces[] = {{1, 20, 19, 0, 1, 1}, {1, 2, 20, 1, 1, 0}, {17, 18, 35, 0, 1, 1}, {17, 0, 18, 1, 1, 0}};
  const int faceAt[] = {0, 1, 16, 17};
  for (int i = 0; i < 4; ++i) {
    const Face& f = mesh.faces[faceAt[i]];
    EXPECT_EQ(int(f.v[0]), faces[i].a);
    EXPECT_EQ(int(f.v[1]), faces[i].b);
    EXPECT_EQ(int(f.v[2]), faces[i].c);
    EXPECT_EQ(f.getEdgeVis(0), faces[i].visA) << "face " << faceAt[i];
    EXPECT_EQ(f.getEdgeVis(1), faces[i].visB) << "face " << faceAt[i];
    EXPECT_EQ(f.getEdgeVis(2), faces[i].visC) << "face " << faceAt[i];
  }
  for (int i = 0; i < 18; ++i) EXPECT_EQ(mesh.faces[i].getSmGroup(), 1u);
}

TEST_F(HolderViewport, IconSizeTwoDoublesBothRadii) {
  INode* node = makeHolder(Point3(), 0xFF, 2.0f);
  Box3 box;
  holder_->GetLocalBoundBox(0, node, &view_, box);
  EXPECT_FLOAT_EQ(box.pmax.x, 37.629f);
  EXPECT_FLOAT_EQ(box.pmin.x, -37.629f);
  Mesh mesh;
  BuildHolderIconMesh(mesh, 2.0f);
  EXPECT_FLOAT_EQ(mesh.getVert(18).x, 18.81454f);
}

TEST_F(HolderViewport, IconSizeZeroDrawsOnePointAndBoxesAPoint) {
  INode* node = makeHolder(Point3(), 0xFF, 0.0f);
  Box3 box;
  holder_->GetWorldBoundBox(0, node, &view_, box);
  EXPECT_EQ(box.Width(), Point3());
  view_.redraw(0);
  EXPECT_EQ(drawnPixels(), 1);
  EXPECT_EQ(window().pixel(32, 32), 0x0000FFu);
}

TEST_F(HolderViewport, WithTheIconOffNothingIsDrawnHitOrBoxed) {
  INode* node = makeHolder();
  params()->SetValue(kViewportIcon, 0, 0);
  view_.redraw(0);
  EXPECT_EQ(drawnPixels(), 0);
  EXPECT_FALSE(picks(node, pixelOf(18.8f, 0.0f)));
  Box3 box(Point3(1, 2, 3), Point3(4, 5, 6));
  holder_->GetWorldBoundBox(0, node, &view_, box);
  holder_->GetLocalBoundBox(0, node, &view_, box);
  EXPECT_EQ(box.pmin, Point3(1, 2, 3));
  EXPECT_EQ(box.pmax, Point3(4, 5, 6));
}

TEST_F(HolderViewport, SelectedDrawsWhiteFrozenGreyOtherwiseTheWireColour) {
  INode* node = makeHolder(Point3(), 0x00FF00);
  const IPoint2 rim = pixelOf(18.8f, 0.0f);  // outer vertex 0
  view_.redraw(0);
  EXPECT_EQ(window().pixel(rim.x, rim.y), 0x00FF00u);
  node->Freeze(TRUE);
  view_.redraw(0);
  EXPECT_EQ(window().pixel(rim.x, rim.y), 0x333333u);
  GetCOREInterface()->SelectNode(node);
  view_.redraw(0);
  EXPECT_EQ(window().pixel(rim.x, rim.y), 0xFFFFFFu);
}

TEST_F(HolderViewport, TheIconLooksAsStored) {
  if (!sim::imageFilesAvailable()) GTEST_SKIP() << "this build reads no image files";
  makeHolder(Point3(), 0x2080FF);
  view_.redraw(0);
  std::unique_ptr<Bitmap, void (*)(Bitmap*)> picture(window().toBitmap(), [](Bitmap* b) { b->DeleteThis(); });
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(test::differenceFromStoredPicture(*picture, "tests/propholder/data/holder_icon_small.png"), "");
}

TEST_F(HolderViewport, PicksTheSectorsButNotTheGapsBetweenThem) {
  INode* node = makeHolder(Point3(), 0xFF, 2.0f);
  auto at = [](float radius, float degrees) {
    float a = degrees * 3.14159265f / 180.0f;
    return pixelOf(radius * std::cos(a), radius * std::sin(a));
  };
  EXPECT_TRUE(picks(node, at(28.0f, 30.0f)));   // inside the sector from 20 to 40 degrees
  EXPECT_TRUE(picks(node, at(37.6f, 30.0f)));   // on its outer edge
  EXPECT_FALSE(picks(node, at(28.0f, 10.0f)));  // the gap from 0 to 20 degrees
  EXPECT_FALSE(picks(node, at(28.0f, 50.0f)));  // the gap from 40 to 60 degrees
  EXPECT_FALSE(picks(node, pixelOf(0.0f, 0.0f)));  // the hole in the middle
  EXPECT_FALSE(picks(node, IPoint2(-5000, 90000)));  // far outside the window
}

TEST_F(HolderViewport, TheHostPicksTheHolderThroughItsOwnHitTest) {
  INode* node = makeHolder(Point3(), 0xFF, 2.0f);
  const float a = 110.0f * 3.14159265f / 180.0f;  // inside the sector from 100 to 120 degrees
  auto hits = view_.hitTest(0, pixelOf(28.0f * std::cos(a), 28.0f * std::sin(a)));
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0], node);
  EXPECT_TRUE(view_.hitTest(0, pixelOf(0.0f, 28.0f)).empty());  // the gap from 80 to 100 degrees
}

TEST_F(HolderViewport, SnapsToThePivotWithinTheStrengthOnly) {
  INode* node = makeHolder(Point3(10.0f, 5.0f, 0.0f));
  SnapInfo snap;
  snap.strength = 8;
  IPoint2 close = pixelOf(14.0f, 5.0f);
  holder_->Snap(0, node, &snap, &close, &view_);
  ASSERT_TRUE(snap.found());
  EXPECT_EQ(snap.bestWorld, Point3(10.0f, 5.0f, 0.0f));
  EXPECT_EQ(snap.bestScreen, pixelOf(10.0f, 5.0f));
  EXPECT_EQ(snap.bestDist, 4);
  SnapInfo tooFar;
  IPoint2 away = pixelOf(20.0f, 5.0f);
  holder_->Snap(0, node, &tooFar, &away, &view_);
  EXPECT_FALSE(tooFar.found());
}

TEST_F(HolderViewport, InThePlaneModesAPivotOffThePlaneIsIgnored) {
  INode* node = makeHolder(Point3(0.0f, 0.0f, 0.001f));
  IPoint2 p = pixelOf(0.0f, 0.0f);
  SnapInfo inPlane;
  inPlane.snapType = SNAP_2D;
  holder_->Snap(0, node, &inPlane, &p, &view_);
  EXPECT_FALSE(inPlane.found());
  SnapInfo flagged;
  flagged.flags = SNAP_IN_PLANE;
  holder_->Snap(0, node, &flagged, &p, &view_);
  EXPECT_FALSE(flagged.found());
  SnapInfo anywhere;  // 3D snapping takes it
  holder_->Snap(0, node, &anywhere, &p, &view_);
  EXPECT_TRUE(anywhere.found());
  Matrix3 onPlane = TransMatrix(Point3(0.0f, 0.0f, 0.00005f));
  node->SetNodeTM(0, onPlane);
  holder_->Snap(0, node, &inPlane, &p, &view_);
  EXPECT_TRUE(inPlane.found());
}

TEST_F(HolderViewport, SnapKeepsABetterCandidateFoundBefore) {
  INode* node = makeHolder();
  IPoint2 p = pixelOf(0.0f, 0.0f);
  SnapInfo better;
  better.priority = 0;  // something better than a vertex was found already
  holder_->Snap(0, node, &better, &p, &view_);
  EXPECT_EQ(better.priority, 0);
  SnapInfo closer;
  closer.priority = 1;
  closer.bestDist = 0;
  IPoint2 off = pixelOf(2.0f, 0.0f);
  holder_->Snap(0, node, &closer, &off, &view_);
  EXPECT_EQ(closer.bestDist, 0);  // the candidate 2 pixels away does not replace one at 0
  SnapInfo unwanted;
  unwanted.vertPriority = 0;
  holder_->Snap(0, node, &unwanted, &p, &view_);
  EXPECT_FALSE(unwanted.found());
}

TEST_F(HolderViewport, AHolderWithoutANodeOrWithABrokenTransformIsHarmless) {
  INode* node = makeHolder();
  IPoint2 p = pixelOf(18.8f, 0.0f);
  EXPECT_EQ(holder_->Display(0, nullptr, &view_, 0), 0);
  EXPECT_EQ(holder_->HitTest(0, nullptr, HITTYPE_POINT, 0, 0, &p, &view_), 0);
  SnapInfo snap;
  holder_->Snap(0, nullptr, &snap, &p, &view_);
  EXPECT_FALSE(snap.found());

  const float nan = std::numeric_limits<float>::quiet_NaN();
  Matrix3 broken(Point3(nan, 0.0f, 0.0f), Point3(0.0f, nan, 0.0f), Point3(0.0f, 0.0f, 1.0f), Point3(nan, nan, nan));
  node->SetNodeTM(0, broken);
  view_.redraw(0);
  EXPECT_EQ(drawnPixels(), 0);
  EXPECT_FALSE(picks(node, p));
  holder_->Snap(0, node, &snap, &p, &view_);
  EXPECT_FALSE(snap.found());
}

TEST_F(HolderViewport, AVeryLargeIconIsClippedToTheWindow) {
  INode* node = makeHolder(Point3(), 0xFF, 100000.0f);
  view_.redraw(0);
  EXPECT_EQ(drawnPixels(), 0);  // every edge lies far outside the 64-pixel window
  EXPECT_FALSE(picks(node, pixelOf(0.0f, 0.0f)));
}

// ---- placing a new holder by mouse ---------------------------------------------------------------

class HolderCreation : public HolderViewport {
 protected:
  void SetUp() override {
    HolderViewport::SetUp();
    auto& views = sim::ui::Viewports::instance();
    views.active().setType(VIEW_TOP);
    views.active().setSize(64, 64);
    views.active().setOrthoWidth(64.0f);
  }
  int nodeCount() {
    int n = 0;
    sim::forEachSceneNode([&](INode*) { ++n; });
    return n;
  }
  sim::ui::ObjectCreation& creation() { return sim::ui::ObjectCreation::instance(); }
};

TEST_F(HolderCreation, ANewHolderTakesTheInterfaceColourAndTheReleasePoint) {
  std::string error;
  ASSERT_TRUE(creation().start(cd_, error)) << error;
  EXPECT_EQ(creation().event(MOUSE_MOVE, pixelOf(1.0f, 1.0f)), CREATE_CONTINUE);
  EXPECT_EQ(nodeCount(), 0);
  EXPECT_EQ(creation().event(MOUSE_POINT, pixelOf(5.0f, 6.0f)), CREATE_CONTINUE);
  ASSERT_EQ(nodeCount(), 1);
  EXPECT_EQ(creation().event(MOUSE_MOVE, pixelOf(7.0f, 6.0f)), CREATE_CONTINUE);
  EXPECT_EQ(creation().event(MOUSE_POINT, pixelOf(9.0f, -3.0f)), CREATE_STOP);
  INode* node = creation().lastCreated();
  ASSERT_NE(node, nullptr);
  Point3 ui = GetUIColor(COLOR_POINT_OBJ);
  DWORD packed = DWORD(ui.x * 255.0f) | (DWORD(ui.y * 255.0f) << 8) | (DWORD(ui.z * 255.0f) << 16);
  EXPECT_EQ(node->GetWireColor(), packed);
  EXPECT_EQ(node->GetNodeTM(0).GetTrans(), Point3(9.5f, -3.5f, 0.0f));  // the pixel's centre
  EXPECT_TRUE(node->Selected());
}

TEST_F(HolderCreation, AnAbortAtAnyStepLeavesNothing) {
  std::string error;
  for (int stepsBefore = 0; stepsBefore < 4; ++stepsBefore) {
    ASSERT_TRUE(creation().start(cd_, error));
    const int msgs[] = {MOUSE_MOVE, MOUSE_POINT, MOUSE_MOVE};
    for (int i = 0; i < stepsBefore && i < 3; ++i) creation().event(msgs[i], pixelOf(float(i), 0.0f));
    EXPECT_EQ(creation().event(MOUSE_ABORT, IPoint2()), CREATE_ABORT) << stepsBefore;
    EXPECT_EQ(nodeCount(), 0) << "aborted after " << stepsBefore << " events";
    EXPECT_FALSE(creation().active());
  }
}

TEST_F(HolderCreation, SnappingPlacesTheNewHolderOnAnotherHoldersPivot) {
  makeHolder(Point3(10.0f, 10.0f, 0.0f));
  sim::ui::snapSettings().active = true;
  std::string error;
  ASSERT_TRUE(creation().start(cd_, error));
  creation().event(MOUSE_POINT, pixelOf(12.0f, 11.0f));
  ASSERT_EQ(creation().event(MOUSE_POINT, pixelOf(12.0f, 11.0f)), CREATE_STOP);
  EXPECT_EQ(creation().lastCreated()->GetNodeTM(0).GetTrans(), Point3(10.0f, 10.0f, 0.0f));
}

}  // namespace
