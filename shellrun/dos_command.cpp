// QZMDOSCommand "command" [startpath:"dir"] [donotwait:true] [prompt:"text"]: runs the command
// without a console window and, unless told not to, waits for its end. True when it started (and
// ended); the command's own exit code is not reported.
#include "dos_command.h"
#include "winprocess.h"

#include <vector>

def_visible_primitive(QZMDOSCommand, "QZMDOSCommand");
Value* QZMDOSCommand_cf(Value** arg_list, int count) {
  DosCommandArgs args = ReadDosCommandArgs(arg_list, count);
  std::string commandLine = BuildCommandLine(args.command);
  bool succeeded = false;
  {
    StatusPrompt prompt(args.prompt);
    STARTUPINFO si{};
    si.cb = sizeof(STARTUPINFO);
    PROCESS_INFORMATION pi{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    BOOL created = CreateProcess(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                 args.hasStartPath ? args.startPath.c_str() : nullptr, &si, &pi);
    if (created) {
      succeeded = true;
      if (!args.doNotWait) {
        succeeded = WaitForSingleObject(pi.hProcess, INFINITE) == WAIT_OBJECT_0;
        DWORD exitCode = 0;
        GetExitCodeProcess(pi.hProcess, &exitCode);
      }
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
  }
  if (succeeded) return true_value;
  thread_local(current_stdout)->printf(kDosCommandError, commandLine.c_str());
  return false_value;
}
