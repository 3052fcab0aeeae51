// What the host itself does with its windows: run their queued messages and paints, and take their
// pictures.
#pragma once

#include "bitmap.h"
#include "win_ui.h"

namespace sim::ui {

// Runs every posted message, then the paints of windows with an update region, until nothing is
// left or kMaxPumpedMessages have run (so a window that keeps posting or invalidating itself cannot
// hang the host; what is left waits for the next call). Answers how many messages ran.
constexpr int kMaxPumpedMessages = 10000;
HOST_API int pumpMessages();

// The window and its visible children painted afresh, as a bitmap of the window's size (BMM_TRUE_32,
// opaque); the caller owns it (DeleteThis). Null for a window that is not there or has no pixels.
HOST_API Bitmap* snapshot(HWND hwnd);

// Destroys every window the host's thread still has, each with its whole destruction sequence, so
// that controls free what they hold while the modules whose procedures they run are still loaded.
HOST_API void destroyAllWindows();

}  // namespace sim::ui
