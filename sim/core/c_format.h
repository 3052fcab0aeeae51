// printf-style formatting that always writes numbers with a point, whatever the process locale.
// The process locale is never switched.
#pragma once

#include "host_api.h"

#include <cstdarg>
#include <string>

namespace sim {

HOST_API std::string c_vformat(const char* format, va_list args);
HOST_API std::string c_format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace sim
