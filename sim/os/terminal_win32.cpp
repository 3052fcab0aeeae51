#include "os/terminal.h"

#include <io.h>
#include <stdio.h>

namespace sim::os {

bool stdinIsTerminal() { return _isatty(_fileno(stdin)) != 0; }
bool stderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

}  // namespace sim::os
