// The ways qzmhost runs script: a file, one expression, or an interactive Listener.
#pragma once

#include "host_api.h"

#include <cstdio>
#include <istream>
#include <string>

namespace sim::rt {

// Runs a script file; every Listener write goes to `out` as it happens; an uncaught error is printed
// to `err`. True when the script ran to its end.
HOST_API bool runScriptFile(const std::string& path, FILE* out, FILE* err);
// Evaluates one expression text and prints its value to `out` (the error to `err`).
HOST_API bool evaluateAndPrint(const std::string& text, FILE* out, FILE* err);
// Reads expressions from `in` until its end, printing each value as the Listener does. With a
// terminal, shows a prompt and asks for more input while an expression is unfinished.
HOST_API bool runListener(std::istream& in, FILE* out, FILE* err, bool interactive);

}  // namespace sim::rt
