// What the command runner answers when the system fails it: a child that cannot be started, a pipe
// that cannot be made or breaks, a handle that cannot be copied, a wait that fails. The host fails
// those calls on demand (os/injected_failures.h); the children are qzm_test_writer.
#include "os/injected_failures.h"
#include "shellrun/dos_command_fixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <string>

namespace {

using namespace test::shellrun;
using sim::os::SystemCall;

// The system's own error numbers for the failures, as each system reports them.
#if defined(_WIN32)
constexpr int kFileNotFound = 2, kTooManyFiles = 4, kBrokenPipe = 109, kInvalidHandle = 6;
#else
constexpr int kFileNotFound = ENOENT, kTooManyFiles = EMFILE, kBrokenPipe = EPIPE, kInvalidHandle = EBADF;
#endif

// The command line the runner prints in its error lines for a command of the test writer.
std::string commandLineOf(const std::string& command) { return kInterpreter + "\"" + command + "\""; }

class DosCommandFailure : public DosCommand {
 protected:
  void TearDown() override { sim::os::clearInjectedFailures(); }

  // Runs `script` with the script output going to a stream of its own, which ClearListener() does
  // not empty: everything the runner printed, and what it wrote to the C library's standard output.
  struct Printed {
    std::string script;
    std::string standardOutput;
  };
  static Printed printedBy(const std::string& script) {
    StringStream out;
    CharStream* previous = thread_local(current_stdout);
    thread_local(current_stdout) = &out;
    ::testing::internal::CaptureStdout();
    ExecuteMAXScriptScript(script.c_str(), TRUE);
    Printed printed{"", ::testing::internal::GetCapturedStdout()};
    thread_local(current_stdout) = previous;
    printed.script = out.text();
    return printed;
  }
};

TEST_F(DosCommandFailure, AChildThatCannotBeStartedPrintsTheErrorLineAndAnswersFalse) {
  std::string command = writer("count 3");
  sim::os::failNextCalls(SystemCall::CreateProcess, kFileNotFound);
  EXPECT_EQ(listenerAfter("print (QZMDOSCommand " + literal(command) + ")"),
            "earlier text\nQZMDosCommand Error: " + commandLineOf(command) + "\nfalse\n");
  sim::os::failNextCalls(SystemCall::CreateProcess, kFileNotFound);
  EXPECT_EQ(listenerAfter("print (QZMDOSCommandReturn " + literal(command) + ")"),
            "QZMDosCommandReturn Error: " + commandLineOf(command) + "\nfalse\n");
}

TEST_F(DosCommandFailure, AWaitThatFailsPrintsTheErrorLineAndAnswersFalse) {
  std::string command = writer("count 0");
  sim::os::failNextCalls(SystemCall::WaitForSingleObject, kInvalidHandle);
  EXPECT_EQ(listenerAfter("print (QZMDOSCommand " + literal(command) + ")"),
            "earlier text\nQZMDosCommand Error: " + commandLineOf(command) + "\nfalse\n");
  sim::os::failNextCalls(SystemCall::WaitForSingleObject, kInvalidHandle);
  EXPECT_EQ(listenerAfter("print (QZMDOSCommandReturn " + literal(command) + ")"),
            "QZMDosCommandReturn Error: " + commandLineOf(command) + "\nfalse\n");
}

TEST_F(DosCommandFailure, WithoutAPipeTheRunnerSaysSoAndTheCommandStillRunsWithItsOutputLost) {
  // Without a pipe there is nothing to copy either: both copies fail, the first one said on the C
  // library's standard output. The command's output goes nowhere; it ran, so the answer is true.
  sim::os::failNextCalls(SystemCall::CreatePipe, kTooManyFiles);
  Printed printed = printedBy("print (QZMDOSCommandReturn " + literal(writer("count 10")) + ")");
  EXPECT_EQ(printed.script, "CreatePipe Failed\nDuplicateHandle failedtrue\n");
  EXPECT_EQ(printed.standardOutput, "DuplicateHandle");
}

TEST_F(DosCommandFailure, WhenTheWriteEndCannotBeCopiedOnlyStandardErrorIsLost) {
  sim::os::failNextCalls(SystemCall::DuplicateHandle, kTooManyFiles);
  Printed printed = printedBy("print (QZMDOSCommandReturn " + literal(writer("count 10")) + ")");
  EXPECT_EQ(printed.script, "abcdefghij\ntrue\n");
  EXPECT_EQ(printed.standardOutput, "DuplicateHandle");

  sim::os::failNextCalls(SystemCall::DuplicateHandle, kTooManyFiles);
  EXPECT_EQ(listenerAfter("print (QZMDOSCommandReturn " + literal(writer("stderr oops")) + ")"), "true\n");
}

TEST_F(DosCommandFailure, WhenTheReadEndCannotBeCopiedNothingIsReadAndTheCommandStillEnds) {
  sim::os::failNextCalls(SystemCall::DuplicateHandle, kTooManyFiles, 1, 1);
  Printed printed = printedBy("print (QZMDOSCommandReturn " + literal(writer("count 10")) + ")");
  EXPECT_EQ(printed.script, "DuplicateHandle failedtrue\n");
  EXPECT_EQ(printed.standardOutput, "");
}

TEST_F(DosCommandFailure, APipeThatBreaksLosesTheOutputButTheRunnerWaitsForTheEnd) {
  for (SystemCall broken : {SystemCall::PeekNamedPipe, SystemCall::ReadFile}) {
    sim::os::failNextCalls(broken, kBrokenPipe, UINT_MAX);
    EXPECT_EQ(listenerAfter("print (QZMDOSCommandReturn " + literal(writer("count 10")) + ")"), "true\n");
    sim::os::clearInjectedFailures();
  }
}

TEST_F(DosCommandFailure, AReadThatFailsWhileTheCommandRunsIsTriedAgainAndNothingIsLost) {
  // The command goes on running after its output, so the failed read is not the last one.
  sim::os::failNextCalls(SystemCall::ReadFile, kBrokenPipe);
  EXPECT_EQ(listenerAfter("print (QZMDOSCommandReturn " + literal(writer("count 2000 300")) + ")"),
            inChunks(alphabet(2000)) + "true\n");
}

}  // namespace
