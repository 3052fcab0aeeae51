// The memory of one big run of the host. Loading a scene of tens of thousands of nodes makes
// millions of small objects; on a system that gives huge pages only to memory that asks for them,
// touching that heap 4 KB at a time costs about as much as the loading itself (a page fault and a
// TLB miss every few objects).
#pragma once

#include "host_api.h"

namespace sim::os {

// Starts this program again, with the same arguments, with the C library's heap in huge pages, when
// the system gives them only on request and the program does not have them yet. Returns only when
// nothing was done (another system, a sanitizer or a tool in the process, huge pages already there
// or never given, or the start failed), and the run goes on as it was.
HOST_API void restartWithLargeHeapPages(char** argv);

}  // namespace sim::os
