// The command runner's script functions, called from script with the Tacitrun module loaded, as the
// pass manager calls them. Children are qzm_test_writer, which writes the same bytes on every
// system, or the interpreter's own commands where cmd and sh agree.
#include "core/core_interface.h"
#include "shellrun/dos_command_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#if defined(__linux__)
#  include <sys/wait.h>
#  include <cerrno>
#endif

namespace {

using namespace test::shellrun;

TEST_F(DosCommand, ReturnEmptiesTheListenerAndPrintsASmallOutputWithALineBreak) {
  EXPECT_EQ(listenerAfter("print (QZMDOSCommandReturn " + literal(writer("count 10")) + ")"), "abcdefghij\ntrue\n");
}

TEST_F(DosCommand, ReturnPrintsTheOutputInChunksOf1023BytesEachOnItsOwnLine) {
  for (size_t n : {1022, 1023, 1024, 1500, 2046, 3070}) {
    std::string text = listenerAfter("QZMDOSCommandReturn " + literal(writer("count " + std::to_string(n))));
    EXPECT_EQ(text, inChunks(alphabet(n))) << n << " bytes";
  }
  EXPECT_EQ(inChunks(alphabet(1500)), alphabet(1023) + "\n" + alphabet(1500).substr(1023) + "\n");
}

TEST_F(DosCommand, ReturnPrintsNothingForACommandWithoutOutput) {
  EXPECT_EQ(listenerAfter("QZMDOSCommandReturn " + literal(writer("count 0"))), "");
}

TEST_F(DosCommand, AZeroByteEndsTheTextOfItsChunkAndOtherBytesPassUnchanged) {
  // "ab", a zero byte, "cd", then bytes that are no UTF-8 text.
  EXPECT_EQ(listenerAfter("QZMDOSCommandReturn " + literal(writer("bytes 61 62 00 63 64"))), "ab\n");
  EXPECT_EQ(listenerAfter("QZMDOSCommandReturn " + literal(writer("bytes ff fe c3 28 0a"))), "\xff\xfe\xc3(\n\n");
}

TEST_F(DosCommand, ReturnCapturesStandardErrorAsWell) {
  EXPECT_EQ(listenerAfter("QZMDOSCommandReturn " + literal(writer("stderr oops"))), "oops\n");
}

TEST_F(DosCommand, ABigOutputIsDeliveredWholeWhileTheCommandRuns) {
  // Far more than any pipe holds: the command can only end if we read while it runs.
  const size_t n = 8u << 20;
  std::string text = listenerAfter("QZMDOSCommandReturn " + literal(writer("count " + std::to_string(n))));
  ASSERT_EQ(text.size(), n + (n + 1022) / 1023);
  EXPECT_EQ(text, inChunks(alphabet(n)));
}

TEST_F(DosCommand, TheCommandsArgumentsKeepTheirInnerQuotes) {
  EXPECT_EQ(listenerAfter("QZMDOSCommandReturn " + literal(writer("args \"a b\" c"))), "a b|c\n");
}

TEST_F(DosCommand, StartpathIsTheCommandsWorkingDirectory) {
  test::TempDir dir;
  std::string path = std::filesystem::absolute(dir.path()).make_preferred().string();
  EXPECT_EQ(listenerAfter("QZMDOSCommandReturn " + literal(writer("cwd")) + " startpath:" + literal(path)),
            path + "\n");
}

TEST_F(DosCommand, AStartDirectoryThatDoesNotExistPrintsTheErrorLineWithTheCommandLine) {
  EXPECT_EQ(listenerAfter("print (QZMDOSCommand \"echo hi\" startpath:\"/no/such/folder\")"),
            "earlier text\nQZMDosCommand Error: " + kInterpreter + "\"echo hi\"\nfalse\n");
  // The capturing function empties the Listener whatever happens.
  EXPECT_EQ(listenerAfter("print (QZMDOSCommandReturn \"echo hi\" startpath:\"/no/such/folder\")"),
            "QZMDosCommandReturn Error: " + kInterpreter + "\"echo hi\"\nfalse\n");
}

TEST_F(DosCommand, ACommandLineTooLongToStartPrintsTheErrorLineWithAllOfIt) {
  std::string command = "echo " + std::string(40000, 'x');
  EXPECT_EQ(listenerAfter("print (QZMDOSCommandReturn " + literal(command) + ")"),
            "QZMDosCommandReturn Error: " + kInterpreter + "\"" + command + "\"\nfalse\n");
}

TEST_F(DosCommand, TheCommandLineWrapsTheTextInQuotesUnlessItIsQuotedAtBothEnds) {
  // Seen in the error line of a start that fails.
  auto commandLine = [](const std::string& text) {
    std::string out = listenerAfter("QZMDOSCommand " + literal(text) + " startpath:\"/no/such/folder\"");
    std::string prefix = "earlier text\nQZMDosCommand Error: ";
    return out.compare(0, prefix.size(), prefix) == 0 ? out.substr(prefix.size()) : out;
  };
  EXPECT_EQ(commandLine("\"/opt/my tools/run\""), kInterpreter + "\"/opt/my tools/run\"\n");
  EXPECT_EQ(commandLine(""), kInterpreter + "\"\"\n");
  EXPECT_EQ(commandLine("echo \"a b\""), kInterpreter + "\"echo \"a b\"\"\n");
  EXPECT_EQ(commandLine("\"run\" x"), kInterpreter + "\"\"run\" x\"\n");
  EXPECT_EQ(commandLine("\""), kInterpreter + "\"\n");
}

TEST_F(DosCommand, DonotwaitReturnsAtOnceAndReadsNothing) {
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(listenerAfter("print (QZMDOSCommandReturn " + literal(writer("sleep 4000")) + " donotwait:true)"),
            "true\n");
  EXPECT_EQ(listenerAfter("print (QZMDOSCommand " + literal(writer("sleep 4000")) + " donotwait:true)"),
            "earlier text\ntrue\n");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

// A stream that notes the status line each time something is written to it.
class PromptWitness : public StringStream {
 public:
  const TCHAR* puts(const TCHAR* str) override {
    prompts.push_back(sim::coreInterface()->prompt());
    return StringStream::puts(str);
  }
  std::vector<std::string> prompts;
};

TEST_F(DosCommand, TheStatusLineShowsThePromptWhileTheCommandRunsAndIsRestoredAfter) {
  size_t depth = sim::coreInterface()->promptDepth();
  PromptWitness out;
  CharStream* previous = thread_local(current_stdout);
  thread_local(current_stdout) = &out;
  std::string command = writer("count 5");
  ExecuteMAXScriptScript(("QZMDOSCommandReturn " + literal(command)).c_str(), TRUE);
  ExecuteMAXScriptScript(("QZMDOSCommandReturn " + literal(command) + " prompt:\"Rendering\"").c_str(), TRUE);
  thread_local(current_stdout) = previous;
  EXPECT_EQ(out.text(), "abcde\nabcde\n");
  EXPECT_EQ(out.prompts, (std::vector<std::string>{command, "Rendering"}));
  EXPECT_EQ(sim::coreInterface()->promptDepth(), depth);
}

#if defined(__linux__)
size_t openDescriptors() {
  size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

TEST_F(DosCommand, ManyCallsLeaveNoDescriptorAndNoChildProcessBehind) {
  const std::string calls[] = {
      "QZMDOSCommandReturn \"echo x\"",
      "QZMDOSCommand \"exit 0\"",
      "QZMDOSCommandReturn \"echo x\" startpath:\"/no/such/folder\"",
      "QZMDOSCommandReturn \"exit 0\" donotwait:true",
  };
  for (const std::string& c : calls) ExecuteMAXScriptScript(c.c_str(), TRUE);
  size_t before = openDescriptors();
  for (int i = 0; i < 1000; ++i) ExecuteMAXScriptScript(calls[i % 4].c_str(), TRUE);
  EXPECT_EQ(openDescriptors(), before);

  // A command still running after a call that did not wait is not a child of ours: it can end
  // without anyone waiting for it.
  ExecuteMAXScriptScript(("QZMDOSCommand " + literal(writer("sleep 300")) + " donotwait:true").c_str(), TRUE);
  errno = 0;
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}
#endif

}  // namespace
