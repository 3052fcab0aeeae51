// pathConfig: composing and taking apart file names as text, without asking the file system. Either
// slash separates folders; a composed name goes on with the separator the name already uses, else
// the system's own.
#include "maxscript/maxscript.h"
#include "script/file_paths.h"

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using sim::rt::fileNameArg;

bool isSeparator(char c) { return c == '/' || c == '\\'; }
char nativeSeparator() { return static_cast<char>(std::filesystem::path::preferred_separator); }

char separatorOf(const std::string& a, const std::string& b = {}) {
  for (const std::string* s : {&a, &b})
    for (char c : *s)
      if (isSeparator(c)) return c;
  return nativeSeparator();
}

bool hasDrive(const std::string& p) { return p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':'; }

// The root a name starts with: "c:\", "c:", "\\server\share\", "\" or "/"; empty for a relative name.
size_t rootLength(const std::string& p) {
  if (p.size() >= 2 && isSeparator(p[0]) && isSeparator(p[1])) {
    size_t at = 2;
    for (int parts = 0; parts < 2 && at < p.size(); ++parts) {
      while (at < p.size() && !isSeparator(p[at])) ++at;
      if (at < p.size()) ++at;
    }
    return at;
  }
  if (hasDrive(p)) return p.size() > 2 && isSeparator(p[2]) ? 3 : 2;
  return !p.empty() && isSeparator(p[0]) ? 1 : 0;
}


// Where the last part of `p` starts, trailing separators aside; `end` gets where it ends.
size_t leafStart(const std::string& p, size_t& end) {
  size_t root = rootLength(p);
  end = p.size();
  while (end > root && isSeparator(p[end - 1])) --end;
  size_t start = end;
  while (start > root && !isSeparator(p[start - 1])) --start;
  return start;
}

}  // namespace

def_struct_primitive(pathConfig_removePathLeaf, pathConfig, "removePathLeaf");
def_struct_primitive(pathConfig_stripPathToLeaf, pathConfig, "stripPathToLeaf");
def_struct_primitive(pathConfig_appendPath, pathConfig, "appendPath");
def_struct_primitive(pathConfig_normalizePath, pathConfig, "normalizePath");
def_struct_primitive(pathConfig_isAbsolutePath, pathConfig, "isAbsolutePath");
def_struct_primitive(pathConfig_isUncPath, pathConfig, "isUncPath");

// "c:\a\b.txt" -> "c:\a"; a root stays as it is.
Value* pathConfig_removePathLeaf_cf(Value** arg_list, int count) {
  check_arg_count(removePathLeaf, 1, count);
  const std::string& p = fileNameArg(arg_list[0]);
  size_t end;
  size_t start = leafStart(p, end);
  size_t root = rootLength(p);
  while (start > root && isSeparator(p[start - 1])) --start;
  return new String(p.substr(0, start));
}

// "c:\a\b.txt" -> "b.txt"
Value* pathConfig_stripPathToLeaf_cf(Value** arg_list, int count) {
  check_arg_count(stripPathToLeaf, 1, count);
  const std::string& p = fileNameArg(arg_list[0]);
  size_t end;
  size_t start = leafStart(p, end);
  return new String(p.substr(start, end - start));
}

// "c:\a" + "b\c.txt" -> "c:\a\b\c.txt", with one separator between the two.
Value* pathConfig_appendPath_cf(Value** arg_list, int count) {
  check_arg_count(appendPath, 2, count);
  std::string a = fileNameArg(arg_list[0]);
  std::string b = fileNameArg(arg_list[1]);
  if (a.empty()) return new String(b);
  if (b.empty()) return new String(a);
  char sep = separatorOf(a, b);
  while (a.size() > rootLength(a) && isSeparator(a.back())) a.pop_back();
  size_t skip = 0;
  while (skip < b.size() && isSeparator(b[skip])) ++skip;
  if (!isSeparator(a.back())) a += sep;
  return new String(a + b.substr(skip));
}

// The name with "." and ".." parts resolved, repeated separators made one, and every separator the
// system's own. ".." above a root is dropped; above the start of a relative name it is kept.
Value* pathConfig_normalizePath_cf(Value** arg_list, int count) {
  check_arg_count(normalizePath, 1, count);
  const std::string& p = fileNameArg(arg_list[0]);
  char sep = nativeSeparator();
  size_t root = rootLength(p);
  std::string out = p.substr(0, root);
  for (char& c : out)
    if (isSeparator(c)) c = sep;
  std::vector<std::string> parts;
  size_t at = root;
  while (at <= p.size()) {
    size_t next = at;
    while (next < p.size() && !isSeparator(p[next])) ++next;
    std::string part = p.substr(at, next - at);
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..") parts.pop_back();
      else if (root == 0) parts.push_back(part);
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    at = next + 1;
  }
  for (size_t i = 0; i < parts.size(); ++i) out += (i ? std::string(1, sep) : std::string()) + parts[i];
  if (parts.empty() && out.empty() && !p.empty()) out = ".";
  return new String(out);
}

// True for names that say where they are from a root: "c:\...", "\\server\...", and on this host
// also "/..." (the system's root).
Value* pathConfig_isAbsolutePath_cf(Value** arg_list, int count) {
  check_arg_count(isAbsolutePath, 1, count);
  const std::string& p = fileNameArg(arg_list[0]);
  if (hasDrive(p)) return bool_result(p.size() > 2 && isSeparator(p[2]));
  return bool_result(!p.empty() && isSeparator(p[0]));
}

Value* pathConfig_isUncPath_cf(Value** arg_list, int count) {
  check_arg_count(isUncPath, 1, count);
  const std::string& p = fileNameArg(arg_list[0]);
  return bool_result(p.size() > 2 && isSeparator(p[0]) && isSeparator(p[1]) && !isSeparator(p[2]));
}
