#include "mesh.h"
#include "scene/objects/primitive_meshes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979;

double signedVolume(const Mesh& m) {
  double v = 0;
  for (int f = 0; f < m.getNumFaces(); ++f) {
    Point3 a = m.getVert(int(m.faces[f].v[0])), b = m.getVert(int(m.faces[f].v[1])), c = m.getVert(int(m.faces[f].v[2]));
    v += DotProd(a, CrossProd(b, c)) / 6.0;
  }
  return v;
}

// Closed with one winding: every edge is used once each way (two faces, opposite directions).
::testing::AssertionResult closedAndConsistent(const Mesh& m) {
  std::map<std::pair<DWORD, DWORD>, int> edges;
  for (int f = 0; f < m.getNumFaces(); ++f)
    for (int e = 0; e < 3; ++e) ++edges[{m.faces[f].v[e], m.faces[f].v[(e + 1) % 3]}];
  for (const auto& [edge, uses] : edges) {
    auto back = edges.find({edge.second, edge.first});
    if (uses != 1 || back == edges.end() || back->second != 1)
      return ::testing::AssertionFailure() << "edge " << edge.first << "-" << edge.second << " used " << uses;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace

TEST(MorePrimitiveMeshes, ClosedPrimitivesAreWatertightFaceOutwardsAndHoldTheirVolume) {
  struct Case {
    const char* what;
    Mesh mesh;
    double volume;
  };
  Case cases[] = {
      {"cone to a point", {}, kPi * 25 * 15 * 15 / 3},
      {"cone cut off", {}, kPi * 20 * (100 + 50 + 25) / 3},
      {"tube", {}, kPi * (25 * 25 - 20 * 20) * 50},
      {"torus", {}, 2 * kPi * kPi * 25 * 10 * 10},
      {"pyramid", {}, 20.0 * 30 * 12 / 3},
      {"tetra geosphere", {}, 4 * kPi * 1000 / 3},
      {"octa geosphere", {}, 4 * kPi * 1000 / 3},
      {"icosa geosphere", {}, 4 * kPi * 1000 / 3},
  };
  sim::buildConeMesh(cases[0].mesh, 15, 0, 25, 5, 2, 96, true);
  sim::buildConeMesh(cases[1].mesh, 10, 5, 20, 3, 3, 96, true);
  sim::buildTubeMesh(cases[2].mesh, 20, 25, 50, 2, 2, 96, true);
  sim::buildTorusMesh(cases[3].mesh, 25, 10, 0.3f, 1.0f, 96, 48, 2);
  sim::buildPyramidMesh(cases[4].mesh, 20, 30, 12, 2, 3, 4);
  sim::buildGeoSphereMesh(cases[5].mesh, 10, 24, 0, true, false, false);
  sim::buildGeoSphereMesh(cases[6].mesh, 10, 24, 1, true, false, false);
  sim::buildGeoSphereMesh(cases[7].mesh, 10, 24, 2, true, false, false);
  for (const Case& c : cases) {
    EXPECT_TRUE(closedAndConsistent(c.mesh)) << c.what;
    EXPECT_NEAR(signedVolume(c.mesh), c.volume, c.volume * 0.02) << c.what;
  }
}

TEST(MorePrimitiveMeshes, DefaultParametersGiveTheseCounts) {
  Mesh m;
  sim::buildConeMesh(m, 15, 0, 25, 5, 1, 24, true);
  EXPECT_EQ(m.getNumVerts(), 122);
  EXPECT_EQ(m.getNumFaces(), 240);
  sim::buildTubeMesh(m, 25, 20, 50, 1, 1, 24, true);
  EXPECT_EQ(m.getNumVerts(), 96);
  EXPECT_EQ(m.getNumFaces(), 192);
  sim::buildTorusMesh(m, 25, 10, 0, 0, 24, 12, 0);
  EXPECT_EQ(m.getNumVerts(), 288);
  EXPECT_EQ(m.getNumFaces(), 576);
  sim::buildPyramidMesh(m, 25, 25, 25, 1, 1, 1);
  EXPECT_EQ(m.getNumVerts(), 5);
  EXPECT_EQ(m.getNumFaces(), 6);
  sim::buildGeoSphereMesh(m, 25, 4, 2, true, false, false);
  EXPECT_EQ(m.getNumVerts(), 10 * 16 + 2);
  EXPECT_EQ(m.getNumFaces(), 20 * 16);
}

TEST(MorePrimitiveMeshes, TheTeapotHasTheSizeOfItsRadiusAndItsPartsAreSeparateElements) {
  Mesh m;
  sim::buildTeapotMesh(m, 20, 4, true, true, true, true, true);
  Box3 box = m.getBoundingBox();
  EXPECT_NEAR(box.pmin.z, 0.0f, 1e-4f);
  EXPECT_NEAR(box.pmax.z, 1.575f * 20, 1e-3f);
  EXPECT_NEAR(box.pmax.y, 20.0f, 1e-3f) << "the body is as wide as the radius says";
  EXPECT_GT(box.pmax.x, 1.7f * 20) << "the spout reaches out along +x";
  EXPECT_LT(box.pmin.x, -1.5f * 20) << "the handle along -x";
  std::map<MtlID, int> parts;
  for (int f = 0; f < m.getNumFaces(); ++f) ++parts[m.faces[f].getMatID()];
  EXPECT_EQ(parts.size(), 4u);
  Mesh bodyOnly;
  sim::buildTeapotMesh(bodyOnly, 20, 4, true, true, false, false, false);
  EXPECT_EQ(bodyOnly.getNumFaces(), parts[1]);
  sim::buildTeapotMesh(m, 20, 4, true, false, false, false, false);
  EXPECT_EQ(m.getNumVerts(), 0) << "no part, no mesh";
}

TEST(MorePrimitiveMeshes, AHemisphereKeepsTheUpperHalfAndBaseToPivotStandsTheSphereOnIt) {
  Mesh m;
  sim::buildGeoSphereMesh(m, 10, 8, 1, true, true, false);
  EXPECT_NEAR(m.getBoundingBox().pmin.z, 0.0f, 1e-4f);
  EXPECT_NEAR(m.getBoundingBox().pmax.z, 10.0f, 1e-4f);
  EXPECT_EQ(m.getNumFaces(), 4 * 64) << "an octahedron's upper faces";
  sim::buildGeoSphereMesh(m, 10, 4, 2, true, false, true);
  EXPECT_NEAR(m.getBoundingBox().pmin.z, 0.0f, 1e-4f);
}

TEST(MorePrimitiveMeshes, OutOfRangeCountsAreClampedAndNegativeRadiiReadAsZero) {
  Mesh m;
  sim::buildGeoSphereMesh(m, 10, 100000, 0, true, false, false);
  EXPECT_EQ(m.getNumVerts(), 2 * 200 * 200 + 2);
  sim::buildTorusMesh(m, 10, 2, 0, 0, -5, 1, 0);
  EXPECT_EQ(m.getNumVerts(), 9);
  sim::buildConeMesh(m, -10, -3, 5, 0, 0, 0, true);
  EXPECT_EQ(m.getNumFaces(), 0) << "both ends a point: nothing between them";
  sim::buildTeapotMesh(m, -5, 1000, true, true, true, true, true);
  EXPECT_NEAR(m.getBoundingBox().Width().x, 0.0f, 1e-6f);
  sim::buildPyramidMesh(m, 10, 10, 10, 0, -1, 500);
  EXPECT_EQ(m.getNumVerts(), 4 + 4 * 199 + 1);
}

TEST(MorePrimitiveMeshes, NegativeSizesMirrorTheSolidWhichStillFacesOut) {
  Mesh cone, tube, pyramid;
  sim::buildConeMesh(cone, 10, 5, -20, 2, 2, 48, true);
  sim::buildTubeMesh(tube, 10, 5, -20, 2, 2, 48, true);
  sim::buildPyramidMesh(pyramid, -20, 30, -12, 2, 2, 2);
  EXPECT_NEAR(cone.getBoundingBox().pmin.z, -20.0f, 1e-4f);
  EXPECT_NEAR(pyramid.getBoundingBox().pmin.z, -12.0f, 1e-4f);
  for (Mesh* m : {&cone, &tube, &pyramid}) {
    EXPECT_TRUE(closedAndConsistent(*m));
    EXPECT_GT(signedVolume(*m), 0.0);
  }
}
