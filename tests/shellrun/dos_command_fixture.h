// What the command runner's tests share: the Tacitrun module loaded once per suite, the test
// writer's command lines and the Listener texts they produce.
#pragma once

#include "core/plugin_loader.h"
#include "maxscript/maxscript.h"
#include "script/listener_stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

namespace test::shellrun {

// Every host runs a command through the Windows command interpreter's line.
inline const std::string kInterpreter = "cmd /e:on /d /c ";

// `text` as a script string literal.
inline std::string literal(const std::string& text) {
  std::string s = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') s += '\\';
    s += c;
  }
  return s + "\"";
}

// A command that runs the test writer with `args` (the writer's path quoted, as a path with spaces
// would need).
inline std::string writer(const std::string& args) {
  std::string path = std::filesystem::absolute(QZM_TEST_WRITER).make_preferred().string();
  return "\"" + path + "\" " + args;
}

// What `count N` writes: the alphabet, repeated.
inline std::string alphabet(size_t n) {
  std::string s(n, ' ');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + i % 26);
  return s;
}

// The Listener's text for an output of `bytes`: one line per 1023 bytes.
inline std::string inChunks(const std::string& bytes) {
  std::string s;
  for (size_t at = 0; at < bytes.size(); at += 1023) s += bytes.substr(at, 1023) + "\n";
  return s;
}

class DosCommand : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    loader_ = new sim::PluginLoader;
    std::ostringstream errors;
    loader_->loadModule(std::string(QZM_PLUGIN_DIR) + "/Tacitrun.dlx", errors);
    ASSERT_EQ(errors.str(), "");
  }
  static void TearDownTestSuite() {
    loader_->unloadAll();
    delete loader_;
  }

  // Runs `script` on a Listener that holds some text already; the Listener's text afterwards.
  static std::string listenerAfter(const std::string& script) {
    sim::listenerStream()->clear();
    the_listener->edit_stream->puts("earlier text\n");
    ExecuteMAXScriptScript(script.c_str(), FALSE);
    return sim::listenerStream()->text();
  }

  static inline sim::PluginLoader* loader_ = nullptr;
};

}  // namespace test::shellrun
