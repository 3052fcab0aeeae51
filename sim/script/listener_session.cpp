#include "script/listener_session.h"

#include "maxscript/maxscript.h"
#include "script/listener_stream.h"
#include "script/evaluator.h"
#include "script/parser.h"
#include "script/runtime.h"
#include "script/value_heap.h"

namespace sim::rt {

bool runScriptFile(const std::string& path, FILE* out, FILE* err) {
  sim::listenerStream()->set_echo(out);
  bool ok = Runtime::get().runFile(path, err);
  sim::listenerStream()->set_echo(nullptr);
  return ok;
}

bool evaluateAndPrint(const std::string& text, FILE* out, FILE* err) {
  sim::listenerStream()->set_echo(out);
  bool ok = true;
  try {
    AllocFrame frame;
    Value* v = Runtime::get().evalText(text);
    std::fprintf(out, "%s\n", value_to_text(v).c_str());
  } catch (const MAXScriptException& e) {
    std::fprintf(err, "%s\n", e.text().c_str());
    ok = false;
  }
  sim::listenerStream()->set_echo(nullptr);
  return ok;
}

bool runListener(std::istream& in, FILE* out, FILE* err, bool interactive) {
  sim::listenerStream()->set_echo(out);
  std::string pending;
  bool allOk = true;
  auto prompt = [&] {
    if (!interactive) return;
    std::fputs(pending.empty() ? "qzm> " : "...> ", out);
    std::fflush(out);
  };
  prompt();
  for (std::string line; std::getline(in, line);) {
    pending += line;
    pending += '\n';
    try {
      script::Parser parser(pending);
      AllocFrame frame;
      while (const script::Expr* e = parser.compileNext()) {
        Value* v = Evaluator::evalTop(e, parser.tree());
        std::fprintf(out, "%s\n", value_to_text(v).c_str());
      }
      pending.clear();
    } catch (const SyntaxErrorException& e) {
      if (e.unfinished) {
        prompt();
        continue;  // wait for the rest of the expression
      }
      std::fprintf(err, "%s\n", e.text().c_str());
      pending.clear();
      allOk = false;
    } catch (const MAXScriptException& e) {
      std::fprintf(err, "%s\n", e.text().c_str());
      pending.clear();
      allOk = false;
    }
    prompt();
  }
  if (!pending.empty()) {
    std::fprintf(err, "-- Syntax error: the input ended inside an unfinished expression\n");
    allOk = false;
  }
  sim::listenerStream()->set_echo(nullptr);
  return allOk;
}

}  // namespace sim::rt
