// Splits script text into tokens.
//
// The lexer never throws for bad text. A literal it cannot read (an open string, a malformed number,
// an open comment) becomes an Error token and error() describes it, so that the expressions before
// it can still be compiled and run; the parser raises the error when it reaches the token. A stray
// character becomes an Invalid token, which the parser reports in its own words ("expected ...").
#pragma once

#include "script/ast.h"
#include "script/syntax_error.h"
#include "script/token.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sim::script {

class HOST_API Lexer {
 public:
  // Reads `source` from `offset`. The text and `arena` (where decoded strings and path names go)
  // must outlive the lexer and the tokens.
  Lexer(std::string_view source, std::size_t offset, Arena& arena);

  void next(Token& tok);

  // Why the last Error token is one.
  struct Problem {
    std::string near;
    std::string detail;
    bool unfinished = false;
  };
  const Problem& problem() const { return problem_; }

  // The error "at" `tok`, in the words of SyntaxError.
  SyntaxError errorAt(const Token& tok, std::string detail) const;
  // The error an Error token stands for.
  SyntaxError errorFor(const Token& tok) const;
  // A token's text as an error message shows it.
  std::string describe(const Token& tok) const;
  // The line containing `offset`, without its line break.
  std::string_view lineAt(std::size_t offset) const;

  std::string_view source() const { return src_; }

 private:
  void skipBlanks(Token& tok);
  void word(Token& tok);
  void number(Token& tok);
  void string(Token& tok, bool verbatim);
  void quotedName(Token& tok, TokenKind kind);
  void pathName(Token& tok);
  bool quoted(char quote, std::string_view& text, bool& escaped);
  bool quotedRaw(char quote, std::string_view& raw, bool& escaped);
  void punctuation(Token& tok);
  void fail(Token& tok, std::string near, std::string detail, bool unfinished);
  void failAtEnd(Token& tok, const char* expected, const char* what, std::uint32_t openLine);
  void newline() {
    ++line_;
    lineStart_ = pos_;
  }
  int peek(std::size_t ahead = 0) const {
    return pos_ + ahead < src_.size() ? static_cast<unsigned char>(src_[pos_ + ahead]) : -1;
  }

  std::string_view src_;
  std::size_t pos_;
  std::uint32_t line_ = 1;
  std::size_t lineStart_ = 0;
  // Where the previous token ended: the end of the text is reported there, on the line the reader
  // last saw, not on an empty line after it.
  std::uint32_t endLine_ = 1, endColumn_ = 1;
  std::size_t endOffset_ = 0;
  Arena& arena_;
  Problem problem_;
};

}  // namespace sim::script
