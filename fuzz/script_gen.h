// Turns fuzzer bytes into a script that calls the host's primitives and the plug-ins' published
// functions and parameters with bad arguments: wrong counts and types, deleted nodes, NaN, huge and
// negative numbers, long and non-ASCII strings, tables edited to odd contents, undo at odd moments.
// Each byte string gives one script, always the same; every statement runs inside `try`, so that one
// error does not hide what follows.
#pragma once

#include "catalogue.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

std::string generateScript(const std::uint8_t* data, std::size_t size, const Catalogue& catalogue);

}  // namespace fuzz
