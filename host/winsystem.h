// The system clock and the keyboard in the shape of the Win32 calls. On Windows the host passes
// them on to the system. Elsewhere the clock is the system's UTC clock, and since the host runs
// without a keyboard of its own, every key reads as up and not pressed since the last call (0).
#pragma once

#include "host_api.h"

using SHORT = std::int16_t;

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;  // 1 = January
  WORD wDayOfWeek;  // 0 = Sunday
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};
using LPSYSTEMTIME = SYSTEMTIME*;

// The current date and time in UTC.
HOST_API void GetSystemTime(LPSYSTEMTIME lpSystemTime);
// Bit 15: the key is down; bit 0: pressed since the previous call.
HOST_API SHORT GetAsyncKeyState(int vKey);
