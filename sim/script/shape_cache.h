// Compiled texts kept by their shape (script/text_shape.h), so that a text of a known shape runs
// without being lexed and parsed.
//
// A plug-in that drives the host through composed texts runs thousands of them that differ only in
// the node names, strings and numbers spliced in. The first text of a shape is parsed and run as
// always; its tree is kept, with the literal nodes of the slots noted. A later text of that shape
// has only its slot literals read (by the lexer itself, so values decode exactly as in a parse),
// writes them into those nodes and runs the kept tree.
//
// What is never kept, so that a kept tree is only ever read while it runs:
// - texts with definitions or references (`fn`, `struct`, `&x`): what they make holds on to the
//   tree, and a later text must not change what an earlier one defined;
// - texts that include files, or that hold a syntax error;
// - texts the shape scan does not cover (comments, verbatim strings, ...): parsed every time.
// A text of a shape whose tree is running (run again from inside itself through `execute`) is
// parsed on its own. The cache holds at most kMaxShapes trees, the least recently used going first.
//
// QZM_SCRIPT_SHAPE_CACHE=0 in the environment turns the cache off; results are the same either
// way, only slower.
#pragma once

#include "host_api.h"
#include "maxscript/classes.h"
#include "script/ast.h"
#include "script/text_shape.h"

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sim::rt {

class HOST_API ShapeCache {
 public:
  static constexpr std::size_t kMaxShapes = 256;

  static ShapeCache& get();

  // Runs every expression of `text` in the global scope, as Runtime::evalTextOrFail does (the first
  // that fails ends the text with kFailed); the last one's
  // value. `fileName` is the file the text runs from, where an `include` looks.
  Value* evalText(std::string_view text, const std::string& fileName);

  bool enabled() const { return enabled_; }
  // Turning the cache off also empties it.
  void setEnabled(bool on);
  void clear();

  struct Stats {
    std::size_t reused = 0;  // texts run from a kept tree
    std::size_t parsed = 0;  // texts parsed (first of their shape, not shaped, or not keepable)
  };
  const Stats& stats() const { return stats_; }
  // Shapes known, kept trees and shapes known to be parsed every time alike.
  std::size_t size() const { return shapes_.size(); }

 private:
  struct Compiled;
  using Entry = std::shared_ptr<Compiled>;

  ShapeCache();
  Value* evalParsed(std::string_view text, const std::string& fileName, script::TextShape* learnFrom);
  void learn(script::TextShape& shape, const std::shared_ptr<script::SyntaxTree>& tree, std::vector<const script::Expr*>& exprs);
  Value* runKept(const Entry& entry);

  bool enabled_ = true;
  script::TextShape shape_;  // the last text's shape; reused so that shaping allocates nothing
  std::unordered_map<std::string, Entry> shapes_;
  std::list<std::string> recent_;  // keys of shapes_, most recently used first
  Stats stats_;
};

}  // namespace sim::rt
