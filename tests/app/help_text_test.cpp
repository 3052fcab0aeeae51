// The help a new user reads first: every command's, in full, with no word written twice running
// and each value named rather than counted.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

// The first word that follows itself after one space or a line break (case aside), or "". Wider
// gaps are the columns between an option and its text.
std::string doubledWord(const std::string& text) {
  std::string previous;
  size_t i = 0;
  while (i < text.size()) {
    size_t start = i;
    while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_')) ++i;
    std::string word = text.substr(start, i - start);
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!word.empty() && word == previous) return word;
    if (!word.empty()) previous = word;
    size_t gapStart = i;
    while (i < text.size() && !(std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_')) ++i;
    const std::string gap = text.substr(gapStart, i - gapStart);
    const bool joins = gap == " " || (gap.find_first_not_of(" \n") == std::string::npos && gap.find('\n') != std::string::npos);
    if (!joins) previous.clear();
  }
  return "";
}

TEST(HelpText, EveryCommandsHelpNamesItsValuesAndWritesNoWordTwice) {
  for (const char* command : {"", " passes", " verify", " render", " farm"}) {
    SCOPED_TRACE(command);
    auto r = test::runCommand(std::string(QZM_HOST_EXE) + command + " --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Usage: qzmhost"), std::string::npos) << r.out;
    EXPECT_EQ(doubledWord(r.out), "") << r.out;
    EXPECT_EQ(r.out.find(" TEXT"), std::string::npos) << "an argument without a name of its own\n" << r.out;
    EXPECT_EQ(r.out.find(" x 2"), std::string::npos) << r.out;
  }
}

}  // namespace
