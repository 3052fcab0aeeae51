#include "script/lexer.h"

#include <array>
#include <charconv>
#include <limits>
#include <vector>

namespace sim::script {

namespace {

// Character classes, looked up once per byte in the loops that scan words, numbers and blanks.
enum : std::uint8_t { kDigit = 1, kWordStart = 2, kPathOnly = 4, kBlank = 8 };
constexpr auto kClasses = [] {
  std::array<std::uint8_t, 256> t{};
  for (int c = '0'; c <= '9'; ++c) t[c] = kDigit;
  for (int c = 'a'; c <= 'z'; ++c) t[c] = kWordStart;
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = kWordStart;
  t['_'] = kWordStart;
  // Bytes from 0x80 up are taken as letters, so UTF-8 names work and no byte is left unreadable.
  for (int c = 0x80; c < 256; ++c) t[c] = kWordStart;
  t['*'] = t['?'] = kPathOnly;
  t[' '] = t['\t'] = t['\r'] = t['\f'] = t['\v'] = kBlank;
  return t;
}();
// `c` is a byte value or -1 for the end of the text.
bool is(int c, std::uint8_t classes) { return c >= 0 && (kClasses[c] & classes) != 0; }
bool isDigit(int c) { return is(c, kDigit); }
bool isWordStart(int c) { return is(c, kWordStart); }
bool isWordChar(int c) { return is(c, kWordStart | kDigit); }
bool isPathChar(int c) { return is(c, kWordStart | kDigit | kPathOnly); }
bool isBlank(int c) { return is(c, kBlank); }
int hexValue(int c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
int lower(int c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

// Text from the script as an error message can show it: on one line, without control characters,
// and not longer than `cap` bytes (cut at a character boundary).
std::string printable(std::string_view text, std::size_t cap) {
  bool cut = false;
  if (auto nl = text.find('\n'); nl != std::string_view::npos) {
    text = text.substr(0, nl);
    cut = true;
  }
  if (text.size() > cap) {
    std::size_t n = cap;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    text = text.substr(0, n);
    cut = true;
  }
  while (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  std::string out;
  out.reserve(text.size() + 3);
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if ((c < 0x20 && c != '\t') || c == 0x7F) {
      static const char kHex[] = "0123456789abcdef";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += ch;
    }
  }
  if (cut && !out.empty()) out += "...";
  return out;
}

void appendUtf8(char*& out, std::uint32_t cp) {
  if (cp < 0x80) {
    *out++ = char(cp);
  } else if (cp < 0x800) {
    *out++ = char(0xC0 | (cp >> 6));
    *out++ = char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = char(0xE0 | (cp >> 12));
    *out++ = char(0x80 | ((cp >> 6) & 0x3F));
    *out++ = char(0x80 | (cp & 0x3F));
  } else {
    *out++ = char(0xF0 | (cp >> 18));
    *out++ = char(0x80 | ((cp >> 12) & 0x3F));
    *out++ = char(0x80 | ((cp >> 6) & 0x3F));
    *out++ = char(0x80 | (cp & 0x3F));
  }
}

// The escapes of a "string": \" \\ \n \t \r \% \* \? and \x<hex digits>. A backslash before any other
// character stays a backslash, which keeps Windows paths readable. The result is never longer than
// `raw`, so it fits in a buffer of raw's size.
std::string_view decodeString(std::string_view raw, Arena& arena) {
  char* const begin = static_cast<char*>(arena.allocate(raw.size(), 1));
  char* out = begin;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    char c = raw[i];
    if (c != '\\' || i + 1 >= raw.size()) {
      *out++ = c;
      continue;
    }
    char e = raw[i + 1];
    switch (e) {
      case '"': case '\\': case '%': case '*': case '?': *out++ = e; ++i; break;
      case 'n': *out++ = '\n'; ++i; break;
      case 't': *out++ = '\t'; ++i; break;
      case 'r': *out++ = '\r'; ++i; break;
      case 'x': {
        std::size_t j = i + 2;
        std::uint32_t cp = 0;
        while (j < raw.size() && hexValue(static_cast<unsigned char>(raw[j])) >= 0) {
          if (cp <= 0x10FFFF) cp = cp * 16 + std::uint32_t(hexValue(static_cast<unsigned char>(raw[j])));
          ++j;
        }
        if (j == i + 2) {  // no digits: an ordinary backslash
          *out++ = c;
          break;
        }
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        appendUtf8(out, cp);
        i = j - 1;
        break;
      }
      default: *out++ = c; break;
    }
  }
  return {begin, std::size_t(out - begin)};
}

// Inside '...' (quoted names and path names) only \' and \\ are escapes.
std::string_view decodeQuoted(std::string_view raw, char quote, Arena& arena) {
  char* const begin = static_cast<char*>(arena.allocate(raw.size(), 1));
  char* out = begin;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 1 < raw.size() && (raw[i + 1] == quote || raw[i + 1] == '\\')) ++i;
    *out++ = raw[i];
  }
  return {begin, std::size_t(out - begin)};
}

// A quoted path segment. \' \\ \* \? stand for their character; a * or ? without a backslash is a
// wildcard; a backslash before anything else is itself. Without wildcards the text is the plain
// name; with them it is a pattern in which every literal `*`, `?` and `\` keeps a backslash before
// it, so that matching can tell them from the wildcards.
PathSegment decodePathSegment(std::string_view raw, Arena& arena) {
  auto escapeAt = [&](std::size_t i) {
    return raw[i] == '\\' && i + 1 < raw.size() && std::string_view("'\\*?").find(raw[i + 1]) != std::string_view::npos;
  };
  bool wildcard = false;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (escapeAt(i)) ++i;
    else if (raw[i] == '*' || raw[i] == '?') wildcard = true;
  }
  // A pattern may grow by one backslash per literal backslash that was not written as an escape.
  char* const begin = static_cast<char*>(arena.allocate(2 * raw.size() + 1, 1));
  char* out = begin;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    char c = raw[i];
    if (escapeAt(i)) {
      c = raw[++i];
      if (wildcard && c != '\'') *out++ = '\\';
    } else if (wildcard && c == '\\') {
      *out++ = '\\';
    }
    *out++ = c;
  }
  return PathSegment{{begin, std::size_t(out - begin)}, true, wildcard};
}

}  // namespace

Lexer::Lexer(std::string_view source, std::size_t offset, Arena& arena)
    : src_(source), pos_(offset < source.size() ? offset : source.size()), arena_(arena) {
  for (std::size_t i = 0; i < pos_; ++i)
    if (src_[i] == '\n') {
      ++line_;
      lineStart_ = i + 1;
    }
  if (pos_ == 0 && src_.substr(0, 3) == "\xEF\xBB\xBF") lineStart_ = pos_ = 3;  // byte order mark
  endLine_ = line_;
  endColumn_ = std::uint32_t(pos_ - lineStart_ + 1);
  endOffset_ = pos_;
}

void Lexer::next(Token& tok) {
  tok.colonAfter = false;
  tok.symbol = nullptr;
  tok.text = {};
  tok.path = {};
  tok.integer = 0;
  skipBlanks(tok);
  if (tok.kind == TokenKind::Error) return;
  tok.offset = std::uint32_t(pos_);
  tok.line = line_;
  tok.column = std::uint32_t(pos_ - lineStart_ + 1);

  int c = peek();
  if (c < 0) {
    tok.kind = TokenKind::Eof;
    tok.length = 0;
    tok.line = endLine_;
    tok.column = endColumn_;
    return;
  }
  if (isWordStart(c)) {
    word(tok);
  } else if (isDigit(c) || (c == '.' && isDigit(peek(1)))) {
    number(tok);
  } else if (c == '"') {
    string(tok, false);
  } else if (c == '@' && peek(1) == '"') {
    ++pos_;
    string(tok, true);
  } else if (c == '\'') {
    quotedName(tok, TokenKind::Name);
  } else if (c == '#') {
    int d = peek(1);
    if (d == '(' || d == '{') {
      pos_ += 2;
      tok.kind = d == '(' ? TokenKind::ArrayOpen : TokenKind::BitArrayOpen;
    } else if (d == '\'') {
      ++pos_;
      quotedName(tok, TokenKind::NameLiteral);
    } else if (isWordChar(d)) {
      std::size_t start = ++pos_;
      while (isWordChar(peek())) ++pos_;
      tok.kind = TokenKind::NameLiteral;
      tok.text = src_.substr(start, pos_ - start);
      tok.symbol = intern(tok.text);
    } else {
      ++pos_;
      tok.kind = TokenKind::Invalid;
    }
  } else if (c == '$') {
    pathName(tok);
  } else {
    punctuation(tok);
  }
  if (tok.kind == TokenKind::Error) return;
  tok.length = std::uint32_t(pos_ - tok.offset);
  endLine_ = line_;
  endColumn_ = std::uint32_t(pos_ - lineStart_ + 1);
  endOffset_ = pos_;
}

// Blanks, line breaks, `-- comments`, `/* comments */` and `\` line continuations.
void Lexer::skipBlanks(Token& tok) {
  tok.newlineBefore = false;
  tok.spaceBefore = false;
  tok.kind = TokenKind::Eof;
  for (;;) {
    int c = peek();
    if (isBlank(c)) {
      ++pos_;
    } else if (c == '\n') {
      ++pos_;
      newline();
      tok.newlineBefore = true;
    } else if (c == '-' && peek(1) == '-') {
      while (peek() >= 0 && peek() != '\n') ++pos_;
    } else if (c == '/' && peek(1) == '*') {
      std::uint32_t openLine = line_;
      pos_ += 2;
      for (;;) {
        int d = peek();
        if (d < 0) return failAtEnd(tok, "*/", "comment", openLine);
        ++pos_;
        if (d == '\n') {
          newline();
          tok.newlineBefore = true;  // the comment ends the line it started on
        } else if (d == '*' && peek() == '/') {
          ++pos_;
          break;
        }
      }
    } else if (c == '\\') {
      // A backslash that is the last thing on its line joins the next line to this one.
      std::size_t p = pos_ + 1;
      while (p < src_.size() && isBlank(static_cast<unsigned char>(src_[p]))) ++p;
      if (p + 1 < src_.size() && src_[p] == '-' && src_[p + 1] == '-')
        while (p < src_.size() && src_[p] != '\n') ++p;
      if (p < src_.size() && src_[p] != '\n') break;  // a stray backslash
      pos_ = p;
      if (p < src_.size()) {
        ++pos_;
        newline();
      }
    } else {
      break;
    }
    tok.spaceBefore = true;
  }
}

void Lexer::word(Token& tok) {
  std::size_t start = pos_;
  while (isWordChar(peek())) ++pos_;
  tok.text = src_.substr(start, pos_ - start);
  tok.symbol = intern(tok.text);
  tok.kind = tok.symbol->keyword;
  tok.colonAfter = peek() == ':';
}

// 42, 0x1F, 0.5, .5, 1., 1e-3; with a unit it is a time: 10f, 5t, 1.5f, 2s, 1m30s, 1m2s3f4t.
void Lexer::number(Token& tok) {
  const std::size_t start = pos_;
  auto malformed = [&] {
    while (isWordChar(peek()) || peek() == '.') ++pos_;
    fail(tok, printable(src_.substr(start, pos_ - start), 40), "expected <number>", false);
  };

  if (peek() == '0' && (peek(1) == 'x' || peek(1) == 'X')) {
    pos_ += 2;
    std::uint64_t v = 0;
    int digits = 0;
    while (hexValue(peek()) >= 0) {
      if (v >> 60) return malformed();  // more than 64 bits
      v = v * 16 + std::uint64_t(hexValue(peek()));
      ++pos_;
      ++digits;
    }
    if (digits == 0 || isWordChar(peek())) return malformed();
    tok.kind = TokenKind::Integer;
    tok.integer = static_cast<std::int64_t>(v);
    return;
  }

  // Reads digits [. digits] [e[+-]digits] from pos_; says whether it had a fraction or exponent.
  auto mantissa = [&](double& value, bool allowExponent) {
    std::size_t from = pos_;
    bool isFloat = false;
    while (isDigit(peek())) ++pos_;
    if (peek() == '.' && isDigit(peek(1))) {
      ++pos_;
      while (isDigit(peek())) ++pos_;
      isFloat = true;
    } else if (peek() == '.' && peek(1) != '.' && !isWordChar(peek(1))) {
      ++pos_;  // "1." is 1.0, but "1..5" is a range
      isFloat = true;
    }
    if (allowExponent && (peek() == 'e' || peek() == 'E') &&
        (isDigit(peek(1)) || ((peek(1) == '+' || peek(1) == '-') && isDigit(peek(2))))) {
      pos_ += 2;
      while (isDigit(peek())) ++pos_;
      isFloat = true;
    }
    std::string_view text = src_.substr(from, pos_ - from);
    std::string withZero;
    if (text.front() == '.') text = withZero.append("0").append(text);  // from_chars wants a digit first
    auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec == std::errc::result_out_of_range)
      value = text.find("e-") != std::string_view::npos || text.find("E-") != std::string_view::npos
                  ? 0.0
                  : std::numeric_limits<double>::infinity();
    return isFloat;
  };

  double value = 0;
  bool isFloat = mantissa(value, true);

  int unit = lower(peek());
  if (unit == 'm' || unit == 's' || unit == 'f' || unit == 't') {
    TimeParts t{0, 0, 0};
    for (;;) {
      unit = lower(peek());
      if (unit == 'm') t.seconds += value * 60;
      else if (unit == 's') t.seconds += value;
      else if (unit == 'f') t.frames += value;
      else if (unit == 't') t.ticks += value;
      else return malformed();
      ++pos_;
      if (!isDigit(peek()) && !(peek() == '.' && isDigit(peek(1)))) break;
      mantissa(value, false);
    }
    if (isWordChar(peek())) return malformed();
    tok.kind = TokenKind::Time;
    tok.time = t;
    return;
  }
  if (isWordChar(peek())) return malformed();

  if (!isFloat) {
    std::int64_t v = 0;
    auto r = std::from_chars(src_.data() + start, src_.data() + pos_, v);
    if (r.ec == std::errc()) {
      tok.kind = TokenKind::Integer;
      tok.integer = v;
      return;
    }
  }
  tok.kind = TokenKind::Float;  // also an integer too large for 64 bits
  tok.number = value;
}

// "text" (may span lines) or @"verbatim" (no escapes); pos_ is on the opening quote.
void Lexer::string(Token& tok, bool verbatim) {
  std::uint32_t openLine = line_;
  std::size_t start = ++pos_;
  bool escaped = false;
  for (;;) {
    int c = peek();
    if (c < 0) return failAtEnd(tok, "\"", "string", openLine);
    if (c == '"') break;
    ++pos_;
    if (c == '\\' && !verbatim) {
      escaped = true;
      c = peek();
      if (c < 0) continue;
      ++pos_;
    }
    if (c == '\n') newline();
  }
  std::string_view raw = src_.substr(start, pos_ - start);
  ++pos_;
  tok.kind = TokenKind::String;
  tok.text = escaped ? decodeString(raw, arena_) : raw;
}

// The text between two `quote`s with \quote and \\ resolved; pos_ is on the opening quote. False
// when the text ends first.
bool Lexer::quoted(char quote, std::string_view& text, bool& escaped) {
  if (!quotedRaw(quote, text, escaped)) return false;
  if (escaped) text = decodeQuoted(text, quote, arena_);
  return true;
}

// Steps over '...' and gives what stands between the quotes, escapes as written.
bool Lexer::quotedRaw(char quote, std::string_view& raw, bool& escaped) {
  std::size_t start = ++pos_;
  escaped = false;
  for (;;) {
    int c = peek();
    if (c < 0) return false;
    if (c == quote) break;
    ++pos_;
    if (c == '\\' && (peek() == quote || peek() == '\\')) {
      escaped = true;
      ++pos_;
    } else if (c == '\n') {
      newline();
    }
  }
  raw = src_.substr(start, pos_ - start);
  ++pos_;
  return true;
}

// 'quoted name' or #'quoted name'; pos_ is on the quote.
void Lexer::quotedName(Token& tok, TokenKind kind) {
  std::uint32_t openLine = line_;
  bool escaped;
  if (!quoted('\'', tok.text, escaped)) return failAtEnd(tok, "'", "quoted name", openLine);
  tok.kind = kind;
  tok.symbol = intern(tok.text);
  if (kind == TokenKind::Name) tok.colonAfter = peek() == ':';
}

// $ (the selection), $Box01, $'Box 01', $Box*, $Group01/Box01; pos_ is on the `$`.
void Lexer::pathName(Token& tok) {
  ++pos_;
  thread_local std::vector<PathSegment> segments;
  segments.clear();
  for (;;) {
    PathSegment seg{{}, false, false};
    int c = peek();
    if (c == '\'') {
      std::uint32_t openLine = line_;
      bool escaped;
      std::string_view raw;
      if (!quotedRaw('\'', raw, escaped)) return failAtEnd(tok, "'", "path name", openLine);
      seg = decodePathSegment(raw, arena_);
    } else if (isPathChar(c)) {
      std::size_t start = pos_;
      while (isPathChar(peek())) ++pos_;
      seg.text = src_.substr(start, pos_ - start);
      seg.wildcard = seg.text.find_first_of("*?") != std::string_view::npos;
    } else {
      break;
    }
    segments.push_back(seg);
    // `$a/b` names a child; `/*` starts a comment, as everywhere.
    int d = peek(1);
    if (peek() != '/' || d == '*' || !(isPathChar(d) || d == '\'')) break;
    ++pos_;
  }
  tok.kind = TokenKind::PathName;
  tok.text = src_.substr(tok.offset, pos_ - tok.offset);
  tok.path = arena_.copy(std::span<const PathSegment>(segments));
}

void Lexer::punctuation(Token& tok) {
  int c = peek();
  ++pos_;
  auto pick = [&](char second, TokenKind two, TokenKind one) {
    if (peek() == second) {
      ++pos_;
      tok.kind = two;
    } else {
      tok.kind = one;
    }
  };
  switch (c) {
    case '(': {
      std::size_t p = pos_;
      while (p < src_.size() && (src_[p] == ' ' || src_[p] == '\t')) ++p;
      if (p < src_.size() && src_[p] == ')') {
        pos_ = p + 1;
        tok.kind = TokenKind::EmptyParens;
      } else {
        tok.kind = TokenKind::LParen;
      }
      break;
    }
    case ')': tok.kind = TokenKind::RParen; break;
    case '[': tok.kind = TokenKind::LBracket; break;
    case ']': tok.kind = TokenKind::RBracket; break;
    case '}': tok.kind = TokenKind::RBrace; break;
    case ',': tok.kind = TokenKind::Comma; break;
    case ';': tok.kind = TokenKind::Semicolon; break;
    case ':': tok.kind = TokenKind::Colon; break;
    case '^': tok.kind = TokenKind::Caret; break;
    case '&': tok.kind = TokenKind::Ampersand; break;
    case '.': pick('.', TokenKind::DotDot, TokenKind::Dot); break;
    case '+': pick('=', TokenKind::PlusAssign, TokenKind::Plus); break;
    case '-': pick('=', TokenKind::MinusAssign, TokenKind::Minus); break;
    case '*': pick('=', TokenKind::StarAssign, TokenKind::Star); break;
    case '/': pick('=', TokenKind::SlashAssign, TokenKind::Slash); break;
    case '=': pick('=', TokenKind::Eq, TokenKind::Assign); break;
    case '!': pick('=', TokenKind::Ne, TokenKind::Invalid); break;
    case '<': pick('=', TokenKind::Le, TokenKind::Lt); break;
    case '>': pick('=', TokenKind::Ge, TokenKind::Gt); break;
    default: tok.kind = TokenKind::Invalid; break;
  }
}

void Lexer::fail(Token& tok, std::string near, std::string detail, bool unfinished) {
  tok.kind = TokenKind::Error;
  tok.length = std::uint32_t(pos_ - tok.offset);
  problem_.near = std::move(near);
  problem_.detail = std::move(detail);
  problem_.unfinished = unfinished;
}

// The text ended inside a string, quoted name or comment opened on `openLine`.
void Lexer::failAtEnd(Token& tok, const char* expected, const char* what, std::uint32_t openLine) {
  tok.offset = std::uint32_t(pos_);
  tok.line = line_;
  tok.column = std::uint32_t(pos_ - lineStart_ + 1);
  std::string detail = std::string("expected ") + expected;
  if (openLine != line_) detail += " (to close the " + std::string(what) + " at line " + std::to_string(openLine) + ")";
  fail(tok, SyntaxError::kEndOfScript, std::move(detail), true);
}

std::string_view Lexer::lineAt(std::size_t offset) const {
  if (offset > src_.size()) offset = src_.size();
  std::size_t begin = offset == 0 ? std::string_view::npos : src_.rfind('\n', offset - 1);
  begin = begin == std::string_view::npos ? 0 : begin + 1;
  std::size_t end = src_.find('\n', begin);
  if (end == std::string_view::npos) end = src_.size();
  return src_.substr(begin, end - begin);
}

std::string Lexer::describe(const Token& tok) const {
  if (tok.kind == TokenKind::Eof) return SyntaxError::kEndOfScript;
  return printable(src_.substr(tok.offset, tok.length), 40);
}

SyntaxError Lexer::errorAt(const Token& tok, std::string detail) const {
  std::size_t at = tok.kind == TokenKind::Eof ? endOffset_ : tok.offset;
  return SyntaxError(describe(tok), std::move(detail), printable(lineAt(at), 200), int(tok.line),
                     int(tok.column), tok.kind == TokenKind::Eof);
}

SyntaxError Lexer::errorFor(const Token& tok) const {
  return SyntaxError(problem_.near, problem_.detail, printable(lineAt(tok.offset), 200), int(tok.line),
                     int(tok.column), problem_.unfinished);
}

}  // namespace sim::script
