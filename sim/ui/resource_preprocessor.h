// The first stage of reading a resource script: comments, directives (#include, #define, #undef,
// #ifdef/#ifndef/#if/#elif/#else/#endif, #pragma) and macro expansion, giving the tokens the
// parser reads. Every token keeps the file and line it came from, for errors.
#pragma once

#include "ui/resource_script.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <deque>
#include <vector>

namespace sim::ui {

// An error in a resource script; what() is "file(line): message".
class ResourceError : public std::runtime_error {
 public:
  ResourceError(const std::string& file, int line, const std::string& message)
      : std::runtime_error(file + "(" + std::to_string(line) + "): " + message) {}
};

struct ResourceToken {
  enum Kind { Identifier, Number, String, Punct, End } kind = End;
  std::string text;          // identifier, decoded string, or the punctuation character
  std::int64_t number = 0;   // 0 to 0xFFFFFFFF
  const std::string* file = nullptr;
  int line = 0;
};

// Preprocesses `text` and returns its tokens, ending with one End token; the tokens point into
// `fileNames` for the names of their files. Throws ResourceError.
std::vector<ResourceToken> preprocessResourceScript(const std::string& fileName, const std::string& text,
                                                    const IncludeReader& readInclude,
                                                    std::deque<std::string>& fileNames);

// The value of a name that <windows.h> gives resource scripts (styles, language ids), if any.
bool builtinResourceSymbol(const std::string& name, std::int64_t& value);

}  // namespace sim::ui
