// Child processes on a POSIX host, with the observable behaviour of CreateProcess and its waits.
//
// A process may outlive its handles (a command started without waiting), yet the host must never
// keep a zombie nor block to reap one. So the host starts the program through the small program
// qzmwatch (os/process_watch.c, installed beside the host library): qzmwatch forks a watcher and
// exits at once, the host reaps it at once, and the watcher, which belongs to init from then on,
// starts the program, waits for it and writes its exit code into a status pipe. The status pipe is
// what a process handle waits on, with any time limit, like a Windows process object.
//
// The host itself never forks: it starts qzmwatch with posix_spawn, which does not copy the host.
// A fork would leave every page of the host copy-on-write, and each page it writes afterwards (the
// Listener filling with a command's output) would cost a fault.
#include "os/injected_failures.h"
#include "os/process_handles.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern char** environ;

namespace {

using sim::os::KernelObject;
using sim::os::ProcessState;

// Windows refuses longer command lines; the POSIX host does the same, so a script meets one limit.
constexpr size_t kMaxCommandLine = 32767;
// Where qzmwatch expects its pipes.
constexpr int kStatusFd = 3, kErrorFd = 4;

bool isProgram(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The file that `name` runs: itself when it holds a slash (relative to `directory`), else the first
// match on PATH. Empty when there is none.
std::string findProgram(const std::string& name, const std::string& directory) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) {
    std::string path = name[0] == '/' || directory.empty() ? name : directory + "/" + name;
    return isProgram(path) ? path : std::string();
  }
  const char* env = std::getenv("PATH");
  std::string search = env && *env ? env : "/usr/local/bin:/usr/bin:/bin";
  for (size_t start = 0; start <= search.size();) {
    size_t end = std::min(search.find(':', start), search.size());
    std::string dir(end > start ? std::string_view(search).substr(start, end - start) : std::string_view("."));
    if (dir[0] != '/' && !directory.empty()) dir = directory + "/" + dir;
    std::string path = dir + "/" + name;
    if (isProgram(path)) return path;
    start = end + 1;
  }
  return {};
}

// qzmwatch beside the library this code is in.
const std::string& watcherPath() {
  static const std::string path = [] {
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<void*>(&watcherPath), &info) || !info.dli_fname) return std::string();
    std::string library = info.dli_fname;
    size_t slash = library.rfind('/');
    return (slash == std::string::npos ? std::string(".") : library.substr(0, slash)) + "/qzmwatch";
  }();
  return path;
}

bool makePipe(int fds[2]) {
#if defined(__linux__)
  return ::pipe2(fds, O_CLOEXEC) == 0;
#else
  if (::pipe(fds) != 0) return false;
  ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
  ::fcntl(fds[1], F_SETFD, FD_CLOEXEC);
  return true;
#endif
}

void closeAll(std::initializer_list<int> fds) {
  for (int fd : fds)
    if (fd >= 0) ::close(fd);
}

// Reads exactly `n` bytes; false at the end of the pipe before that.
bool readAll(int fd, void* buf, size_t n) {
  auto* p = static_cast<char*>(buf);
  while (n > 0) {
    ssize_t got = ::read(fd, p, n);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    p += got;
    n -= static_cast<size_t>(got);
  }
  return true;
}

// Starts qzmwatch for `argv` with the child's standard descriptors `std` and the pipes' writing
// ends; its process id, or -1.
pid_t spawnWatcher(char* const* argv, const int std[3], int statusFd, int errorFd) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  if (posix_spawn_file_actions_init(&actions) != 0) return -1;
  if (posix_spawnattr_init(&attributes) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return -1;
  }
  // Everything is first moved above every source and every target, so that no move overwrites
  // a descriptor still to be moved.
  const int sources[5] = {std[0], std[1], std[2], statusFd, errorFd};
  const int kHigh = std::max(*std::max_element(sources, sources + 5), kErrorFd) + 1;
  bool ok = true;
  for (int i = 0; i < 5; ++i) ok = ok && posix_spawn_file_actions_adddup2(&actions, sources[i], kHigh + i) == 0;
  const int targets[5] = {0, 1, 2, kStatusFd, kErrorFd};
  for (int i = 0; i < 5; ++i) ok = ok && posix_spawn_file_actions_adddup2(&actions, kHigh + i, targets[i]) == 0;
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 34)
  ok = ok && posix_spawn_file_actions_addclosefrom_np(&actions, kErrorFd + 1) == 0;
#else
  // Without closefrom the host's descriptors that are not close-on-exec reach the child too.
  for (int i = 0; i < 5; ++i) ok = ok && posix_spawn_file_actions_addclose(&actions, kHigh + i) == 0;
#endif
  // The child starts with no signal blocked and the ones the host handles or ignores at default.
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  ok = ok && posix_spawnattr_setsigmask(&attributes, &none) == 0 && posix_spawnattr_setsigdefault(&attributes, &all) == 0 &&
       posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
  pid_t pid = -1;
  if (ok && posix_spawn(&pid, argv[0], &actions, &attributes, argv, environ) != 0) pid = -1;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// ---- in the host -------------------------------------------------------------------------------

// Learns whether the process ended, waiting up to `timeoutMs` (-1: without limit).
void learnEnd(ProcessState& p, int timeoutMs) {
  if (p.ended) return;
  pollfd pfd{p.statusFd, POLLIN, 0};
  int ready;
  do ready = ::poll(&pfd, 1, timeoutMs);
  while (ready < 0 && errno == EINTR);
  if (ready <= 0) return;
  std::int32_t code = 0;
  // A watcher that ended without a word (killed) leaves an unknown end: report failure.
  p.exitCode = readAll(p.statusFd, &code, sizeof code) ? static_cast<DWORD>(code) : 1;
  p.ended = true;
  ::close(p.statusFd);
  p.statusFd = -1;
}

ProcessState* processOf(HANDLE h) {
  KernelObject* o = sim::os::handleTable().find(h);
  return o && o->kind == KernelObject::Kind::Process ? o->process.get() : nullptr;
}

}  // namespace

void GetStartupInfo(LPSTARTUPINFO lpStartupInfo) {
  if (!lpStartupInfo) return;
  *lpStartupInfo = STARTUPINFO{};
  lpStartupInfo->cb = sizeof(STARTUPINFO);
  // The host was started with its standard handles, as a console program run from a shell is.
  lpStartupInfo->dwFlags = STARTF_USESTDHANDLES;
  lpStartupInfo->hStdInput = sim::os::standardHandle(0);
  lpStartupInfo->hStdOutput = sim::os::standardHandle(1);
  lpStartupInfo->hStdError = sim::os::standardHandle(2);
}

BOOL CreateProcess(LPCSTR lpApplicationName, LPSTR lpCommandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                   BOOL bInheritHandles, DWORD, LPVOID lpEnvironment, LPCSTR lpCurrentDirectory,
                   LPSTARTUPINFO lpStartupInfo, LPPROCESS_INFORMATION lpProcessInformation) {
  if (sim::os::injectedFailure(sim::os::SystemCall::CreateProcess)) return FALSE;
  if (!lpStartupInfo || !lpProcessInformation || lpEnvironment) return FALSE;
  const char* line = lpCommandLine ? lpCommandLine : lpApplicationName;
  if (!line || std::strlen(line) >= kMaxCommandLine) return FALSE;
  std::string directory = lpCurrentDirectory ? lpCurrentDirectory : "";
  if (lpCurrentDirectory) {
    struct stat st;
    if (directory.empty() || ::stat(lpCurrentDirectory, &st) != 0 || !S_ISDIR(st.st_mode)) return FALSE;
  }
  std::vector<std::string> words = sim::os::splitCommandLine(line, directory);
  if (words.empty()) return FALSE;
  std::string program = findProgram(lpApplicationName ? lpApplicationName : words[0], directory);
  if (program.empty() || watcherPath().empty()) return FALSE;

  std::vector<std::string> watcherArgs = {watcherPath(), directory, program};
  watcherArgs.insert(watcherArgs.end(), words.begin(), words.end());
  std::vector<char*> argv;
  for (std::string& a : watcherArgs) argv.push_back(a.data());
  argv.push_back(nullptr);

  int std[3];
  bool useStd = bInheritHandles && (lpStartupInfo->dwFlags & STARTF_USESTDHANDLES);
  HANDLE given[3] = {lpStartupInfo->hStdInput, lpStartupInfo->hStdOutput, lpStartupInfo->hStdError};
  for (int i = 0; i < 3; ++i) {
    int fd = useStd ? sim::os::descriptorOf(given[i]) : -1;
    std[i] = fd >= 0 ? fd : sim::os::nullDevice();
    if (std[i] < 0) return FALSE;
  }

  int errorPipe[2], statusPipe[2];
  if (!makePipe(errorPipe)) return FALSE;
  if (!makePipe(statusPipe)) {
    closeAll({errorPipe[0], errorPipe[1]});
    return FALSE;
  }
  pid_t go = spawnWatcher(argv.data(), std, statusPipe[1], errorPipe[1]);
  closeAll({errorPipe[1], statusPipe[1]});
  if (go < 0) {
    closeAll({errorPipe[0], statusPipe[0]});
    return FALSE;
  }
  int status = 0;
  while (::waitpid(go, &status, 0) < 0 && errno == EINTR) {
  }
  // The error pipe ends when the program has started (close-on-exec) or failed to.
  std::int32_t startError = 0;
  bool failed = readAll(errorPipe[0], &startError, sizeof startError);
  ::close(errorPipe[0]);
  std::int32_t pid = 0;
  if (failed || !readAll(statusPipe[0], &pid, sizeof pid)) {
    ::close(statusPipe[0]);  // the watcher still reaps what it started
    return FALSE;
  }

  auto process = std::make_unique<KernelObject>();
  process->kind = KernelObject::Kind::Process;
  process->process = std::make_shared<ProcessState>(static_cast<pid_t>(pid), statusPipe[0]);
  auto thread = std::make_unique<KernelObject>();
  thread->kind = KernelObject::Kind::Thread;
  lpProcessInformation->hProcess = sim::os::handleTable().add(std::move(process));
  lpProcessInformation->hThread = sim::os::handleTable().add(std::move(thread));
  lpProcessInformation->dwProcessId = static_cast<DWORD>(pid);
  lpProcessInformation->dwThreadId = static_cast<DWORD>(pid);
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  if (sim::os::injectedFailure(sim::os::SystemCall::WaitForSingleObject)) return WAIT_FAILED;
  ProcessState* p = processOf(hHandle);
  if (!p) return WAIT_FAILED;
  if (dwMilliseconds == INFINITE) {
    learnEnd(*p, -1);
  } else {
    // poll() takes an int; longer waits go in steps.
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::milliseconds(dwMilliseconds);
    for (DWORD left = dwMilliseconds;;) {
      learnEnd(*p, static_cast<int>(std::min<DWORD>(left, INT_MAX)));
      auto now = Clock::now();
      if (p->ended || now >= deadline) break;
      left = static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count());
    }
  }
  return p->ended ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode) {
  ProcessState* p = processOf(hProcess);
  if (!p || !lpExitCode) return FALSE;
  learnEnd(*p, 0);
  *lpExitCode = p->ended ? p->exitCode : STILL_ACTIVE;
  return TRUE;
}

BOOL GetVersionEx(LPOSVERSIONINFO lpVersionInformation) {
  if (!lpVersionInformation || lpVersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFO)) return FALSE;
  // An NT-family system: plug-ins then protect their pipes with a security descriptor, which a
  // POSIX host accepts and has no use for (its pipes are private to the process and its children).
  OSVERSIONINFO info{};
  info.dwOSVersionInfoSize = sizeof(OSVERSIONINFO);
  info.dwMajorVersion = 6;
  info.dwMinorVersion = 1;
  info.dwBuildNumber = 7601;
  info.dwPlatformId = VER_PLATFORM_WIN32_NT;
  *lpVersionInformation = info;
  return TRUE;
}

BOOL InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR pSecurityDescriptor, DWORD dwRevision) {
  if (!pSecurityDescriptor || dwRevision != SECURITY_DESCRIPTOR_REVISION) return FALSE;
  auto* sd = static_cast<SECURITY_DESCRIPTOR*>(pSecurityDescriptor);
  *sd = SECURITY_DESCRIPTOR{};
  sd->Revision = static_cast<BYTE>(dwRevision);
  return TRUE;
}

BOOL SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR pSecurityDescriptor, BOOL bDaclPresent, PACL pDacl,
                               BOOL bDaclDefaulted) {
  auto* sd = static_cast<SECURITY_DESCRIPTOR*>(pSecurityDescriptor);
  if (!sd || sd->Revision != SECURITY_DESCRIPTOR_REVISION) return FALSE;
  constexpr WORD kDaclPresent = 0x0004, kDaclDefaulted = 0x0008;
  sd->Control = static_cast<WORD>((sd->Control & ~(kDaclPresent | kDaclDefaulted)) | (bDaclPresent ? kDaclPresent : 0) |
                                  (bDaclPresent && bDaclDefaulted ? kDaclDefaulted : 0));
  sd->Dacl = bDaclPresent ? pDacl : nullptr;
  return TRUE;
}
