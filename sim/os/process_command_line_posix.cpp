// How a POSIX host reads a Windows command line: the program's words up to its "-c" option, then
// the rest as the Windows command interpreter takes the text after its /c switch.
#include "os/process_handles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace sim::os {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t'; }

bool isProgramFile(const std::string& path, const std::string& directory) {
  std::string full = path.empty() || path[0] == '/' || directory.empty() ? path : directory + "/" + path;
  struct stat st;
  return ::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(full.c_str(), X_OK) == 0;
}

// The interpreter's quote rule: a text with exactly two double quotes, around a program path that
// holds white space and none of & < > ( ) @ ^ |, keeps them; otherwise a leading double quote goes,
// and with it the text's last double quote.
std::string commandOf(const std::string& rest, const std::string& directory) {
  size_t first = rest.find('"');
  size_t last = rest.rfind('"');
  if (first != std::string::npos && last != first && rest.find('"', first + 1) == last) {
    std::string inner = rest.substr(first + 1, last - first - 1);
    bool hasSpace = inner.find_first_of(" \t") != std::string::npos;
    bool hasSpecial = inner.find_first_of("&<>()@^|") != std::string::npos;
    if (hasSpace && !hasSpecial && isProgramFile(inner, directory)) return rest;
  }
  if (rest.empty() || rest[0] != '"') return rest;
  std::string command = rest.substr(1);
  size_t closing = command.rfind('"');
  if (closing != std::string::npos) command.erase(closing, 1);
  return command;
}

}  // namespace

std::vector<std::string> splitCommandLine(const std::string& line, const std::string& directory) {
  std::vector<std::string> words;
  size_t i = 0;
  while (true) {
    while (i < line.size() && isSpace(line[i])) ++i;
    if (i == line.size()) break;
    if (!words.empty() && words.back() == "-c") {
      words.push_back(commandOf(line.substr(i), directory));
      return words;
    }
    std::string word;
    bool quoted = false;
    for (; i < line.size() && (quoted || !isSpace(line[i])); ++i) {
      if (line[i] == '"') quoted = !quoted;
      else word += line[i];
    }
    words.push_back(std::move(word));
  }
  // "-c" at the very end: an empty command, as the interpreter runs for /c with nothing after it.
  if (!words.empty() && words.back() == "-c") words.emplace_back();
  return words;
}

}  // namespace sim::os
