#include "os/terminal.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

namespace sim::os {

bool stdinIsTerminal() { return _isatty(_fileno(stdin)) != 0; }
bool stderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

void writeStandardStreamsAsBytes() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace sim::os
