// The script extension library loaded with the plug-ins whose objects it makes, on an empty scene;
// scripts run on an empty Listener.
#pragma once

#include "core/core_interface.h"
#include "core/plugin_loader.h"
#include "maxscript/maxscript.h"
#include "script/listener_stream.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace test {

class ScriptLibrary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    loader_ = new sim::PluginLoader;
    std::ostringstream errors;
    for (const char* module : {"QZMdlx.dlx", "QZMPropHolder.dlo", "QZMMaterial.dlt"})
      loader_->loadModule(std::string(QZM_PLUGIN_DIR) + "/" + module, errors);
    ASSERT_EQ(errors.str(), "");
  }
  static void TearDownTestSuite() {
    loader_->unloadAll();
    delete loader_;
  }
  void SetUp() override { sim::coreInterface()->resetScene(); }
  void TearDown() override { sim::coreInterface()->resetScene(); }

  // What the Listener shows after `script` runs on an empty Listener.
  static std::string run(const std::string& script) {
    sim::listenerStream()->clear();
    ExecuteMAXScriptScript(script.c_str(), FALSE);
    return sim::listenerStream()->text();
  }
  // `text` as a script string literal (Windows paths hold backslashes).
  static std::string quoted(const std::string& text) {
    std::string s = "\"";
    for (char c : text) {
      if (c == '"' || c == '\\') s += '\\';
      s += c;
    }
    return s + "\"";
  }
  // The error text `call` raises ("" when it raises none).
  static std::string errorOf(const std::string& call) {
    return run("try (" + call + "; format \"\") catch (format \"%\" (getCurrentException()))");
  }

  static inline sim::PluginLoader* loader_ = nullptr;
};

}  // namespace test
