#include "scramble_tool.h"

#include "scramble_schedule.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

std::optional<std::string> scrambleText(const std::string& plain, std::string& problem) {
  std::string out;
  out.reserve(plain.size());
  ScrambleSchedule at;
  for (size_t i = 0; i < plain.size(); ++i) {
    at.advance();
    auto want = static_cast<unsigned char>(plain[i]);
    // The reader swaps after unshifting; the swap is its own inverse.
    if (at.swapsTabAndLineFeed()) {
      if (want == '\t') want = '\n';
      else if (want == '\n') want = '\t';
    }
    unsigned char stored = want;
    if (want >= 33) {
      stored = static_cast<unsigned char>(want + at.shift());
      // A stored byte below 33 would be read unshifted.
      if (stored < 33) {
        char text[96];
        std::snprintf(text, sizeof text, "byte 0x%02X at position %zu cannot be scrambled",
                      static_cast<unsigned>(static_cast<unsigned char>(plain[i])), i + 1);
        problem = text;
        return std::nullopt;
      }
    }
    out += static_cast<char>(stored);
  }
  return out;
}

int scrambleFile(const std::string& in, const std::string& out, std::string& errors) {
  std::ifstream input(in, std::ios::binary);
  if (!input) {
    errors = "cannot read " + in;
    return 1;
  }
  std::ostringstream content;
  content << input.rdbuf();
  std::string problem;
  std::optional<std::string> scrambled = scrambleText(content.str(), problem);
  if (!scrambled) {
    errors = in + ": " + problem;
    return 1;
  }
  std::string temporary = out + ".tmp";
  {
    std::ofstream output(temporary, std::ios::binary | std::ios::trunc);
    output.write(scrambled->data(), static_cast<std::streamsize>(scrambled->size()));
    output.close();
    if (!output) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      errors = "cannot write " + out;
      return 1;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, out, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    errors = "cannot write " + out;
    return 1;
  }
  return 0;
}
