// Names are interned once per process: a hash table keyed by the lower-cased spelling, which also
// marks the reserved words.
#include "script/symbol.h"

#include "script/arena.h"

#include <deque>
#include <vector>

namespace sim::script {

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Names are hashed and compared without case and without building their lower-case form first, so
// looking up a name that is already known allocates nothing.
std::uint64_t hashLower(std::string_view s) {
  std::uint64_t h = 1469598103934665603ull;
  for (char c : s) {
    h ^= static_cast<unsigned char>(c) | 0x20u;  // case-blind; the few other bytes it merges only collide
    h *= 1099511628211ull;
  }
  return h;
}

bool sameLower(std::string_view lower, std::string_view spelling) {
  if (lower.size() != spelling.size()) return false;
  for (std::size_t i = 0; i < lower.size(); ++i)
    if (lower[i] != lowerAscii(spelling[i])) return false;
  return true;
}

// Open addressing with linear probing, kept at most half full.
class SymbolTable {
 public:
  SymbolTable() : slots_(1024) {
    static const struct {
      const char* word;
      TokenKind kind;
    } kReserved[] = {
        {"and", TokenKind::KwAnd},         {"or", TokenKind::KwOr},
        {"not", TokenKind::KwNot},         {"if", TokenKind::KwIf},
        {"then", TokenKind::KwThen},       {"else", TokenKind::KwElse},
        {"do", TokenKind::KwDo},           {"while", TokenKind::KwWhile},
        {"for", TokenKind::KwFor},         {"in", TokenKind::KwIn},
        {"to", TokenKind::KwTo},           {"by", TokenKind::KwBy},
        {"where", TokenKind::KwWhere},     {"collect", TokenKind::KwCollect},
        {"case", TokenKind::KwCase},       {"of", TokenKind::KwOf},
        {"default", TokenKind::KwDefault}, {"try", TokenKind::KwTry},
        {"catch", TokenKind::KwCatch},     {"throw", TokenKind::KwThrow},
        {"fn", TokenKind::KwFn},           {"function", TokenKind::KwFunction},
        {"mapped", TokenKind::KwMapped},   {"return", TokenKind::KwReturn},
        {"exit", TokenKind::KwExit},       {"continue", TokenKind::KwContinue},
        {"global", TokenKind::KwGlobal},   {"local", TokenKind::KwLocal},
        {"struct", TokenKind::KwStruct},   {"at", TokenKind::KwAt},
        {"time", TokenKind::KwTime},       {"animate", TokenKind::KwAnimate},
        {"with", TokenKind::KwWith},       {"undo", TokenKind::KwUndo},
        {"on", TokenKind::KwOn},           {"off", TokenKind::KwOff},
        {"true", TokenKind::KwTrue},       {"false", TokenKind::KwFalse},
        {"undefined", TokenKind::KwUndefined}, {"unsupplied", TokenKind::KwUnsupplied},
        {"ok", TokenKind::KwOk},           {"as", TokenKind::KwAs},
        {"max", TokenKind::KwMax},
    };
    for (const auto& r : kReserved) const_cast<Symbol*>(find(r.word))->keyword = r.kind;
  }

  const Symbol* find(std::string_view spelling) {
    std::uint64_t h = hashLower(spelling);
    std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
      Slot& s = slots_[i];
      if (!s.symbol) {
        s.hash = h;
        s.symbol = make(spelling);
        if (++count_ * 2 > slots_.size()) grow();
        return lastMade_;
      }
      if (s.hash == h && sameLower(s.symbol->lower, spelling)) return s.symbol;
    }
  }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    const Symbol* symbol = nullptr;
  };

  Symbol* make(std::string_view spelling) {
    char* text = static_cast<char*>(names_.allocate(spelling.size() + 1, 1));
    for (std::size_t i = 0; i < spelling.size(); ++i) text[i] = lowerAscii(spelling[i]);
    text[spelling.size()] = '\0';
    Symbol& sym = symbols_.emplace_back();
    sym.lower = std::string_view(text, spelling.size());
    lastMade_ = &sym;
    return &sym;
  }

  void grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    std::size_t mask = slots_.size() - 1;
    for (const Slot& s : old) {
      if (!s.symbol) continue;
      std::size_t i = s.hash & mask;
      while (slots_[i].symbol) i = (i + 1) & mask;
      slots_[i] = s;
    }
  }

  std::vector<Slot> slots_;
  std::size_t count_ = 0;
  std::deque<Symbol> symbols_;  // stable addresses
  Arena names_;
  Symbol* lastMade_ = nullptr;
};

SymbolTable& symbols() {
  static SymbolTable table;
  return table;
}

}  // namespace

const Symbol* intern(std::string_view spelling) { return symbols().find(spelling); }

}  // namespace sim::script
