// qzmhost passes and qzmhost verify on scenes saved by a script in the same test.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string host() { return std::string(QZM_HOST_EXE) + " --plugins " + QZM_PLUGIN_DIR; }

// A box with a holder: the initial state and two passes, then `edit`, saved as scene.qzmscene.
const char* kScene = R"(struct QZMCapturePropsStruct (doAddMaterial = false)
global QZMCaptureProps = QZMCapturePropsStruct()
b = box name:"Box01" wirecolor:(color 255 0 0)
b.height.controller = bezier_float()
with animate on at time 10 b.height = 40
h = QZMPropHolder(); h.name = "Box holder"; h.node = b
h.propertyName = #("renderable", "wirecolor", "position", "height", "UserPropBuffer")
h.CaptureInitialProperties 0
b.renderable = false; b.pos = [5, 0, 0]; setUserPropBuffer b "pass = one"
h.CaptureProperties 5001 0
b.wirecolor = color 0 0 255; b.pos = [0, 7, 0]
h.CaptureProperties 5002 0
sep = bit.intAsChar 1
)";

class SceneCommands : public ::testing::Test {
 protected:
  std::string save(const std::string& edit = "") {
    dir_.write("make.ms", std::string(kScene) + edit + "\nsaveMaxFile \"" + dir_.file("scene.qzmscene") + "\"\n");
    auto r = test::runCommand(host() + " " + dir_.file("make.ms"));
    EXPECT_EQ(r.status, 0) << r.err;
    return dir_.file("scene.qzmscene");
  }
  test::CommandResult run(const std::string& args) { return test::runCommand(host() + " " + args); }
  std::string bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  test::TempDir dir_;
};

TEST_F(SceneCommands, PassesPrintsEveryStateOfEveryRecordedPropertyWithoutChangingTheFile) {
  const std::string file = save();
  const std::string before = bytes(file);
  auto r = run("passes " + file);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, file + ": 1 holder, 2 passes 5001 5002\n"
                   "\n"
                   "Box01 (holder 'Box holder')\n"
                   "  property        initial                           5001                              5002\n"
                   "  renderable      true                              false                             false\n"
                   "  wirecolor       (color 255 0 0)                   (color 255 0 0)                   (color 0 0 255)\n"
                   "  position        [0,0,0] (animated: Position_XYZ)  [5,0,0] (animated: Position_XYZ)  [0,7,0] (animated: Position_XYZ)\n"
                   "  height          25 (animated: bezier_float)       25 (animated: bezier_float)       25 (animated: bezier_float)\n"
                   "  UserPropBuffer  \"\"                                \"pass = one\"                      \"pass = one\"\n");
  EXPECT_EQ(bytes(file), before);
}

TEST_F(SceneCommands, PassesWritesJsonAndCsvForTools) {
  const std::string file = save();
  auto json = run("passes --json " + file + " --pass 5001");
  EXPECT_EQ(json.status, 0) << json.err;
  EXPECT_NE(json.out.find("{\"property\":\"renderable\",\"pass\":5001,\"kind\":\"boolean\",\"value\":false,\"text\":\"0\","
                          "\"class\":\"bool\",\"animated\":false}"),
            std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("{\"property\":\"height\",\"pass\":5001,\"kind\":\"number\",\"value\":25,\"text\":\"25.000000\","
                          "\"class\":\"float\",\"animated\":true,\"controller\":{\"class\":\"bezier_float\","
                          "\"address\":\"$'Box holder'.propertyFloatController[1][4]\"}}"),
            std::string::npos)
      << json.out;
  EXPECT_EQ(json.out.find("\"pass\":5002"), std::string::npos);
  EXPECT_EQ(json.out.find("\"pass\":\"initial\""), std::string::npos);
  auto csv = run("passes --csv " + file);
  EXPECT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(csv.out.substr(0, csv.out.find('\n') + 1),
            "holder,node,property,pass,kind,value,text,class,animated,controller_class,controller_address\n");
  EXPECT_NE(csv.out.find("Box holder,Box01,wirecolor,5002,colour,(color 0 0 255),16711680,Name,0,,\n"), std::string::npos);
  EXPECT_NE(csv.out.find("Box holder,Box01,position,initial,point3,\"[0,0,0]\",\"[0.000000,0.000000,0.000000]\",point3,1,"),
            std::string::npos);
}

TEST_F(SceneCommands, BadInputEndsWithItsReasonAndWritesNothing) {
  const std::string file = save();
  auto pass = run("passes " + file + " --pass 5003");
  EXPECT_EQ(pass.status, 2);
  EXPECT_EQ(pass.out, "");
  EXPECT_EQ(pass.err, "qzmhost passes: " + file + ": the scene has no pass 5003 (its passes: 5001 5002)\n");

  dir_.write("foreign.qzmscene", "just some text, long enough to have a header\n");
  auto foreign = run("verify " + dir_.file("foreign.qzmscene"));
  EXPECT_EQ(foreign.status, 2);
  EXPECT_EQ(foreign.out, "");
  EXPECT_EQ(foreign.err, "qzmhost verify: " + dir_.file("foreign.qzmscene") + ": not a scene file\n");

  const std::string whole = bytes(file);
  dir_.write("cut.qzmscene", whole.substr(0, whole.size() / 2));
  auto cut = run("passes --json " + dir_.file("cut.qzmscene"));
  EXPECT_EQ(cut.status, 2);
  EXPECT_EQ(cut.out, "");
  EXPECT_NE(cut.err.find("scene file is damaged at byte"), std::string::npos) << cut.err;
  EXPECT_EQ(bytes(dir_.file("cut.qzmscene")), whole.substr(0, whole.size() / 2));

  // A command line the host cannot read is a usage error like the others, whatever the library says.
  for (const std::string& line : {std::string("passes"), "verify --bogus " + file, file + " passes --pass"}) {
    auto usage = run(line);
    EXPECT_EQ(usage.status, 2) << line;
    EXPECT_EQ(usage.out, "") << line;
    EXPECT_NE(usage.err, "") << line;
  }
}

TEST_F(SceneCommands, PassesNamesTheHolderWhoseTablesDisagreeAndStillReadsTheRest) {
  const std::string file = save("h.propertyClass[2] = \"bool\" + sep\nh.passlist = #(5001, 5002, 5001)");
  auto r = run("passes " + file);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("  renderable      true "), std::string::npos) << r.out;
  const std::string at = "qzmhost passes: " + file + ": holder 'Box holder' ";
  EXPECT_EQ(r.err, at + "has the record of pass 5002 with 5 value fields, 1 class fields and 5 animated fields\n" + at +
                       "has property 'wirecolor' of the record of pass 5002 stored as \"16711680\", which is without a "
                       "class tag\n" + at +
                       "has property 'position' of the record of pass 5002 stored as \"[0.000000,7.000000,0.000000]\", "
                       "which is without a class tag\n" + at +
                       "has property 'height' of the record of pass 5002 stored as \"25.000000\", which is without a "
                       "class tag\n" + at +
                       "has property 'height' of the record of pass 5002 marked animated, but no controller is stored for "
                       "it\n" + at + "lists pass 5001 twice; a switch uses the first\n");
}

TEST_F(SceneCommands, VerifyFindsACleanSceneClean) {
  const std::string file = save();
  const std::string before = bytes(file);
  auto r = run("verify " + file);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, file + ": 1 holder, 2 passes and the initial state, 15 recorded values: no drift, round trip clean\n");
  EXPECT_EQ(r.err, "");  // no progress line: standard error is no terminal here
  EXPECT_EQ(bytes(file), before);
}

TEST_F(SceneCommands, VerifyReportsARecordThatASwitchCannotPutBack) {
  const std::string file =
      save("h.propertyState[1] = \"0\" + sep + \"255\" + sep + \"[5.000000,0.000000,oops]\" + sep + \"25.000000\" + sep + "
           "\"pass = one\" + sep");
  auto r = run("verify --json " + file);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\"drift\":[\n {\"node\":\"Box01\",\"holder\":\"Box holder\",\"property\":\"position\",\"pass\":5001,"
                       "\"recorded\":\"unreadable \\\"[5.000000,0.000000,oops]\\\" (animated: Position_XYZ)\","
                       "\"found\":\"[0,7,0] (animated: Position_XYZ)\"}],\n\"roundTrip\":true"),
            std::string::npos)
      << r.out;
}

TEST_F(SceneCommands, VerifyReportsEveryValueOfAHolderWhoseNodeIsGone) {
  const std::string file = save("delete b");
  auto r = run("verify " + file);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("drift: node '(missing)' (holder 'Box holder'), wirecolor, pass 5002: recorded (color 0 0 255), "
                       "found no node\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("15 recorded values: 15 drifted"), std::string::npos);
}

TEST_F(SceneCommands, VerifySeesASwitchRelinkTheRecordedControllerAndNamesOneThatIsLost) {
  // The node's controller changed after the capture: every switch links the recorded one again.
  auto changed = run("verify " + save("b.height.controller = bezier_float(); b.height = 60"));
  EXPECT_EQ(changed.status, 0) << changed.out << changed.err;
  // The controller stored for a pass replaced by one that is no list: nothing can be relinked.
  const std::string file = save("h.propertyFloatController[2] = bezier_float()");
  auto lost = run("verify " + file);
  EXPECT_EQ(lost.status, 1);
  EXPECT_EQ(lost.err, "qzmhost verify: " + file + ": holder 'Box holder' has property 'height' of the record of pass "
                      "5002 marked animated, but no controller is stored for it\n");
}

}  // namespace
