// host/winprocessinfo.h on Windows: each call goes to the system (see os/process_kernel32.h).
#include "os/process_kernel32.h"
#include "winprocessinfo.h"

namespace k = sim::os::kernel32;

DWORD GetCurrentProcessId() { return k::getCurrentProcessId(); }

HANDLE OpenProcess(DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwProcessId) {
  return k::openProcess(dwDesiredAccess, bInheritHandle, dwProcessId);
}

BOOL GetProcessAffinityMask(HANDLE hProcess, PDWORD_PTR lpProcessAffinityMask, PDWORD_PTR lpSystemAffinityMask) {
  if (!lpProcessAffinityMask || !lpSystemAffinityMask) return FALSE;
  return k::getProcessAffinityMask(hProcess, lpProcessAffinityMask, lpSystemAffinityMask);
}

BOOL SetProcessAffinityMask(HANDLE hProcess, DWORD_PTR dwProcessAffinityMask) {
  return k::setProcessAffinityMask(hProcess, dwProcessAffinityMask);
}

DWORD GetPriorityClass(HANDLE hProcess) { return k::getPriorityClass(hProcess); }

BOOL SetPriorityClass(HANDLE hProcess, DWORD dwPriorityClass) { return k::setPriorityClass(hProcess, dwPriorityClass); }
