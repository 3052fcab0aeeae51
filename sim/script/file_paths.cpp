#include "script/file_paths.h"

#include "maxscript/exceptions.h"

namespace sim::rt {

const std::string& fileNameArg(Value* v) {
  if (!is_string(v)) throw ConversionError(v, "String");
  return static_cast<String*>(v)->text;
}

std::filesystem::path nativePath(const std::string& name) {
  std::string s = name;
  for (char& c : s)
    if (c == '\\' || c == '/') c = static_cast<char>(std::filesystem::path::preferred_separator);
  return std::filesystem::path(s);
}

size_t folderPartLength(const std::string& name) {
  size_t at = name.find_last_of("/\\");
  return at == std::string::npos ? 0 : at + 1;
}

}  // namespace sim::rt
