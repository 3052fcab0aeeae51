// Names of script text, interned: one symbol per name whatever its case, which also knows whether
// the name is a reserved word.
#pragma once

#include "host_api.h"
#include "script/token.h"

#include <string_view>

class Value;

namespace sim::script {

// A name as the language sees it: names differing only in case are one symbol. Symbols live as long
// as the process; the runtime may cache in them what it derives from the name.
struct Symbol {
  std::string_view lower;                        // the identity
  TokenKind keyword = TokenKind::Name;           // the reserved word it is, else Name
  mutable Value* nameValue = nullptr;            // for the runtime: its #name value, once made
  mutable void* global = nullptr;                // for the runtime: its global variable, once made
};

// The symbol of a name, made on first use.
HOST_API const Symbol* intern(std::string_view spelling);

}  // namespace sim::script
