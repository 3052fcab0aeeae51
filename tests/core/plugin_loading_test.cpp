#include "animatable.h"
#include "core/class_registry.h"
#include "core/plugin_loader.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string testModule(const std::string& name) { return std::string(QZM_TEST_PLUGIN_DIR) + "/" + name; }

// A plug-in folder with one good module, one without LibVersion, one from an older release, a text
// file with a module ending and a file the host does not look at.
class PluginFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(testModule("test_good_module.dlo"), dir.path() / "good.dlo");
    fs::copy_file(testModule("test_no_version.dlo"), dir.path() / "noversion.dlo");
    fs::copy_file(testModule("test_old_release.dlo"), dir.path() / "old.dlo");
    dir.write("notes.dlx", "this is not a module\n");
    dir.write("readme.txt", "ignored");
  }
  test::TempDir dir;
};

TEST_F(PluginFolder, LoadsTheGoodModuleAndReportsEachBadOneByFileName) {
  sim::PluginLoader loader;
  std::ostringstream errors;

  EXPECT_EQ(loader.loadFolder(dir.path().string(), errors), 1);

  ASSERT_EQ(loader.modules().size(), 1u);
  const sim::PluginModule& m = loader.modules()[0];
  EXPECT_EQ(m.fileName, "good.dlo");
  EXPECT_EQ(m.description, "Test module");
  EXPECT_EQ(m.version, 0x2EE02100u);
  std::string e = errors.str();
  EXPECT_NE(e.find("noversion.dlo: not a plug-in module (no LibVersion entry point)\n"), std::string::npos) << e;
  EXPECT_NE(e.find("old.dlo: version 0x23281500 is from another release"), std::string::npos) << e;
  EXPECT_NE(e.find("notes.dlx: not a plug-in module ("), std::string::npos) << e;
  EXPECT_EQ(e.find("readme.txt"), std::string::npos);
  loader.unloadAll();
}

TEST_F(PluginFolder, RegistersTheModulesClassesUntilItIsUnloaded) {
  sim::PluginLoader loader;
  std::ostringstream errors;
  loader.loadFolder(dir.path().string(), errors);

  auto& registry = sim::ClassRegistry::instance();
  ClassDesc* cd = registry.find(HELPER_CLASS_ID, Class_ID(0x7e570001, 0x1));
  ASSERT_NE(cd, nullptr);
  EXPECT_EQ(registry.findByName("testhelper"), cd);
  EXPECT_EQ(registry.findByInternalName("TESTHELPERINTERNAL"), cd);
  EXPECT_EQ(sim::createInstance(HELPER_CLASS_ID, Class_ID(0x7e570002, 0x1)), nullptr);
  auto* made = static_cast<Animatable*>(sim::createInstance(HELPER_CLASS_ID, Class_ID(0x7e570001, 0x1)));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->SuperClassID(), HELPER_CLASS_ID);
  made->DeleteThis();

  loader.unloadAll();
  EXPECT_EQ(registry.find(HELPER_CLASS_ID, Class_ID(0x7e570001, 0x1)), nullptr);
}

TEST_F(PluginFolder, AModuleIsLoadedOnceEvenUnderTwoPaths) {
  sim::PluginLoader loader;
  std::ostringstream errors;
  EXPECT_TRUE(loader.loadModule(dir.file("good.dlo"), errors));
  EXPECT_FALSE(loader.loadModule(dir.file("good.dlo"), errors));
  EXPECT_EQ(loader.modules().size(), 1u);
  loader.unloadAll();
}

TEST(PluginLoading, AMissingFolderIsReportedNotFatal) {
  sim::PluginLoader loader;
  std::ostringstream errors;
  EXPECT_EQ(loader.loadFolder("/nonexistent/plugins", errors), 0);
  EXPECT_NE(errors.str().find("cannot read the plug-in folder"), std::string::npos);
}

TEST_F(PluginFolder, TheHostStartsWithBadModulesAndListsTheGoodOnes) {
  auto r = test::runCommand(std::string(QZM_HOST_EXE) + " --plugins " + dir.path().string() + " --list-plugins");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "good.dlo\tTest module\t0x2EE02100\tTestHelper\n");
  EXPECT_NE(r.err.find("qzmhost: noversion.dlo: not a plug-in module"), std::string::npos) << r.err;
}

TEST(PluginLoading, TheHostListsTheFourModulesWithTheirVersionsAndClasses) {
  auto r = test::runCommand(std::string(QZM_HOST_EXE) + " --plugins " + QZM_PLUGIN_DIR + " --list-plugins");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "QZMMaterial.dlt\tMaterialHolder\t0x2AF81900\tQZMMaterial\n"
            "QZMPropHolder.dlo\tGrid\t0x2EE02100\tQZMPropHolder\n"
            "QZMdlx.dlx\tQZM Maxscript DLLs\t0x2EE02100\t(no classes)\n"
            "Tacitrun.dlx\tTacitrun Maxscript Extension\t0x2EE02100\t(no classes)\n");
}

}  // namespace
