#include "ui/resource_preprocessor.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace sim::ui {
namespace {

// Bounds that turn runaway input into an error instead of a hang or a stack overflow.
constexpr int kMaxIncludeDepth = 16;
constexpr int kMaxExpansionDepth = 64;
constexpr std::size_t kMaxTokens = 200'000;
constexpr int kMaxConditionDepth = 64;

// Headers the resource compiler finds among the system's; their names are built in.
bool isSystemHeader(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  static const std::set<std::string> kHeaders = {"windows.h", "winres.h", "winresrc.h", "winuser.h",
                                                 "winuser.rh", "commctrl.h", "afxres.h", "winnt.h",
                                                 "winnt.rh", "winver.h", "richedit.h"};
  return kHeaders.count(name) != 0;
}

bool isIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

struct Line {
  int number;  // of its first physical line
  std::string text;
};

struct Macro {
  std::vector<ResourceToken> body;
};

class Preprocessor {
 public:
  Preprocessor(const IncludeReader& readInclude, std::deque<std::string>& fileNames)
      : readInclude_(readInclude), fileNames_(fileNames) {}

  std::vector<ResourceToken> run(const std::string& fileName, const std::string& text) {
    processFile(fileName, text, 0);
    ResourceToken end;
    end.kind = ResourceToken::End;
    end.file = out_.empty() ? &fileNames_.front() : out_.back().file;
    end.line = out_.empty() ? 1 : out_.back().line;
    out_.push_back(end);
    return std::move(out_);
  }

 private:
  struct Condition {
    bool active;     // this branch's lines are read
    bool taken;      // some branch of this #if was true
    bool sawElse;
    bool outerActive;
    int line;
    std::string directive;
  };

  void processFile(const std::string& fileName, const std::string& text, int depth) {
    fileNames_.push_back(fileName);
    const std::string* file = &fileNames_.back();
    std::vector<Line> lines = splitLines(*file, stripComments(*file, text));
    std::vector<Condition> conditions;
    for (const Line& l : lines) {
      std::size_t i = l.text.find_first_not_of(" \t\r\f\v");
      bool active = conditions.empty() || conditions.back().active;
      if (i != std::string::npos && l.text[i] == '#') {
        directive(file, l.number, l.text.substr(i + 1), conditions, active, depth);
      } else if (active) {
        std::vector<ResourceToken> tokens = tokenize(file, l.number, l.text);
        std::vector<const std::string*> active;
        expand(tokens, out_, active, 0);
      }
    }
    if (!conditions.empty())
      throw ResourceError(*file, conditions.back().line,
                          "#" + conditions.back().directive + " without #endif");
  }

  void directive(const std::string* file, int line, const std::string& rest, std::vector<Condition>& conditions,
                 bool active, int depth) {
    std::size_t i = rest.find_first_not_of(" \t");
    std::size_t e = i;
    while (e < rest.size() && isIdentChar(rest[e])) ++e;
    std::string name = i == std::string::npos ? std::string() : rest.substr(i, e - i);
    std::string args = e < rest.size() ? rest.substr(e) : std::string();
    auto fail = [&](const std::string& message) { throw ResourceError(*file, line, message); };

    if (name == "ifdef" || name == "ifndef" || name == "if") {
      if (conditions.size() >= static_cast<std::size_t>(kMaxConditionDepth)) fail("#" + name + " nested too deeply");
      bool value = false;
      if (active) value = name == "if" ? evaluateCondition(file, line, args) : definedName(file, line, name, args) == (name == "ifdef");
      conditions.push_back({active && value, value, false, active, line, name});
      return;
    }
    if (name == "elif" || name == "else" || name == "endif") {
      if (conditions.empty()) fail("#" + name + " without #if");
      Condition& c = conditions.back();
      if (name == "endif") {
        conditions.pop_back();
        return;
      }
      if (c.sawElse) fail("#" + name + " after #else (of the #" + c.directive + " at line " + std::to_string(c.line) + ")");
      if (name == "else") {
        c.sawElse = true;
        c.active = c.outerActive && !c.taken;
        c.taken = true;
        return;
      }
      bool value = c.outerActive && !c.taken && evaluateCondition(file, line, args);
      c.active = value;
      c.taken = c.taken || value;
      return;
    }
    if (!active) return;
    if (name == "include") {
      include(file, line, args, depth);
    } else if (name == "define") {
      define(file, line, args);
    } else if (name == "undef") {
      macros_.erase(singleName(file, line, "#undef", args));
    } else if (name == "pragma") {
      // code_page and the like change nothing for an ASCII script
    } else if (name == "error") {
      fail("#error" + args);
    } else if (name.empty() && rest.find_first_not_of(" \t\r") == std::string::npos) {
      // a lone '#' is a null directive
    } else {
      fail("unknown directive #" + (name.empty() ? rest : name));
    }
  }

  void include(const std::string* file, int line, const std::string& args, int depth) {
    std::size_t i = args.find_first_not_of(" \t");
    if (i == std::string::npos || (args[i] != '"' && args[i] != '<'))
      throw ResourceError(*file, line, "#include expects \"file\" or <file>");
    char close = args[i] == '"' ? '"' : '>';
    std::size_t j = args.find(close, i + 1);
    if (j == std::string::npos) throw ResourceError(*file, line, std::string("#include: missing closing ") + close);
    std::string name = args.substr(i + 1, j - i - 1);
    if (close == '>' && isSystemHeader(name)) return;
    if (depth + 1 > kMaxIncludeDepth) throw ResourceError(*file, line, "#include nested too deeply");
    std::optional<std::string> text = readInclude_ ? readInclude_(name) : std::nullopt;
    if (!text) throw ResourceError(*file, line, "cannot open include file " + args.substr(i, j - i + 1));
    processFile(name, *text, depth + 1);
  }

  void define(const std::string* file, int line, const std::string& args) {
    std::size_t i = args.find_first_not_of(" \t");
    if (i == std::string::npos || !isIdentStart(args[i])) throw ResourceError(*file, line, "#define expects a name");
    std::size_t e = i;
    while (e < args.size() && isIdentChar(args[e])) ++e;
    std::string name = args.substr(i, e - i);
    if (e < args.size() && args[e] == '(')
      throw ResourceError(*file, line, "macro " + name + " takes arguments, which resource scripts do not support");
    macros_[name].body = tokenize(file, line, args.substr(e));
  }

  std::string singleName(const std::string* file, int line, const std::string& what, const std::string& args) {
    std::vector<ResourceToken> t = tokenize(file, line, args);
    if (t.size() != 1 || t[0].kind != ResourceToken::Identifier) throw ResourceError(*file, line, what + " expects a name");
    return t[0].text;
  }

  bool definedName(const std::string* file, int line, const std::string& what, const std::string& args) {
    std::string n = singleName(file, line, "#" + what, args);
    std::int64_t v;
    return macros_.count(n) != 0 || builtinResourceSymbol(n, v);
  }

  // #if and #elif: integers, names (0 when not defined), defined(NAME), !, ==, !=, &&, || and
  // parentheses, as the C preprocessor reads them.
  bool evaluateCondition(const std::string* file, int line, const std::string& args) {
    std::vector<ResourceToken> raw = tokenize(file, line, args), withDefined;
    for (std::size_t k = 0; k < raw.size(); ++k) {
      if (raw[k].kind == ResourceToken::Identifier && raw[k].text == "defined") {
        bool paren = k + 1 < raw.size() && raw[k + 1].text == "(" && raw[k + 1].kind == ResourceToken::Punct;
        std::size_t n = k + (paren ? 2 : 1);
        if (n >= raw.size() || raw[n].kind != ResourceToken::Identifier ||
            (paren && (n + 1 >= raw.size() || raw[n + 1].text != ")")))
          throw ResourceError(*file, line, "defined expects a name");
        std::int64_t v;
        ResourceToken t = raw[k];
        t.kind = ResourceToken::Number;
        t.number = macros_.count(raw[n].text) != 0 || builtinResourceSymbol(raw[n].text, v);
        withDefined.push_back(t);
        k = n + (paren ? 1 : 0);
      } else {
        withDefined.push_back(raw[k]);
      }
    }
    std::vector<ResourceToken> tokens;
    std::vector<const std::string*> active;
    expand(withDefined, tokens, active, 0);
    ConditionReader reader{tokens, 0, file, line};
    std::int64_t value = reader.orExpr(0);
    if (reader.pos != tokens.size()) throw ResourceError(*file, line, "unexpected '" + tokens[reader.pos].text + "' in #if");
    return value != 0;
  }

  struct ConditionReader {
    const std::vector<ResourceToken>& t;
    std::size_t pos;
    const std::string* file;
    int line;

    bool accept(const char* p) {
      if (pos < t.size() && t[pos].kind == ResourceToken::Punct && t[pos].text == p) {
        ++pos;
        return true;
      }
      return false;
    }
    bool acceptPair(char a, char b) {
      if (pos + 1 < t.size() && t[pos].kind == ResourceToken::Punct && t[pos].text[0] == a &&
          t[pos + 1].kind == ResourceToken::Punct && t[pos + 1].text[0] == b) {
        pos += 2;
        return true;
      }
      return false;
    }
    std::int64_t orExpr(int depth) {
      std::int64_t v = andExpr(depth);
      while (acceptPair('|', '|')) v = (andExpr(depth) != 0) | (v != 0);
      return v;
    }
    std::int64_t andExpr(int depth) {
      std::int64_t v = compare(depth);
      while (acceptPair('&', '&')) v = (compare(depth) != 0) & (v != 0);
      return v;
    }
    std::int64_t compare(int depth) {
      std::int64_t v = unary(depth);
      for (;;) {
        if (acceptPair('=', '=')) v = v == unary(depth);
        else if (acceptPair('!', '=')) v = v != unary(depth);
        else return v;
      }
    }
    std::int64_t unary(int depth) {
      if (depth > kMaxExpansionDepth) throw ResourceError(*file, line, "#if expression nested too deeply");
      if (accept("!")) return unary(depth + 1) == 0;
      if (accept("-")) return -unary(depth + 1);
      if (accept("(")) {
        std::int64_t v = orExpr(depth + 1);
        if (!accept(")")) throw ResourceError(*file, line, "')' expected in #if");
        return v;
      }
      if (pos >= t.size()) throw ResourceError(*file, line, "#if expects a value");
      const ResourceToken& tok = t[pos++];
      if (tok.kind == ResourceToken::Number) return tok.number;
      std::int64_t builtin = 0;
      if (tok.kind == ResourceToken::Identifier) return builtinResourceSymbol(tok.text, builtin) ? builtin : 0;
      throw ResourceError(*file, line, "unexpected '" + tok.text + "' in #if");
    }
  };

  // Replaces macro names by their bodies; a macro is not expanded inside its own expansion. Tokens
  // of a body take the place of the name that was expanded (`use`), so errors point at the use.
  void expand(const std::vector<ResourceToken>& in, std::vector<ResourceToken>& out,
              std::vector<const std::string*>& active, int depth, const ResourceToken* use = nullptr) {
    for (const ResourceToken& t : in) {
      const ResourceToken& at = use ? *use : t;
      if (out.size() >= kMaxTokens) throw ResourceError(*at.file, at.line, "the script expands to too many tokens");
      auto m = t.kind == ResourceToken::Identifier ? macros_.find(t.text) : macros_.end();
      bool inside = m != macros_.end() &&
                    std::find_if(active.begin(), active.end(), [&](const std::string* n) { return *n == t.text; }) != active.end();
      if (m == macros_.end() || inside) {
        out.push_back(t);
        out.back().file = at.file;
        out.back().line = at.line;
        continue;
      }
      if (depth >= kMaxExpansionDepth) throw ResourceError(*at.file, at.line, "macro " + t.text + " nests too deeply");
      active.push_back(&m->first);
      expand(m->second.body, out, active, depth + 1, &at);
      active.pop_back();
    }
  }

  std::vector<ResourceToken> tokenize(const std::string* file, int line, const std::string& s) {
    std::vector<ResourceToken> tokens;
    std::size_t i = 0;
    auto fail = [&](const std::string& message) { throw ResourceError(*file, line, message); };
    while (i < s.size()) {
      char c = s[i];
      ResourceToken t;
      t.file = file;
      t.line = line;
      if (std::isspace(static_cast<unsigned char>(c))) {
        ++i;
        continue;
      }
      if (isIdentStart(c)) {
        std::size_t e = i;
        while (e < s.size() && isIdentChar(s[e])) ++e;
        t.kind = ResourceToken::Identifier;
        t.text = s.substr(i, e - i);
        i = e;
      } else if (std::isdigit(static_cast<unsigned char>(c))) {
        i = readNumber(s, i, t, fail);
      } else if (c == '"') {
        i = readString(s, i, t, fail);
      } else if (std::string_view("|&+-~!=(){},").find(c) != std::string_view::npos) {
        t.kind = ResourceToken::Punct;
        t.text = std::string(1, c);
        ++i;
      } else {
        std::string shown = std::isprint(static_cast<unsigned char>(c)) ? std::string(1, c) : "\\x" + hex(c);
        fail("unexpected character '" + shown + "'");
      }
      tokens.push_back(std::move(t));
    }
    return tokens;
  }

  static std::string hex(char c) {
    const char* digits = "0123456789ABCDEF";
    unsigned char u = static_cast<unsigned char>(c);
    return std::string{digits[u >> 4], digits[u & 15]};
  }

  template <class Fail>
  static std::size_t readNumber(const std::string& s, std::size_t i, ResourceToken& t, Fail fail) {
    const std::size_t literal = i;
    int base = 10;
    if (s[i] == '0' && i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
      base = 16;
      i += 2;
    }
    std::size_t start = i;
    std::int64_t v = 0;
    for (; i < s.size() && std::isxdigit(static_cast<unsigned char>(s[i])); ++i) {
      int d = std::isdigit(static_cast<unsigned char>(s[i])) ? s[i] - '0' : (std::tolower(s[i]) - 'a' + 10);
      if (d >= base) break;
      v = v * base + d;
      if (v > 0xFFFFFFFFLL) fail("number too large: " + s.substr(literal, i + 1 - literal));
    }
    if (i == start) fail("hexadecimal number without digits");
    while (i < s.size() && (s[i] == 'L' || s[i] == 'l' || s[i] == 'U' || s[i] == 'u')) ++i;
    if (i < s.size() && isIdentChar(s[i])) fail("bad number: " + s.substr(literal, i + 1 - literal));
    t.kind = ResourceToken::Number;
    t.number = v;
    t.text = std::to_string(v);
    return i;
  }

  // A quoted string: "" stands for a quote; backslash escapes as in C.
  template <class Fail>
  static std::size_t readString(const std::string& s, std::size_t i, ResourceToken& t, Fail fail) {
    std::string value;
    for (++i;; ++i) {
      if (i >= s.size()) fail("unterminated string");
      char c = s[i];
      if (c == '"') {
        if (i + 1 < s.size() && s[i + 1] == '"') {
          value += '"';
          ++i;
          continue;
        }
        break;
      }
      if (c == '\\' && i + 1 < s.size()) {
        char n = s[++i];
        switch (n) {
          case 'n': value += '\n'; break;
          case 't': value += '\t'; break;
          case 'r': value += '\r'; break;
          case 'a': value += '\a'; break;
          case '\\': value += '\\'; break;
          case '"': value += '"'; break;
          default: value += '\\'; value += n; break;
        }
        continue;
      }
      value += c;
    }
    t.kind = ResourceToken::String;
    t.text = std::move(value);
    return i + 1;
  }

  // Comments become spaces; line breaks stay, so line numbers stay right.
  static std::string stripComments(const std::string& file, const std::string& text) {
    std::string out;
    out.reserve(text.size());
    int line = 1;
    for (std::size_t i = 0; i < text.size();) {
      char c = text[i];
      if (c == '"') {  // copied through, so that "a//b" keeps its slashes
        out += text[i++];
        while (i < text.size() && text[i] != '"' && text[i] != '\n') {
          if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] != '\n') out += text[i++];
          out += text[i++];
        }
        if (i < text.size() && text[i] == '"') out += text[i++];
      } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
        while (i < text.size() && text[i] != '\n') ++i;
      } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
        int opened = line;
        std::size_t end = text.find("*/", i + 2);
        if (end == std::string::npos) throw ResourceError(file, opened, "unterminated comment");
        for (std::size_t k = i; k < end; ++k)
          if (text[k] == '\n') {
            out += '\n';
            ++line;
          }
        out += ' ';
        i = end + 2;
      } else {
        if (c == '\n') ++line;
        out += c;
        ++i;
      }
    }
    return out;
  }

  // Logical lines: a backslash at the end of a line joins the next one to it.
  static std::vector<Line> splitLines(const std::string&, const std::string& text) {
    std::vector<Line> lines;
    int number = 1;
    std::size_t i = 0;
    while (i <= text.size()) {
      Line l{number, {}};
      for (;;) {
        std::size_t e = text.find('\n', i);
        std::string part = text.substr(i, e == std::string::npos ? std::string::npos : e - i);
        if (!part.empty() && part.back() == '\r') part.pop_back();
        i = e == std::string::npos ? text.size() + 1 : e + 1;
        ++number;
        if (!part.empty() && part.back() == '\\' && i <= text.size()) {
          part.pop_back();
          l.text += part;
          continue;
        }
        l.text += part;
        break;
      }
      lines.push_back(std::move(l));
    }
    return lines;
  }

  const IncludeReader& readInclude_;
  std::deque<std::string>& fileNames_;
  std::map<std::string, Macro> macros_;
  std::vector<ResourceToken> out_;
};

}  // namespace

std::vector<ResourceToken> preprocessResourceScript(const std::string& fileName, const std::string& text,
                                                    const IncludeReader& readInclude,
                                                    std::deque<std::string>& fileNames) {
  return Preprocessor(readInclude, fileNames).run(fileName, text);
}

}  // namespace sim::ui
