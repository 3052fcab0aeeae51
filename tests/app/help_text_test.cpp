// The help a new user reads first: every command's, in full, with no word written twice running
// and each value named rather than counted.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

TEST(HelpText, EveryCommandsHelpNamesItsValuesAndWritesNoWordTwice) {
  // One space or a line break between them: the columns of an option and its text are wider.
  const std::regex doubled(R"(\b(\w+)(?: |\n *)\1\b)", std::regex::icase);
  for (const char* command : {"", " passes", " verify", " render", " farm"}) {
    SCOPED_TRACE(command);
    auto r = test::runCommand(std::string(QZM_HOST_EXE) + command + " --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Usage: qzmhost"), std::string::npos) << r.out;
    std::smatch m;
    EXPECT_FALSE(std::regex_search(r.out, m, doubled)) << "\"" << m.str() << "\" in\n" << r.out;
    EXPECT_EQ(r.out.find(" TEXT"), std::string::npos) << "an argument without a name of its own\n" << r.out;
    EXPECT_EQ(r.out.find(" x 2"), std::string::npos) << r.out;
  }
}

}  // namespace
