// The words of script text as the lexer hands them to the parser.
//
// A token points into the text it came from (which the syntax tree owns), so reading a token never
// allocates; only a string with escapes or a path name needs room of its own, taken from the tree's
// arena. Every token knows what separated it from the previous one, because the language gives
// white space meaning: a line break ends an expression that is complete, and a blank decides between
// `a[1]` (index) and `a [1,2]` (call with a point), and between `a - 1` and `a -1` (call).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace sim::script {

struct Symbol;

enum class TokenKind : std::uint8_t {
  Eof,
  Error,    // a malformed literal or unterminated comment; Lexer::error() says what is wrong
  Invalid,  // a character that starts no token; the parser reports what it expected instead

  Name,         // identifier or 'quoted identifier'
  Integer,      // 42, 0x1F
  Float,        // 0.5, .5, 1e-3
  Time,         // 10f, 5t, 1.5f, 2s, 1m30s
  String,       // "text", @"verbatim"
  NameLiteral,  // #name, #'name with spaces'
  PathName,     // $Box01, $'Box 01', $Box*, $, $a/b

  LParen, RParen,
  EmptyParens,  // "()" (blanks allowed inside on one line): a call without arguments
  LBracket, RBracket,
  ArrayOpen,     // #(
  BitArrayOpen,  // #{
  RBrace,
  Comma, Semicolon, Colon, Dot, DotDot,
  Plus, Minus, Star, Slash, Caret, Ampersand,
  Assign, PlusAssign, MinusAssign, StarAssign, SlashAssign,
  Eq, Ne, Lt, Le, Gt, Ge,

  // Reserved words, matched without case. They stay usable as property names (`bit.and`, `b.max`)
  // and keyword-argument names (`print x to:s`).
  KwAnd, KwOr, KwNot, KwIf, KwThen, KwElse, KwDo, KwWhile, KwFor, KwIn, KwTo, KwBy, KwWhere,
  KwCollect, KwCase, KwOf, KwDefault, KwTry, KwCatch, KwThrow, KwFn, KwFunction, KwMapped,
  KwReturn, KwExit, KwContinue, KwGlobal, KwLocal, KwStruct, KwAt, KwTime, KwAnimate, KwWith,
  KwUndo, KwOn, KwOff, KwTrue, KwFalse, KwUndefined, KwUnsupplied, KwOk, KwAs, KwMax,
};

inline bool isKeyword(TokenKind k) { return k >= TokenKind::KwAnd; }

// One part of a path name: `$Box*/'Arm 01'` has two.
struct PathSegment {
  // Without wildcards the name itself, the quotes' escapes resolved. With them a pattern: * and ?
  // are wildcards, and a backslash makes the next character literal (`\*`, `\?`, `\\`).
  std::string_view text;
  bool quoted;    // written as '...'
  bool wildcard;  // holds a * or ? that is not escaped
};

// A time literal's parts; the runtime turns them into ticks with the current frame rate.
struct TimeParts {
  double seconds;  // minutes are folded in
  double frames;
  double ticks;
};

struct Token {
  TokenKind kind = TokenKind::Eof;
  bool newlineBefore = false;  // a line break lies between this token and the previous one
  bool spaceBefore = false;    // blanks, a comment or a line break lie before it
  bool colonAfter = false;     // a word directly followed by ':' (`key:value`, `fn f key: = ...`)
  std::uint32_t offset = 0;    // byte offset of the token's first character
  std::uint32_t length = 0;    // bytes of source text the token covers
  std::uint32_t line = 1;      // 1-based
  std::uint32_t column = 1;    // 1-based, in bytes

  // Name, NameLiteral: the spelling as written (quotes removed, escapes resolved); keywords: the
  // word as written; String: the value; PathName: the raw text.
  std::string_view text;
  const Symbol* symbol = nullptr;  // Name, NameLiteral
  union {
    std::int64_t integer;  // Integer
    double number;         // Float
    TimeParts time;        // Time
  };
  std::span<const PathSegment> path;  // PathName; empty for `$`

  Token() : integer(0) {}
};

}  // namespace sim::script
