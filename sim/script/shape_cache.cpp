#include "script/shape_cache.h"

#include "core/on_scope_exit.h"
#include "script/evaluator.h"
#include "script/lexer.h"
#include "script/parser.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace sim::rt {

using script::Expr;
using script::NodeKind;
using script::ShapeSlot;
using script::SlotKind;

// A kept tree and the literal nodes its slots write into. A shape whose texts cannot be kept has
// no tree: its texts are parsed every time without being looked at again.
struct ShapeCache::Compiled {
  std::shared_ptr<script::SyntaxTree> tree;
  std::vector<const Expr*> exprs;
  // Slot k's literal node. The nodes hold the values of the text running now; between runs they
  // may point into texts that are gone, and nothing reads them then.
  std::vector<Expr*> slotNodes;
  // Where slot k's node finds its one path segment when the text wrote a plain $name.
  std::vector<script::PathSegment> pathSegments;
  bool running = false;
  std::list<std::string>::iterator recent;
};

namespace {

bool slotFits(SlotKind slot, NodeKind node) {
  switch (slot) {
    case SlotKind::Integer: return node == NodeKind::Integer;
    case SlotKind::Float: return node == NodeKind::Float;
    case SlotKind::String: return node == NodeKind::String;
    case SlotKind::Path: return node == NodeKind::PathName;
  }
  return false;
}

// The literal nodes of a tree that can be kept, in no particular order; false when the tree holds
// something that must not be kept.
struct LiteralWalk {
  std::vector<const Expr*> literals;
  bool keepable = true;

  void visit(const Expr* e) {
    switch (e->kind) {
      case NodeKind::Function: case NodeKind::Struct: case NodeKind::Reference: keepable = false; return;
      case NodeKind::Block:
        if (e->as<script::Block>().included) {
          keepable = false;
          return;
        }
        break;
      case NodeKind::Integer: case NodeKind::Float: case NodeKind::String: case NodeKind::PathName:
        literals.push_back(e);
        break;
      default: break;
    }
    // Trees are at most Parser::kMaxDepth high, so the recursion is bounded.
    forEachChild(e, [this](const Expr* child) {
      if (keepable) visit(child);
    });
  }
};

// Each slot's literal node: the one node of the slot's kind that starts where the slot does (a
// negative number's literal starts at its sign). Null when any slot has none or the tree cannot
// be kept.
bool findSlotNodes(const std::vector<const Expr*>& exprs, const std::vector<ShapeSlot>& slots, std::vector<Expr*>& out) {
  LiteralWalk walk;
  for (const Expr* e : exprs)
    if (walk.keepable) walk.visit(e);
  if (!walk.keepable) return false;
  out.clear();
  for (const ShapeSlot& slot : slots) {
    const Expr* found = nullptr;
    for (const Expr* lit : walk.literals) {
      if (lit->offset != slot.offset) continue;
      if (found || !slotFits(slot.kind, lit->kind)) return false;
      found = lit;
    }
    if (!found) return false;
    // The parser's nodes are ours to change: the tree is only read while it runs.
    out.push_back(const_cast<Expr*>(found));
  }
  return true;
}

// The commonest literals, read here directly: digits, digits with a fraction or exponent, a string
// without escapes, $name. The shape scan has made sure that the lexer would read each of them as
// one literal ending where the slot ends, and their values are what the lexer's own reading gives
// (the same from_chars; the text between the quotes; the name itself). False for anything else.
bool readPlain(std::string_view lit, Expr* node, script::PathSegment& pathStore) {
  switch (node->kind) {
    case NodeKind::Integer: {
      std::int64_t v = 0;
      auto r = std::from_chars(lit.data(), lit.data() + lit.size(), v);
      if (r.ec != std::errc() || r.ptr != lit.data() + lit.size()) return false;
      static_cast<script::Integer*>(node)->value = v;
      return true;
    }
    case NodeKind::Float: {
      double v = 0;
      auto r = std::from_chars(lit.data(), lit.data() + lit.size(), v);
      if (r.ec != std::errc() || r.ptr != lit.data() + lit.size()) return false;
      static_cast<script::Float*>(node)->value = v;
      return true;
    }
    case NodeKind::String:
      if (lit.size() < 2 || lit.front() != '"' || lit.back() != '"' || lit.find('\\') != std::string_view::npos) return false;
      static_cast<script::String*>(node)->value = lit.substr(1, lit.size() - 2);
      return true;
    case NodeKind::PathName:
      if (lit.size() < 2 || lit[1] == '\'') return false;
      pathStore = {lit.substr(1), false, false};
      static_cast<script::PathName*>(node)->segments = {&pathStore, 1};
      return true;
    default: return false;
  }
}

// The same by the lexer, for every other literal. False when the slot does not read as one
// literal of the node's kind.
bool readLexed(std::string_view lit, std::string_view rest, Expr* node, script::Arena& arena) {
  script::Lexer lexer(rest, 0, arena);
  script::Token tok;
  lexer.next(tok);
  if (tok.spaceBefore || tok.length != lit.size()) return false;
  switch (node->kind) {
    case NodeKind::Integer:
      if (tok.kind != script::TokenKind::Integer) return false;
      static_cast<script::Integer*>(node)->value = tok.integer;
      return true;
    case NodeKind::Float:
      if (tok.kind != script::TokenKind::Float) return false;
      static_cast<script::Float*>(node)->value = tok.number;
      return true;
    case NodeKind::String:
      if (tok.kind != script::TokenKind::String) return false;
      static_cast<script::String*>(node)->value = tok.text;
      return true;
    case NodeKind::PathName:
      if (tok.kind != script::TokenKind::PathName) return false;
      static_cast<script::PathName*>(node)->segments = tok.path;
      return true;
    default: return false;
  }
}

// Writes the slot literals of `text` into the kept nodes, each read as a parse would read it. False
// when a slot does not read as one literal of its node's kind (then the text is parsed instead,
// which gives its own error if it has one).
bool bindSlots(std::string_view text, const std::vector<ShapeSlot>& slots, const std::vector<Expr*>& nodes,
               std::vector<script::PathSegment>& pathStore, script::Arena& arena) {
  for (std::size_t k = 0; k < slots.size(); ++k) {
    const ShapeSlot& slot = slots[k];
    const std::size_t start = slot.offset + (slot.negative ? 1 : 0);
    const std::string_view lit = text.substr(start, slot.offset + slot.length - start);
    Expr* node = nodes[k];
    if (!readPlain(lit, node, pathStore[k]) && !readLexed(lit, text.substr(start), node, arena)) return false;
    if (!slot.negative) continue;
    // The parser folds the sign into the literal the same way.
    if (node->kind == NodeKind::Integer) {
      auto& v = static_cast<script::Integer*>(node)->value;
      if (v == INT64_MIN) return false;
      v = -v;
    } else if (node->kind == NodeKind::Float) {
      auto& v = static_cast<script::Float*>(node)->value;
      v = -v;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

ShapeCache& ShapeCache::get() {
  static ShapeCache cache;
  return cache;
}

ShapeCache::ShapeCache() {
  const char* setting = std::getenv("QZM_SCRIPT_SHAPE_CACHE");
  enabled_ = !(setting && std::strcmp(setting, "0") == 0);
}

void ShapeCache::setEnabled(bool on) {
  enabled_ = on;
  if (!on) clear();
}

void ShapeCache::clear() {
  shapes_.clear();
  recent_.clear();
}

Value* ShapeCache::evalText(std::string_view text, const std::string& fileName) {
  if (!enabled_ || !script::findShape(text, shape_)) return evalParsed(text, fileName, nullptr);
  auto found = shapes_.find(shape_.key);
  if (found == shapes_.end()) {
    script::TextShape shape = std::move(shape_);
    return evalParsed(text, fileName, &shape);
  }
  Entry entry = found->second;  // kept alive while it runs, even if texts it runs push it out
  recent_.splice(recent_.begin(), recent_, entry->recent);
  if (!entry->tree || entry->running) return evalParsed(text, fileName, nullptr);
  script::Arena arena;  // decoded strings and path segments of this text's slots
  if (!bindSlots(text, shape_.slots, entry->slotNodes, entry->pathSegments, arena))
    return evalParsed(text, fileName, nullptr);
  return runKept(entry);
}

Value* ShapeCache::runKept(const Entry& entry) {
  ++stats_.reused;
  entry->running = true;
  OnScopeExit done([&] { entry->running = false; });
  Value* last = undefined;
  for (const Expr* e : entry->exprs)
    if (failed(last = Evaluator::evalTopOrFail(e, entry->tree))) break;
  return last;
}

Value* ShapeCache::evalParsed(std::string_view text, const std::string& fileName, script::TextShape* learnFrom) {
  ++stats_.parsed;
  script::Parser parser(text, 0, fileName);
  std::vector<const Expr*> exprs;
  // Learnt however the run ends: a text whose run fails is as good a model of its shape. The rest
  // of the text is parsed first (a text runs each expression as soon as it is parsed).
  OnScopeExit learnAfter([&] {
    if (!learnFrom) return;
    try {
      while (const Expr* e = parser.compileNext()) exprs.push_back(e);
      learn(*learnFrom, parser.tree(), exprs);
    } catch (...) {
      // a syntax error further on: such texts are not kept
    }
  });
  Value* last = undefined;
  while (const Expr* e = parser.compileNext()) {
    if (learnFrom) exprs.push_back(e);
    if (failed(last = Evaluator::evalTopOrFail(e, parser.tree()))) break;
  }
  return last;
}

void ShapeCache::learn(script::TextShape& shape, const std::shared_ptr<script::SyntaxTree>& tree,
                       std::vector<const Expr*>& exprs) {
  // Shapes run from inside their own first text were learnt by the inner run already.
  if (!enabled_ || shapes_.count(shape.key)) return;
  auto entry = std::make_shared<Compiled>();
  if (findSlotNodes(exprs, shape.slots, entry->slotNodes)) {
    entry->tree = tree;
    entry->exprs = std::move(exprs);
    entry->pathSegments.resize(shape.slots.size());
  } else {
    entry->slotNodes.clear();
  }
  if (shapes_.size() >= kMaxShapes) {
    shapes_.erase(recent_.back());
    recent_.pop_back();
  }
  recent_.push_front(shape.key);
  entry->recent = recent_.begin();
  shapes_.emplace(std::move(shape.key), std::move(entry));
}

}  // namespace sim::rt
