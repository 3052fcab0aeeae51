// Scrambled script files: written by qzmhost --scramble, read back and evaluated by FileIn_.
#include "script_library_fixture.h"
#include "support/temp_dir.h"

#include <fstream>

namespace {

class ScrambledFiles : public test::ScriptLibrary {
 protected:
  // Scrambles `plain` with the host's tool; the tool's result.
  test::CommandResult scramble(const std::string& plain, const std::string& out) {
    dir_.write("plain.ms", plain);
    return test::runCommand(std::string(QZM_HOST_EXE) + " --scramble " + dir_.file("plain.ms") + " " + out);
  }
  std::string fileIn(const std::string& path) { return run("print (FileIn_ " + quoted(path) + ")"); }
  test::TempDir dir_;
};

TEST_F(ScrambledFiles, TextRoundTripsThroughTheToolAndFileIn) {
  // Tabs and line feeds at odd and even positions, and well past the 62nd character.
  std::string plain = "global qzmA = 1\n\tglobal qzmB = \"a\tb\n\tc\"\n";
  for (int i = 0; i < 20; ++i) plain += "qzmA += " + std::to_string(i) + "\t-- pad the text to wrap the counter\n";
  plain += "print qzmA\nprint qzmB\n";
  std::string out = dir_.file("scrambled.ms");
  ASSERT_EQ(scramble(plain, out).status, 0);
  EXPECT_EQ(fileIn(out), "191\n\"a\tb\n\tc\"\ntrue\n");
}

TEST_F(ScrambledFiles, TheToolRefusesAByteWithoutAScrambledFormAndWritesNothing) {
  std::string out = dir_.file("never.ms");
  test::CommandResult r = scramble("\xff -- the first position shifts by less than 34\n", out);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("byte 0xFF at position 1 cannot be scrambled"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
