// Running script text from C++: ExecuteMAXScriptScript and the one-expression-at-a-time compiler.
#include "maxscript/execute.h"

#include "core/on_scope_exit.h"
#include "ifnpub.h"
#include "maxscript/maxscript.h"
#include "script/evaluator.h"
#include "script/fp_conversion.h"
#include "script/parser.h"
#include "script/runtime.h"
#include "script/transform_context.h"
#include "script/value_heap.h"

using namespace sim::rt;

BOOL ExecuteMAXScriptScript(const TCHAR* text, BOOL quietErrors, FPValue* result) {
  if (!text) return FALSE;
  // Plug-in code may run script while an error of the script that called it is on its way out
  // (from a destructor, a notification): that error waits until this text is done.
  ScriptFailure waiting = takeFailure();
  sim::OnScopeExit giveBack([&] {
    if (waiting) fail(std::move(waiting));
  });
  try {
    sim::AllocFrame frame;
    // Plug-ins read and restore transforms in world terms, whatever coordsys a script chose.
    sim::TransformContextScope world;
    Value* v = Runtime::get().evalTextOrFail(text);
    if (failed(v)) {
      ScriptFailure f = takeFailure();
      if (f && !quietErrors) the_listener->edit_stream->printf("%s\n", f.error().text().c_str());
      return FALSE;
    }
    if (result) resultToFPValue(v, *result);
    return TRUE;
  } catch (const MAXScriptException& e) {
    if (!quietErrors) the_listener->edit_stream->printf("%s\n", e.text().c_str());
  } catch (const std::exception& e) {
    if (!quietErrors) the_listener->edit_stream->printf("-- Runtime error: %s\n", e.what());
  }
  return FALSE;
}

// ---- compiled expressions ------------------------------------------------------------------------

class ParsedCode {
 public:
  ParsedCode(const sim::script::Expr* e, std::shared_ptr<sim::script::SyntaxTree> t) : expr(e), tree(std::move(t)) {}
  const sim::script::Expr* expr;
  std::shared_ptr<sim::script::SyntaxTree> tree;
};

CompiledCode::CompiledCode(ParsedCode* code) : code_(code) {}
CompiledCode::~CompiledCode() { delete code_; }
Value* CompiledCode::eval() { return Evaluator::evalTop(code_->expr, code_->tree); }
void CompiledCode::sprin1(CharStream* s) { s->puts("<CodeBlock>"); }

::Parser::Parser(CharStream* errout) : errout_(errout) {}
::Parser::~Parser() = default;

void ::Parser::skip_space(CharStream* stream) {
  // Blanks, line ends and comments before the next expression: the compiler skips them itself, so
  // only plain white space is taken off here.
  while (!stream->at_eos()) {
    TCHAR c = stream->peek_char();
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
    stream->get_char();
  }
}

CompiledCode* ::Parser::compile(CharStream* stream) {
  std::string text = stream->remaining_text();
  try {
    sim::script::Parser parser(text);
    const sim::script::Expr* e = parser.compileNext();
    stream->skip(parser.offset());
    if (!e) return nullptr;
    return new CompiledCode(new ParsedCode(e, parser.tree()));
  } catch (const SyntaxErrorException& e) {
    if (errout_) errout_->printf("%s\n", e.text().c_str());
    throw;
  }
}
