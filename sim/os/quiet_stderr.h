// Holds back what libraries print on standard error while it lives (image file libraries report
// damaged files there); the host says what went wrong in its own words instead.
#pragma once

namespace sim::os {

class QuietStderr {
 public:
  QuietStderr();
  ~QuietStderr();
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int saved_ = -1;  // the descriptor standard error had, to put back
};

}  // namespace sim::os
