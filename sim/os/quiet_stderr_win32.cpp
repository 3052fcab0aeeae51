#include "os/quiet_stderr.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

namespace sim::os {

QuietStderr::QuietStderr() {
  fflush(stderr);
  int null = _open("NUL", _O_WRONLY);
  if (null < 0) return;
  saved_ = _dup(_fileno(stderr));
  if (saved_ >= 0) _dup2(null, _fileno(stderr));
  _close(null);
}

QuietStderr::~QuietStderr() {
  if (saved_ < 0) return;
  fflush(stderr);
  _dup2(saved_, _fileno(stderr));
  _close(saved_);
}

}  // namespace sim::os
