#include "mesh.h"
#include "scene/objects/primitive_meshes.h"
#include "scene/scene_fixture.h"
#include "triobj.h"

#include <gtest/gtest.h>

namespace {

using test::expectNear;

TEST(Mesh, ResizingKeepsTheFirstVerticesAndTheSoftSelectionChannelFollows) {
  Mesh m;
  m.setNumVerts(3);
  m.setVert(0, 1, 2, 3);
  m.setVDataSupport(VDATA_SELECT);
  m.vertexFloat(VDATA_SELECT)[2] = 0.5f;
  m.setNumVerts(5, TRUE);
  expectNear(m.getVert(0), Point3(1, 2, 3));
  ASSERT_TRUE(m.vDataSupport(VDATA_SELECT));
  EXPECT_EQ(m.vertexFloat(VDATA_SELECT)[2], 0.5f);
  EXPECT_EQ(m.vertexFloat(VDATA_SELECT)[4], 0.0f);
  EXPECT_EQ(m.vertSel.GetSize(), 5);

  m.setVDataSupport(VDATA_SELECT, FALSE);
  EXPECT_FALSE(m.vDataSupport(VDATA_SELECT));
  EXPECT_EQ(m.vertexFloat(VDATA_SELECT), nullptr);
  EXPECT_FALSE(m.vDataSupport(-1));
  EXPECT_FALSE(m.vDataSupport(MAX_VERTEX_DATA));
}

TEST(Mesh, OutOfRangeVerticesAndAbsurdCountsChangeNothing) {
  Mesh m;
  m.setNumVerts(2);
  m.setVert(7, 1, 1, 1);
  m.setVert(-1, 1, 1, 1);
  expectNear(m.getVert(99), Point3());
  EXPECT_FALSE(m.setNumVerts(2000000000));
  EXPECT_EQ(m.getNumVerts(), 2);
  m.setNumFaces(-5);
  EXPECT_EQ(m.getNumFaces(), 0);
}

TEST(Mesh, TheTemporaryVertexSelectionFollowsTheSelectionLevel) {
  Mesh m;
  sim::buildPlaneMesh(m, 10, 10, 1, 1);  // 4 vertices, 2 faces
  m.vertSel.Set(1);
  m.faceSel.Set(1);
  m.selLevel = MESH_OBJECT;
  EXPECT_EQ(m.VertexTempSel().NumberSet(), 4) << "at object level every vertex is selected";
  m.selLevel = MESH_VERTEX;
  BitArray v = m.VertexTempSel();
  EXPECT_EQ(v.NumberSet(), 1);
  EXPECT_TRUE(v[1]);
  m.selLevel = MESH_FACE;
  BitArray f = m.VertexTempSel();
  EXPECT_EQ(f.NumberSet(), 3);
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(f[static_cast<int>(m.faces[1].v[k])]);
}

TEST(Mesh, TheBoundingBoxCoversTheVerticesAndFollowsATransform) {
  Mesh m;
  sim::buildBoxMesh(m, 20, 10, 30, 1, 1, 1);
  Box3 b = m.getBoundingBox();
  expectNear(b.pmin, Point3(-5, -10, 0));
  expectNear(b.pmax, Point3(5, 10, 30));
  Matrix3 move = TransMatrix(Point3(100, 0, 0));
  expectNear(m.getBoundingBox(&move).pmin, Point3(95, -10, 0));
}

TEST(PrimitiveMeshes, ABoxStandsOnItsPivotCentredInXAndY) {
  Mesh m;
  sim::buildBoxMesh(m, 25, 25, 25, 1, 1, 1);
  ASSERT_EQ(m.getNumVerts(), 8);
  ASSERT_EQ(m.getNumFaces(), 12);
  expectNear(m.getVert(0), Point3(-12.5f, -12.5f, 0.0f));
  expectNear(m.getVert(3), Point3(12.5f, 12.5f, 0.0f));
  expectNear(m.getVert(7), Point3(12.5f, 12.5f, 25.0f));
  // Each side is two triangles whose shared diagonal is hidden.
  EXPECT_EQ(m.faces[0].getEdgeVis(0), EDGE_VIS);
  EXPECT_EQ(m.faces[0].getEdgeVis(2), EDGE_INVIS);
  EXPECT_NE(m.faces[0].getSmGroup(), m.faces[2].getSmGroup()) << "bottom and top are smoothed apart";
}

TEST(PrimitiveMeshes, EveryFaceOfAClosedPrimitiveFacesOutwards) {
  Mesh box, sphere, cyl;
  sim::buildBoxMesh(box, 10, 20, 30, 2, 3, 4);
  sim::buildSphereMesh(sphere, 10, 32, true);
  sim::buildCylinderMesh(cyl, 5, 20, 5, 18, true);
  for (Mesh* m : {&box, &sphere, &cyl}) {
    Point3 centre = m->getBoundingBox().Center();
    for (int f = 0; f < m->getNumFaces(); ++f) {
      Point3 a = m->getVert(static_cast<int>(m->faces[f].v[0]));
      Point3 b = m->getVert(static_cast<int>(m->faces[f].v[1]));
      Point3 c = m->getVert(static_cast<int>(m->faces[f].v[2]));
      Point3 n = CrossProd(b - a, c - a);
      ASSERT_GT(DotProd(n, (a + b + c) / 3.0f - centre), 0.0f) << "face " << f;
    }
  }
}

TEST(PrimitiveMeshes, SegmentCountsGiveTheHostsVertexAndFaceCounts) {
  Mesh sphere, cyl, plane, box;
  sim::buildSphereMesh(sphere, 25, 32, true);
  EXPECT_EQ(sphere.getNumVerts(), 482);
  EXPECT_EQ(sphere.getNumFaces(), 960);
  expectNear(sphere.getBoundingBox().Center(), Point3());
  sim::buildCylinderMesh(cyl, 15, 25, 5, 18, true);
  EXPECT_EQ(cyl.getNumVerts(), 110);
  EXPECT_EQ(cyl.getNumFaces(), 216);
  sim::buildPlaneMesh(plane, 25, 25, 4, 4);
  EXPECT_EQ(plane.getNumVerts(), 25);
  EXPECT_EQ(plane.getNumFaces(), 32);
  sim::buildBoxMesh(box, 10, 10, 10, 2, 2, 2);
  EXPECT_EQ(box.getNumVerts(), 26) << "surface lattice points only";
  EXPECT_EQ(box.getNumFaces(), 48);
}

TEST(PrimitiveMeshes, SegmentCountsBeyondTheHostsRangeAreClamped) {
  Mesh m;
  sim::buildSphereMesh(m, 1, 1000000, true);
  EXPECT_EQ(m.getNumVerts(), 2 + 99 * 200);
  sim::buildBoxMesh(m, 1, 1, 1, -3, 0, 1);
  EXPECT_EQ(m.getNumVerts(), 8);
}

class TriObjects : public test::SceneFixture {};

TEST_F(TriObjects, GeometryConvertsToANewTriangleObjectThatATriangleObjectIsAlready) {
  auto* box = create<Object>(GEOMOBJECT_CLASS_ID, Class_ID(BOXOBJ_CLASS_ID, 0));
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(box->CanConvertToType(triObjectClassID));
  auto* tri = static_cast<TriObject*>(box->ConvertToType(0, triObjectClassID));
  ASSERT_NE(tri, nullptr);
  EXPECT_NE(static_cast<Object*>(tri), box);
  EXPECT_EQ(tri->ClassID(), Class_ID(9, 0));
  EXPECT_EQ(tri->GetMesh().getNumVerts(), 8);
  EXPECT_EQ(tri->ConvertToType(0, triObjectClassID), tri);
  tri->DeleteMe();
  box->DeleteMe();
}

}  // namespace
