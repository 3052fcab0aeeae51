// The syntax tree's names as the runtime uses them. The tree's node types share names with value
// classes (Integer, String, Function, ...); the runtime lives in its own namespace and imports only
// the names that do not clash, writing the others as script::Integer and so on.
#pragma once

#include "script/ast.h"

namespace sim::rt {

using script::ArrayLiteral;
using script::Assign;
using script::AssignOp;
using script::Binary;
using script::BitArrayLiteral;
using script::Block;
using script::Call;
using script::Case;
using script::CaseClause;
using script::Constant;
using script::ConstantValue;
using script::Context;
using script::ContextKind;
using script::Continue;
using script::Decl;
using script::Declarator;
using script::DoWhile;
using script::Exit;
using script::Expr;
using script::ExprList;
using script::For;
using script::If;
using script::Index;
using script::KeyArg;
using script::MaxCommand;
using script::NameLiteral;
using script::NodeKind;
using script::Param;
using script::PathName;
using script::PathSegment;
using script::PointLiteral;
using script::Property;
using script::Range;
using script::Return;
using script::StructMember;
using script::Symbol;
using script::SyntaxTree;
using script::Throw;
using script::Time;
using script::TimeParts;
using script::Try;
using script::Unary;
using script::UnaryOp;
using script::Var;
using script::While;
using script::intern;

}  // namespace sim::rt
