// Strings and the module handle, through the material module as the host loads it. The same tests
// run in the Windows build against the system's LoadString, so both hosts answer alike.
#include "os/dynamic_library.h"
#include "plugapi.h"
#include "win_ui.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class MaterialModule : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    module_ = sim::os::openLibrary(std::string(QZM_PLUGIN_DIR) + "/QZMMaterial.dlt", error);
    ASSERT_TRUE(module_) << error;
  }
  void TearDown() override { sim::os::closeLibrary(module_); }
  HINSTANCE instance() const { return static_cast<HINSTANCE>(module_); }

  void* module_ = nullptr;
};

TEST_F(MaterialModule, LearnsItsHandleInDllMainAndGivesItAsTheClassesInstance) {
  auto classDesc = reinterpret_cast<ClassDesc* (*)(int)>(sim::os::findSymbol(module_, "LibClassDesc"));
  ASSERT_TRUE(classDesc);
  EXPECT_EQ(classDesc(0)->HInstance(), instance());
}

TEST_F(MaterialModule, LoadStringCopiesTheTextWithItsTerminatingZero) {
  char buffer[64];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(LoadString(instance(), 4, buffer, sizeof buffer), 20);
  EXPECT_STREQ(buffer, "QZMMaterial Per Pass");
  // Only the low 16 bits of the id count.
  EXPECT_EQ(LoadString(instance(), 0x10000 + 24, buffer, sizeof buffer), 4);
  EXPECT_STREQ(buffer, "None");
}

TEST_F(MaterialModule, LoadStringCutsTheTextToTheBuffer) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(LoadString(instance(), 4, buffer, 5), 4);
  EXPECT_STREQ(buffer, "QZMM");
  EXPECT_EQ(buffer[5], 'x');

  buffer[0] = 'x';
  EXPECT_EQ(LoadString(instance(), 4, buffer, 1), 0);
  EXPECT_EQ(buffer[0], '\0');
}

TEST_F(MaterialModule, LoadStringOfAMissingIdGivesAnEmptyBuffer) {
  char buffer[8] = "xxxxxxx";
  EXPECT_EQ(LoadString(instance(), 6, buffer, sizeof buffer), 0);
  EXPECT_EQ(buffer[0], '\0');
}

TEST_F(MaterialModule, LoadStringIntoNoBufferWritesNothing) {
  char buffer[4] = "xxx";
  EXPECT_EQ(LoadString(instance(), 4, buffer, 0), -1);
  EXPECT_STREQ(buffer, "xxx");
}

}  // namespace
