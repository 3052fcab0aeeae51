// The kernel objects behind the handles of host/winprocess.h on a POSIX host: pipe ends and
// processes. A handle is a number the table hands out, never a pointer, so that a wrong or closed
// handle is refused instead of followed.
#pragma once

#include "winprocess.h"

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

namespace sim::os {

// Bytes PeekNamedPipe took out of a pipe to show them; every handle of that pipe's reading end
// reads them first.
struct PipeBacklog {
  std::string bytes;
};

// A started process as its handles see it. A watcher process reaps it and reports its end through
// `statusFd`, so the host never holds a zombie (process_posix.cpp).
struct ProcessState {
  ProcessState(pid_t pid, int statusFd) : pid(pid), statusFd(statusFd) {}
  ~ProcessState();
  ProcessState(const ProcessState&) = delete;
  ProcessState& operator=(const ProcessState&) = delete;
  pid_t pid;
  int statusFd;  // closed once the end is known
  bool ended = false;
  DWORD exitCode = STILL_ACTIVE;
};

struct KernelObject {
  enum class Kind { PipeRead, PipeWrite, Process, Thread, OwnProcess };
  ~KernelObject();
  Kind kind = Kind::Thread;
  DWORD access = 0;  // OwnProcess: the rights OpenProcess granted
  int fd = -1;  // pipe ends; owned
  std::shared_ptr<PipeBacklog> backlog;   // pipe reading ends
  std::shared_ptr<ProcessState> process;  // processes
};

class HandleTable {
 public:
  HANDLE add(std::unique_ptr<KernelObject> object);
  // Null for anything that is not an open handle of this table.
  KernelObject* find(HANDLE h) const;
  bool close(HANDLE h);

 private:
  std::vector<std::unique_ptr<KernelObject>> slots_;  // handle value = 4 * (slot + 1), as on Windows
};

HandleTable& handleTable();

// The host's own standard input, output and error, as GetStartupInfo reports them: pseudo handles
// (not in the table; closing them does nothing) that name descriptors 0, 1 and 2.
HANDLE standardHandle(int fd);
// The descriptor a handle stands for (a pipe end or a standard handle), or -1.
int descriptorOf(HANDLE h);

// The descriptor that reads and writes nothing, opened once for the host's lifetime.
int nullDevice();

// The words of a command line the way a POSIX host runs it (see host/winprocess.h): empty when
// the line holds no program. `directory` is where the child starts (relative programs are looked
// for there).
std::vector<std::string> splitCommandLine(const std::string& line, const std::string& directory);

}  // namespace sim::os
