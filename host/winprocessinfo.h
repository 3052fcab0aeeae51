// The running process's CPU affinity and scheduling priority, in the shape of the Win32 calls. On
// Windows the host passes them on to the system. Elsewhere:
// - OpenProcess opens the host's own process only (any other id fails); its handle is closed with
//   CloseHandle like any other.
// - Affinity masks are the first 64 processors of the system's; the system mask holds the
//   processors the system has configured.
// - Priority classes are nice values: idle 19, below normal 10, normal 0, above normal -5, high -10,
//   realtime -20. Reading maps the nice value back to the nearest class, so a class set is the class
//   read. Lowering the nice value needs the system's permission; without it SetPriorityClass fails
//   and the priority stays as it was.
#pragma once

#include "winprocess.h"

using DWORD_PTR = std::uintptr_t;
using PDWORD_PTR = DWORD_PTR*;

constexpr DWORD PROCESS_SET_INFORMATION = 0x0200;
constexpr DWORD PROCESS_QUERY_INFORMATION = 0x0400;

constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
constexpr DWORD IDLE_PRIORITY_CLASS = 0x00000040;
constexpr DWORD HIGH_PRIORITY_CLASS = 0x00000080;
constexpr DWORD REALTIME_PRIORITY_CLASS = 0x00000100;
constexpr DWORD BELOW_NORMAL_PRIORITY_CLASS = 0x00004000;
constexpr DWORD ABOVE_NORMAL_PRIORITY_CLASS = 0x00008000;

HOST_API DWORD GetCurrentProcessId();
// Null when the process cannot be opened.
HOST_API HANDLE OpenProcess(DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwProcessId);
HOST_API BOOL GetProcessAffinityMask(HANDLE hProcess, PDWORD_PTR lpProcessAffinityMask,
                                     PDWORD_PTR lpSystemAffinityMask);
// Fails for an empty mask or one naming a processor outside the system mask.
HOST_API BOOL SetProcessAffinityMask(HANDLE hProcess, DWORD_PTR dwProcessAffinityMask);
// 0 when the handle is not an open process.
HOST_API DWORD GetPriorityClass(HANDLE hProcess);
// Fails for a value that is not one of the six classes.
HOST_API BOOL SetPriorityClass(HANDLE hProcess, DWORD dwPriorityClass);
