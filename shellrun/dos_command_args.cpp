#include "dos_command.h"

#include "maxapi.h"

namespace {

std::string textOf(Value* v) {
  const TCHAR* s = v->to_string();
  return s ? s : "";
}

}  // namespace

DosCommandArgs ReadDosCommandArgs(Value** arg_list, int count) {
  // One argument, or the command followed directly by keywords. The error names the library, as the
  // runner's functions always have.
  if (!(count == 1 || (count > 1 && arg_list[1] == &keyarg_marker_value)))
    throw ArgCountError(_T("Tacitrun"), 1, count_positional_args(arg_list, count));
  DosCommandArgs args;
  args.command = textOf(arg_list[0]);
  Value* startPath = key_arg(startpath);
  if (startPath != &unsupplied) {
    args.hasStartPath = true;
    args.startPath = textOf(startPath);
  }
  Value* doNotWait = key_arg(donotwait);
  args.doNotWait = doNotWait != &unsupplied && doNotWait->to_bool();
  Value* prompt = key_arg(prompt);
  args.prompt = prompt != &unsupplied ? textOf(prompt) : args.command;
  return args;
}

std::string BuildCommandLine(const std::string& command) {
  bool quoted = !command.empty() && command.front() == '"' && command.back() == '"';
  return std::string(kCommandInterpreter) + (quoted ? command : "\"" + command + "\"");
}

StatusPrompt::StatusPrompt(const std::string& text) { GetCOREInterface()->PushPrompt(text.c_str()); }

StatusPrompt::~StatusPrompt() { GetCOREInterface()->PopPrompt(); }
