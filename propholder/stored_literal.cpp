#include "stored_literal.h"

#include <cstddef>

namespace {

// A recognizer, not a parser: each rule consumes its form from the cursor or answers false. The
// grammar has no recursion but the one level of parentheses, so no input can nest it deeply.
class Literal {
 public:
  explicit Literal(std::string_view text) : s_(text) {}

  // literal -> blanks item blanks <end>
  bool whole() {
    blanks();
    if (!item()) return false;
    blanks();
    return i_ == s_.size();
  }

  // path -> segment ('.' segment)* <end>
  // segment -> identifier ('[' (digits | '#' identifier) ']')*
  bool wholePath() {
    do {
      if (!identifier()) return false;
      while (accept('[')) {
        if (accept('#') ? !identifier() : !digits()) return false;
        if (!accept(']')) return false;
      }
    } while (accept('.'));
    return i_ == s_.size();
  }

 private:
  // item -> '(' blanks (constructor | simple) blanks ')' | simple
  bool item() {
    if (!accept('(')) return simple();
    blanks();
    if (!constructor() && !simple()) return false;
    blanks();
    return accept(')');
  }

  // simple -> number | string | name | point | 'true' | 'false' | 'on' | 'off' | 'undefined'
  bool simple() {
    if (i_ >= s_.size()) return false;
    const char c = s_[i_];
    if (c == '"') return string();
    if (c == '#') return name();
    if (c == '[') return point();
    return number() || word("true") || word("false") || word("on") || word("off") || word("undefined");
  }

  // constructor -> 'color' (spaced number){3,4} | 'quat' (spaced number){4}
  bool constructor() {
    const size_t start = i_;
    int low = 0, high = 0;
    if (word("color")) low = 3, high = 4;
    else if (word("quat")) low = high = 4;
    else return false;
    int n = 0;
    while (n < high) {
      const size_t before = i_;
      if (!blanks() || !number()) {
        i_ = before;
        break;
      }
      ++n;
    }
    if (n >= low) return true;
    i_ = start;
    return false;
  }

  // point -> '[' blanks number (blanks ',' blanks number){1,3} blanks ']'
  bool point() {
    if (!accept('[')) return false;
    blanks();
    if (!number()) return false;
    int n = 1;
    for (;;) {
      blanks();
      if (accept(']')) return n >= 2;
      if (n == 4 || !accept(',')) return false;
      blanks();
      if (!number()) return false;
      ++n;
    }
  }

  // number -> '-'? (digits ('.' digits?)? | '.' digits) exponent? | '-'? ('nan' | 'inf')
  // exponent -> ('e' | 'E') ('+' | '-')? digits
  bool number() {
    const size_t start = i_;
    accept('-');
    if (word("nan") || word("inf")) return true;
    const bool whole = digits();
    bool fraction = false;
    if (accept('.')) fraction = digits();
    if (!whole && !fraction) {
      i_ = start;
      return false;
    }
    if (accept('e') || accept('E')) {
      if (!accept('+')) accept('-');
      if (!digits()) return false;
    }
    if (identifierChar()) {  // "1f", "2x": a time or something else, not a number
      i_ = start;
      return false;
    }
    return true;
  }

  // string -> '"' (any but '"' and '\' | '\' any)* '"', as the language's lexer reads it: a
  // backslash always takes the next character with it, so an escaped quote never ends the string.
  bool string() {
    if (!accept('"')) return false;
    while (i_ < s_.size()) {
      const char c = s_[i_++];
      if (c == '"') return true;
      if (c == '\\') {
        if (i_ >= s_.size()) return false;
        ++i_;
      }
    }
    return false;  // unterminated
  }

  // name -> '#' identifier | '#' "'" (any but "'", '\' and newline | '\' ("'" | '\'))* "'"
  bool name() {
    if (!accept('#')) return false;
    if (accept('\'')) {
      while (i_ < s_.size()) {
        const char c = s_[i_++];
        if (c == '\'') return true;
        if (c == '\n') return false;
        if (c == '\\' && i_ < s_.size() && (s_[i_] == '\'' || s_[i_] == '\\')) ++i_;
      }
      return false;
    }
    return identifier();
  }

  // identifier -> (letter | '_') (letter | digit | '_')*
  bool identifier() {
    if (i_ >= s_.size() || isDigit(s_[i_]) || !identifierChar()) return false;
    while (identifierChar()) ++i_;
    return true;
  }

  // A keyword, without case, not followed by more of an identifier.
  bool word(std::string_view w) {
    if (s_.size() - i_ < w.size()) return false;
    for (size_t k = 0; k < w.size(); ++k) {
      char c = s_[i_ + k];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != w[k]) return false;
    }
    const size_t start = i_;
    i_ += w.size();
    if (identifierChar()) {
      i_ = start;
      return false;
    }
    return true;
  }

  bool digits() {
    const size_t start = i_;
    while (i_ < s_.size() && isDigit(s_[i_])) ++i_;
    return i_ > start;
  }
  bool blanks() {
    const size_t start = i_;
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t')) ++i_;
    return i_ > start;
  }
  bool accept(char c) {
    if (i_ >= s_.size() || s_[i_] != c) return false;
    ++i_;
    return true;
  }
  bool identifierChar() const {
    if (i_ >= s_.size()) return false;
    const char c = s_[i_];
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '_';
  }
  static bool isDigit(char c) { return c >= '0' && c <= '9'; }

  std::string_view s_;
  size_t i_ = 0;
};

}  // namespace

bool IsStoredLiteral(std::string_view text) { return Literal(text).whole(); }
bool IsPropertyPath(std::string_view name) { return Literal(name).wholePath(); }
