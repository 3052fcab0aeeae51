// qzmhost --scene: the scene is open before the script or expression runs.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string host() { return std::string(QZM_HOST_EXE) + " --plugins " + QZM_PLUGIN_DIR; }

TEST(SceneOption, OpensTheSavedSceneBeforeTheExpressionRuns) {
  test::TempDir dir;
  const std::string file = dir.file("two.max");
  auto saved = test::runCommand(host() + " -e '(box name:\"A\"; sphere name:\"B\"; saveMaxFile \"" + file + "\")'");
  ASSERT_EQ(saved.status, 0) << saved.err;
  auto r = test::runCommand(host() + " --scene " + file + " -e '(for o in objects collect o.name)'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "#(\"A\", \"B\")\n");
}

TEST(SceneOption, AFileThatIsNotASceneEndsTheHostWithItsReason) {
  test::TempDir dir;
  dir.write("text.max", "just text, long enough to have a header\n");
  auto r = test::runCommand(host() + " --scene " + dir.file("text.max") + " -e '1'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "qzmhost: " + dir.file("text.max") + ": not a scene file\n");
}

}  // namespace
