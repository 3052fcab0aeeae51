// The runner's two script functions, QZMDOSCommand and QZMDOSCommandReturn, share their argument
// intake, their command line and their status-line prompt; this is that shared part.
#pragma once

#include "maxscript/maxscript.h"

#include <string>

// The system's command interpreter, started with command extensions on, without its AutoRun
// commands, ending after the command.
constexpr const char* kCommandInterpreter = "cmd /e:on /d /c ";

constexpr const char* kDosCommandError = "QZMDosCommand Error: %s\n";
constexpr const char* kDosCommandReturnError = "QZMDosCommandReturn Error: %s\n";

struct DosCommandArgs {
  std::string command;
  bool hasStartPath = false;
  std::string startPath;
  bool doNotWait = false;
  std::string prompt;
};

// Checks the count (one positional argument; keywords do not count) and reads the command and the
// keywords startpath:, donotwait: and prompt:. Raises the script errors of a wrong call.
DosCommandArgs ReadDosCommandArgs(Value** arg_list, int count);

// "cmd /e:on /d /c " and the command: as it is when it already starts and ends with a double
// quote, else inside one pair of them.
std::string BuildCommandLine(const std::string& command);

// The prompt on the host's status line for as long as the object lives.
class StatusPrompt {
 public:
  explicit StatusPrompt(const std::string& text);
  ~StatusPrompt();
  StatusPrompt(const StatusPrompt&) = delete;
  StatusPrompt& operator=(const StatusPrompt&) = delete;
};
