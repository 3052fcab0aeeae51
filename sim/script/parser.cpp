#include "script/parser.h"

#include "script/include_files.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace sim::script {

namespace {

// Lists under construction share one stack per element type, so building a call's arguments or a
// block's expressions allocates nothing once the stack has grown; a builder gives back its part
// when it goes out of scope, also when a syntax error unwinds it.
template <class T>
class ListBuilder {
 public:
  ListBuilder() : items_(stack()), mark_(items_.size()) {}
  ~ListBuilder() { items_.resize(mark_); }
  ListBuilder(const ListBuilder&) = delete;
  ListBuilder& operator=(const ListBuilder&) = delete;

  void push(const T& item) { items_.push_back(item); }
  std::size_t size() const { return items_.size() - mark_; }
  std::span<const T> finish(Arena& arena) const {
    return arena.copy(std::span<const T>(items_.data() + mark_, size()));
  }

 private:
  static std::vector<T>& stack() {
    thread_local std::vector<T> items;
    return items;
  }
  std::vector<T>& items_;
  std::size_t mark_;
};

std::string_view checkedSize(std::string_view source) {
  if (source.size() > 0x7FFFFFFF)
    throw SyntaxError(SyntaxError::kEndOfScript, "script too large", "", 1, 1, false);
  return source;
}

}  // namespace

// The grammar, one function per rule, each headed by its rule. Expressions end at a line break once
// they are complete: binary operators, arguments, `=` and postfix `.`/`[` continue an expression
// only from the same line, while a construct that still needs a part (`then`, `else`, `do`, `of`,
// `catch`, an operand after an operator, a closing bracket) takes it from any following line.
class Grammar {
 public:
  explicit Grammar(Parser& p) : lex_(p.lexer_), tok_(p.tok_), arena_(p.tree_->arena()), parser_(p) {}

  // chunk -> { ';' } [ expr ( ';' | <line break> | <end> ) ] : one expression per call
  const Expr* topLevel() {
    while (accept(TokenKind::Semicolon)) {}
    if (check(TokenKind::Eof)) return nullptr;
    const Expr* e = expr();
    if (!check(TokenKind::Eof) && !check(TokenKind::Semicolon) && !tok_.newlineBefore)
      expected("end of line");
    while (accept(TokenKind::Semicolon)) {}
    return e;
  }

 private:
  // ---- tokens and errors ------------------------------------------------------------------------

  void advance() { lex_.next(tok_); }
  bool check(TokenKind k) const { return tok_.kind == k; }
  bool sameLine() const { return !tok_.newlineBefore; }
  bool accept(TokenKind k) {
    if (tok_.kind != k) return false;
    advance();
    return true;
  }

  [[noreturn]] void error(std::string detail) {
    if (tok_.kind == TokenKind::Error) throw lex_.errorFor(tok_);
    throw lex_.errorAt(tok_, std::move(detail));
  }
  [[noreturn]] void expected(std::string_view what) { error("expected " + std::string(what)); }
  void expect(TokenKind k, std::string_view what) {
    if (!accept(k)) expected(what);
  }
  // A closing bracket; when it is missing on a later line, the message says which one it closes.
  void expectClosing(TokenKind k, std::string_view what, const Token& open) {
    if (accept(k)) return;
    std::string detail = "expected " + std::string(what);
    if (open.line != tok_.line)
      detail += " (to close '" + lex_.describe(open) + "' at line " + std::to_string(open.line) + ")";
    error(std::move(detail));
  }

  // Bounds the recursion, as every cycle of the grammar passes through a function holding a Level.
  class Level {
   public:
    explicit Level(Grammar& g) : g_(g) {
      if (++g_.depth_ > Parser::kMaxDepth) g_.error("too deeply nested");
    }
    ~Level() { --g_.depth_; }

   private:
    Grammar& g_;
  };

  // Records a finished node's height; a tree may grow deep without recursion (a + b + c ...,
  // a.b.c ..., f()() ...), and it is the tree's height that a walk over it pays for.
  // A binary operator's left operand that is itself a binary operator costs no level: walks go
  // down such a left spine in a loop, so `1 + 1 + ... + 1` is as shallow as `1 + 1`.
  template <class T>
  T* seal(T* n) {
    int height = 0;
    forEachChild(n, [&height](const Expr* child) {
      if (child->height + 1 > height) height = child->height + 1;
    });
    if constexpr (std::is_same_v<T, Binary>) {
      if (n->lhs && n->lhs->kind == NodeKind::Binary)
        height = std::max<int>(n->lhs->height, n->rhs ? n->rhs->height + 1 : 1);
    }
    if (height > Parser::kMaxDepth) error("too deeply nested");
    n->height = static_cast<std::uint16_t>(std::max(height, 1));
    return n;
  }

  template <class T>
  T* node(const Token& at) {
    T* n = arena_.make<T>();
    n->line = at.line;
    n->column = at.column;
    n->offset = at.offset;
    return seal(n);
  }
  template <class T>
  T* node(const Expr* at) {
    T* n = arena_.make<T>();
    n->line = at->line;
    n->column = at->column;
    n->offset = at->offset;
    return seal(n);
  }

  // A word in a place where reserved words are names too: after `.`, before `:` in a call.
  bool checkWord() const { return check(TokenKind::Name) || isKeyword(tok_.kind); }

  // ---- expressions ------------------------------------------------------------------------------

  // expr -> ifExpr | whileExpr | doExpr | forExpr | caseExpr | tryExpr | throwExpr | returnExpr
  //       | exitExpr | CONTINUE | functionDef | structDef | declaration | context | setContext
  //       | maxCommand | assignment
  const Expr* expr() {
    Level level(*this);
    switch (tok_.kind) {
      case TokenKind::KwIf: return ifExpr();
      case TokenKind::KwWhile: return whileExpr();
      case TokenKind::KwDo: return doExpr();
      case TokenKind::KwFor: return forExpr();
      case TokenKind::KwCase: return caseExpr();
      case TokenKind::KwTry: return tryExpr();
      case TokenKind::KwThrow: return throwExpr();
      case TokenKind::KwReturn: return returnExpr();
      case TokenKind::KwExit: return exitExpr();
      case TokenKind::KwContinue: {
        auto* n = node<Continue>(tok_);
        advance();
        return n;
      }
      case TokenKind::KwFn:
      case TokenKind::KwFunction:
      case TokenKind::KwMapped: return functionDef();
      case TokenKind::KwStruct: return structDef();
      case TokenKind::KwGlobal:
      case TokenKind::KwLocal: return declaration();
      case TokenKind::KwAt:
      case TokenKind::KwAnimate:
      case TokenKind::KwUndo:
      case TokenKind::KwWith:
      case TokenKind::KwIn: return context();
      case TokenKind::KwMax: return maxCommand();
      case TokenKind::Name:
        if (checkContextWord("coordsys") || checkContextWord("about")) return context();
        if (checkContextWord("set")) return setContext();
        if (checkContextWord("include")) return include();
        return assignment();
      default: return assignment();
    }
  }

  // True when the current token can begin an expression (for the optional operand of return and
  // throw).
  bool startsExpression() const {
    switch (tok_.kind) {
      case TokenKind::Name: case TokenKind::Integer: case TokenKind::Float: case TokenKind::Time:
      case TokenKind::String: case TokenKind::NameLiteral: case TokenKind::PathName:
      case TokenKind::LParen: case TokenKind::EmptyParens: case TokenKind::LBracket:
      case TokenKind::ArrayOpen: case TokenKind::BitArrayOpen: case TokenKind::Minus:
      case TokenKind::KwNot: case TokenKind::KwIf: case TokenKind::KwWhile: case TokenKind::KwDo:
      case TokenKind::KwFor: case TokenKind::KwCase: case TokenKind::KwTry: case TokenKind::KwThrow:
      case TokenKind::KwFn: case TokenKind::KwFunction: case TokenKind::KwMapped:
      case TokenKind::KwReturn: case TokenKind::KwExit: case TokenKind::KwContinue:
      case TokenKind::KwGlobal: case TokenKind::KwLocal: case TokenKind::KwStruct:
      case TokenKind::KwAt: case TokenKind::KwAnimate: case TokenKind::KwWith: case TokenKind::KwUndo: case TokenKind::KwIn:
      case TokenKind::KwOn: case TokenKind::KwOff: case TokenKind::KwTrue: case TokenKind::KwFalse:
      case TokenKind::KwUndefined: case TokenKind::KwUnsupplied: case TokenKind::KwOk:
      case TokenKind::KwMax:
        return true;
      default:
        return false;
    }
  }

  // assignment -> orExpr [ ('=' | '+=' | '-=' | '*=' | '/=') expr ]   (orExpr a variable, property
  //               or index; the operator on its line)
  const Expr* assignment() {
    const Expr* target = orExpr();
    AssignOp op;
    switch (tok_.kind) {
      case TokenKind::Assign: op = AssignOp::Set; break;
      case TokenKind::PlusAssign: op = AssignOp::Add; break;
      case TokenKind::MinusAssign: op = AssignOp::Sub; break;
      case TokenKind::StarAssign: op = AssignOp::Mul; break;
      case TokenKind::SlashAssign: op = AssignOp::Div; break;
      default: return target;
    }
    if (!sameLine()) return target;
    if (target->kind != NodeKind::Var && target->kind != NodeKind::Property && target->kind != NodeKind::Index)
      error("expected a variable, property or index before " + lex_.describe(tok_));
    auto* n = node<Assign>(tok_);
    advance();
    n->op = op;
    n->target = target;
    n->value = expr();
    return seal(n);
  }

  const Expr* binary(BinaryOp op, const Expr* lhs, const Expr* (Grammar::*rhs)()) {
    auto* n = node<Binary>(tok_);
    advance();
    n->op = op;
    n->lhs = lhs;
    n->rhs = (this->*rhs)();
    return seal(n);
  }

  // orExpr -> andExpr { OR andExpr }
  const Expr* orExpr() {
    const Expr* e = andExpr();
    while (check(TokenKind::KwOr) && sameLine()) e = binary(BinaryOp::Or, e, &Grammar::andExpr);
    return e;
  }

  // andExpr -> notExpr { AND notExpr }
  const Expr* andExpr() {
    const Expr* e = notExpr();
    while (check(TokenKind::KwAnd) && sameLine()) e = binary(BinaryOp::And, e, &Grammar::notExpr);
    return e;
  }

  // notExpr -> NOT notExpr | compareExpr
  const Expr* notExpr() {
    if (!check(TokenKind::KwNot)) return compareExpr();
    Level level(*this);
    auto* n = node<Unary>(tok_);
    advance();
    n->op = UnaryOp::Not;
    n->operand = notExpr();
    return seal(n);
  }

  // compareExpr -> sumExpr { ('==' | '!=' | '<' | '<=' | '>' | '>=') sumExpr }
  const Expr* compareExpr() {
    const Expr* e = sumExpr();
    while (sameLine()) {
      BinaryOp op;
      switch (tok_.kind) {
        case TokenKind::Eq: op = BinaryOp::Eq; break;
        case TokenKind::Ne: op = BinaryOp::Ne; break;
        case TokenKind::Lt: op = BinaryOp::Lt; break;
        case TokenKind::Le: op = BinaryOp::Le; break;
        case TokenKind::Gt: op = BinaryOp::Gt; break;
        case TokenKind::Ge: op = BinaryOp::Ge; break;
        default: return e;
      }
      e = binary(op, e, &Grammar::sumExpr);
    }
    return e;
  }

  // sumExpr -> productExpr { ('+' | '-') productExpr }
  const Expr* sumExpr() {
    const Expr* e = productExpr();
    while (sameLine() && (check(TokenKind::Plus) || check(TokenKind::Minus)))
      e = binary(check(TokenKind::Plus) ? BinaryOp::Add : BinaryOp::Sub, e, &Grammar::productExpr);
    return e;
  }

  // productExpr -> powerExpr { ('*' | '/') powerExpr }
  const Expr* productExpr() {
    const Expr* e = powerExpr();
    while (sameLine() && (check(TokenKind::Star) || check(TokenKind::Slash)))
      e = binary(check(TokenKind::Star) ? BinaryOp::Mul : BinaryOp::Div, e, &Grammar::powerExpr);
    return e;
  }

  // powerExpr -> asExpr [ '^' powerExpr ]
  const Expr* powerExpr() {
    const Expr* e = asExpr();
    if (!check(TokenKind::Caret) || !sameLine()) return e;
    Level level(*this);
    return binary(BinaryOp::Pow, e, &Grammar::powerExpr);
  }

  // asExpr -> unaryExpr { AS operand }
  // `as` binds tighter than arithmetic, so "Box" + i as string appends the number's text.
  const Expr* asExpr() {
    const Expr* e = unaryExpr();
    while (check(TokenKind::KwAs) && sameLine()) e = binary(BinaryOp::As, e, &Grammar::operand);
    return e;
  }

  // unaryExpr -> '-' unaryExpr | callExpr
  const Expr* unaryExpr() {
    if (!check(TokenKind::Minus)) return callExpr();
    Level level(*this);
    Token minus = tok_;
    advance();
    return negate(minus, unaryExpr());
  }

  // -operand; a number or time literal takes the sign itself, so `-3` is a literal as in the text.
  const Expr* negate(const Token& minus, const Expr* operand) {
    switch (operand->kind) {
      case NodeKind::Integer:
        if (operand->as<Integer>().value == INT64_MIN) break;
        const_cast<Integer&>(operand->as<Integer>()).value *= -1;
        return reposition(operand, minus);
      case NodeKind::Float:
        const_cast<Float&>(operand->as<Float>()).value *= -1;
        return reposition(operand, minus);
      case NodeKind::Time: {
        TimeParts& t = const_cast<Time&>(operand->as<Time>()).parts;
        t = {-t.seconds, -t.frames, -t.ticks};
        return reposition(operand, minus);
      }
      default: break;
    }
    auto* n = node<Unary>(minus);
    n->op = UnaryOp::Negate;
    n->operand = operand;
    return seal(n);
  }
  static const Expr* reposition(const Expr* e, const Token& at) {
    auto* m = const_cast<Expr*>(e);
    m->line = at.line;
    m->column = at.column;
    m->offset = at.offset;
    return e;
  }

  // Values that can be called by juxtaposition. Literals cannot, so `5 -1` is a subtraction and
  // `x = 1 2` an error.
  static bool isCallee(const Expr* e) {
    switch (e->kind) {
      case NodeKind::Var: case NodeKind::Property: case NodeKind::Index: case NodeKind::Call: return true;
      default: return false;
    }
  }

  // A `-` that reads as the sign of an argument: blank before it, none after (`f -1`, `move b -x`).
  bool signedArgument() const {
    if (!tok_.spaceBefore) return false;
    std::string_view src = lex_.source();
    std::size_t after = std::size_t(tok_.offset) + 1;
    if (after >= src.size()) return false;
    char c = src[after];
    return c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\f' && c != '\v';
  }

  bool startsArgument() const {
    if (tok_.newlineBefore) return false;
    switch (tok_.kind) {
      case TokenKind::Name: case TokenKind::Integer: case TokenKind::Float: case TokenKind::Time:
      case TokenKind::String: case TokenKind::NameLiteral: case TokenKind::PathName:
      case TokenKind::LParen: case TokenKind::LBracket: case TokenKind::ArrayOpen:
      case TokenKind::BitArrayOpen: case TokenKind::KwTrue: case TokenKind::KwFalse:
      case TokenKind::KwOn: case TokenKind::KwOff: case TokenKind::KwUndefined:
      case TokenKind::KwUnsupplied: case TokenKind::KwOk:
        return true;
      case TokenKind::Minus: return signedArgument();
      case TokenKind::Ampersand: return true;
      default: return isKeyword(tok_.kind) && tok_.colonAfter;
    }
  }

  // callExpr -> operand { argument }             (arguments on the callee's line)
  // argument -> WORD ':' argOperand | argOperand
  const Expr* callExpr() {
    const Expr* callee = operand();
    if (!isCallee(callee) || !startsArgument()) return callee;
    auto* n = node<Call>(callee);
    n->callee = callee;
    ListBuilder<const Expr*> args;
    ListBuilder<KeyArg> keys;
    do {
      if (checkWord() && tok_.colonAfter) {
        KeyArg k{tok_.symbol, tok_.text, nullptr, tok_.line, tok_.column};
        advance();
        expect(TokenKind::Colon, ":");
        k.value = argOperand();
        keys.push(k);
      } else {
        args.push(argOperand());
      }
    } while (startsArgument());
    n->args = args.finish(arena_);
    n->keys = keys.finish(arena_);
    return seal(n);
  }

  // argOperand -> '-' operand | '&' operand | operand     (after '&' a variable, property or index)
  const Expr* argOperand() {
    if (check(TokenKind::Ampersand)) {
      Token amp = tok_;
      auto* n = node<Reference>(tok_);
      advance();
      n->target = operand();
      NodeKind k = n->target->kind;
      if (k != NodeKind::Var && k != NodeKind::Property && k != NodeKind::Index)
        throw lex_.errorAt(amp, "expected a variable, property or array element after &");
      return seal(n);
    }
    if (!check(TokenKind::Minus)) return operand();
    Token minus = tok_;
    advance();
    return negate(minus, operand());
  }

  // operand -> factor { '.' WORD | '[' expr ']' | '()' }   ('[' touching what it indexes)
  const Expr* operand() {
    const Expr* e = factor();
    while (sameLine()) {
      if (check(TokenKind::Dot)) {
        auto* n = node<Property>(tok_);
        advance();
        if (!checkWord()) expected("<name>");
        n->object = e;
        n->name = tok_.symbol;
        n->spelling = tok_.text;
        advance();
        e = seal(n);
      } else if (check(TokenKind::LBracket) && !tok_.spaceBefore) {
        Token open = tok_;
        auto* n = node<Index>(tok_);
        advance();
        n->object = e;
        n->index = expr();
        expectClosing(TokenKind::RBracket, "]", open);
        e = seal(n);
      } else if (check(TokenKind::EmptyParens)) {
        auto* n = node<Call>(e);
        advance();
        n->callee = e;
        e = seal(n);
      } else {
        break;
      }
    }
    return e;
  }

  // factor -> INTEGER | FLOAT | TIME | STRING | NAMELITERAL | PATHNAME | NAME | TRUE | FALSE | ON
  //         | OFF | UNDEFINED | UNSUPPLIED | OK | array | bitArray | point | block | '()'
  const Expr* factor() {
    const Expr* e;
    switch (tok_.kind) {
      case TokenKind::Integer: {
        auto* n = node<Integer>(tok_);
        n->value = tok_.integer;
        e = n;
        break;
      }
      case TokenKind::Float: {
        auto* n = node<Float>(tok_);
        n->value = tok_.number;
        e = n;
        break;
      }
      case TokenKind::Time: {
        auto* n = node<Time>(tok_);
        n->parts = tok_.time;
        e = n;
        break;
      }
      case TokenKind::String: {
        auto* n = node<String>(tok_);
        n->value = tok_.text;
        e = n;
        break;
      }
      case TokenKind::NameLiteral: {
        auto* n = node<NameLiteral>(tok_);
        n->name = tok_.symbol;
        n->spelling = tok_.text;
        e = n;
        break;
      }
      case TokenKind::PathName: {
        auto* n = node<PathName>(tok_);
        n->segments = tok_.path;
        e = n;
        break;
      }
      case TokenKind::Name: {
        auto* n = node<Var>(tok_);
        n->name = tok_.symbol;
        n->spelling = tok_.text;
        e = n;
        break;
      }
      case TokenKind::KwTrue: case TokenKind::KwOn: e = constant(ConstantValue::True); break;
      case TokenKind::KwFalse: case TokenKind::KwOff: e = constant(ConstantValue::False); break;
      case TokenKind::KwUndefined: e = constant(ConstantValue::Undefined); break;
      case TokenKind::KwUnsupplied: e = constant(ConstantValue::Unsupplied); break;
      case TokenKind::KwOk: e = constant(ConstantValue::Ok); break;
      case TokenKind::EmptyParens: e = node<Block>(tok_); break;
      case TokenKind::LParen: return block();
      case TokenKind::ArrayOpen: return array();
      case TokenKind::BitArrayOpen: return bitArray();
      case TokenKind::LBracket: return point();
      default: expected("<factor>");
    }
    advance();
    return e;
  }

  const Expr* constant(ConstantValue v) {
    auto* n = node<Constant>(tok_);
    n->value = v;
    return seal(n);
  }

  static bool declares(const Expr* e) {
    return (e->kind == NodeKind::Decl && !e->as<Decl>().global) || e->kind == NodeKind::Function ||
           e->kind == NodeKind::Struct;
  }

  // block -> '(' { ';' } [ expr { (';' | <line break>) { ';' } expr } ] { ';' } ')'
  const Expr* block() {
    Token open = tok_;
    auto* n = node<Block>(tok_);
    advance();
    ListBuilder<const Expr*> exprs;
    for (;;) {
      while (accept(TokenKind::Semicolon)) {}
      if (check(TokenKind::RParen) || check(TokenKind::Eof)) break;
      const Expr* e = expr();
      if (e->kind == NodeKind::Block && e->as<Block>().included) {
        for (const Expr* inner : e->as<Block>().exprs) {
          exprs.push(inner);
          n->scoped = n->scoped || declares(inner);
        }
      } else {
        exprs.push(e);
        n->scoped = n->scoped || declares(e);
      }
      if (!check(TokenKind::RParen) && !check(TokenKind::Semicolon) && sameLine()) break;
    }
    expectClosing(TokenKind::RParen, ")", open);
    n->exprs = exprs.finish(arena_);
    return seal(n);
  }

  // array -> '#(' [ expr { ',' expr } ] ')'
  const Expr* array() {
    Token open = tok_;
    auto* n = node<ArrayLiteral>(tok_);
    advance();
    ListBuilder<const Expr*> items;
    if (!check(TokenKind::RParen)) {
      do items.push(expr());
      while (accept(TokenKind::Comma));
    }
    expectClosing(TokenKind::RParen, ")", open);
    n->elements = items.finish(arena_);
    return seal(n);
  }

  // bitArray -> '#{' [ bitItem { ',' bitItem } ] '}'
  // bitItem -> expr [ '..' expr ]
  const Expr* bitArray() {
    Token open = tok_;
    auto* n = node<BitArrayLiteral>(tok_);
    advance();
    ListBuilder<const Expr*> items;
    if (!check(TokenKind::RBrace)) {
      do {
        const Expr* from = expr();
        if (check(TokenKind::DotDot)) {
          auto* r = node<Range>(from);
          advance();
          r->from = from;
          r->to = expr();
          from = seal(r);
        }
        items.push(from);
      } while (accept(TokenKind::Comma));
    }
    expectClosing(TokenKind::RBrace, "}", open);
    n->items = items.finish(arena_);
    return seal(n);
  }

  // point -> '[' expr ',' expr [ ',' expr [ ',' expr ] ] ']'
  const Expr* point() {
    Token open = tok_;
    auto* n = node<PointLiteral>(tok_);
    advance();
    ListBuilder<const Expr*> items;
    items.push(expr());
    expect(TokenKind::Comma, ",");
    items.push(expr());
    while (items.size() < 4 && accept(TokenKind::Comma)) items.push(expr());
    expectClosing(TokenKind::RBracket, "]", open);
    n->components = items.finish(arena_);
    return seal(n);
  }

  // ---- control ----------------------------------------------------------------------------------

  // ifExpr -> IF expr ( THEN expr [ ELSE expr ] | DO expr )
  const Expr* ifExpr() {
    auto* n = node<If>(tok_);
    advance();
    n->cond = expr();
    if (accept(TokenKind::KwThen)) {
      n->thenBranch = expr();
      if (accept(TokenKind::KwElse)) n->elseBranch = expr();
    } else if (accept(TokenKind::KwDo)) {
      n->doForm = true;
      n->thenBranch = expr();
    } else {
      expected("then or do");
    }
    return seal(n);
  }

  // whileExpr -> WHILE expr DO expr
  const Expr* whileExpr() {
    auto* n = node<While>(tok_);
    advance();
    n->cond = expr();
    expect(TokenKind::KwDo, "do");
    n->body = expr();
    return seal(n);
  }

  // doExpr -> DO expr WHILE expr
  const Expr* doExpr() {
    auto* n = node<DoWhile>(tok_);
    advance();
    n->body = expr();
    expect(TokenKind::KwWhile, "while");
    n->cond = expr();
    return seal(n);
  }

  // forExpr -> FOR NAME [ ',' NAME [ ',' NAME ] ] ( IN | '=' ) expr [ TO expr [ BY expr ] ]
  //            [ WHERE expr ] [ WHILE expr ] ( DO | COLLECT ) expr      (the '=' form needs TO)
  const Expr* forExpr() {
    auto* n = node<For>(tok_);
    advance();
    if (!check(TokenKind::Name)) expected("<name>");
    n->var = tok_.symbol;
    n->spelling = tok_.text;
    advance();
    for (const Symbol** counter : {&n->index, &n->filtered}) {
      if (!accept(TokenKind::Comma)) break;
      if (!check(TokenKind::Name)) expected("<name>");
      *counter = tok_.symbol;
      advance();
    }
    bool counting = accept(TokenKind::Assign);
    if (!counting && !accept(TokenKind::KwIn)) expected("in or =");
    const Expr* first = expr();
    if (accept(TokenKind::KwTo)) {
      n->from = first;
      n->to = expr();
      if (accept(TokenKind::KwBy)) n->by = expr();
    } else if (counting) {
      expected("to");
    } else {
      n->collection = first;
    }
    if (accept(TokenKind::KwWhere)) n->where = expr();
    if (accept(TokenKind::KwWhile)) n->whileCond = expr();
    if (accept(TokenKind::KwCollect)) n->collect = true;
    else if (!accept(TokenKind::KwDo)) expected("do or collect");
    n->body = expr();
    return seal(n);
  }

  // caseExpr -> CASE [ expr ] OF ( '(' { caseClause | ';' } ')' | '()' )
  // caseClause -> ( DEFAULT | argOperand ) ':' expr        (clauses end at ';' or a line break)
  const Expr* caseExpr() {
    auto* n = node<Case>(tok_);
    advance();
    if (!check(TokenKind::KwOf)) n->subject = expr();
    expect(TokenKind::KwOf, "of");
    if (accept(TokenKind::EmptyParens)) return n;
    Token open = tok_;
    expect(TokenKind::LParen, "(");
    ListBuilder<CaseClause> clauses;
    for (;;) {
      while (accept(TokenKind::Semicolon)) {}
      if (check(TokenKind::RParen) || check(TokenKind::Eof)) break;
      if (accept(TokenKind::KwDefault)) {
        expect(TokenKind::Colon, ":");
        n->defaultBody = expr();
      } else {
        CaseClause c{argOperand(), nullptr};
        expect(TokenKind::Colon, ":");
        c.body = expr();
        clauses.push(c);
      }
      if (!check(TokenKind::RParen) && !check(TokenKind::Semicolon) && sameLine()) break;
    }
    expectClosing(TokenKind::RParen, ")", open);
    n->clauses = clauses.finish(arena_);
    return seal(n);
  }

  // tryExpr -> TRY expr CATCH expr
  const Expr* tryExpr() {
    auto* n = node<Try>(tok_);
    advance();
    n->body = expr();
    expect(TokenKind::KwCatch, "catch");
    n->handler = expr();
    return seal(n);
  }

  // The optional operand of throw and return: an expression on the keyword's line.
  const Expr* optionalValue() { return sameLine() && startsExpression() ? expr() : nullptr; }

  // throwExpr -> THROW [ expr | '()' ]
  const Expr* throwExpr() {
    auto* n = node<Throw>(tok_);
    advance();
    if (sameLine() && accept(TokenKind::EmptyParens)) return n;
    n->value = optionalValue();
    return seal(n);
  }

  // returnExpr -> RETURN [ expr ]
  const Expr* returnExpr() {
    auto* n = node<Return>(tok_);
    advance();
    n->value = optionalValue();
    return seal(n);
  }

  // exitExpr -> EXIT [ WITH expr ]
  const Expr* exitExpr() {
    auto* n = node<Exit>(tok_);
    advance();
    if (sameLine() && accept(TokenKind::KwWith)) n->value = expr();
    return seal(n);
  }

  // ---- definitions ------------------------------------------------------------------------------

  // declaration -> ( GLOBAL | LOCAL ) declarator { ',' declarator }
  // declarator -> NAME [ '=' expr ]
  const Expr* declaration() {
    auto* n = node<Decl>(tok_);
    n->global = check(TokenKind::KwGlobal);
    advance();
    ListBuilder<Declarator> names;
    do {
      if (!check(TokenKind::Name)) expected("<name>");
      Declarator d{tok_.symbol, tok_.text, nullptr, tok_.line, tok_.column};
      advance();
      if (sameLine() && accept(TokenKind::Assign)) d.init = expr();
      names.push(d);
    } while (accept(TokenKind::Comma));
    n->names = names.finish(arena_);
    return seal(n);
  }

  // functionDef -> [ MAPPED ] ( FN | FUNCTION ) NAME { param } '=' expr
  // param -> [ '&' ] NAME | [ '&' ] NAME ':' [ argOperand ]
  const Function* functionDef() {
    auto* n = node<Function>(tok_);
    n->mapped = accept(TokenKind::KwMapped);
    if (!accept(TokenKind::KwFn) && !accept(TokenKind::KwFunction)) expected("fn");
    if (!check(TokenKind::Name)) expected("<name>");
    n->name = tok_.symbol;
    n->spelling = tok_.text;
    advance();
    ListBuilder<Param> params;
    while (check(TokenKind::Name) || check(TokenKind::Ampersand)) {
      bool byRef = accept(TokenKind::Ampersand);
      if (!check(TokenKind::Name)) expected("<name>");
      Param p{tok_.symbol, tok_.text, tok_.colonAfter, nullptr, tok_.line, tok_.column, byRef};
      advance();
      if (p.keyword) {
        expect(TokenKind::Colon, ":");
        if (!check(TokenKind::Assign)) p.defaultValue = argOperand();
      }
      params.push(p);
    }
    expect(TokenKind::Assign, "=");
    n->params = params.finish(arena_);
    n->body = expr();
    return seal(n);
  }

  // structDef -> STRUCT NAME ( '(' member { ',' member } ')' | '()' )
  // member -> [ PUBLIC | PRIVATE ] ( NAME [ '=' expr ] | functionDef | ON NAME DO expr )
  //           (`public`/`private` is a member's name when ',' '=' or ')' follows it)
  const Expr* structDef() {
    auto* n = node<Struct>(tok_);
    advance();
    if (!check(TokenKind::Name)) expected("<name>");
    n->name = tok_.symbol;
    n->spelling = tok_.text;
    advance();
    if (accept(TokenKind::EmptyParens)) return n;
    Token open = tok_;
    expect(TokenKind::LParen, "(");
    ListBuilder<StructMember> members;
    bool inPrivate = false;
    do {
      StructMember m{nullptr, {}, nullptr, nullptr, tok_.line, tok_.column, inPrivate};
      if (check(TokenKind::Name) && (tok_.symbol->lower == "public" || tok_.symbol->lower == "private")) {
        Token section = tok_;
        advance();
        if (check(TokenKind::Comma) || check(TokenKind::RParen) || check(TokenKind::Assign)) {
          m.name = section.symbol;
          m.spelling = section.text;
          if (accept(TokenKind::Assign)) m.init = expr();
          members.push(m);
          continue;
        }
        inPrivate = section.symbol->lower == "private";
        m = StructMember{nullptr, {}, nullptr, nullptr, tok_.line, tok_.column, inPrivate};
      }
      if (check(TokenKind::KwOn)) {
        structHandler(*n);
        continue;
      }
      if (check(TokenKind::KwFn) || check(TokenKind::KwFunction) || check(TokenKind::KwMapped)) {
        m.method = functionDef();
        m.name = m.method->name;
        m.spelling = m.method->spelling;
      } else {
        if (!check(TokenKind::Name)) expected("<name>");
        m.name = tok_.symbol;
        m.spelling = tok_.text;
        advance();
        if (accept(TokenKind::Assign)) m.init = expr();
      }
      members.push(m);
    } while (accept(TokenKind::Comma));
    expectClosing(TokenKind::RParen, ")", open);
    n->members = members.finish(arena_);
    return seal(n);
  }

  // structHandler -> ON ( CREATE | CLONE ) DO expr
  void structHandler(Struct& s) {
    advance();
    bool create = check(TokenKind::Name) && tok_.symbol->lower == "create";
    bool clone = check(TokenKind::Name) && tok_.symbol->lower == "clone";
    if (!create && !clone) expected("create or clone");
    if ((create && s.onCreate) || (clone && s.onClone)) error("duplicate handler: on " + std::string(tok_.text));
    advance();
    expect(TokenKind::KwDo, "do");
    (create ? s.onCreate : s.onClone) = expr();
  }

  // ---- the host's forms -------------------------------------------------------------------------

  // The context words that are no reserved words of ours: a name at the start of an expression.
  bool checkContextWord(const char* word) const {
    return check(TokenKind::Name) && tok_.symbol->lower == word;
  }

  // context -> prefix ( ',' context | expr )
  // prefix -> AT TIME argOperand | AT LEVEL argOperand | IN argOperand | [WITH] ANIMATE argOperand
  //         | [WITH] undoContext | [IN | WITH] COORDSYS coordsysSpec | ABOUT aboutSpec
  //         | WITH NAME argOperand
  // undoContext -> UNDO [ STRING ] argOperand
  const Expr* context() {
    auto* n = node<Context>(tok_);
    if (accept(TokenKind::KwAt)) {
      if (checkContextWord("level")) {
        advance();
        n->context = ContextKind::Level;
      } else {
        expect(TokenKind::KwTime, "time or level");
        n->context = ContextKind::AtTime;
      }
      n->value = argOperand();
    } else if (accept(TokenKind::KwIn)) {
      if (checkContextWord("coordsys")) {
        coordsysContext(*n);
      } else {
        n->context = ContextKind::Level;
        n->value = argOperand();
      }
    } else if (checkContextWord("about")) {
      aboutContext(*n);
    } else {
      bool with = accept(TokenKind::KwWith);
      if (accept(TokenKind::KwAnimate)) {
        n->context = ContextKind::Animate;
        n->value = argOperand();
      } else if (accept(TokenKind::KwUndo)) {
        undoContext(*n);
      } else if (checkContextWord("coordsys")) {
        coordsysContext(*n);
      } else if (with && check(TokenKind::Name)) {
        n->name = tok_.symbol;
        advance();
        n->value = argOperand();
      } else {
        expected("animate, undo or a context name");
      }
    }
    n->body = accept(TokenKind::Comma) ? context() : expr();
    return seal(n);
  }

  void undoContext(Context& n) {
    n.context = ContextKind::Undo;
    n.value = argOperand();
    if (n.value->kind == NodeKind::String) {
      n.label = n.value;
      n.value = argOperand();
    }
  }

  // A word of `words` as a name literal (`coordsys local` stands for #local), else an operand.
  const Expr* wordOrOperand(std::initializer_list<const char*> words) {
    bool word = check(TokenKind::Name) || check(TokenKind::KwLocal);
    std::string lower = check(TokenKind::KwLocal) ? std::string("local") : word ? std::string(tok_.symbol->lower) : "";
    for (const char* w : words) {
      if (!word || lower != w) continue;
      auto* lit = node<NameLiteral>(tok_);
      lit->name = intern(w);
      lit->spelling = tok_.text;
      advance();
      return lit;
    }
    return argOperand();
  }

  // coordsysSpec -> WORLD | LOCAL | PARENT | GRID | SCREEN | argOperand
  void coordsysContext(Context& n) {
    advance();
    n.context = ContextKind::CoordSys;
    n.value = wordOrOperand({"world", "local", "parent", "grid", "screen"});
  }

  // aboutSpec -> PIVOT | SELECTION | COORDSYS | argOperand
  void aboutContext(Context& n) {
    advance();
    n.context = ContextKind::About;
    n.value = wordOrOperand({"pivot", "selection", "coordsys"});
  }

  // setContext -> SET ( ANIMATE argOperand | TIME argOperand | UNDO argOperand
  //                   | LEVEL argOperand | [IN] COORDSYS coordsysSpec | ABOUT aboutSpec )
  const Expr* setContext() {
    auto* n = node<Context>(tok_);
    advance();
    n->sticky = true;
    if (accept(TokenKind::KwAnimate)) {
      n->context = ContextKind::Animate;
      n->value = argOperand();
    } else if (accept(TokenKind::KwTime)) {
      n->context = ContextKind::AtTime;
      n->value = argOperand();
    } else if (accept(TokenKind::KwUndo)) {
      n->context = ContextKind::Undo;
      n->value = argOperand();
    } else if (checkContextWord("about")) {
      aboutContext(*n);
    } else if (checkContextWord("level")) {
      advance();
      n->context = ContextKind::Level;
      n->value = argOperand();
    } else {
      if (accept(TokenKind::KwIn) && !checkContextWord("coordsys")) expected("coordsys");
      if (!checkContextWord("coordsys")) expected("animate, time, undo, level, coordsys or about");
      coordsysContext(*n);
    }
    return seal(n);
  }

  // include -> INCLUDE STRING : the named file's expressions, parsed here as if written here
  const Expr* include() {
    auto* n = node<Block>(tok_);
    advance();
    if (!check(TokenKind::String) || !sameLine()) expected("a file name");
    std::string name(tok_.text);
    std::optional<IncludedFile> file = readIncludedFile(name, parser_.fileName_);
    if (!file) error("include file not found: " + name);
    IncludeGuard guard(file->path);
    if (guard.cycle()) error("include cycle: " + name + " is already being included");
    if (guard.tooDeep()) error("includes nested too deeply: " + name);
    std::shared_ptr<SyntaxTree> tree = parseScript(file->text, file->path);
    n->included = true;
    n->exprs = tree->expressions();
    parser_.tree_->adopt(std::move(tree));
    advance();
    return seal(n);
  }

  // maxCommand -> MAX WORD { WORD }        (the words on the line of MAX)
  const Expr* maxCommand() {
    auto* n = node<MaxCommand>(tok_);
    advance();
    std::string command;
    while (sameLine() && checkWord()) {
      if (!command.empty()) command += ' ';
      command += tok_.symbol->lower;
      advance();
    }
    if (command.empty()) expected("<name>");
    n->command = arena_.copy(command);
    return seal(n);
  }

  Lexer& lex_;
  Token& tok_;
  Arena& arena_;
  Parser& parser_;
  int depth_ = 0;
};

Parser::Parser(std::string_view source, std::size_t offset, std::string fileName)
    : tree_(std::make_shared<SyntaxTree>(checkedSize(source))),
      lexer_(tree_->source(), offset, tree_->arena()),
      fileName_(std::move(fileName)) {
  lexer_.next(tok_);
}

const Expr* Parser::compileNext() {
  if (failed_) throw *failed_;
  try {
    return Grammar(*this).topLevel();
  } catch (const SyntaxError& e) {
    failed_ = e;
    throw;
  }
}

std::shared_ptr<SyntaxTree> parseScript(std::string_view source, std::string fileName) {
  Parser parser(source, 0, std::move(fileName));
  std::vector<const Expr*> top;
  while (const Expr* e = parser.compileNext()) top.push_back(e);
  parser.tree()->setExpressions(parser.tree()->arena().copy(std::span<const Expr* const>(top)));
  return parser.tree();
}

}  // namespace sim::script
