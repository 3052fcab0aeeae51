// Syntax trees as text, for the parser's tests: what was parsed, compared with one string.
#pragma once

#include "script/ast.h"

#include <string>

namespace sim::script {

// The tree as one line of nested lists, e.g. `(= x (+ a (* b c)))`: for tests and debugging. Names
// appear lower-cased, as the evaluator sees them.
std::string dump(const Expr* e);
std::string dump(ExprList exprs);

}  // namespace sim::script
