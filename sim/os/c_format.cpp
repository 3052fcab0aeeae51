#include "core/c_format.h"

#include "strclass.h"

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#if defined(_WIN32)
#  include <locale.h>
#else
#  include <locale.h>
#  if defined(__APPLE__)
#    include <xlocale.h>
#  endif
#endif

namespace sim {
namespace {

#if defined(__MINGW32__)
// MinGW's own printf writes numbers as C99 does ("1e+10", "inf"), as the host's texts need; the
// system's msvcrt one does not ("1e+010", "1.#INF"). It takes its decimal point from the locale, so
// a thread whose locale has another one formats with the "C" locale for the call.
class ThreadCLocale {
 public:
  ThreadCLocale() {
    const char* point = localeconv()->decimal_point;
    if (point && point[0] == '.' && point[1] == 0) return;
    mode_ = _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    const char* previous = setlocale(LC_NUMERIC, nullptr);
    previous_ = previous ? previous : "C";
    setlocale(LC_NUMERIC, "C");
    switched_ = true;
  }
  ~ThreadCLocale() {
    if (!switched_) return;
    setlocale(LC_NUMERIC, previous_.c_str());
    _configthreadlocale(mode_);
  }

 private:
  bool switched_ = false;
  int mode_ = 0;
  std::string previous_;
};
int formatInto(char* buf, size_t size, const char* format, va_list args) {
  ThreadCLocale c;
  return __mingw_vsnprintf(buf, size, format, args);
}
int formatLength(const char* format, va_list args) {
  ThreadCLocale c;
  return __mingw_vsnprintf(nullptr, 0, format, args);
}
#elif defined(_WIN32)
_locale_t cLocale() {
  static _locale_t loc = _create_locale(LC_NUMERIC, "C");
  return loc;
}
int formatInto(char* buf, size_t size, const char* format, va_list args) {
  return _vsnprintf_l(buf, size, format, cLocale(), args);
}
int formatLength(const char* format, va_list args) { return _vscprintf_l(format, cLocale(), args); }
#else
// Formats with the "C" numeric locale for this thread only.
class ThreadCLocale {
 public:
  ThreadCLocale() {
    static locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    previous_ = uselocale(c);
  }
  ~ThreadCLocale() { uselocale(previous_); }

 private:
  locale_t previous_;
};
int formatInto(char* buf, size_t size, const char* format, va_list args) {
  ThreadCLocale c;
  return std::vsnprintf(buf, size, format, args);
}
int formatLength(const char* format, va_list args) {
  ThreadCLocale c;
  return std::vsnprintf(nullptr, 0, format, args);
}
#endif

}  // namespace

std::string c_vformat(const char* format, va_list args) {
  if (!format) return {};
  char small[512];
  va_list copy;
  va_copy(copy, args);
  int n = formatInto(small, sizeof small, format, copy);
  va_end(copy);
  if (n < 0) return {};
  if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
  std::vector<char> big(static_cast<size_t>(n) + 1);
  va_copy(copy, args);
  formatInto(big.data(), big.size(), format, copy);
  va_end(copy);
  (void)formatLength;
  return std::string(big.data(), static_cast<size_t>(n));
}

std::string c_format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string s = c_vformat(format, args);
  va_end(args);
  return s;
}

}  // namespace sim

int CStr::printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  s_ = sim::c_vformat(format, args);
  va_end(args);
  return Length();
}
