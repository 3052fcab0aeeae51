#include "os/large_pages.h"

namespace sim::os {

// Windows gives large pages only to processes with a privilege users rarely hold.
void restartWithLargeHeapPages(char**) {}

}  // namespace sim::os
