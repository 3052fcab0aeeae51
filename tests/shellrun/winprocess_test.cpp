// The host's process services (host/winprocess.h) answer as the Windows calls do: the system's own
// on Windows, the POSIX host's elsewhere; the same tests hold for both.
#include "winprocess.h"

#include "os/injected_failures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// The interpreter's line, which a POSIX host runs in its shell.
const std::string kInterpreter = "cmd /e:on /d /c ";

std::string writerLine(const std::string& args) {
  return "\"" + std::filesystem::absolute(QZM_TEST_WRITER).make_preferred().string() + "\" " + args;
}

// A child whose standard output and error go into a pipe the test reads.
struct Child {
  explicit Child(const std::string& commandLine) {
    SECURITY_ATTRIBUTES sa{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    EXPECT_TRUE(CreatePipe(&reading, &writing, &sa, 0));
    STARTUPINFO si{};
    si.cb = sizeof(STARTUPINFO);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writing;
    si.hStdError = writing;
    std::string line = commandLine;
    started = CreateProcess(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
  }
  ~Child() {
    if (started) {
      WaitForSingleObject(pi.hProcess, INFINITE);
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
    CloseHandle(reading);
    if (writing) CloseHandle(writing);
  }
  HANDLE reading = nullptr, writing = nullptr;
  PROCESS_INFORMATION pi{};
  BOOL started = FALSE;
};

TEST(HostProcesses, PeekingShowsWaitingBytesAndReadingThenTakesThem) {
  Child child(writerLine("bytes 68 69 21"));
  ASSERT_TRUE(child.started);
  ASSERT_EQ(WaitForSingleObject(child.pi.hProcess, INFINITE), WAIT_OBJECT_0);

  char buf[8] = {};
  DWORD peeked = 0, total = 0;
  ASSERT_TRUE(PeekNamedPipe(child.reading, buf, 2, &peeked, &total, nullptr));
  EXPECT_EQ(peeked, 2u);
  EXPECT_EQ(total, 3u);
  EXPECT_EQ(std::string(buf, 2), "hi");
  ASSERT_TRUE(PeekNamedPipe(child.reading, nullptr, 0, nullptr, &total, nullptr));
  EXPECT_EQ(total, 3u);

  DWORD got = 0;
  ASSERT_TRUE(ReadFile(child.reading, buf, sizeof buf, &got, nullptr));
  // A read may stop at what the peek took out; the next one gets the rest.
  std::string text(buf, got);
  if (got < 3 && ReadFile(child.reading, buf, sizeof buf, &got, nullptr)) text.append(buf, got);
  EXPECT_EQ(text, "hi!");
  ASSERT_TRUE(PeekNamedPipe(child.reading, nullptr, 0, nullptr, &total, nullptr));
  EXPECT_EQ(total, 0u);
}

TEST(HostProcesses, ReadingFailsOnceEveryWritingEndIsClosedAndNothingWaits) {
  Child child(writerLine("bytes 41"));
  ASSERT_TRUE(child.started);
  WaitForSingleObject(child.pi.hProcess, INFINITE);
  CloseHandle(child.writing);
  child.writing = nullptr;
  char buf[4];
  DWORD got = 0;
  EXPECT_TRUE(ReadFile(child.reading, buf, sizeof buf, &got, nullptr));
  EXPECT_EQ(got, 1u);
  EXPECT_FALSE(ReadFile(child.reading, buf, sizeof buf, &got, nullptr));
  EXPECT_EQ(got, 0u);
  DWORD total = 7;
  EXPECT_FALSE(PeekNamedPipe(child.reading, nullptr, 0, nullptr, &total, nullptr));
}

TEST(HostProcesses, AWaitTimesOutWhileTheProcessRunsThenSeesItsEndAndExitCode) {
  Child sleeper(writerLine("sleep 400"));
  ASSERT_TRUE(sleeper.started);
  EXPECT_EQ(WaitForSingleObject(sleeper.pi.hProcess, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(sleeper.pi.hProcess, 20), WAIT_TIMEOUT);
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(sleeper.pi.hProcess, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_EQ(WaitForSingleObject(sleeper.pi.hProcess, INFINITE), WAIT_OBJECT_0);
  ASSERT_TRUE(GetExitCodeProcess(sleeper.pi.hProcess, &code));
  EXPECT_EQ(code, 0u);

  Child exiting(kInterpreter + "\"exit 3\"");
  ASSERT_TRUE(exiting.started);
  EXPECT_EQ(WaitForSingleObject(exiting.pi.hProcess, 10000), WAIT_OBJECT_0);
  ASSERT_TRUE(GetExitCodeProcess(exiting.pi.hProcess, &code));
  EXPECT_EQ(code, 3u);
}

TEST(HostProcesses, AMissingProgramOrDirectoryFailsTheStart) {
  STARTUPINFO si{};
  si.cb = sizeof(STARTUPINFO);
  PROCESS_INFORMATION pi{};
  std::string missing = "no-such-program-anywhere x";
  EXPECT_FALSE(CreateProcess(nullptr, missing.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  std::string fine = writerLine("count 1");
  EXPECT_FALSE(CreateProcess(nullptr, fine.data(), nullptr, nullptr, FALSE, 0, nullptr, "/no/such/folder", &si, &pi));
}

TEST(HostProcesses, ClosedOrMadeUpHandlesAreRefusedNotFollowed) {
  HANDLE reading = nullptr, writing = nullptr;
  ASSERT_TRUE(CreatePipe(&reading, &writing, nullptr, 0));
  HANDLE copy = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), writing, GetCurrentProcess(), &copy, 0, FALSE,
                              DUPLICATE_SAME_ACCESS));
  EXPECT_TRUE(CloseHandle(copy));
  EXPECT_TRUE(CloseHandle(writing));
  EXPECT_TRUE(CloseHandle(reading));

  char buf[4];
  DWORD got = 0;
  EXPECT_FALSE(CloseHandle(reading));
  EXPECT_FALSE(ReadFile(reading, buf, sizeof buf, &got, nullptr));
  EXPECT_FALSE(PeekNamedPipe(reading, buf, sizeof buf, &got, nullptr, nullptr));
  EXPECT_EQ(WaitForSingleObject(writing, 0), WAIT_FAILED);
  EXPECT_FALSE(DuplicateHandle(GetCurrentProcess(), reading, GetCurrentProcess(), &copy, 0, FALSE,
                               DUPLICATE_SAME_ACCESS));
}

TEST(HostProcesses, TheSystemReportsTheNtPlatformForTheRightStructureSizeOnly) {
  OSVERSIONINFO info{};
  info.dwOSVersionInfoSize = sizeof(OSVERSIONINFO);
  ASSERT_TRUE(GetVersionEx(&info));
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  info.dwOSVersionInfoSize = 12;
  EXPECT_FALSE(GetVersionEx(&info));
}

TEST(HostProcesses, AFailureAskedForByATestFailsExactlyTheCallsItNames) {
  // The second and third pipe fail; the first and fourth are made.
  sim::os::failNextCalls(sim::os::SystemCall::CreatePipe, 24, 2, 1);
  HANDLE pipes[4][2] = {};
  BOOL made[4];
  for (int i = 0; i < 4; ++i) made[i] = CreatePipe(&pipes[i][0], &pipes[i][1], nullptr, 0);
  EXPECT_TRUE(made[0] && made[3]);
  EXPECT_FALSE(made[1] || made[2]);
  for (auto& pipe : pipes)
    for (HANDLE h : pipe)
      if (h) CloseHandle(h);

  Child child(writerLine("count 0"));
  ASSERT_TRUE(child.started);
  sim::os::failNextCalls(sim::os::SystemCall::WaitForSingleObject, 6);
  EXPECT_EQ(WaitForSingleObject(child.pi.hProcess, INFINITE), WAIT_FAILED);
  EXPECT_EQ(WaitForSingleObject(child.pi.hProcess, INFINITE), WAIT_OBJECT_0);
  sim::os::clearInjectedFailures();
}

}  // namespace
