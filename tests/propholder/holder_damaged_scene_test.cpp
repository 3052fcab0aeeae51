// A damaged scene file can make a stand-in of any super class for a class it names wrongly. The
// holder reads a node's kind from what the object is, never from its super class alone, so such a
// node is of no kind it knows: nothing is captured or restored, and nothing crashes.
#include "dlx/script_library_fixture.h"
#include "scenefile/scene_file.h"

#include <algorithm>
#include <iterator>

namespace {

class HolderDamagedScene : public test::ScriptLibrary {
 protected:
  // The scene saved, with the class directory's entry of super class `sclass` and class id
  // (`cid`, 0) given the class id (0x77, 0) that no module has, then loaded again.
  static void reloadWithMissingClass(unsigned char sclass, unsigned char cid) {
    sim::Bytes bytes;
    std::string error;
    ASSERT_TRUE(sim::writeScene(bytes, error)) << error;
    const unsigned char entry[12] = {sclass, 0, 0, 0, cid, 0, 0, 0, 0, 0, 0, 0};
    auto at = std::search(bytes.begin(), bytes.end(), std::begin(entry), std::end(entry));
    ASSERT_NE(at, bytes.end());
    at[4] = 0x77;
    const sim::SceneLoadResult r = sim::readScene(bytes.data(), bytes.size());
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.warnings.size(), 1u);
  }
};

TEST_F(HolderDamagedScene, AStandInOfTheDerivedObjectSuperClassIsNeitherUnwrappedNorCaptured) {
  run("b = box name:\"Bent\"; addModifier b (bend()); h = QZMPropHolder name:\"H\"; h.node = b\n"
      "h.propertyName = #(\"renderable\"); h.doDebugPrint = 1; h.CaptureProperties 5000 0");
  reloadWithMissingClass(2, 3);
  // One forcing line per capture and restore, and one more for the box in each scene walk.
  std::string forced;
  for (int i = 0; i < 8; ++i) forced += "Forcing top level eval to true... 2\n";
  EXPECT_EQ(run("h = getNodeByName \"H\"\n"
                "h.CaptureProperties 5001 0; h.CaptureAllProperties 5002 0; h.CaptureInitialProperties 0\n"
                "h.RestoreProperties 5000 1; h.RestoreAllProperties 5000 1; h.RestoreInitialProperties \"\"\n"
                "format \"% %\\n\" h.passlist h.propertyState.count"),
            forced + "Data to restore doesn't exist\n#(5000, 5001, 5002) 1\n");
}

}  // namespace
