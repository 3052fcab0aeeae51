// A load that leaves the nodes' transforms and geometry in the file reads the same records as a
// whole load, fails on damage in what it reads as a whole load does, and refuses to be saved.
#include "dlx/script_library_fixture.h"
#include "passes/scene_passes.h"
#include "passes/value_texts.h"
#include "scenefile/scene_file.h"

#include <fstream>
#include <iterator>

namespace {

using sim::SceneLoadExtent;

class PartialLoad : public test::ScriptLibrary {
 protected:
  // The scene of the holder example (a box with a modifier and a material, a light, a camera, a
  // dummy, every kind of record), with a per-pass material, a child node and a material that only
  // the material editor holds; saved to bytes.
  static sim::Bytes exampleScene() {
    std::ifstream in(std::string(QZM_SOURCE_DIR) + "/examples/holder_capture.ms");
    const std::string example{std::istreambuf_iterator<char>(in), {}};
    EXPECT_FALSE(example.empty());
    run(example +
        "\nm = QZMMaterial name:\"Per pass\"; m.AssignMaterial (standardMaterial name:\"Red\") 1; c.material = m\n"
        "s = sphere name:\"Child\" parent:b; meditMaterials[3] = standardMaterial name:\"Only in the editor\"\n"
        "hs = QZMPropHolder(); hs.node = s; hs.propertyName = #(\"position\", \"material\"); hs.CaptureProperties 5000 0\n");
    sim::Bytes bytes;
    std::string error;
    EXPECT_TRUE(sim::writeScene(bytes, error)) << error;
    return bytes;
  }

  // Everything `qzmhost passes` reports, and the nodes with their parents and materials.
  static std::string report() {
    sim::passes::ScenePasses scene;
    std::string error, out;
    if (!sim::passes::readScenePasses(scene, error)) return "error: " + error;
    for (const auto& h : scene.holders) {
      out += h.holderName + " on " + h.targetName + "\n";
      for (const auto& v : h.values)
        out += "  " + v.property + " " + sim::passes::passLabel(v.pass) + " " + v.text + " " + v.classTag + " " +
               sim::passes::displayText(v.value) + (v.animated ? " animated " : " ") + v.controllerClass + " " +
               v.controllerAddress + "\n";
    }
    for (const auto& p : scene.problems) out += "problem: " + p + "\n";
    return out + run("for n in $* do format \"% % %\\n\" n.name n.parent n.material");
  }

  static sim::SceneLoadResult load(const sim::Bytes& bytes, SceneLoadExtent extent) {
    return sim::readScene(bytes.data(), bytes.size(), extent);
  }
};

TEST_F(PartialLoad, ReadsTheSameRecordsNodesAndMaterialsAsAWholeLoad) {
  const sim::Bytes bytes = exampleScene();
  ASSERT_TRUE(load(bytes, SceneLoadExtent::Whole).ok);
  const std::string whole = report();
  ASSERT_NE(whole.find("Per pass"), std::string::npos) << whole;
  ASSERT_NE(whole.find("animated Position_XYZ"), std::string::npos) << whole;
  ASSERT_TRUE(load(bytes, SceneLoadExtent::WithoutTransformsAndGeometry).ok);
  EXPECT_EQ(report(), whole);
  EXPECT_EQ(run("format \"%\" meditMaterials[3].name"), "Only in the editor");
}

TEST_F(PartialLoad, LeavesOutTheTransformsAndGeometry) {
  run("b = box name:\"Plain\"; b2 = box name:\"Held\"; h = QZMPropHolder name:\"H\"; h.node = b2\n"
      "h.propertyName = #(\"renderable\"); h.CaptureProperties 5000 0");
  sim::Bytes bytes;
  std::string error;
  ASSERT_TRUE(sim::writeScene(bytes, error)) << error;
  ASSERT_TRUE(load(bytes, SceneLoadExtent::WithoutTransformsAndGeometry).ok);
  EXPECT_EQ(run("format \"% % %\" $Plain.baseObject $Plain.transform.controller $Held.baseObject"), "undefined undefined undefined");
  EXPECT_EQ(run("format \"%\" (classOf $H.baseObject)"), "QZMPropHolder");
}

TEST_F(PartialLoad, SavingTheSceneIsRefusedUntilAWholeSceneReplacesIt) {
  const sim::Bytes bytes = exampleScene();
  ASSERT_TRUE(load(bytes, SceneLoadExtent::WithoutTransformsAndGeometry).ok);
  sim::Bytes again;
  std::string error;
  EXPECT_FALSE(sim::writeScene(again, error));
  EXPECT_EQ(error, "the scene was loaded without its transforms and geometry, for reading; saving it would lose them");
  ASSERT_TRUE(load(bytes, SceneLoadExtent::Whole).ok);
  EXPECT_TRUE(sim::writeScene(again, error)) << error;
  EXPECT_EQ(again, bytes);
}

// Damage inside what is left out goes unread (the records are whole); any other fails as it
// would in a whole load, with the same message.
TEST_F(PartialLoad, ADamagedFileFailsAsInAWholeLoad) {
  const sim::Bytes bytes = exampleScene();
  int failed = 0;
  // Cut short and with a byte changed, at places spread over the file.
  for (size_t at = 24; at < bytes.size(); at += bytes.size() / 211 + 1) {
    const sim::Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    sim::Bytes changed = bytes;
    changed[at] ^= 0x5A;
    for (const sim::Bytes* b : {&cut, static_cast<const sim::Bytes*>(&changed)}) {
      const sim::SceneLoadResult whole = load(*b, SceneLoadExtent::Whole);
      const std::string wholeReport = whole.ok ? report() : "";
      const sim::SceneLoadResult part = load(*b, SceneLoadExtent::WithoutTransformsAndGeometry);
      if (whole.ok) {
        EXPECT_TRUE(part.ok) << "at " << at << ": " << part.error;
        if (part.ok) {
          EXPECT_EQ(report(), wholeReport) << "at " << at;
        }
      }
      if (!part.ok) {
        ++failed;
        EXPECT_EQ(part.error, whole.error) << "at " << at;
      }
    }
  }
  EXPECT_GT(failed, 200);
}

}  // namespace

namespace {

// Nothing reaches such a scene but the tools that read it; still, using it must not crash.
TEST_F(PartialLoad, UsingTheSceneAnywayRaisesErrorsAtWorst) {
  const sim::Bytes bytes = exampleScene();
  ASSERT_TRUE(load(bytes, SceneLoadExtent::WithoutTransformsAndGeometry).ok);
  EXPECT_EQ(run("global hh = for n in $* where classOf n == QZMPropHolder collect n; format \"%\" hh.count"), "5");
  for (const char* use : {"$Box01.pos", "$Box01.pos = [1, 2, 3]", "$Box01.transform", "$Box01.rotation", "$Box01.center",
                          "$Box01.height", "$Box01.modifiers.count", "$Camera01.fov", "(render outputwidth:8 outputheight:8 vfb:false).width",
                          "hh[1].CaptureAllProperties 6000 0",
                          "hh[1].RestoreAllProperties 5000 1", "hh[1].RestoreInitialProperties \"\"", "copy $Box01", "delete $Box01"}) {
    run(std::string("print (") + use + ")");
  }
  EXPECT_EQ(run("format \"%\" $Camera01.fov"), "45.0");  // the initial state, put back
}

}  // namespace
