// A child program for the command runner's tests that behaves the same on every system, where the
// command interpreters' own commands do not (line ends, echo and quotes):
//   qzm_test_writer count N         N bytes of "abcdefghijklmnopqrstuvwxyz" repeated, no line end
//   qzm_test_writer count N MS      the same, then nothing for MS milliseconds before its end
//   qzm_test_writer bytes HEX...    the bytes given in hexadecimal
//   qzm_test_writer stderr TEXT     TEXT on standard error
//   qzm_test_writer args ARGS...    its arguments joined by '|'
//   qzm_test_writer cwd             its working directory
//   qzm_test_writer sleep MS        nothing, for MS milliseconds
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>
#if defined(_WIN32)
#  include <fcntl.h>
#  include <io.h>
#endif

int main(int argc, char** argv) {
#if defined(_WIN32)
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  if (argc < 2) return 2;
  std::string what = argv[1];
  if (what == "count" && (argc == 3 || argc == 4)) {
    long long n = std::atoll(argv[2]);
    std::vector<char> block(26 * 2048);  // whole alphabets, so that the pattern runs on across blocks
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>('a' + i % 26);
    for (long long left = n; left > 0;) {
      size_t take = static_cast<size_t>(std::min<long long>(left, static_cast<long long>(block.size())));
      if (std::fwrite(block.data(), 1, take, stdout) != take) return 1;
      left -= static_cast<long long>(take);
    }
    if (argc == 4) {
      if (std::fflush(stdout) != 0) return 1;
      std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[3])));
    }
  } else if (what == "bytes") {
    for (int i = 2; i < argc; ++i) std::fputc(static_cast<int>(std::strtol(argv[i], nullptr, 16)), stdout);
  } else if (what == "stderr" && argc == 3) {
    std::fputs(argv[2], stderr);
  } else if (what == "args") {
    for (int i = 2; i < argc; ++i) std::printf("%s%s", i > 2 ? "|" : "", argv[i]);
  } else if (what == "cwd") {
    std::printf("%s", std::filesystem::current_path().string().c_str());
  } else if (what == "sleep" && argc == 3) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[2])));
  } else {
    return 2;
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
