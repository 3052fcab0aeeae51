#include "os/terminal.h"

#include <unistd.h>

namespace sim::os {

bool stdinIsTerminal() { return isatty(STDIN_FILENO) == 1; }
bool stderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

void writeStandardStreamsAsBytes() {}  // they always do

}  // namespace sim::os
