// A test suite that has the holder's module loaded, once for all of its tests, as the host loads it
// from the plug-in folder.
#pragma once

#include "core/plugin_loader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace test {

class HolderModuleSuite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    loader_ = new sim::PluginLoader;
    std::ostringstream errors;
    loader_->loadModule(std::string(QZM_PLUGIN_DIR) + "/QZMPropHolder.dlo", errors);
    ASSERT_EQ(errors.str(), "");
  }
  static void TearDownTestSuite() {
    loader_->unloadAll();
    delete loader_;
    loader_ = nullptr;
  }

  static inline sim::PluginLoader* loader_ = nullptr;
};

}  // namespace test
