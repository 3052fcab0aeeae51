// The Listener's text in memory is bounded: past its limit the oldest text gives way, so a command
// or loop that never stops printing cannot take the host's memory.
#include "maxscript/maxscript.h"
#include "script/listener_stream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

constexpr size_t kLimit = size_t(32) << 20;

TEST(ListenerText, PastItsLimitTheOldestLinesGiveWayAndTheNewestStay) {
  ListenerStream* listener = sim::listenerStream();
  listener->clear();
  const std::string tail(1015, 'x');
  const int lines = 48 * 1024;  // 48 MB in lines of 1024 bytes, each starting with its number
  char number[16];
  for (int i = 0; i < lines; ++i) {
    std::snprintf(number, sizeof number, "%08d", i);
    listener->puts(number);
    listener->puts((tail + "\n").c_str());
  }
  const std::string& text = listener->text();
  EXPECT_LE(text.size(), kLimit);
  EXPECT_GE(text.size(), kLimit / 2);
  EXPECT_EQ(text.size() % 1024, 0u) << "the kept text starts at a line";
  std::snprintf(number, sizeof number, "%08d", lines - 1);
  EXPECT_EQ(text.substr(text.size() - 1024, 8), number);
  listener->clear();
}

TEST(ListenerText, OneWriteLargerThanTheLimitKeepsItsEnd) {
  ListenerStream* listener = sim::listenerStream();
  listener->clear();
  listener->puts("before\n");
  std::string huge(kLimit + 10, 'a');
  huge.back() = 'z';
  listener->puts(huge.c_str());
  EXPECT_EQ(listener->text().size(), kLimit);
  EXPECT_EQ(listener->text().back(), 'z');
  EXPECT_EQ(listener->text().find("before"), std::string::npos);
  listener->clear();
}

}  // namespace
