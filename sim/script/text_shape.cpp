#include "script/text_shape.h"

#include <array>

namespace sim::script {

namespace {

// The slot marks: a byte no shaped text holds (texts holding it are not shaped), then the kind.
constexpr char kMark = '\x01';
const char* markOf(SlotKind k) {
  switch (k) {
    case SlotKind::Integer: return "\x01i";
    case SlotKind::Float: return "\x01" "f";
    case SlotKind::String: return "\x01s";
    case SlotKind::Path: return "\x01p";
  }
  return "\x01?";
}

// What a byte can start, looked up once per byte: most bytes of a text are plain and only stepped
// over, and the key is copied from the text in runs between slots.
enum : std::uint8_t { kPlain, kWord, kDigit, kSpecial };
constexpr auto kClasses = [] {
  std::array<std::uint8_t, 256> t{};
  for (int c = 'a'; c <= 'z'; ++c) t[c] = kWord;
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = kWord;
  for (int c = 0x80; c < 256; ++c) t[c] = kWord;  // as the lexer reads names: UTF-8 bytes are letters
  t['_'] = kWord;
  for (int c = '0'; c <= '9'; ++c) t[c] = kDigit;
  for (char c : {'"', '\'', '$', '#', '-', '/', '@', '\\', kMark}) t[static_cast<unsigned char>(c)] = kSpecial;
  return t;
}();

// Letters, digits and '_' (and UTF-8 bytes): what a name or a number's tail is made of.
constexpr auto kWordChars = [] {
  std::array<bool, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = kClasses[c] == kWord || kClasses[c] == kDigit;
  return t;
}();

bool isDigit(int c) { return c >= '0' && c <= '9'; }
bool isWordChar(int c) { return c >= 0 && kWordChars[c]; }
bool isBlank(int c) { return c == ' ' || c == '\t'; }

class Scanner {
 public:
  Scanner(std::string_view text, TextShape& shape) : text_(text), shape_(shape) {}

  bool scan() {
    shape_.key.clear();
    shape_.slots.clear();
    const auto* bytes = reinterpret_cast<const unsigned char*>(text_.data());
    const std::size_t size = text_.size();
    while (pos_ < size) {
      const int c = bytes[pos_];
      switch (kClasses[c]) {
        case kPlain:
          // Most of a text: step over the whole run at once.
          do ++pos_;
          while (pos_ < size && kClasses[bytes[pos_]] == kPlain);
          break;
        case kWord:
          do ++pos_;
          while (pos_ < size && kWordChars[bytes[pos_]]);
          break;
        case kDigit:
          if (pos_ > 0 && at(pos_ - 1) == '.') skipWord();  // `a.5`, `.5`: left as written
          else number();
          break;
        default:
          if (!special(c)) return false;
      }
    }
    shape_.key.append(text_.substr(copied_));
    return true;
  }

 private:
  // The byte at `i` as 0..255, -1 past the end.
  int at(std::size_t i) const { return i < text_.size() ? static_cast<unsigned char>(text_[i]) : -1; }

  void skipWord() {
    while (isWordChar(at(pos_))) ++pos_;
  }

  bool special(int c) {
    const int d = at(pos_ + 1);
    switch (c) {
      case '"': return string();
      case '\'': return skipQuoted(pos_);
      case '$': return path();
      case '#':  // #name, digits included, or #'name'
        ++pos_;
        skipWord();
        return true;
      case '-':
        if (d == '-') return false;  // a comment
        ++pos_;
        return true;
      case '/':
        if (d == '*') return false;
        ++pos_;
        return true;
      default: return false;  // verbatim strings, line continuations, the mark itself
    }
  }

  // The literal from `from` up to here becomes a slot: the text before it is copied to the key.
  void slot(SlotKind kind, std::size_t from, bool negative) {
    shape_.key.append(text_.data() + copied_, from - copied_);
    shape_.key.append(markOf(kind), 2);
    copied_ = pos_;
    shape_.slots.push_back({kind, negative, std::uint32_t(from), std::uint32_t(pos_ - from)});
  }

  // "text": escapes are left to the lexer, which reads the slot again.
  bool string() {
    const std::size_t from = pos_++;
    for (;;) {
      int c = at(pos_);
      if (c < 0) return false;
      ++pos_;
      if (c == '"') break;
      if (c == '\\') ++pos_;
    }
    if (pos_ > text_.size()) return false;
    slot(SlotKind::String, from, false);
    return true;
  }

  // Steps over '...' from `quote` as the lexer does (\' and \\ are escapes); false if it never ends.
  // A 'quoted name' (or the quoted part of #'name') is part of the shape.
  bool skipQuoted(std::size_t quote) {
    pos_ = quote + 1;
    for (;;) {
      int c = at(pos_);
      if (c < 0) return false;
      ++pos_;
      if (c == '\'') return true;
      if (c == '\\' && (at(pos_) == '\'' || at(pos_) == '\\')) ++pos_;
    }
  }

  // $name or $'name' is a slot when it is one plain segment; `$`, `$a/b` and `$Box*` stay as written.
  bool path() {
    const std::size_t from = pos_++;
    if (at(pos_) == '\'') {
      if (!skipQuoted(pos_)) return false;
    } else {
      skipWord();
    }
    const int next = at(pos_);
    const bool plain = pos_ > from + 1 && next != '/' && next != '*' && next != '?' && next != '\'' &&
                       next != '\\' && !isWordChar(next);
    if (plain) slot(SlotKind::Path, from, false);
    return true;
  }

  // A '-' right before the digits that the parser folds into the literal: at the start of an
  // operand (after `(`, `,`, `=`, an operator, a line break) or as an argument's sign (`f -1`, a
  // blank before and none after). After a blank it may also be a subtraction (`5 -1`); such a
  // tree has no literal where the slot starts, so its shape is never kept. What stands before the
  // '-' is read from the text: a slot there ends in a byte none of these is.
  bool signBefore(std::size_t digits) const {
    if (digits == 0 || at(digits - 1) != '-' || digits - 1 < copied_) return false;
    const std::size_t minus = digits - 1;
    if (minus == 0 || isBlank(at(minus - 1))) return true;
    return std::string_view("([,=:+*/^<>\n;").find(text_[minus - 1]) != std::string_view::npos;
  }

  // digits [. digits] [e[+-]digits]; anything else that starts with a digit (hex, times, `1.`)
  // stays as written.
  void number() {
    const std::size_t from = pos_;
    bool isFloat = false;
    while (isDigit(at(pos_))) ++pos_;
    const std::size_t intDigits = pos_ - from;
    if (at(pos_) == '.' && isDigit(at(pos_ + 1))) {
      ++pos_;
      while (isDigit(at(pos_))) ++pos_;
      isFloat = true;
    }
    if ((at(pos_) == 'e' || at(pos_) == 'E') &&
        (isDigit(at(pos_ + 1)) || ((at(pos_ + 1) == '+' || at(pos_ + 1) == '-') && isDigit(at(pos_ + 2))))) {
      pos_ += 2;
      while (isDigit(at(pos_))) ++pos_;
      isFloat = true;
    }
    const int next = at(pos_);
    // Long integers turn into floats; a following letter or '.' makes another token of it.
    if (isWordChar(next) || next == '.' || (!isFloat && intDigits > 18)) {
      while (isWordChar(at(pos_)) || at(pos_) == '.') ++pos_;
      return;
    }
    // The sign joins the slot only where nothing after the number could take it back: `-1[2]` or
    // `-1.x` would negate more than the literal.
    const bool sign =
        signBefore(from) && (next < 0 || std::string_view(",]) \t\r\n;").find(static_cast<char>(next)) != std::string_view::npos);
    slot(isFloat ? SlotKind::Float : SlotKind::Integer, sign ? from - 1 : from, sign);
  }

  std::string_view text_;
  TextShape& shape_;
  std::size_t pos_ = 0;
  std::size_t copied_ = 0;  // the text before this is in the key
};

}  // namespace

bool findShape(std::string_view text, TextShape& shape) {
  if (text.size() > kMaxShapedText) return false;
  shape.key.reserve(text.size());
  return Scanner(text, shape).scan();
}

}  // namespace sim::script
