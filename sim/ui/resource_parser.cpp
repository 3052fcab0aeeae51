// The statements of a resource script this host reads: dialog templates (DIALOGEX, DIALOG) with
// their control statements, string tables and LANGUAGE. Default styles and classes of the control
// statements are the resource compiler's.
#include "ui/resource_preprocessor.h"

#include <cctype>
#include <deque>

namespace sim::ui {
namespace {

constexpr std::uint32_t kChildVisible = 0x40000000 | 0x10000000;  // WS_CHILD | WS_VISIBLE
constexpr std::uint32_t kTabStop = 0x00010000, kGroup = 0x00020000, kBorder = 0x00800000;
constexpr std::uint32_t kDefaultDialogStyle = 0x80000000 | 0x00800000 | 0x00080000;  // popup, border, system menu
constexpr std::uint32_t kSetFont = 0x40, kCaption = 0x00C00000;
constexpr int kMaxExpressionDepth = 64;

struct ControlKind {
  const char* keyword;
  const char* className;
  std::uint32_t style;  // besides WS_CHILD | WS_VISIBLE
  bool hasText;
};

constexpr ControlKind kControlKinds[] = {
    {"LTEXT", "Static", 0x0 | kGroup, true},          {"RTEXT", "Static", 0x2 | kGroup, true},
    {"CTEXT", "Static", 0x1 | kGroup, true},          {"PUSHBUTTON", "Button", 0x0 | kTabStop, true},
    {"DEFPUSHBUTTON", "Button", 0x1 | kTabStop, true}, {"CHECKBOX", "Button", 0x2 | kTabStop, true},
    {"GROUPBOX", "Button", 0x7, true},                {"EDITTEXT", "Edit", kBorder | kTabStop, false},
    {"SCROLLBAR", "ScrollBar", 0x0, false},
};

// Window classes a CONTROL statement may name without quotes.
constexpr const char* kBareClasses[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};

bool sameWord(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return i == a.size() && !b[i];
}

// What a style expression gives: bits set, and bits that NOT takes away from the defaults.
struct Style {
  std::uint32_t set = 0;
  std::uint32_t cleared = 0;
  std::uint32_t over(std::uint32_t defaults) const { return (defaults | set) & ~cleared; }
};

class Parser {
 public:
  explicit Parser(std::vector<ResourceToken> tokens) : t_(std::move(tokens)) {}

  ResourceScript run() {
    while (peek().kind != ResourceToken::End) statement();
    return std::move(script_);
  }

 private:
  // statement -> LANGUAGE expr, expr | STRINGTABLE ... | id DIALOGEX ... | id DIALOG ...
  void statement() {
    if (isWord("LANGUAGE")) {
      language();
      return;
    }
    if (isWord("STRINGTABLE")) {
      stringTable();
      return;
    }
    const ResourceToken& at = peek();
    if (at.kind == ResourceToken::Identifier && !isKnownName(at.text))
      fail(at, "'" + at.text + "' is not a resource id (named resources are not supported)");
    std::int64_t id = expression();
    const ResourceToken& type = peek();
    if (isWord("DIALOGEX") || isWord("DIALOG")) {
      bool ex = isWord("DIALOGEX");
      next();
      dialog(at, static_cast<int>(id & 0xFFFF), ex);
      return;
    }
    fail(type, type.kind == ResourceToken::End ? "resource type expected after the id"
                                                 : "resource type " + describe(type) + " is not supported");
  }

  void language() {
    next();
    expression();
    expect(",");
    expression();
  }

  // stringtable -> STRINGTABLE [options] BEGIN { id [,] string } END
  void stringTable() {
    next();
    skipMemoryOptions();
    while (isWord("LANGUAGE") || isWord("CHARACTERISTICS") || isWord("VERSION")) {
      if (isWord("LANGUAGE")) language();
      else {
        next();
        expression();
      }
    }
    const ResourceToken& open = beginBlock();
    while (!atEndOfBlock(open)) {
      const ResourceToken& at = peek();
      std::int64_t id = expression() & 0xFFFF;
      accept(",");
      std::string text = string("string");
      if (!script_.strings.emplace(static_cast<int>(id), text).second)
        fail(at, "string " + std::to_string(id) + " is defined twice");
    }
  }

  // dialog -> id DIALOGEX x, y, cx, cy [, helpId] {option} BEGIN {control} END
  void dialog(const ResourceToken& at, int id, bool ex) {
    DialogTemplate d;
    d.id = id;
    skipMemoryOptions();
    d.x = coordinate();
    expect(",");
    d.y = coordinate();
    expect(",");
    d.cx = coordinate();
    expect(",");
    d.cy = coordinate();
    if (ex && accept(",")) expression();
    bool styled = false;
    std::uint32_t extra = 0;
    for (;;) {
      if (isWord("STYLE")) {
        next();
        d.style = styleExpression().over(0);
        styled = true;
      } else if (isWord("EXSTYLE")) {
        next();
        d.exStyle = styleExpression().over(0);
      } else if (isWord("CAPTION")) {
        next();
        d.caption = string("caption");
        extra |= kCaption;
      } else if (isWord("FONT")) {
        next();
        d.fontPoints = static_cast<int>(expression());
        expect(",");
        d.fontFace = string("font name");
        for (int k = 0; k < 3 && accept(","); ++k) expression();  // weight, italic, character set
        extra |= kSetFont;
      } else if (isWord("CLASS") || isWord("MENU")) {
        next();
        if (peek().kind == ResourceToken::String || peek().kind == ResourceToken::Identifier) next();
        else expression();
      } else if (isWord("CHARACTERISTICS") || isWord("VERSION")) {
        next();
        expression();
      } else if (isWord("LANGUAGE")) {
        language();
      } else {
        break;
      }
    }
    d.style = (styled ? d.style : kDefaultDialogStyle) | extra;
    const ResourceToken& open = beginBlock();
    while (!atEndOfBlock(open)) d.controls.push_back(control(ex));
    if (!script_.dialogs.emplace(id, std::move(d)).second)
      fail(at, "dialog " + std::to_string(id) + " is defined twice");
  }

  // control -> CONTROL text, id, class, style, x, y, cx, cy [, exstyle [, helpId]]
  //          | keyword [text,] id, x, y, cx, cy [, style [, exstyle [, helpId]]]
  DialogControl control(bool ex) {
    const ResourceToken& word = peek();
    DialogControl c;
    if (isWord("CONTROL")) {
      next();
      c.text = string("control text");
      expect(",");
      c.id = controlId();
      expect(",");
      c.className = className();
      expect(",");
      c.style = styleExpression().over(kChildVisible);
      expect(",");
      position(c);
      if (accept(",")) c.exStyle = styleExpression().over(0);
      if (ex && accept(",")) expression();
      return c;
    }
    const ControlKind* kind = nullptr;
    if (word.kind == ResourceToken::Identifier)
      for (const ControlKind& k : kControlKinds)
        if (sameWord(word.text, k.keyword)) kind = &k;
    if (!kind) fail(word, word.kind == ResourceToken::End ? "END expected" : "control statement expected, not " + describe(word));
    next();
    if (kind->hasText) {
      c.text = string("control text");
      expect(",");
    }
    c.id = controlId();
    expect(",");
    c.className = kind->className;
    position(c);
    c.style = kChildVisible | kind->style;
    if (accept(",")) {
      c.style = styleExpression().over(c.style);
      if (accept(",")) c.exStyle = styleExpression().over(0);
      if (ex && accept(",")) expression();
    }
    return c;
  }

  void position(DialogControl& c) {
    c.x = coordinate();
    expect(",");
    c.y = coordinate();
    expect(",");
    c.cx = coordinate();
    expect(",");
    c.cy = coordinate();
  }

  int controlId() { return static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(expression()))); }

  std::string className() {
    const ResourceToken& at = peek();
    if (at.kind == ResourceToken::String) {
      next();
      return at.text;
    }
    if (at.kind == ResourceToken::Identifier)
      for (const char* name : kBareClasses)
        if (sameWord(at.text, name)) {
          next();
          return name;
        }
    fail(at, "window class expected, not " + describe(at));
  }

  // Dialog units are 16-bit signed in a compiled template.
  int coordinate() {
    const ResourceToken& at = peek();
    std::int64_t v = expression();
    std::int32_t s = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    if (s < -32768 || s > 32767) fail(at, "coordinate " + std::to_string(s) + " is out of range");
    return s;
  }

  // style -> term { '|' term };  term -> [NOT] expr
  Style styleExpression() {
    Style s;
    do {
      if (isWord("NOT")) {
        next();
        std::uint32_t bits = static_cast<std::uint32_t>(andExpression(0));
        s.cleared |= bits;
        s.set &= ~bits;
      } else {
        std::uint32_t bits = static_cast<std::uint32_t>(andExpression(0));
        s.set |= bits;
        s.cleared &= ~bits;
      }
    } while (accept("|"));
    return s;
  }

  // Integer expressions wrap at 32 bits, as in a compiled resource.
  std::int64_t expression() { return orExpression(0); }
  std::int64_t orExpression(int depth) {
    std::int64_t v = andExpression(depth);
    while (accept("|")) v = (v | andExpression(depth)) & 0xFFFFFFFF;
    return v;
  }
  std::int64_t andExpression(int depth) {
    std::int64_t v = sum(depth);
    while (accept("&")) v &= sum(depth);
    return v;
  }
  std::int64_t sum(int depth) {
    std::int64_t v = unary(depth);
    for (;;) {
      if (accept("+")) v = (v + unary(depth)) & 0xFFFFFFFF;
      else if (accept("-")) v = (v - unary(depth)) & 0xFFFFFFFF;
      else return v;
    }
  }
  std::int64_t unary(int depth) {
    const ResourceToken& at = peek();
    if (depth > kMaxExpressionDepth) fail(at, "expression nested too deeply");
    if (accept("-")) return (-unary(depth + 1)) & 0xFFFFFFFF;
    if (accept("~")) return (~unary(depth + 1)) & 0xFFFFFFFF;
    if (accept("(")) {
      std::int64_t v = orExpression(depth + 1);
      if (!accept(")")) fail(peek(), "')' expected (to close '(' at line " + std::to_string(at.line) + ")");
      return v;
    }
    std::int64_t v = 0;
    if (at.kind == ResourceToken::Number) v = at.number;
    else if (at.kind == ResourceToken::Identifier && builtinResourceSymbol(at.text, v)) v &= 0xFFFFFFFF;
    else if (at.kind == ResourceToken::Identifier) fail(at, "unknown name '" + at.text + "'");
    else fail(at, "number expected, not " + describe(at));
    next();
    return v;
  }

  std::string string(const char* what) {
    const ResourceToken& at = peek();
    if (at.kind != ResourceToken::String) fail(at, std::string(what) + " expected, not " + describe(at));
    next();
    return at.text;
  }

  void skipMemoryOptions() {
    static constexpr const char* kOptions[] = {"DISCARDABLE", "MOVEABLE", "FIXED", "PURE", "IMPURE", "PRELOAD", "LOADONCALL"};
    for (bool again = true; again;) {
      again = false;
      for (const char* o : kOptions)
        if (isWord(o)) {
          next();
          again = true;
        }
    }
  }

  const ResourceToken& beginBlock() {
    const ResourceToken& at = peek();
    if (!accept("{") && !acceptWord("BEGIN")) fail(at, "BEGIN expected, not " + describe(at));
    return at;
  }

  bool atEndOfBlock(const ResourceToken& open) {
    if (accept("}") || acceptWord("END")) return true;
    if (peek().kind == ResourceToken::End)
      fail(peek(), "END expected (to close BEGIN at line " + std::to_string(open.line) + ")");
    return false;
  }

  bool isKnownName(const std::string& name) const {
    std::int64_t v;
    return builtinResourceSymbol(name, v);
  }

  static std::string describe(const ResourceToken& t) {
    switch (t.kind) {
      case ResourceToken::End: return "the end of the script";
      case ResourceToken::String: return "a string";
      default: return "'" + t.text + "'";
    }
  }

  const ResourceToken& peek() const { return t_[pos_]; }
  void next() {
    if (t_[pos_].kind != ResourceToken::End) ++pos_;
  }
  bool isWord(const char* w) const { return peek().kind == ResourceToken::Identifier && sameWord(peek().text, w); }
  bool acceptWord(const char* w) {
    if (!isWord(w)) return false;
    next();
    return true;
  }
  bool accept(const char* p) {
    if (peek().kind != ResourceToken::Punct || peek().text != p) return false;
    next();
    return true;
  }
  void expect(const char* p) {
    if (!accept(p)) fail(peek(), std::string("'") + p + "' expected, not " + describe(peek()));
  }
  [[noreturn]] static void fail(const ResourceToken& at, const std::string& message) {
    throw ResourceError(at.file ? *at.file : std::string("?"), at.line, message);
  }

  std::vector<ResourceToken> t_;
  std::size_t pos_ = 0;
  ResourceScript script_;
};

}  // namespace

ResourceParseResult parseResourceScript(const std::string& fileName, const std::string& text,
                                        const IncludeReader& readInclude) {
  ResourceParseResult result;
  std::deque<std::string> fileNames;
  try {
    result.script = Parser(preprocessResourceScript(fileName, text, readInclude, fileNames)).run();
  } catch (const ResourceError& e) {
    result.error = e.what();
  }
  return result;
}

}  // namespace sim::ui
