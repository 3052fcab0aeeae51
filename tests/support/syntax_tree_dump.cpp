#include "support/syntax_tree_dump.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace sim::script {

namespace {

class Dumper {
 public:
  std::string out;

  void expr(const Expr* e) {
    if (!e) {
      out += "null";
      return;
    }
    switch (e->kind) {
      case NodeKind::Integer: out += std::to_string(e->as<Integer>().value); break;
      case NodeKind::Float: number(e->as<Float>().value); break;
      case NodeKind::Time: {
        const TimeParts& t = e->as<Time>().parts;
        out += "(time";
        if (t.seconds != 0) { out += " s:"; number(t.seconds, false); }
        if (t.frames != 0) { out += " f:"; number(t.frames, false); }
        if (t.ticks != 0) { out += " t:"; number(t.ticks, false); }
        out += ')';
        break;
      }
      case NodeKind::String: quoted(e->as<String>().value, '"'); break;
      case NodeKind::NameLiteral: out += '#'; name(e->as<NameLiteral>().name); break;
      case NodeKind::PathName: {
        out += '$';
        bool first = true;
        for (const PathSegment& s : e->as<PathName>().segments) {
          if (!first) out += '/';
          first = false;
          if (s.quoted) pathSegment(s); else out += s.text;
        }
        break;
      }
      case NodeKind::Constant: {
        static const char* const kNames[] = {"true", "false", "undefined", "unsupplied", "ok"};
        out += kNames[int(e->as<Constant>().value)];
        break;
      }
      case NodeKind::ArrayLiteral: out += "#("; list(e->as<ArrayLiteral>().elements); out += ')'; break;
      case NodeKind::BitArrayLiteral: out += "#{"; list(e->as<BitArrayLiteral>().items); out += '}'; break;
      case NodeKind::Range: open(".."); sp(); expr(e->as<Range>().from); sp(); expr(e->as<Range>().to); close(); break;
      case NodeKind::PointLiteral: out += '['; list(e->as<PointLiteral>().components); out += ']'; break;
      case NodeKind::Var: name(e->as<Var>().name); break;
      case NodeKind::Property: {
        const auto& p = e->as<Property>();
        open(".");
        sp();
        expr(p.object);
        sp();
        name(p.name);
        close();
        break;
      }
      case NodeKind::Index: {
        const auto& x = e->as<Index>();
        open("[]");
        sp();
        expr(x.object);
        sp();
        expr(x.index);
        close();
        break;
      }
      case NodeKind::Call: {
        const auto& c = e->as<Call>();
        open("call");
        sp();
        expr(c.callee);
        for (const Expr* a : c.args) { sp(); expr(a); }
        for (const KeyArg& k : c.keys) { sp(); name(k.name); out += ':'; expr(k.value); }
        close();
        break;
      }
      case NodeKind::Unary: {
        const auto& u = e->as<Unary>();
        open(u.op == UnaryOp::Negate ? "-" : "not");
        sp();
        expr(u.operand);
        close();
        break;
      }
      case NodeKind::Binary: {
        static const char* const kOps[] = {"+", "-", "*", "/", "^", "as", "==",
                                           "!=", "<", "<=", ">", ">=", "and", "or"};
        // The left spine of a chain (a + b + c ...) is written in loops: the parser lets it grow
        // without bound.
        std::vector<const Binary*> spine{&e->as<Binary>()};
        while (spine.back()->lhs && spine.back()->lhs->kind == NodeKind::Binary)
          spine.push_back(&spine.back()->lhs->as<Binary>());
        for (const Binary* b : spine) {
          open(kOps[int(b->op)]);
          sp();
        }
        expr(spine.back()->lhs);
        for (auto it = spine.rbegin(); it != spine.rend(); ++it) {
          sp();
          expr((*it)->rhs);
          close();
        }
        break;
      }
      case NodeKind::Reference: open("&"); sp(); expr(e->as<Reference>().target); close(); break;
      case NodeKind::Assign: {
        static const char* const kOps[] = {"=", "+=", "-=", "*=", "/="};
        const auto& a = e->as<Assign>();
        open(kOps[int(a.op)]);
        sp();
        expr(a.target);
        sp();
        expr(a.value);
        close();
        break;
      }
      case NodeKind::Block: {
        const auto& b = e->as<Block>();
        open(b.scoped ? "scope" : "block");
        for (const Expr* x : b.exprs) { sp(); expr(x); }
        close();
        break;
      }
      case NodeKind::If: {
        const auto& i = e->as<If>();
        open(i.doForm ? "if-do" : "if");
        sp();
        expr(i.cond);
        sp();
        expr(i.thenBranch);
        if (i.elseBranch) { sp(); expr(i.elseBranch); }
        close();
        break;
      }
      case NodeKind::While: open("while"); sp(); expr(e->as<While>().cond); sp(); expr(e->as<While>().body); close(); break;
      case NodeKind::DoWhile: open("do-while"); sp(); expr(e->as<DoWhile>().body); sp(); expr(e->as<DoWhile>().cond); close(); break;
      case NodeKind::For: {
        const auto& f = e->as<For>();
        open("for");
        sp();
        name(f.var);
        if (f.index) { out += ','; name(f.index); }
        if (f.filtered) { out += ','; name(f.filtered); }
        if (f.collection) { out += " in "; expr(f.collection); }
        if (f.from) { out += " = "; expr(f.from); out += " to "; expr(f.to); }
        if (f.by) { out += " by "; expr(f.by); }
        if (f.where) { out += " where "; expr(f.where); }
        if (f.whileCond) { out += " while "; expr(f.whileCond); }
        out += f.collect ? " collect " : " do ";
        expr(f.body);
        close();
        break;
      }
      case NodeKind::Exit: optional("exit", e->as<Exit>().value); break;
      case NodeKind::Continue: out += "(continue)"; break;
      case NodeKind::Return: optional("return", e->as<Return>().value); break;
      case NodeKind::Throw: optional("throw", e->as<Throw>().value); break;
      case NodeKind::Case: {
        const auto& c = e->as<Case>();
        open(c.subject ? "case" : "case-of");
        if (c.subject) { sp(); expr(c.subject); }
        for (const CaseClause& k : c.clauses) { out += " ("; expr(k.label); sp(); expr(k.body); out += ')'; }
        if (c.defaultBody) { out += " (default "; expr(c.defaultBody); out += ')'; }
        close();
        break;
      }
      case NodeKind::Try: open("try"); sp(); expr(e->as<Try>().body); sp(); expr(e->as<Try>().handler); close(); break;
      case NodeKind::Decl: {
        const auto& d = e->as<Decl>();
        open(d.global ? "global" : "local");
        for (const Declarator& n : d.names) {
          sp();
          name(n.name);
          if (n.init) { out += '='; expr(n.init); }
        }
        close();
        break;
      }
      case NodeKind::Function: function(e->as<Function>()); break;
      case NodeKind::Struct: {
        const auto& s = e->as<Struct>();
        open("struct");
        sp();
        name(s.name);
        for (const StructMember& m : s.members) {
          sp();
          if (m.isPrivate) out += "private ";
          if (m.method) { function(*m.method); continue; }
          name(m.name);
          if (m.init) { out += '='; expr(m.init); }
        }
        if (s.onCreate) { out += " (on-create "; expr(s.onCreate); close(); }
        if (s.onClone) { out += " (on-clone "; expr(s.onClone); close(); }
        close();
        break;
      }
      case NodeKind::Context: {
        const auto& c = e->as<Context>();
        static const char* const kNames[] = {"at-time", "animate", "undo", "coordsys", "about", nullptr};
        out += '(';
        if (c.sticky) out += "set ";
        if (c.context == ContextKind::Other) name(c.name); else out += kNames[int(c.context)];
        if (c.label) { sp(); expr(c.label); }
        sp();
        expr(c.value);
        if (!c.sticky) { sp(); expr(c.body); }
        close();
        break;
      }
      case NodeKind::MaxCommand: open("max"); sp(); quoted(e->as<MaxCommand>().command, '"'); close(); break;
    }
  }

 private:
  void open(const char* what) { out += '('; out += what; }
  void close() { out += ')'; }
  void sp() { out += ' '; }
  void name(const Symbol* s) { out += s ? s->lower : std::string_view("?"); }

  void list(ExprList items) {
    bool first = true;
    for (const Expr* x : items) {
      if (!first) sp();
      first = false;
      expr(x);
    }
  }

  void optional(const char* what, const Expr* value) {
    out += '(';
    out += what;
    if (value) { sp(); expr(value); }
    close();
  }

  void function(const Function& f) {
    open(f.mapped ? "mapped-fn" : "fn");
    sp();
    name(f.name);
    out += " (";
    bool first = true;
    for (const Param& p : f.params) {
      if (!first) sp();
      first = false;
      if (p.byRef) out += '&';
      name(p.name);
      if (p.keyword) {
        out += ':';
        if (p.defaultValue) expr(p.defaultValue);
      }
    }
    out += ") ";
    expr(f.body);
    close();
  }

  void number(double v, bool markFloat = true) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    std::string_view text(buf, std::size_t(r.ptr - buf));
    out += text;
    if (markFloat && text.find_first_of(".en") == std::string_view::npos) out += ".0";  // not an integer
  }

  // A quoted path segment as it can be written again: a pattern keeps its escapes, a plain name
  // escapes what would otherwise be an escape or a wildcard.
  void pathSegment(const PathSegment& s) {
    out += '\'';
    for (char c : s.text) {
      if (c == '\'' || (!s.wildcard && (c == '\\' || c == '*' || c == '?'))) out += '\\';
      out += c;
    }
    out += '\'';
  }

  void quoted(std::string_view text, char quote) {
    out += quote;
    for (char c : text) {
      switch (c) {
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\\': out += "\\\\"; break;
        default:
          if (c == quote) { out += '\\'; out += c; }
          else if (static_cast<unsigned char>(c) < 0x20) {
            static const char kHex[] = "0123456789abcdef";
            out += "\\x";
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
          } else out += c;
      }
    }
    out += quote;
  }
};

}  // namespace

std::string dump(const Expr* e) {
  Dumper d;
  d.expr(e);
  return d.out;
}

std::string dump(ExprList exprs) {
  Dumper d;
  bool first = true;
  for (const Expr* e : exprs) {
    if (!first) d.out += '\n';
    first = false;
    d.expr(e);
  }
  return d.out;
}

}  // namespace sim::script
