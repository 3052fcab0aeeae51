// qzmhost render on a scene saved by a script in the same test: the images a script's render gives,
// stamped, and bad input refused before anything is written.
#include "bitmap/image_files.h"
#include "support/image_pixels.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string host() { return std::string(QZM_HOST_EXE) + " --plugins " + QZM_PLUGIN_DIR; }

// A box seen by two cameras, with a holder: the initial state, pass 5001 (the box red and moved,
// animated over frames 0 to 10) and pass 5002 (the box not rendered).
const char* kScene = R"(struct QZMCapturePropsStruct (doAddMaterial = false)
global QZMCaptureProps = QZMCapturePropsStruct()
b = box name:"Box01" length:40 width:40 height:40 wirecolor:(color 40 200 40)
front = targetCamera name:"Front" pos:[0, -150, 60] target:(targetObject name:"Front target" pos:[0, 0, 20])
side = targetCamera name:"Side" pos:[150, 0, 60] target:(targetObject name:"Side target" pos:[0, 0, 20])
h = QZMPropHolder(); h.name = "Box holder"; h.node = b
h.propertyName = #("renderable", "wirecolor", "position")
h.CaptureInitialProperties 0
b.wirecolor = color 220 30 30
with animate on (at time 0 b.pos = [-20, 0, 0]; at time 10 b.pos = [20, 0, 0])
h.CaptureProperties 5001 0
b.renderable = false
h.CaptureProperties 5002 0
)";

class RenderCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!sim::imageFilesAvailable()) GTEST_SKIP() << "this build reads and writes no image files";
  }
  // Saves the scene; `then` runs after it has been loaded back (a render by script, say).
  std::string save(const std::string& then = "") {
    const std::string scene = dir_.file("scene.qzmscene");
    dir_.write("make.ms", std::string(kScene) + "saveMaxFile \"" + scene + "\"\nresetMaxFile #noPrompt\nloadMaxFile \"" +
                              scene + "\"\n" + then + "\n");
    auto r = test::runCommand(host() + " " + dir_.file("make.ms"));
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    return scene;
  }
  test::CommandResult run(const std::string& args) { return test::runCommand(host() + " render " + args); }
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir_.path() / "out")) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  test::TempDir dir_;
};

TEST_F(RenderCommand, WritesEachFrameWithThePixelsOfARenderByScript) {
  const std::string scene = save(
      "$'Box holder'.RestoreAllProperties 5001 1\n"
      "for f in #(3, 4) do render camera:$Side outputwidth:40 outputheight:30 frame:f vfb:false outputfile:(\"" +
      dir_.file("script_") + "\" + (f as string) + \".png\")");
  std::filesystem::create_directory(dir_.path() / "out");
  auto r = run(scene + " --pass 5001 --frames 3-4 --camera Side --width 40 --out " + dir_.file("out/box_###.png"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(files(), (std::vector<std::string>{"box_003.png", "box_004.png"}));
  for (int f : {3, 4}) {
    test::ImagePixels command = test::readPixels(dir_.file("out/box_00" + std::to_string(f) + ".png"));
    EXPECT_EQ(command.width, 40);
    EXPECT_EQ(command.height, 30);
    EXPECT_FALSE(command.rgba.empty());
    EXPECT_TRUE(command == test::readPixels(dir_.file("script_" + std::to_string(f) + ".png"))) << "frame " << f;
  }
  // The frames differ: the box moves.
  EXPECT_FALSE(test::readPixels(dir_.file("out/box_003.png")) == test::readPixels(dir_.file("out/box_004.png")));
  EXPECT_EQ(r.out, "qzmhost render: " + scene + ", pass 5001, camera 'Side', frames 3-4 at 40 x 30\n"
                   "qzmhost render: frame 3 written to " + dir_.file("out/box_003.png") + r.out.substr(r.out.find(" (1 of 2, ")));
}

TEST_F(RenderCommand, StampsScenePassFrameAndCameraBesideThePixels) {
  const std::string scene = save();
  std::filesystem::create_directory(dir_.path() / "out");
  auto r = run(scene + " --pass initial --frames 7 --height 12 --out " + dir_.file("out/still.png"));
  ASSERT_EQ(r.status, 0) << r.err;
  sim::ImageFileTags tags;
  BMMRES status = BMMRES_SUCCESS;
  ASSERT_TRUE(sim::readImageFileTags(dir_.file("out/still.png"), tags, status));
  auto tag = [&](const std::string& name) {
    for (const auto& [n, v] : tags)
      if (n == name) return v;
    return std::string("(missing)");
  };
  EXPECT_EQ(tag("qzm:scene"), scene);
  EXPECT_EQ(tag("qzm:pass"), "initial");
  EXPECT_EQ(tag("qzm:frame"), "7");
  EXPECT_EQ(tag("qzm:camera"), "Front");  // the scene's first camera
  EXPECT_EQ(tag("ImageDescription"), "qzmhost render: scene " + scene + ", the initial state, frame 7, camera Front");
  EXPECT_EQ(test::readPixels(dir_.file("out/still.png")).width, 16);
}

TEST_F(RenderCommand, RefusesBadInputWithItsReasonAndWritesNothing) {
  const std::string scene = save();
  std::filesystem::create_directory(dir_.path() / "out");
  const std::string out = " --out " + dir_.file("out/f_##.png");
  struct Case {
    std::string args, error;
  };
  const std::vector<Case> cases = {
      {scene + " --pass 5003 --frames 0-1" + out, scene + ": the scene has no pass 5003 (its passes: 5001 5002)"},
      {scene + " --pass 5001 --frames 0-1 --camera Box01" + out, scene + ": the scene has no camera 'Box01' (its cameras: 'Front', 'Side')"},
      {scene + " --pass 5001 --frames 4-2" + out, "the frame range '4-2' is reversed: it ends before it starts"},
      {scene + " --pass 5001 --frames ''" + out, "the frame range is empty (give A-B, or one frame A)"},
      {scene + " --pass 5001 --frames 1-" + out, "the frame range '1-' is not one (give A-B, or one frame A)"},
      {scene + " --pass 5001 --frames 0-1 --out " + dir_.file("out/f.png"),
       "the output '" + dir_.file("out/f.png") + "' has no run of # for the frame number, so 2 frames would overwrite each other"},
      {scene + " --pass 5001 --frames 0-1 --out " + dir_.file("none/f_#.png"), "the output folder '" + dir_.file("none") + "' does not exist"},
      {scene + " --pass 5001 --frames 0-1 --out " + dir_.file("make.ms/f_#.png"),
       "the output folder '" + dir_.file("make.ms") + "' does not exist"},
      {scene + " --pass 5001 --frames 0-1 --out " + dir_.file("out/f_#.txt"),
       "the output '" + dir_.file("out/f_#.txt") + "' does not end in an image file ending (.png .jpg"},
      {scene + " --pass 5001 --width 0" + out, "cannot render an image of 0 x 1 pixels"},
      {scene + " --pass 5001 --height 20000" + out, "cannot render an image of 26666 x 20000 pixels"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    auto r = run(c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("qzmhost render: " + c.error, 0), 0u) << r.err;
  }
  // A damaged scene, and a file that is none.
  std::ifstream in(scene, std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(in)), {});
  dir_.write("cut.qzmscene", whole.substr(0, whole.size() / 2));
  auto cut = run(dir_.file("cut.qzmscene") + " --pass 5001 --frames 0" + out);
  EXPECT_EQ(cut.status, 2);
  EXPECT_NE(cut.err.find("scene file is damaged at byte"), std::string::npos) << cut.err;
  auto foreign = run(dir_.file("make.ms") + " --pass 5001 --frames 0" + out);
  EXPECT_EQ(foreign.status, 2);
  EXPECT_EQ(foreign.err, "qzmhost render: " + dir_.file("make.ms") + ": not a scene file\n");
  EXPECT_EQ(files(), std::vector<std::string>{});
}

}  // namespace
