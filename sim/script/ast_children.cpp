// The direct children of every kind of node, in the order of the text: the one place besides the
// node definitions that must learn of a new kind of node or a new child field.
#include "script/ast.h"

namespace sim::script {

void forEachChild(const Expr* e, void (*visit)(const Expr*, void*), void* context) {
  auto one = [&](const Expr* child) {
    if (child) visit(child, context);
  };
  auto all = [&](ExprList list) {
    for (const Expr* child : list) visit(child, context);
  };
  switch (e->kind) {
    case NodeKind::Integer: case NodeKind::Float: case NodeKind::Time: case NodeKind::String:
    case NodeKind::NameLiteral: case NodeKind::PathName: case NodeKind::Constant: case NodeKind::Var:
    case NodeKind::Continue: case NodeKind::MaxCommand:
      break;
    case NodeKind::ArrayLiteral: all(e->as<ArrayLiteral>().elements); break;
    case NodeKind::BitArrayLiteral: all(e->as<BitArrayLiteral>().items); break;
    case NodeKind::Range: one(e->as<Range>().from); one(e->as<Range>().to); break;
    case NodeKind::PointLiteral: all(e->as<PointLiteral>().components); break;
    case NodeKind::Property: one(e->as<Property>().object); break;
    case NodeKind::Index: one(e->as<Index>().object); one(e->as<Index>().index); break;
    case NodeKind::Call: {
      const auto& c = e->as<Call>();
      one(c.callee);
      all(c.args);
      for (const KeyArg& k : c.keys) one(k.value);
      break;
    }
    case NodeKind::Unary: one(e->as<Unary>().operand); break;
    case NodeKind::Binary: one(e->as<Binary>().lhs); one(e->as<Binary>().rhs); break;
    case NodeKind::Assign: one(e->as<Assign>().target); one(e->as<Assign>().value); break;
    case NodeKind::Reference: one(e->as<Reference>().target); break;
    case NodeKind::Block: all(e->as<Block>().exprs); break;
    case NodeKind::If: {
      const auto& i = e->as<If>();
      one(i.cond);
      one(i.thenBranch);
      one(i.elseBranch);
      break;
    }
    case NodeKind::While: one(e->as<While>().cond); one(e->as<While>().body); break;
    case NodeKind::DoWhile: one(e->as<DoWhile>().body); one(e->as<DoWhile>().cond); break;
    case NodeKind::For: {
      const auto& f = e->as<For>();
      for (const Expr* child : {f.collection, f.from, f.to, f.by, f.where, f.whileCond, f.body}) one(child);
      break;
    }
    case NodeKind::Exit: one(e->as<Exit>().value); break;
    case NodeKind::Return: one(e->as<Return>().value); break;
    case NodeKind::Throw: one(e->as<Throw>().value); break;
    case NodeKind::Case: {
      const auto& c = e->as<Case>();
      one(c.subject);
      for (const CaseClause& k : c.clauses) {
        one(k.label);
        one(k.body);
      }
      one(c.defaultBody);
      break;
    }
    case NodeKind::Try: one(e->as<Try>().body); one(e->as<Try>().handler); break;
    case NodeKind::Decl:
      for (const Declarator& d : e->as<Decl>().names) one(d.init);
      break;
    case NodeKind::Function: {
      const auto& f = e->as<Function>();
      for (const Param& p : f.params) one(p.defaultValue);
      one(f.body);
      break;
    }
    case NodeKind::Struct:
      for (const StructMember& m : e->as<Struct>().members) {
        one(m.init);
        one(m.method);
      }
      one(e->as<Struct>().onCreate);
      one(e->as<Struct>().onClone);
      break;
    case NodeKind::Context: {
      const auto& c = e->as<Context>();
      one(c.label);
      one(c.value);
      one(c.body);
      break;
    }
  }
}

}  // namespace sim::script
