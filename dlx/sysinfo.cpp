// QZMsysinfo: the host process's CPU affinity and priority class, read and written from script.
#include "sysinfo.h"

#include "primitive_args.h"
#include "winprocessinfo.h"

namespace {

// The process opened with `access` for the length of one read or write.
class OwnProcess {
 public:
  explicit OwnProcess(DWORD access) : handle_(OpenProcess(access, FALSE, GetCurrentProcessId())) {}
  ~OwnProcess() {
    if (handle_) CloseHandle(handle_);
  }
  OwnProcess(const OwnProcess&) = delete;
  OwnProcess& operator=(const OwnProcess&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Low 32 bits of one of the masks as a script integer; undefined when the query fails.
Value* readAffinity(bool systemMask) {
  OwnProcess process(PROCESS_QUERY_INFORMATION);
  DWORD_PTR processMask = 0, system = 0;
  if (!process.get() || !GetProcessAffinityMask(process.get(), &processMask, &system)) return undefined;
  DWORD_PTR mask = systemMask ? system : processMask;
  return Integer::intern(static_cast<int>(static_cast<std::uint32_t>(mask)));
}

Value* getProcessAffinity() { return readAffinity(false); }
Value* getSystemAffinity() { return readAffinity(true); }

// A failed write is not reported: the script's value comes back as assigned.
Value* setProcessAffinity(Value* v) {
  // Sign-extended, so that -1 asks for every processor.
  auto mask = static_cast<DWORD_PTR>(static_cast<std::intptr_t>(v->to_int()));
  OwnProcess process(PROCESS_SET_INFORMATION);
  if (process.get()) SetProcessAffinityMask(process.get(), mask);
  return v;
}

Value* setSystemAffinity(Value*) { throw RuntimeError(_T("Cannot set system affinity")); }

Value* getProcessPriority() {
  OwnProcess process(PROCESS_QUERY_INFORMATION);
  return Integer::intern(process.get() ? static_cast<int>(GetPriorityClass(process.get())) : 0);
}

// 0, 1 and -1 are the short codes for normal, above and below normal; other numbers are classes.
Value* setProcessPriority(Value* v) {
  int code = v->to_int();
  DWORD priorityClass = code == 0    ? NORMAL_PRIORITY_CLASS
                        : code == 1  ? ABOVE_NORMAL_PRIORITY_CLASS
                        : code == -1 ? BELOW_NORMAL_PRIORITY_CLASS
                                     : static_cast<DWORD>(code);
  OwnProcess process(PROCESS_SET_INFORMATION);
  if (process.get()) SetPriorityClass(process.get(), priorityClass);
  return v;
}

}  // namespace

void DefineSysInfo() {
  define_struct_global(_T("processAffinity"), _T("QZMsysinfo"), getProcessAffinity, setProcessAffinity);
  define_struct_global(_T("systemAffinity"), _T("QZMsysinfo"), getSystemAffinity, setSystemAffinity);
  define_struct_global(_T("processPriority"), _T("QZMsysinfo"), getProcessPriority, setProcessPriority);
}
