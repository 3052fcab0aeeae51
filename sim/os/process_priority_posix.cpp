// host/winprocessinfo.h on a POSIX host: affinity through the scheduler's CPU sets, priority classes
// through nice values (the mapping is described in the header).
#include "os/process_handles.h"
#include "winprocessinfo.h"

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

namespace {

using sim::os::KernelObject;

struct ClassNice {
  DWORD priorityClass;
  int nice;
};
// From the lowest priority to the highest.
constexpr ClassNice kClasses[] = {
    {IDLE_PRIORITY_CLASS, 19},          {BELOW_NORMAL_PRIORITY_CLASS, 10}, {NORMAL_PRIORITY_CLASS, 0},
    {ABOVE_NORMAL_PRIORITY_CLASS, -5},  {HIGH_PRIORITY_CLASS, -10},        {REALTIME_PRIORITY_CLASS, -20},
};

// The host's own process opened with at least `rights`; the current-process pseudo handle has all.
bool grants(HANDLE h, DWORD rights) {
  if (h == GetCurrentProcess()) return true;
  KernelObject* o = sim::os::handleTable().find(h);
  return o && o->kind == KernelObject::Kind::OwnProcess && (o->access & rights) == rights;
}

int maskWidth() { return static_cast<int>(sizeof(DWORD_PTR) * 8); }

DWORD_PTR systemMask() {
  long n = sysconf(_SC_NPROCESSORS_CONF);
  if (n <= 0) n = 1;
  if (n >= maskWidth()) return ~DWORD_PTR(0);
  return (DWORD_PTR(1) << n) - 1;
}

}  // namespace

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

HANDLE OpenProcess(DWORD dwDesiredAccess, BOOL, DWORD dwProcessId) {
  if (dwProcessId != GetCurrentProcessId()) return nullptr;
  auto o = std::make_unique<KernelObject>();
  o->kind = KernelObject::Kind::OwnProcess;
  o->access = dwDesiredAccess;
  return sim::os::handleTable().add(std::move(o));
}

BOOL GetProcessAffinityMask(HANDLE hProcess, PDWORD_PTR lpProcessAffinityMask, PDWORD_PTR lpSystemAffinityMask) {
  if (!grants(hProcess, PROCESS_QUERY_INFORMATION) || !lpProcessAffinityMask || !lpSystemAffinityMask) return FALSE;
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof(set), &set) != 0) return FALSE;
  DWORD_PTR mask = 0;
  for (int cpu = 0; cpu < maskWidth() && cpu < CPU_SETSIZE; ++cpu)
    if (CPU_ISSET(cpu, &set)) mask |= DWORD_PTR(1) << cpu;
  *lpProcessAffinityMask = mask;
  *lpSystemAffinityMask = systemMask();
  return TRUE;
}

BOOL SetProcessAffinityMask(HANDLE hProcess, DWORD_PTR dwProcessAffinityMask) {
  if (!grants(hProcess, PROCESS_SET_INFORMATION)) return FALSE;
  if (dwProcessAffinityMask == 0 || (dwProcessAffinityMask & ~systemMask()) != 0) return FALSE;
  cpu_set_t set;
  CPU_ZERO(&set);
  for (int cpu = 0; cpu < maskWidth() && cpu < CPU_SETSIZE; ++cpu)
    if (dwProcessAffinityMask & (DWORD_PTR(1) << cpu)) CPU_SET(cpu, &set);
  return sched_setaffinity(0, sizeof(set), &set) == 0 ? TRUE : FALSE;
}

DWORD GetPriorityClass(HANDLE hProcess) {
  if (!grants(hProcess, PROCESS_QUERY_INFORMATION)) return 0;
  errno = 0;
  int nice = getpriority(PRIO_PROCESS, 0);
  if (nice == -1 && errno != 0) return 0;
  // The class whose nice value is nearest; between two, the lower priority.
  const ClassNice* best = &kClasses[0];
  for (const ClassNice& c : kClasses) {
    int d = c.nice > nice ? c.nice - nice : nice - c.nice;
    int bestD = best->nice > nice ? best->nice - nice : nice - best->nice;
    if (d < bestD) best = &c;
  }
  return best->priorityClass;
}

BOOL SetPriorityClass(HANDLE hProcess, DWORD dwPriorityClass) {
  if (!grants(hProcess, PROCESS_SET_INFORMATION)) return FALSE;
  for (const ClassNice& c : kClasses)
    if (c.priorityClass == dwPriorityClass) return setpriority(PRIO_PROCESS, 0, c.nice) == 0 ? TRUE : FALSE;
  return FALSE;
}
