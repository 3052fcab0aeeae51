// Anonymous pipes: a POSIX pipe per Windows pipe. POSIX has no peeking read on pipes, so bytes that
// PeekNamedPipe shows are taken out of the pipe into the reading end's backlog, which ReadFile
// serves first.
#include "os/injected_failures.h"
#include "os/process_handles.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace {

using sim::os::KernelObject;

// Large enough that a child writing fast rarely waits for the reader between two of its polls.
constexpr int kDefaultPipeSize = 1 << 20;

KernelObject* readingEnd(HANDLE h) {
  KernelObject* o = sim::os::handleTable().find(h);
  return o && o->kind == KernelObject::Kind::PipeRead ? o : nullptr;
}

size_t waitingInPipe(int fd) {
  int n = 0;
  return ::ioctl(fd, FIONREAD, &n) == 0 && n > 0 ? static_cast<size_t>(n) : 0;
}

// True when nothing waits and no writing end is open any more.
bool broken(int fd) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, 0) == 1 && (p.revents & POLLHUP) && !(p.revents & POLLIN);
}

ssize_t readSome(int fd, void* buf, size_t n) {
  ssize_t got;
  do got = ::read(fd, buf, std::min<size_t>(n, SSIZE_MAX));
  while (got < 0 && errno == EINTR);
  return got;
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

}  // namespace

BOOL CreatePipe(HANDLE* hReadPipe, HANDLE* hWritePipe, LPSECURITY_ATTRIBUTES lpPipeAttributes, DWORD nSize) {
  if (!hReadPipe || !hWritePipe || sim::os::injectedFailure(sim::os::SystemCall::CreatePipe)) return FALSE;
  int fds[2];
  if (!makePipe(fds)) return FALSE;
#if defined(F_SETPIPE_SZ)
  // Best effort: the system may cap the size; the pipe works at any size.
  ::fcntl(fds[1], F_SETPIPE_SZ, nSize ? static_cast<int>(std::min<DWORD>(nSize, INT_MAX)) : kDefaultPipeSize);
#endif
  auto reading = std::make_unique<KernelObject>();
  reading->kind = KernelObject::Kind::PipeRead;
  reading->fd = fds[0];
  reading->backlog = std::make_shared<sim::os::PipeBacklog>();
  auto writing = std::make_unique<KernelObject>();
  writing->kind = KernelObject::Kind::PipeWrite;
  writing->fd = fds[1];
  *hReadPipe = sim::os::handleTable().add(std::move(reading));
  *hWritePipe = sim::os::handleTable().add(std::move(writing));
  return TRUE;
}

BOOL PeekNamedPipe(HANDLE hNamedPipe, LPVOID lpBuffer, DWORD nBufferSize, LPDWORD lpBytesRead,
                   LPDWORD lpTotalBytesAvail, LPDWORD lpBytesLeftThisMessage) {
  if (sim::os::injectedFailure(sim::os::SystemCall::PeekNamedPipe)) return FALSE;
  KernelObject* o = readingEnd(hNamedPipe);
  if (!o) return FALSE;
  std::string& backlog = o->backlog->bytes;
  size_t inPipe = waitingInPipe(o->fd);
  if (lpBuffer && nBufferSize > backlog.size() && inPipe > 0) {
    size_t want = std::min<size_t>(nBufferSize - backlog.size(), inPipe);
    size_t old = backlog.size();
    backlog.resize(old + want);
    ssize_t got = readSome(o->fd, backlog.data() + old, want);
    backlog.resize(old + (got > 0 ? static_cast<size_t>(got) : 0));
    inPipe -= got > 0 ? static_cast<size_t>(got) : 0;
  }
  if (backlog.empty() && inPipe == 0 && broken(o->fd)) return FALSE;
  size_t shown = lpBuffer ? std::min<size_t>(nBufferSize, backlog.size()) : 0;
  if (shown) std::memcpy(lpBuffer, backlog.data(), shown);
  if (lpBytesRead) *lpBytesRead = static_cast<DWORD>(shown);
  if (lpTotalBytesAvail) *lpTotalBytesAvail = static_cast<DWORD>(std::min<size_t>(backlog.size() + inPipe, 0xFFFFFFFFu));
  if (lpBytesLeftThisMessage) *lpBytesLeftThisMessage = 0;  // a byte stream has no messages
  return TRUE;
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPVOID lpOverlapped) {
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
  if (sim::os::injectedFailure(sim::os::SystemCall::ReadFile)) return FALSE;
  KernelObject* o = readingEnd(hFile);
  if (!o || lpOverlapped || (!lpBuffer && nNumberOfBytesToRead)) return FALSE;
  if (nNumberOfBytesToRead == 0) return TRUE;
  std::string& backlog = o->backlog->bytes;
  size_t got = 0;
  if (!backlog.empty()) {
    got = std::min<size_t>(nNumberOfBytesToRead, backlog.size());
    std::memcpy(lpBuffer, backlog.data(), got);
    backlog.erase(0, got);
  } else {
    ssize_t n = readSome(o->fd, lpBuffer, nNumberOfBytesToRead);
    if (n <= 0) return FALSE;  // every writing end closed
    got = static_cast<size_t>(n);
  }
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = static_cast<DWORD>(got);
  return TRUE;
}
