#include "os/process_handles.h"

#include "os/injected_failures.h"

#include <fcntl.h>
#include <unistd.h>

namespace sim::os {

namespace {

// The value of GetCurrentProcess() on Windows, and the standard-handle numbers of GetStdHandle.
HANDLE const kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));
constexpr INT_PTR kStandardInput = -10;

INT_PTR valueOf(HANDLE h) { return reinterpret_cast<INT_PTR>(h); }

}  // namespace

ProcessState::~ProcessState() {
  if (statusFd >= 0) ::close(statusFd);
}

KernelObject::~KernelObject() {
  if (fd >= 0) ::close(fd);
}

HANDLE HandleTable::add(std::unique_ptr<KernelObject> object) {
  size_t slot = 0;
  while (slot < slots_.size() && slots_[slot]) ++slot;
  if (slot == slots_.size()) slots_.emplace_back();
  slots_[slot] = std::move(object);
  return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(4 * (slot + 1)));
}

KernelObject* HandleTable::find(HANDLE h) const {
  INT_PTR v = valueOf(h);
  if (v <= 0 || v % 4 != 0) return nullptr;
  size_t slot = static_cast<size_t>(v / 4 - 1);
  return slot < slots_.size() ? slots_[slot].get() : nullptr;
}

bool HandleTable::close(HANDLE h) {
  if (!find(h)) return false;
  slots_[static_cast<size_t>(valueOf(h) / 4 - 1)].reset();
  while (!slots_.empty() && !slots_.back()) slots_.pop_back();
  return true;
}

HandleTable& handleTable() {
  static HandleTable* table = new HandleTable;  // children may still be reported after static destruction
  return *table;
}

HANDLE standardHandle(int fd) { return reinterpret_cast<HANDLE>(kStandardInput - fd); }

int descriptorOf(HANDLE h) {
  INT_PTR v = valueOf(h);
  if (v <= kStandardInput && v >= kStandardInput - 2) return static_cast<int>(kStandardInput - v);
  KernelObject* o = handleTable().find(h);
  return o && (o->kind == KernelObject::Kind::PipeRead || o->kind == KernelObject::Kind::PipeWrite) ? o->fd : -1;
}

int nullDevice() {
  static int fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  return fd;
}

}  // namespace sim::os

HANDLE GetCurrentProcess() { return sim::os::kCurrentProcess; }

BOOL CloseHandle(HANDLE hObject) {
  if (sim::os::handleTable().close(hObject)) return TRUE;
  // Pseudo handles (the current process, the standard handles) stay open.
  return hObject == sim::os::kCurrentProcess || sim::os::descriptorOf(hObject) >= 0 ? TRUE : FALSE;
}

BOOL DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle, HANDLE hTargetProcessHandle,
                     HANDLE* lpTargetHandle, DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwOptions) {
  using sim::os::KernelObject;
  if (sim::os::injectedFailure(sim::os::SystemCall::DuplicateHandle)) return FALSE;
  // Only handles of this process, copied into this process.
  if (hSourceProcessHandle != sim::os::kCurrentProcess || hTargetProcessHandle != sim::os::kCurrentProcess)
    return FALSE;
  KernelObject* source = sim::os::handleTable().find(hSourceHandle);
  if (!source) return FALSE;
  auto copy = std::make_unique<KernelObject>();
  copy->kind = source->kind;
  copy->access = source->access;
  copy->backlog = source->backlog;
  copy->process = source->process;
  if (source->fd >= 0) {
    copy->fd = ::fcntl(source->fd, F_DUPFD_CLOEXEC, 3);
    if (copy->fd < 0) return FALSE;
  }
  HANDLE h = sim::os::handleTable().add(std::move(copy));
  if (dwOptions & DUPLICATE_CLOSE_SOURCE) sim::os::handleTable().close(hSourceHandle);
  if (lpTargetHandle) *lpTargetHandle = h;
  else sim::os::handleTable().close(h);
  return TRUE;
}
