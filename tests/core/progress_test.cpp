// Progress lines: counts and time left on one rewritten line, and nothing at all when not shown.
#include "core/progress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using sim::durationText;
using sim::Progress;

std::string contents(std::FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string s;
  for (int c; (c = std::fgetc(f)) != EOF;) s += static_cast<char>(c);
  return s;
}

TEST(Progress, ShowsCountsAndClearsItsLineWhenDone) {
  std::FILE* f = std::tmpfile();
  {
    Progress p("Verifying a.qzmscene", 3, f, true, Progress::Clock::duration::zero());
    p.step(0, "pass 5001");
    p.step(1, "initial state");
  }
  const std::string s = contents(f);
  std::fclose(f);
  EXPECT_EQ(s.substr(0, 42), "\rVerifying a.qzmscene: pass 5001 (1 of 3)\r");
  EXPECT_NE(s.find("Verifying a.qzmscene: initial state (2 of 3), about "), std::string::npos);
  EXPECT_NE(s.find(" s left"), std::string::npos);
  EXPECT_EQ(s.back(), '\r');
}

TEST(Progress, WritesNothingWhenNotShownOrBeforeTheQuietStartEnds) {
  std::FILE* f = std::tmpfile();
  {
    Progress off("Verifying", 2, f, false, Progress::Clock::duration::zero());
    off.step(0, "pass 5001");
    Progress early("Verifying", 2, f, true, std::chrono::hours(1));
    early.step(0, "pass 5001");
  }
  EXPECT_EQ(contents(f), "");
  std::fclose(f);
}

TEST(Progress, OnlyTheOutermostWorkIsShown) {
  std::FILE* f = std::tmpfile();
  {
    Progress outer("Verifying", 2, f, true, Progress::Clock::duration::zero());
    {
      Progress inner("Restoring pass 2", 100, f, true, Progress::Clock::duration::zero());
      inner.percent(50, "node 6 of 12");
    }
    outer.step(1, "initial state");
  }
  const std::string s = contents(f);
  std::fclose(f);
  EXPECT_EQ(s.find("Restoring"), std::string::npos);
  EXPECT_NE(s.find("Verifying: initial state (2 of 2)"), std::string::npos);
  {
    std::FILE* g = std::tmpfile();
    {
      Progress alone("Restoring pass 2", 100, g, true, Progress::Clock::duration::zero());
      alone.percent(150, "node 12 of 12");
    }
    const std::string t = contents(g);
    std::fclose(g);
    EXPECT_NE(t.find("Restoring pass 2: node 12 of 12, 100%, about 0 s left"), std::string::npos) << t;
  }
}

TEST(Progress, DurationsReadAsPeopleSayThem) {
  EXPECT_EQ(durationText(0.4), "0 s");
  EXPECT_EQ(durationText(59.6), "1 min 0 s");
  EXPECT_EQ(durationText(125), "2 min 5 s");
  EXPECT_EQ(durationText(3840), "1 h 4 min");
}

}  // namespace
