#include "script/path_names.h"
#include "script/script_failure.h"

#include "core/text.h"
#include "inode.h"
#include "maxapi.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "script/evaluator.h"
#include "script/node_bounds.h"
#include "script/property_table.h"
#include "script/runtime.h"
#include "script/selection.h"

#include <string>
#include <vector>

namespace sim::rt {
namespace {

ValueMetaClass ObjectSet_class("ObjectSet");


// Nodes matching a path, in scene order.
class ObjectSet : public Value {
 public:
  explicit ObjectSet(std::vector<INode*> nodes, std::string label = "$selection") : label_(std::move(label)) {
    tag = &ObjectSet_class;
    for (INode* n : nodes) items_.emplace_back(MAXNode::intern(n));
  }
  Array* as_collection() override {
    auto* a = static_cast<Array*>(keep(new Array(static_cast<int>(items_.size()))));
    for (ValueRef& v : items_) a->append(v.get());
    return a;
  }
  Value* get_property(Value* prop) override {
    if (static_cast<Name*>(prop)->lower == "count") return Integer::intern(static_cast<int>(items_.size()));
    if (items_.empty()) return unknown_property(this, prop);
    if (Value* bounds = nodeSetBounds(as_collection(), prop)) return bounds;
    return items_.front()->get_property(prop);
  }
  Value* set_property(Value* prop, Value* v) override {
    for (ValueRef& n : items_) n->set_property(prop, v);
    return v;
  }
  bool has_property(Value* prop) override { return !items_.empty() && items_.front()->has_property(prop); }
  Value* get_index(Value* index) override {
    int i = index->to_int();
    if (i < 1 || i > static_cast<int>(items_.size())) throw RuntimeError("Array index out of bounds: ", index);
    return items_[static_cast<size_t>(i - 1)].get();
  }
  INode* to_node() override {
    if (items_.empty()) throw ConversionError(this, "MAXNode");
    return items_.front()->to_node();
  }
  void sprin1(CharStream* s) override {
    s->puts(label_.c_str());
    if (items_.empty()) return;
    s->puts(" #(");
    for (size_t i = 0; i < items_.size(); ++i) {
      if (i) s->puts(", ");
      items_[i]->sprin1(s);
    }
    s->puts(")");
  }

 protected:
  void clear_contents() override { items_.clear(); }

 private:
  std::vector<ValueRef> items_;
  std::string label_;
};

// The scene's node sets, which a path may name instead of a node: $objects, $geometry, ...
bool isNodeSetName(std::string_view name) {
  for (const char* set : {"objects", "geometry", "lights", "cameras", "helpers", "shapes", "spacewarps", "selection"})
    if (equalsIgnoreCase(name, set)) return true;
  return false;
}

// The nodes of the set named by the system global of that name, as a path collection.
Value* nodeSet(std::string_view name) {
  std::vector<INode*> nodes;
  if (Array* items = Runtime::get().builtin(script::intern(name))->as_collection())
    for (int i = 0; i < items->size; ++i) nodes.push_back(items->data[i]->to_node());
  std::string label = "$";
  for (char c : name) label += asciiLower(c);
  return new ObjectSet(std::move(nodes), std::move(label));
}

// A name against a segment's pattern, without case: * any run of characters, ? any one, and a
// backslash makes the character after it literal.
bool patternMatch(std::string_view name, std::string_view pattern) {
  size_t n = 0, p = 0;
  size_t starP = std::string_view::npos, starN = 0;  // where to go on after the last *
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = ++p;
      starN = n;
      continue;
    }
    if (p < pattern.size()) {
      bool escaped = pattern[p] == '\\' && p + 1 < pattern.size();
      char want = pattern[escaped ? p + 1 : p];
      if ((!escaped && want == '?') || asciiLower(want) == asciiLower(name[n])) {
        p += escaped ? 2 : 1;
        ++n;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    p = starP;  // let the last * take one more character
    n = ++starN;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// Children of `parent` matching `seg`, in scene order (depth first, children in order); with `deep`
// every descendant is looked at, not only the direct children.
void collectChildren(INode* parent, const PathSegment& seg, bool deep, std::vector<INode*>& out) {
  std::vector<INode*> stack;
  for (int i = parent->NumberOfChildren(); i-- > 0;) stack.push_back(parent->GetChildNode(i));
  while (!stack.empty()) {
    INode* c = stack.back();
    stack.pop_back();
    bool match = seg.wildcard ? patternMatch(c->GetName(), seg.text) : equalsIgnoreCase(c->GetName(), seg.text);
    if (match) out.push_back(c);
    if (deep)
      for (int i = c->NumberOfChildren(); i-- > 0;) stack.push_back(c->GetChildNode(i));
  }
}

}  // namespace

Value* resolvePath(const PathName& path) {
  Interface* ip = GetCOREInterface();
  if (path.segments.empty()) return selectionValue();
  const PathSegment& first = path.segments[0];
  // The usual case: one plain name, found through the scene's name index.
  if (path.segments.size() == 1 && !first.wildcard) {
    std::string name(first.text);
    INode* n = ip->GetINodeByName(name.c_str());
    if (!n && isNodeSetName(name)) return nodeSet(name);
    return wrapTarget(n);
  }
  std::vector<INode*> current;
  collectChildren(ip->GetRootNode(), first, true, current);
  for (size_t k = 1; k < path.segments.size(); ++k) {
    std::vector<INode*> next;
    for (INode* n : current) collectChildren(n, path.segments[k], false, next);
    current = std::move(next);
  }
  bool wild = false;
  for (const PathSegment& s : path.segments) wild = wild || s.wildcard;
  if (!wild) return current.empty() ? undefined : wrapTarget(current.front());
  return new ObjectSet(std::move(current));
}

}  // namespace sim::rt
