// The scrambled files' schedule is shared by the writer and the reader, so a round trip cannot see a
// change to it: files scrambled before must still read back. These are the shifts of the first
// positions, across the wrap at the 62nd byte.
#include "scramble_schedule.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ScrambleSchedule, ShiftsEachPositionAsFilesAlreadyScrambledExpect) {
  // Shift per position; "s" where tab and line feed trade places.
  const std::string expected =
      "17,34s,26,42s,35,51s,43,59s,12,28s,20,36s,29,45s,37,53s,46,62s,54,70s,23,39s,31,48s,40,56s,48,65s,"
      "57,73s,65,82s,34,50s,42,59s,51,67s,60,76s,68,84s,77,93s,85,61s,54,70s,62,78s,71,87s,79,96s,88,104s,"
      "96,73s,65,81s,73,22s,17,34s,";
  ScrambleSchedule at;
  std::string seen;
  for (int i = 0; i < 64; ++i) {
    at.advance();
    seen += std::to_string(at.shift()) + (at.swapsTabAndLineFeed() ? "s," : ",");
  }
  EXPECT_EQ(seen, expected);
}

}  // namespace
