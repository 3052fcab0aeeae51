// The syntax tree of script text, as the parser builds it and the evaluator walks it.
//
// What every node shares:
// - A node is an `Expr` whose `kind` says which struct below it is; `e->as<Call>()` gives the struct.
//   Every construct of the language is an expression (it has a value), so there is no separate
//   statement type.
// - `line`/`column` (1-based, columns in bytes) and `offset` locate the node's first token, except
//   where a node's comment names another token (binary operators point at the operator).
// - No tree is higher than Parser::kMaxDepth (`height`), so a recursive walk cannot run out of stack.
// - Children are `const Expr*`, never null unless the field's comment says "or null". Lists are
//   spans. Names are interned `Symbol`s, so the evaluator compares names by address and never
//   changes case at run time; the spelling as written is kept beside them for messages.
// - Nodes live in the arena of their `SyntaxTree` and point into its copy of the source text; they
//   have no destructors. Keep the tree (a shared_ptr) alive as long as anything refers to its nodes,
//   e.g. a function defined by the text.
#pragma once

#include "host_api.h"
#include "script/arena.h"
#include "script/symbol.h"
#include "script/token.h"

#include <cassert>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace sim::script {

// ---- nodes ----------------------------------------------------------------------------------------

enum class NodeKind : std::uint8_t {
  // literals
  Integer, Float, Time, String, NameLiteral, PathName, Constant, ArrayLiteral, BitArrayLiteral,
  Range, PointLiteral,
  // names, access, calls, operators
  Var, Property, Index, Call, Unary, Binary, Assign, Reference,
  // sequences and control
  Block, If, While, DoWhile, For, Exit, Continue, Return, Throw, Case, Try,
  // definitions
  Decl, Function, Struct,
  // the host's own forms
  Context, MaxCommand,
};

struct Expr {
  NodeKind kind;
  std::uint16_t height = 1;  // levels from this node down, a leaf being 1; at most Parser::kMaxDepth
  std::uint32_t line = 0;
  std::uint32_t column = 0;
  std::uint32_t offset = 0;

  template <class T>
  const T& as() const {
    assert(kind == T::kKind);
    return static_cast<const T&>(*this);
  }
  template <class T>
  const T* tryAs() const {
    return kind == T::kKind ? static_cast<const T*>(this) : nullptr;
  }

 protected:
  explicit Expr(NodeKind k) : kind(k) {}
};

using ExprList = std::span<const Expr* const>;

template <NodeKind K>
struct Node : Expr {
  static constexpr NodeKind kKind = K;
  Node() : Expr(K) {}
};

// 42, 0x1F. Larger than 64 bits in decimal it becomes a Float; the runtime picks the value class.
struct Integer : Node<NodeKind::Integer> {
  std::int64_t value = 0;
};

// 0.5, .5, 1e-3
struct Float : Node<NodeKind::Float> {
  double value = 0;
};

// 10f, 5t, 1.5f, 1m30s: the parts as written; ticks = seconds * 4800 + frames * ticksPerFrame + ticks.
struct Time : Node<NodeKind::Time> {
  TimeParts parts{};
};

// "text" with escapes resolved, or @"verbatim".
struct String : Node<NodeKind::String> {
  std::string_view value;
};

// #name, #'name with spaces'
struct NameLiteral : Node<NodeKind::NameLiteral> {
  const Symbol* name = nullptr;
  std::string_view spelling;
};

// $Box01, $'Box 01', $Box*, $a/b. No segments means `$`, the current selection.
struct PathName : Node<NodeKind::PathName> {
  std::span<const PathSegment> segments;
};

// true false on off undefined unsupplied ok (`on`/`off` are true/false)
enum class ConstantValue : std::uint8_t { True, False, Undefined, Unsupplied, Ok };
struct Constant : Node<NodeKind::Constant> {
  ConstantValue value = ConstantValue::Undefined;
};

// #(e1, e2, ...)
struct ArrayLiteral : Node<NodeKind::ArrayLiteral> {
  ExprList elements;
};

// #{1, 3..5}: items are expressions (one bit) or Range nodes.
struct BitArrayLiteral : Node<NodeKind::BitArrayLiteral> {
  ExprList items;
};

// from..to, only inside a bit array literal.
struct Range : Node<NodeKind::Range> {
  const Expr* from = nullptr;
  const Expr* to = nullptr;
};

// [x,y], [x,y,z], [x,y,z,w]: 2 to 4 components.
struct PointLiteral : Node<NodeKind::PointLiteral> {
  ExprList components;
};

// A variable, function or class referred to by name (also 'quoted names').
struct Var : Node<NodeKind::Var> {
  const Symbol* name = nullptr;
  std::string_view spelling;
};

// object.name; the node's position is that of the dot.
struct Property : Node<NodeKind::Property> {
  const Expr* object = nullptr;
  const Symbol* name = nullptr;
  std::string_view spelling;
};

// object[index] (1-based at run time); the node's position is that of the bracket.
struct Index : Node<NodeKind::Index> {
  const Expr* object = nullptr;
  const Expr* index = nullptr;
};

// callee arg... key:value...; `f()` has neither. When the callee is a Property the call is a method
// call on the property's object (`obj.fn a`, `theHold.Begin()`). Positional arguments keep their
// order, as do keyword arguments; the runtime passes the positional ones first, then the keyword
// marker and the name/value pairs.
struct KeyArg {
  const Symbol* name;
  std::string_view spelling;
  const Expr* value;
  std::uint32_t line, column;
};
struct Call : Node<NodeKind::Call> {
  const Expr* callee = nullptr;
  ExprList args;
  std::span<const KeyArg> keys;
};

// -operand, not operand
enum class UnaryOp : std::uint8_t { Negate, Not };
struct Unary : Node<NodeKind::Unary> {
  UnaryOp op = UnaryOp::Negate;
  const Expr* operand = nullptr;
};

// lhs op rhs; the node's position is that of the operator. And/Or evaluate rhs only when needed. For
// As, rhs is the class operand (`x as string`).
enum class BinaryOp : std::uint8_t { Add, Sub, Mul, Div, Pow, As, Eq, Ne, Lt, Le, Gt, Ge, And, Or };
struct Binary : Node<NodeKind::Binary> {
  BinaryOp op = BinaryOp::Add;
  const Expr* lhs = nullptr;
  const Expr* rhs = nullptr;
};

// target op value, target being a Var, Property or Index; position of the operator.
enum class AssignOp : std::uint8_t { Set, Add, Sub, Mul, Div };
// &target: a reference to a variable, property or array element, passed to a by-reference
// parameter, through which the function reads and assigns the caller's place.
struct Reference : Node<NodeKind::Reference> {
  const Expr* target = nullptr;  // a Var, Property or Index
};

struct Assign : Node<NodeKind::Assign> {
  AssignOp op = AssignOp::Set;
  const Expr* target = nullptr;
  const Expr* value = nullptr;
};

// ( e1; e2 <newline> e3 ): the value of the last, undefined when empty. `scoped` is set when one of
// the block's own expressions is a `local` declaration or a function or struct definition, which
// then belong to the block's scope.
// `include "file"` is a block too, never scoped, holding the file's expressions; a block that
// holds an include takes those expressions in as its own.
struct Block : Node<NodeKind::Block> {
  ExprList exprs;
  bool scoped = false;
  bool included = false;
};

// if cond then a [else b] / if cond do a
struct If : Node<NodeKind::If> {
  const Expr* cond = nullptr;
  const Expr* thenBranch = nullptr;
  const Expr* elseBranch = nullptr;  // or null
  bool doForm = false;               // written `if c do a`
};

struct While : Node<NodeKind::While> {
  const Expr* cond = nullptr;
  const Expr* body = nullptr;
};

// do body while cond
struct DoWhile : Node<NodeKind::DoWhile> {
  const Expr* body = nullptr;
  const Expr* cond = nullptr;
};

// for var in collection ... / for var = from to to [by step] ... (also `for var in from to to`),
// then [where filter] [while cond] (do | collect) body. `for var, index, filtered in ...` also
// counts the steps from 1: index every value of the sequence, filtered those that pass `where`.
struct For : Node<NodeKind::For> {
  const Symbol* var = nullptr;
  std::string_view spelling;
  const Symbol* index = nullptr;     // or null
  const Symbol* filtered = nullptr;  // or null
  const Expr* collection = nullptr;  // the `in` form, or null
  const Expr* from = nullptr;        // the counting form, or null
  const Expr* to = nullptr;          // or null
  const Expr* by = nullptr;          // or null
  const Expr* where = nullptr;       // or null
  const Expr* whileCond = nullptr;   // or null
  const Expr* body = nullptr;
  bool collect = false;
};

// exit [with value]
struct Exit : Node<NodeKind::Exit> {
  const Expr* value = nullptr;  // or null
};

struct Continue : Node<NodeKind::Continue> {};

// return [value]
struct Return : Node<NodeKind::Return> {
  const Expr* value = nullptr;  // or null
};

// throw value; a bare `throw` (or `throw()`) rethrows the error being handled.
struct Throw : Node<NodeKind::Throw> {
  const Expr* value = nullptr;  // or null
};

// case [subject] of ( label: body ... default: body ). Without a subject a clause is taken when its
// label is true.
struct CaseClause {
  const Expr* label;
  const Expr* body;
};
struct Case : Node<NodeKind::Case> {
  const Expr* subject = nullptr;  // or null
  std::span<const CaseClause> clauses;
  const Expr* defaultBody = nullptr;  // or null
};

struct Try : Node<NodeKind::Try> {
  const Expr* body = nullptr;
  const Expr* handler = nullptr;
};

// global a, b = e / local a = e, b
struct Declarator {
  const Symbol* name;
  std::string_view spelling;
  const Expr* init;  // or null
  std::uint32_t line, column;
};
struct Decl : Node<NodeKind::Decl> {
  bool global = false;
  std::span<const Declarator> names;
};

// [mapped] fn name a &b key:default key2: &out: = body
struct Param {
  const Symbol* name;
  std::string_view spelling;
  bool keyword;               // written `name:`
  const Expr* defaultValue;   // keyword parameters only; null means unsupplied
  std::uint32_t line, column;
  bool byRef;                 // written `&name`: given a reference, it reads and sets the caller's place
};
struct Function : Node<NodeKind::Function> {
  const Symbol* name = nullptr;
  std::string_view spelling;
  std::span<const Param> params;
  const Expr* body = nullptr;
  bool mapped = false;
};

// struct Name (a = 1, b, fn f = a + 1, private c, on create do ...). `public` and `private` open a
// section that holds until the next one; members are public until the first.
struct StructMember {
  const Symbol* name;
  std::string_view spelling;
  const Expr* init;          // a field's initial value, or null
  const Function* method;    // set for a function member (then init is null)
  std::uint32_t line, column;
  bool isPrivate;
};
struct Struct : Node<NodeKind::Struct> {
  const Symbol* name = nullptr;
  std::string_view spelling;
  std::span<const StructMember> members;
  const Expr* onCreate = nullptr;  // on create do ..., or null
  const Expr* onClone = nullptr;   // on clone do ..., or null
};

// at time t e / animate on e / undo ["label"] on e / with animate off e / with redraw off e /
// in coordsys local e / about pivot e. `with` and `in` only change how it is written, not what it
// means. The words of coordsys and about (world, local, pivot, ...) are parsed as name literals.
// at level <node> e / in <node> e: the node new scene objects are linked to.
// `set animate on` (and time, undo, coordsys, about, level) is the sticky form: no body; the
// setting lasts until changed.
enum class ContextKind : std::uint8_t { AtTime, Animate, Undo, CoordSys, About, Level, Other };
struct Context : Node<NodeKind::Context> {
  ContextKind context = ContextKind::Other;
  bool sticky = false;           // set ...: body is null
  const Symbol* name = nullptr;  // Other: the context's name (redraw, quiet, ...), else null
  const Expr* label = nullptr;   // Undo: the label, or null
  const Expr* value = nullptr;   // the time, the on/off operand, the system, the centre or the level
  const Expr* body = nullptr;
};

// max undo / max redo: the command's words, lower-cased and joined by single blanks.
struct MaxCommand : Node<NodeKind::MaxCommand> {
  std::string_view command;
};

// Calls `visit` for each direct child expression of `e` (call arguments, keyword values, parameter
// defaults, struct members, ...) in the order they appear in the text; absent optional children are
// skipped.
HOST_API void forEachChild(const Expr* e, void (*visit)(const Expr* child, void* context), void* context);

template <class F>
void forEachChild(const Expr* e, F&& visit) {
  using Visitor = std::remove_reference_t<F>;
  forEachChild(e, [](const Expr* child, void* context) { (*static_cast<Visitor*>(context))(child); },
               const_cast<void*>(static_cast<const void*>(&visit)));
}

// ---- the tree -------------------------------------------------------------------------------------

// Owns the nodes parsed from one text and the copy of the text they point into.
class HOST_API SyntaxTree {
 public:
  explicit SyntaxTree(std::string_view source) : source_(arena_.copy(source)) {}

  std::string_view source() const { return source_; }
  // The text's top-level expressions, when it was parsed whole (parseScript).
  ExprList expressions() const { return top_; }

  Arena& arena() { return arena_; }
  void setExpressions(ExprList top) { top_ = top; }
  // Keeps the tree of an included file alive as long as this one, which points into it.
  void adopt(std::shared_ptr<SyntaxTree> included) { included_.push_back(std::move(included)); }

 private:
  Arena arena_;
  std::string_view source_;
  ExprList top_;
  std::vector<std::shared_ptr<SyntaxTree>> included_;
};

}  // namespace sim::script
