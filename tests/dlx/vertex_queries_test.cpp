// Vertex queries on real scene meshes: the sphere picks against the procedure as written on random
// meshes, the worked examples, and the coordinate spaces of the position queries.
#include "script_library_fixture.h"
#include "support/sphere_picks_literal.h"

#include "inode.h"
#include "maxapi.h"
#include "script/runtime.h"
#include "triobj.h"

#include <random>

namespace {

using test::ScriptLibrary;

// A node named `name` carrying an editable mesh with `verts`, placed by `tm`.
INode* meshNode(const char* name, const std::vector<Point3>& verts, const Matrix3& tm) {
  TriObject* tri = CreateNewTriObject();
  tri->mesh.setNumVerts(static_cast<int>(verts.size()));
  for (size_t i = 0; i < verts.size(); ++i) tri->mesh.setVert(static_cast<int>(i), verts[i]);
  INode* node = GetCOREInterface()->CreateObjectNode(tri);
  node->SetName(name);
  Matrix3 placed = tm;
  node->SetNodeTM(0, placed);
  return node;
}

std::string point(const Point3& p) {
  char text[128];
  std::snprintf(text, sizeof text, "[%.9g,%.9g,%.9g]", p.x, p.y, p.z);
  return text;
}

TEST_F(ScriptLibrary, SpherePicksEqualTheProcedureAsWrittenOnRandomMeshes) {
  std::mt19937 random(20261208);
  std::uniform_real_distribution<float> coord(-10.0f, 10.0f);
  for (int round = 0; round < 60; ++round) {
    sim::coreInterface()->resetScene();
    int numVerts = static_cast<int>(random() % 300);
    std::vector<Point3> verts;
    for (int i = 0; i < numVerts; ++i) {
      // Coarse grid values make equal distances common.
      Point3 p(std::round(coord(random)), std::round(coord(random)), round % 2 ? coord(random) : 0.0f);
      verts.push_back(p);
    }
    Matrix3 tm;
    tm.SetTrans(Point3(coord(random), coord(random), 0.0f));
    if (round % 3 == 0) tm.RotateZ(0.5f);
    meshNode("Picked", verts, tm);
    Point3 centre(coord(random), coord(random), coord(random) * 0.2f);
    float radius = std::uniform_real_distribution<float>(0.0f, 15.0f)(random);
    int n = static_cast<int>(random() % 40) - 3;
    std::vector<int> entries;
    for (int k = static_cast<int>(random() % 5); k > 0; --k) entries.push_back(static_cast<int>(random() % 60));

    std::string x = "#(";
    for (size_t k = 0; k < entries.size(); ++k) x += (k ? ", " : "") + std::to_string(entries[k]);
    x += ")";
    run("X = " + x + "\nQZMgetVertsInSphere $Picked " + point(centre) + " " + std::to_string(radius) + " " +
        std::to_string(n) + " X");
    Value* got = sim::rt::Runtime::get().getGlobal("X");
    ASSERT_TRUE(got && is_array(got));
    auto* arr = static_cast<Array*>(got);

    auto expected = test::literalSpherePicks(verts, tm, centre, radius, n, entries);
    ASSERT_EQ(arr->size, static_cast<int>(entries.size() + 2 * expected.size())) << "round " << round;
    for (size_t k = 0; k < expected.size(); ++k) {
      Value* index = arr->data[entries.size() + 2 * k];
      Value* dist = arr->data[entries.size() + 2 * k + 1];
      EXPECT_EQ(index->to_int(), expected[k].first) << "round " << round << " pick " << k;
      EXPECT_EQ(dist->to_float(), expected[k].second) << "round " << round << " pick " << k;
    }
  }
}

TEST_F(ScriptLibrary, SpherePicksWorkedExamples) {
  // Vertices 2 and 7 at squared distances 1 and 4 from the centre; the others far away; the node
  // moved, since the sphere is in world coordinates.
  std::vector<Point3> verts(8, Point3(50, 50, 50));
  verts[1] = Point3(1, 0, 0);
  verts[6] = Point3(0, 2, 0);
  Matrix3 tm;
  tm.SetTrans(Point3(100, 0, 0));
  meshNode("Picked", verts, tm);
  EXPECT_EQ(run("X = #(); print (QZMgetVertsInSphere $Picked [100,0,0] 2.5 3 X); print X"),
            "true\n#(2, 1.0, 7, 4.0)\n");
  EXPECT_EQ(run("X = #(2); QZMgetVertsInSphere $Picked [100,0,0] 2.5 2 X; print X"), "#(2, 7, 4.0, 0, 1e+08)\n");
  // On the surface counts; equal distances give the lower index first.
  EXPECT_EQ(run("X = #(); QZMgetVertsInSphere $Picked [100,0,0] 2 5 X; print X"), "#(2, 1.0, 7, 4.0)\n");
  EXPECT_EQ(run("X = #(); QZMgetVertsInSphere $Picked [100.5,1,0] 2 5 X; print X"), "#(2, 1.25, 7, 1.25)\n");
  EXPECT_EQ(errorOf("QZMgetVertsInSphere $Picked [0,0,0] 1 1 5"), "-- Unable to convert: 5 to type: Array");
}

TEST_F(ScriptLibrary, PositionsAreInObjectCoordinatesAndSelectionsFollowTheLevel) {
  std::vector<Point3> verts{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}};
  Matrix3 tm;
  tm.SetTrans(Point3(10, 20, 30));
  meshNode("Verts", verts, tm);
  EXPECT_EQ(run("print (QZMgetVertPositions $Verts)"), "#([0,0,0], [1,0,0], [2,0,0], [3,0,0], [4,0,0])\n");
  EXPECT_EQ(run("select $Verts; subObjectLevel = 1; print (QZMgetVertSelection $Verts);"
                "print (QZMgetVertSelPositions $Verts)"),
            "#()\n#()\n");
  EXPECT_EQ(run("setVertSelection $Verts #{2, 5}; print (QZMgetVertSelection $Verts);"
                "print (QZMgetVertSelPositions $Verts)"),
            "#(2, 5)\n#([1,0,0], [4,0,0])\n");
  EXPECT_EQ(run("print (QZMgetVertSoftSelection $Verts)"), "false\n");
  EXPECT_EQ(run("meshop.setVSelectWeight $Verts 4 0.5; print (QZMgetVertSoftSelection $Verts)"), "#([4,0.5])\n");
}

TEST_F(ScriptLibrary, ClosestVertexOnAMeshAndOnAnEmptyOne) {
  std::vector<Point3> verts{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 1, 2}};
  meshNode("Near", verts, Matrix3());
  EXPECT_EQ(run("print (QZMgetClosestVert $Near.mesh [3,1,2])"), "#(4, 3.0, 1.0, 2.0)\n");
  meshNode("Empty", {}, Matrix3());
  EXPECT_EQ(run("print (QZMgetClosestVert $Empty.mesh [3,1,2])"), "#(1, 0.0, 0.0, 0.0)\n");
}

TEST_F(ScriptLibrary, TheConversionMadeForAPrimitiveIsDeletedAndTheBoxStays) {
  EXPECT_EQ(run("b = box(); print (QZMgetVertPositions b).count; print (classOf b.baseObject)"), "8\nBox\n");
}

}  // namespace
