// FileIn_: evaluates a script file kept in the pass manager's scrambled form (scramble_schedule.h).
#include "primitive_args.h"
#include "resource_strings.h"

#include "scramble_schedule.h"

#include <memory>

namespace {

using namespace qzmdlx;

// One byte of the file read back: unshifted, then tab and line feed traded where they trade places.
unsigned char unscramble(ScrambleSchedule& at, unsigned char c) {
  at.advance();
  if (c >= 33) c = static_cast<unsigned char>(c - at.shift());
  if (at.swapsTabAndLineFeed()) {
    if (c == '\t') c = '\n';
    else if (c == '\n') c = '\t';
  }
  return c;
}

// Closes a host stream on every way out.
struct StreamCloser {
  void operator()(CharStream* s) const { s->close(); }
};

// Compiles and evaluates every expression of `text` in turn.
void evaluateAll(StringStream* text) {
  Parser parser(thread_local(current_stdout));
  parser.skip_space(text);
  while (!text->at_eos()) {
    CompiledCode* code = nullptr;
    try {
      code = parser.compile(text);
    } catch (SyntaxErrorException& e) {
      if (e.unfinished) throw RuntimeError(GetString(IDS_FILEIN_UNEXPECTED_END));
      throw;
    }
    if (!code) break;
    code->eval();
    parser.skip_space(text);
  }
}

}  // namespace

def_visible_primitive(FileIn_, "FileIn_");
Value* FileIn__cf(Value** arg_list, int count) {
  checkCountWithKeywords(_T("fileIn_"), 1, arg_list, count);
  // Accepted for the scripts that pass it; the file is evaluated the same way either way.
  requireBoolean(key_arg_or_default(quiet, true_value), _T("fileIn_ quiet:"));

  const TCHAR* name = arg_list[0]->to_string();
  std::unique_ptr<FileStream, StreamCloser> file((new FileStream)->open(name, _T("rt")));
  if (!file) throw RuntimeError(_T("fileIn cannot open file: "), arg_list[0]);

  ResultFrame frame;
  auto* text = new StringStream;
  frame.keep(text);
  ScrambleSchedule positions;
  for (char c : file->remaining_text())
    text->putch(static_cast<TCHAR>(unscramble(positions, static_cast<unsigned char>(c))));
  file.reset();
  text->rewind();

  bool traceBack = thread_local(disable_trace_back);
  thread_local(disable_trace_back) = false;
  try {
    evaluateAll(text);
  } catch (...) {
    thread_local(disable_trace_back) = traceBack;
    thread_local(current_stdout)->puts(_T("Error occurred during fileIn: "));
    thread_local(current_stdout)->puts(_T("\n"));
    throw;
  }
  thread_local(disable_trace_back) = traceBack;
  return true_value;
}
