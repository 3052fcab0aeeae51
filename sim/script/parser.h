// Turns script text into syntax trees, one top-level expression at a time or all at once.
//
//   sim::script::Parser parser(text);
//   while (const Expr* e = parser.compileNext()) evaluate(e);   // SyntaxError on bad text
//
// Expressions end at a line break or `;` once they are complete; a text that stops inside an
// unfinished one raises a SyntaxError with `unfinished` set. Expressions before a bad one are
// returned first, so a caller that evaluates as it goes runs them before it sees the error.
#pragma once

#include "script/ast.h"
#include "script/lexer.h"
#include "script/syntax_error.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace sim::script {

class HOST_API Parser {
 public:
  // Nesting deeper than this (brackets, operators, control expressions) is a syntax error, so that
  // no text can exhaust the stack of the parser or of the evaluator that walks the tree.
  static constexpr int kMaxDepth = 200;

  // Reads `source` (copied into the tree) from byte `offset`; lines and columns count from the
  // start of `source`. `fileName` is the file the text comes from, where `include` looks first;
  // empty for text of no file.
  explicit Parser(std::string_view source, std::size_t offset = 0, std::string fileName = {});
  Parser(const Parser&) = delete;
  Parser& operator=(const Parser&) = delete;

  // The next top-level expression, or null when only blanks, comments and `;` remain. After a
  // SyntaxError every further call raises the same error.
  const Expr* compileNext();

  // Where the next expression begins (blanks, comments and `;` after the last one skipped); the
  // text's length once it is used up.
  std::size_t offset() const { return tok_.kind == TokenKind::Eof ? tree_->source().size() : tok_.offset; }

  // Owns every node the parser has returned.
  const std::shared_ptr<SyntaxTree>& tree() const { return tree_; }

 private:
  friend class Grammar;
  std::shared_ptr<SyntaxTree> tree_;
  Lexer lexer_;
  Token tok_;  // the current token: the first one not yet part of a returned expression
  std::string fileName_;
  std::optional<SyntaxError> failed_;
};

// Parses a whole text; its top-level expressions are `tree->expressions()`.
HOST_API std::shared_ptr<SyntaxTree> parseScript(std::string_view source, std::string fileName = {});

}  // namespace sim::script
