// The animate state: with animate on, setting an animatable value at a time other than 0 makes a key.
// SuspendAnimate saves the state and turns it off; ResumeAnimate puts the saved state back. The
// brackets nest, each Resume restoring what its Suspend saved.
#pragma once

#include "host_api.h"

HOST_API void SuspendAnimate();
HOST_API void ResumeAnimate();
HOST_API void AnimateOn();
HOST_API void AnimateOff();
HOST_API BOOL Animating();

// Time display modes of the host's time slider.
enum TimeDisp { DISPTIME_FRAMES = 0, DISPTIME_SMPTE = 1, DISPTIME_FRAMETICKS = 2, DISPTIME_TIMETICKS = 3 };
HOST_API int GetTimeDisplayMode();
HOST_API void SetTimeDisplayMode(int mode);
