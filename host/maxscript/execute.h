// Running script text from C++, and compiling it expression by expression.
#pragma once

#include "maxscript/streams.h"

class FPValue;

// Runs `text` in the global scope. With quietErrors, a failing text reports nothing and throws
// nothing; the answer is then FALSE. When `result` is given it receives the value of the text's last
// expression.
HOST_API BOOL ExecuteMAXScriptScript(const TCHAR* text, BOOL quietErrors = FALSE, FPValue* result = nullptr);

class ParsedCode;

// One compiled expression, ready to evaluate.
class HOST_API CompiledCode : public Value {
 public:
  explicit CompiledCode(ParsedCode* code);
  ~CompiledCode() override;
  Value* eval();
  void sprin1(CharStream* s) override;

 private:
  ParsedCode* code_;
};

// The compiler: reads one expression at a time from a stream. Syntax errors are raised as
// SyntaxErrorException (and written to the error stream); one with `unfinished` set means the text
// ended inside an unfinished expression.
class HOST_API Parser {
 public:
  explicit Parser(CharStream* errout = nullptr);
  ~Parser();
  // Compiles the next expression of `stream`; null when only white space and comments remain.
  CompiledCode* compile(CharStream* stream);
  // Skips white space, line ends and comments.
  void skip_space(CharStream* stream);

 private:
  CharStream* errout_;
};
