// Settings files in the .ini shape: `[section]` lines, then `key=value` lines; `;` starts a comment.
// Sections and keys match without case, values lose their surrounding blanks and one pair of quotes,
// as the system's profile functions read them. A change rewrites the whole file through a temporary
// file beside it that replaces the old one only once complete, so a failed write never leaves half a
// file; lines the change does not touch (comments, other sections) are kept as they were.
#include "core/text.h"
#include "maxscript/maxscript.h"
#include "script/file_paths.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

using sim::rt::fileNameArg;

std::string trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

struct IniFile {
  std::vector<std::string> lines;
  bool crlf = false;

  // The section a line opens, or nothing.
  static std::optional<std::string> sectionOf(const std::string& line) {
    std::string t = trimmed(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    size_t close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return trimmed(t.substr(1, close - 1));
  }
  // The key a line sets, or nothing (comments, blank lines, sections).
  static std::optional<std::string> keyOf(const std::string& line) {
    std::string t = trimmed(line);
    if (t.empty() || t[0] == ';' || t[0] == '[') return std::nullopt;
    size_t eq = t.find('=');
    if (eq == std::string::npos) return std::nullopt;
    return trimmed(t.substr(0, eq));
  }
  static std::string valueOf(const std::string& line) {
    std::string v = trimmed(line.substr(line.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
    return v;
  }

  // [first, end) lines of `section` after its header; first is npos when there is no such section.
  std::pair<size_t, size_t> find(const std::string& section) const {
    for (size_t i = 0; i < lines.size(); ++i) {
      auto s = sectionOf(lines[i]);
      if (!s || !sim::equalsIgnoreCase(*s, section)) continue;
      size_t end = i + 1;
      while (end < lines.size() && !sectionOf(lines[end])) ++end;
      return {i + 1, end};
    }
    return {std::string::npos, 0};
  }
  size_t findKey(const std::string& section, const std::string& key) const {
    auto [first, end] = find(section);
    if (first == std::string::npos) return std::string::npos;
    for (size_t i = first; i < end; ++i)
      if (auto k = keyOf(lines[i]); k && sim::equalsIgnoreCase(*k, key)) return i;
    return std::string::npos;
  }
  std::vector<std::string> sections() const {
    std::vector<std::string> out;
    for (const std::string& l : lines)
      if (auto s = sectionOf(l)) out.push_back(*s);
    return out;
  }
  std::vector<std::string> keys(const std::string& section) const {
    std::vector<std::string> out;
    auto [first, end] = find(section);
    if (first == std::string::npos) return out;
    for (size_t i = first; i < end; ++i)
      if (auto k = keyOf(lines[i])) out.push_back(*k);
    return out;
  }
};

bool isFolder(const std::string& name) {
  std::error_code ec;
  return fs::is_directory(sim::rt::nativePath(name), ec);
}

// The file's lines; an empty file when it is missing or cannot be read (a folder reads as nothing).
IniFile readIni(const std::string& name) {
  IniFile ini;
  if (name.empty() || isFolder(name)) return ini;
  std::ifstream in(sim::rt::nativePath(name), std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
      ini.crlf = true;
    }
    ini.lines.push_back(line);
  }
  if (!ini.lines.empty() && ini.lines[0].rfind("\xEF\xBB\xBF", 0) == 0) ini.lines[0].erase(0, 3);
  return ini;
}

// Writes the whole file or leaves the old one untouched; false when it could not.
bool writeIni(const std::string& name, const IniFile& ini) {
  if (name.empty() || isFolder(name)) return false;
  fs::path target = sim::rt::nativePath(name);
  fs::path temp = target;
  temp += ".writing";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const char* eol = ini.crlf ? "\r\n" : "\n";
    for (const std::string& l : ini.lines) out << l << eol;
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      fs::remove(temp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) fs::remove(temp, ec);
  return !ec;
}

Value* stringArray(const std::vector<std::string>& items) {
  auto* a = new Array(static_cast<int>(items.size()));
  for (const std::string& s : items) a->append(new String(s));
  return a;
}

const std::string& textArg(Value* v) {
  if (!is_string(v)) throw ConversionError(v, "String");
  return static_cast<String*>(v)->text;
}

}  // namespace

// getINISetting file section key: the value ("" when missing); file section: the section's keys;
// file: the file's sections.
def_visible_primitive(getINISetting, "getINISetting");
Value* getINISetting_cf(Value** arg_list, int count) {
  int n = count_positional_args(arg_list, count);
  if (n < 1 || n > 3) throw ArgCountError("getINISetting", 3, n);
  IniFile ini = readIni(fileNameArg(arg_list[0]));
  if (n == 1) return stringArray(ini.sections());
  const std::string& section = textArg(arg_list[1]);
  if (n == 2) return stringArray(ini.keys(section));
  size_t at = ini.findKey(section, textArg(arg_list[2]));
  return new String(at == std::string::npos ? std::string() : IniFile::valueOf(ini.lines[at]));
}

def_visible_primitive(setINISetting, "setINISetting");
Value* setINISetting_cf(Value** arg_list, int count) {
  int n = count_positional_args(arg_list, count);
  if (n != 4) throw ArgCountError("setINISetting", 4, n);
  const std::string& name = fileNameArg(arg_list[0]);
  const std::string& section = textArg(arg_list[1]);
  const std::string& key = textArg(arg_list[2]);
  const std::string& value = textArg(arg_list[3]);
  // Such text would read back as other lines, keys or sections.
  if (section.find_first_of("]\r\n") != std::string::npos)
    throw RuntimeError("An .ini section name cannot hold ] or a line break: ", arg_list[1]);
  if (key.empty() || key.find_first_of("=\r\n") != std::string::npos)
    throw RuntimeError("An .ini key cannot be empty or hold = or a line break: ", arg_list[2]);
  if (value.find_first_of("\r\n") != std::string::npos)
    throw RuntimeError("An .ini value cannot hold a line break: ", arg_list[3]);
  IniFile ini = readIni(name);
#ifdef _WIN32
  if (ini.lines.empty()) ini.crlf = true;
#endif
  std::string line = key + "=" + value;
  if (size_t at = ini.findKey(section, key); at != std::string::npos) {
    ini.lines[at] = line;
  } else if (auto [first, end] = ini.find(section); first != std::string::npos) {
    while (end > first && trimmed(ini.lines[end - 1]).empty()) --end;  // before the blank lines that part sections
    ini.lines.insert(ini.lines.begin() + static_cast<long>(end), line);
  } else {
    if (!ini.lines.empty() && !trimmed(ini.lines.back()).empty()) ini.lines.emplace_back();
    ini.lines.push_back("[" + section + "]");
    ini.lines.push_back(line);
  }
  return bool_result(writeIni(name, ini));
}

// hasINISetting file section [key]
def_visible_primitive(hasINISetting, "hasINISetting");
Value* hasINISetting_cf(Value** arg_list, int count) {
  int n = count_positional_args(arg_list, count);
  if (n < 2 || n > 3) throw ArgCountError("hasINISetting", 3, n);
  IniFile ini = readIni(fileNameArg(arg_list[0]));
  const std::string& section = textArg(arg_list[1]);
  if (n == 2) return bool_result(ini.find(section).first != std::string::npos);
  return bool_result(ini.findKey(section, textArg(arg_list[2])) != std::string::npos);
}

// delIniSetting file section [key]: the key, or the whole section with its keys; false when there
// was nothing to delete or the file could not be written.
def_visible_primitive(delIniSetting, "delIniSetting");
Value* delIniSetting_cf(Value** arg_list, int count) {
  int n = count_positional_args(arg_list, count);
  if (n < 2 || n > 3) throw ArgCountError("delIniSetting", 3, n);
  const std::string& name = fileNameArg(arg_list[0]);
  const std::string& section = textArg(arg_list[1]);
  IniFile ini = readIni(name);
  if (n == 3) {
    size_t at = ini.findKey(section, textArg(arg_list[2]));
    if (at == std::string::npos) return false_value;
    ini.lines.erase(ini.lines.begin() + static_cast<long>(at));
  } else {
    auto [first, end] = ini.find(section);
    if (first == std::string::npos) return false_value;
    ini.lines.erase(ini.lines.begin() + static_cast<long>(first - 1), ini.lines.begin() + static_cast<long>(end));
  }
  return bool_result(writeIni(name, ini));
}
