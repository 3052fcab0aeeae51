// FileIn_: evaluates a script file kept in the pass manager's scrambled form.
//
// Each byte of the file is shifted by an amount that depends on its position: a counter j runs
// 1..61 and wraps to 0 at every 62nd byte (which is shifted by a fixed 22); the other positions are
// shifted by j plus an offset drawn from the host's generator (reseeded with 679 + j after every
// draw), plus 12 more on even positions. Bytes below 33 are never shifted, and on even positions
// tab and line feed trade places. qzmhost --scramble writes files in this form.
#include "primitive_args.h"
#include "resource_strings.h"

#include "random.h"

#include <memory>

namespace {

using namespace qzmdlx;

constexpr unsigned kBaseSeed = 679;

class Unscrambler {
 public:
  Unscrambler() { generator_.srand(kBaseSeed); }

  unsigned char next(unsigned char c) {
    ++j_;
    int k = j_ % 62;
    if (j_ > 61) j_ = 0;
    int offset = generator_.rand() % 40 + 1;
    generator_.srand(kBaseSeed + static_cast<unsigned>(j_));
    if (c >= 33) {
      int shift = k == 0 ? 22 : (j_ % 2 == 0 ? j_ + offset + 12 : j_ + offset);
      c = static_cast<unsigned char>(c - shift);
    }
    if (j_ % 2 == 0) {
      if (c == '\t') c = '\n';
      else if (c == '\n') c = '\t';
    }
    return c;
  }

 private:
  Random generator_;
  int j_ = 0;
};

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
  Unscrambler unscrambler;
  for (char c : file->remaining_text()) text->putch(static_cast<TCHAR>(unscrambler.next(static_cast<unsigned char>(c))));
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
