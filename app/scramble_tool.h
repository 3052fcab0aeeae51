// qzmhost --scramble IN OUT: writes a script file in the scrambled form that the script library's
// FileIn_ reads back.
#pragma once

#include <optional>
#include <string>

// The scrambled form of `plain`, or nothing when a byte has none at its position; then `problem`
// names the byte and its position (1-based).
std::optional<std::string> scrambleText(const std::string& plain, std::string& problem);

// Reads `in`, writes its scrambled form to `out` (through a temporary file, so a failure leaves any
// earlier `out` as it was). Returns the exit status; problems go to `errors` as one line.
int scrambleFile(const std::string& in, const std::string& out, std::string& errors);
