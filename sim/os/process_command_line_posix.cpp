// How a POSIX host reads a Windows command line, so that a plug-in's command runs here as it runs on
// Windows:
// - A line that starts the Windows command interpreter (cmd, with its switches up to /c) runs the
//   rest in the system's shell, /bin/sh -c: the shell stands in for the interpreter, whose other
//   switches (/e:on, /d, ...) ask for nothing a shell would do otherwise.
// - Any other line is the program's words up to its option "-c" (double quotes group a word) and the
//   rest of the line is the program's last argument. A line without "-c" is all words.
// - The rest is read with the interpreter's rule for quotes: a rest with exactly two double quotes,
//   around the path of an existing program that holds white space and none of &<>()@^|, stays as
//   it is; otherwise a leading double quote goes, and with it the rest's last double quote. So the
//   line  cmd /c "echo "a b""  runs /bin/sh with the arguments  -c  and  echo "a b"  .
#include "os/process_handles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstring>

namespace sim::os {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t'; }

bool equalsIgnoreCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
  return true;
}

bool isCommandInterpreter(const std::string& program) {
  return equalsIgnoreCase(program, "cmd") || equalsIgnoreCase(program, "cmd.exe");
}

// The switch after which the rest of the line is the command: /c for the interpreter, -c otherwise.
bool endsOptions(const std::vector<std::string>& words) {
  if (isCommandInterpreter(words.front())) return equalsIgnoreCase(words.back(), "/c");
  return words.back() == "-c";
}

// The interpreter's words become the shell's.
std::vector<std::string> inShell(std::vector<std::string> words) {
  if (!isCommandInterpreter(words.front())) return words;
  return {"/bin/sh", "-c", std::move(words.back())};
}

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
    if (!words.empty() && endsOptions(words)) {
      words.push_back(commandOf(line.substr(i), directory));
      return inShell(std::move(words));
    }
    std::string word;
    bool quoted = false;
    for (; i < line.size() && (quoted || !isSpace(line[i])); ++i) {
      if (line[i] == '"') quoted = !quoted;
      else word += line[i];
    }
    words.push_back(std::move(word));
  }
  // "-c" (or /c) at the very end: an empty command, as the interpreter runs for /c with nothing
  // after it.
  if (!words.empty() && endsOptions(words)) {
    words.emplace_back();
    return inShell(std::move(words));
  }
  return words;
}

}  // namespace sim::os
