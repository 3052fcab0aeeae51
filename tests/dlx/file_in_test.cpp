// FileIn_ on files written byte by byte: the position rules, and files that are empty, missing,
// unfinished, failing half-way or plain garbage.
#include "script_library_fixture.h"
#include "support/temp_dir.h"

#include "random.h"

namespace {

using test::ScriptLibrary;

// The stored byte for `want` at 1-based position `pos`, for positions below 62 (the counter has
// not wrapped yet), following the reading rule.
unsigned char stored(unsigned char want, int pos) {
  Random r;
  r.srand(679);
  int offset = 0;
  for (int j = 1; j <= pos; ++j) {
    offset = r.rand() % 40 + 1;
    r.srand(679 + j);
  }
  int shift = pos % 2 == 0 ? pos + offset + 12 : pos + offset;
  return static_cast<unsigned char>(want + shift);
}

TEST_F(ScriptLibrary, The62ndByteIsShiftedBy22WhateverTheGenerator) {
  test::TempDir dir;
  // 61 spaces (never shifted; the 62nd position is what is tested), then "x" stored as "x" + 22.
  std::string bytes(61, ' ');
  bytes += static_cast<char>('1' + 22);
  dir.write("pos62.ms", bytes);
  EXPECT_EQ(run("print (FileIn_ " + quoted(dir.file("pos62.ms")) + ")"), "true\n");
  // A short text worked out position by position.
  dir.write("assign.ms", [] {
    std::string plain = "qzmSeven=7";
    std::string s;
    for (size_t i = 0; i < plain.size(); ++i) s += static_cast<char>(stored(static_cast<unsigned char>(plain[i]), int(i) + 1));
    return s;
  }());
  EXPECT_EQ(run("global qzmSeven; FileIn_ " + quoted(dir.file("assign.ms")) + "; print qzmSeven"), "7\n");
}

TEST_F(ScriptLibrary, FileInOnFilesThatHoldNothingUsefulOrDoNotExist) {
  test::TempDir dir;
  dir.write("empty.ms", "");
  dir.write("blank.ms", "  \r\n \n  ");
  EXPECT_EQ(run("print (FileIn_ " + quoted(dir.file("empty.ms")) + ")"), "true\n");
  EXPECT_EQ(run("print (FileIn_ " + quoted(dir.file("blank.ms")) + " quiet:false)"), "true\n");
  std::string missing = dir.file("missing.ms");
  EXPECT_EQ(errorOf("FileIn_ " + quoted(missing)), "-- Runtime error: fileIn cannot open file: " + quoted(missing));
}

TEST_F(ScriptLibrary, FileInRefusesAFolderAndEndsAnEndlessInput) {
  test::TempDir dir;
  std::string folder = dir.path().string();
  EXPECT_EQ(errorOf("FileIn_ " + quoted(folder)), "-- Runtime error: fileIn cannot open file: " + quoted(folder));
#ifndef _WIN32
  EXPECT_EQ(errorOf("FileIn_ \"/dev/zero\""), "-- Runtime error: File larger than 64 MB: \"/dev/zero\"");
#endif
}

TEST_F(ScriptLibrary, AnErrorHalfWayIsReportedAfterTheExpressionsBeforeIt) {
  test::TempDir dir;
  std::string plain = "global qzmHalf = 1\nqzmNoSuchFunction 2\nqzmHalf = 3\n";
  std::string s;
  for (size_t i = 0; i < plain.size(); ++i) {
    auto c = static_cast<unsigned char>(plain[i]);
    int pos = int(i) + 1;
    if (pos % 2 == 0 && c == '\n') c = '\t';  // the even-position swap, undone by the reader
    s += static_cast<char>(c >= 33 ? stored(c, pos) : c);
  }
  dir.write("half.ms", s);
  EXPECT_EQ(run("try (FileIn_ " + quoted(dir.file("half.ms")) + ") catch (print (getCurrentException()))\nprint qzmHalf"),
            "Error occurred during fileIn: \n\"-- Type error: Call needs function or class, got: undefined\"\n1\n");
}

TEST_F(ScriptLibrary, GarbageAndUnfinishedTextRaiseWithoutCrashing) {
  test::TempDir dir;
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919 + 13) % 256);
  dir.write("garbage.ms", garbage);
  EXPECT_NE(errorOf("FileIn_ " + quoted(dir.file("garbage.ms"))), "");
  // "(1 +" stored at positions 1 to 4.
  std::string plain = "(1 +";
  std::string s;
  for (size_t i = 0; i < plain.size(); ++i) {
    auto c = static_cast<unsigned char>(plain[i]);
    s += static_cast<char>(c >= 33 ? stored(c, int(i) + 1) : c);
  }
  dir.write("unfinished.ms", s);
  std::string text = run("try (FileIn_ " + quoted(dir.file("unfinished.ms")) + ") catch (print (getCurrentException()))");
  EXPECT_NE(text.find("Error occurred during fileIn: \n\"-- Runtime error: Unexpected end-of-script during compile.\""),
            std::string::npos)
      << text;
}

}  // namespace
