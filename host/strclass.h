// CStr: the host's string class (TSTR / MSTR), a growable text that converts to a C string.
#pragma once

#include "host_api.h"

#include <string>
#include <string_view>

class HOST_API CStr {
 public:
  CStr() = default;
  CStr(const char* s) : s_(s ? s : "") {}
  CStr(std::string s) : s_(std::move(s)) {}
  CStr(std::string_view s) : s_(s) {}

  const char* data() const { return s_.c_str(); }
  operator const char*() const { return s_.c_str(); }
  int Length() const { return static_cast<int>(s_.size()); }
  int length() const { return Length(); }
  bool isNull() const { return s_.empty(); }
  void Resize(int n) { s_.resize(n < 0 ? 0 : static_cast<size_t>(n)); }

  CStr& operator=(const char* s) { s_ = s ? s : ""; return *this; }
  CStr& operator+=(const CStr& o) { s_ += o.s_; return *this; }
  CStr operator+(const CStr& o) const { return CStr(s_ + o.s_); }
  bool operator==(const CStr& o) const { return s_ == o.s_; }
  bool operator==(const char* o) const { return s_ == (o ? o : ""); }

  // printf-style formatting with a point as decimal separator whatever the process locale.
  int printf(const char* format, ...);

  const std::string& str() const { return s_; }
  std::string& str() { return s_; }

 private:
  std::string s_;
};

using TSTR = CStr;
using MSTR = CStr;
