#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string host() { return std::string(QZM_HOST_EXE) + " --plugins " + QZM_PLUGIN_DIR; }

TEST(HostModes, AnExpressionOnTheCommandLinePrintsItsValue) {
  auto r = test::runCommand(host() + " -e '1 + 2'");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "3\n");
  auto bad = test::runCommand(host() + " -e 'undefined + 1'");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "-- No \"+\" function for undefined\n");
}

TEST(HostModes, TheListenerReadsExpressionsThatSpanLinesAndGoesOnAfterAnError) {
  auto r = test::runCommand("printf '1 +\\n2\\nundefined.x\\nx = (\\n 4 )\\n' | " + host());
  EXPECT_EQ(r.out, "3\n4\n");
  EXPECT_EQ(r.err, "-- Unknown property: \"x\" in undefined\n");
  EXPECT_EQ(r.status, 1);
}

TEST(HostModes, AMissingScriptFileIsAClearError) {
  auto r = test::runCommand(host() + " /nonexistent/script.ms");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "-- Runtime error: cannot open script file: /nonexistent/script.ms\n");
}

TEST(HostModes, AFolderOrAnEndlessInputIsNoScriptFile) {
  test::TempDir dir;
  auto folder = test::runCommand(host() + " " + dir.path().string());
  EXPECT_EQ(folder.status, 1);
  EXPECT_EQ(folder.err, "-- Runtime error: cannot open script file: " + dir.path().string() + "\n");
#ifndef _WIN32
  auto endless = test::runCommand(host() + " /dev/zero");
  EXPECT_EQ(endless.status, 1);
  EXPECT_EQ(endless.err, "-- Runtime error: File larger than 64 MB: \"/dev/zero\"\n");
#endif
}

}  // namespace
