// libFuzzer target: any text run as script gives a result or a script error; the host never crashes,
// hangs or leaks. Seeded with the script tests (tests/script/*.ms), which libFuzzer mutates, with a
// dictionary of the language's words and every primitive's name:
//
//   QZM_FUZZ_WRITE_DICT=build/asan/script.dict build/asan/bin/script_text_fuzz -runs=0
//   build/asan/bin/script_text_fuzz -dict=build/asan/script.dict fuzz/corpus/script_text tests/script
//
// QZM_FUZZ_PRINT=1 echoes the Listener of an input to standard output.
#include "catalogue.h"
#include "fuzz_host.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string_view>

namespace {

// The words libFuzzer may splice into the texts it mutates: the language's keywords and literals,
// every primitive, plug-in class, function and parameter.
void writeDictionary(const char* path) {
  std::set<std::string> words = {
      "if", "then", "else", "do", "while", "for", "in", "to", "by", "where", "collect", "exit", "continue",
      "case", "of", "default", "try", "catch", "throw", "fn", "function", "return", "struct", "global",
      "local", "at time", "animate on", "undo on", "undo off", "with", "max undo", "max redo", "and",
      "or", "not", "as", "true", "false", "undefined", "unsupplied", "ok", "#()", "$", "$*", "[1,2,3]",
      "(color 1 2 3)", "execute", "#noPrompt", "2147483647", "-2147483648", "1e38", "\"\\x01\""};
  const fuzz::Catalogue& c = fuzz::catalogue();
  for (const std::string& p : c.primitives) words.insert(p);
  for (const fuzz::PluginClass& pc : c.classes) {
    words.insert(pc.name);
    for (const fuzz::Member& m : pc.functions) words.insert(m.name);
    for (const fuzz::Member& m : pc.properties) words.insert(m.name);
  }
  for (const fuzz::CoreInterface& ci : c.interfaces) {
    words.insert(ci.name);
    for (const fuzz::Member& m : ci.functions) words.insert(ci.name + "." + m.name);
  }
  std::ofstream out(path);
  for (const std::string& w : words) {
    out << '"';
    for (char ch : w) {
      if (ch == '"' || ch == '\\') out << '\\';
      out << ch;
    }
    out << "\"\n";
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // A relative path is the caller's, not the scratch folder's.
  const char* dict = std::getenv("QZM_FUZZ_WRITE_DICT");
  std::string path = dict ? std::filesystem::absolute(dict).string() : std::string();
  fuzz::startHost("script_text", argc, argv);
  if (!path.empty()) writeDictionary(path.c_str());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::runScript(std::string_view(reinterpret_cast<const char*>(data), size));
  fuzz::resetHost();
  return 0;
}
