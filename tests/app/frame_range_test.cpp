// Frame ranges and output patterns as the render and farm commands read them.
#include "frame_range.h"
#include "output_pattern.h"

#include <gtest/gtest.h>

namespace {

FrameRange parsed(const std::string& text) {
  FrameRange r{-99, -99};
  std::string error;
  EXPECT_TRUE(parseFrameRange(text, 1000, r, error)) << text << ": " << error;
  return r;
}

std::string refusal(const std::string& text) {
  FrameRange r;
  std::string error;
  EXPECT_FALSE(parseFrameRange(text, 1000, r, error)) << text;
  return error;
}

TEST(FrameRanges, ReadOneFrameOrARangeWithNegativeFramesToo) {
  EXPECT_EQ(parsed("0-99").first, 0);
  EXPECT_EQ(parsed("0-99").last, 99);
  EXPECT_EQ(parsed("7").count(), 1);
  EXPECT_EQ(parsed("-10--1").first, -10);
  EXPECT_EQ(parsed("-10--1").last, -1);
  EXPECT_EQ(parsed("-3-2").count(), 6);
  EXPECT_EQ(parsed("5-5").text(), "5");
  EXPECT_EQ(parsed("-10--1").text(), "-10--1");
}

TEST(FrameRanges, RefuseWhatIsNoRangeReversedOrBeyondTheHostsTime) {
  EXPECT_EQ(refusal(""), "the frame range is empty (give A-B, or one frame A)");
  for (const char* bad : {"a", "1-", "-", "1--", "1-2-3", "+1-2", "1 -2", "1-2 ", "0x10", "1.5"})
    EXPECT_EQ(refusal(bad), std::string("the frame range '") + bad + "' is not one (give A-B, or one frame A)");
  EXPECT_EQ(refusal("5-2"), "the frame range '5-2' is reversed: it ends before it starts");
  EXPECT_EQ(refusal("-1--2"), "the frame range '-1--2' is reversed: it ends before it starts");
  EXPECT_EQ(refusal("0-1001"), "the frame range '0-1001' reaches beyond the host's time (frames -1000 to 1000)");
  EXPECT_EQ(refusal("-1001-0"), "the frame range '-1001-0' reaches beyond the host's time (frames -1000 to 1000)");
  EXPECT_EQ(refusal("0-99999999999999999999"), "the frame range '0-99999999999999999999' is not one (give A-B, or one frame A)");
}

TEST(FrameRanges, CutIntoChunksThatCoverEveryFrameOnce) {
  auto chunks = chunksOf({3, 12}, 4);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].text(), "3-6");
  EXPECT_EQ(chunks[1].text(), "7-10");
  EXPECT_EQ(chunks[2].text(), "11-12");
  EXPECT_EQ(chunksOf({5, 5}, 10).size(), 1u);
  EXPECT_EQ(chunksOf({0, 9}, 1).size(), 10u);
}

TEST(OutputPatterns, PutTheZeroPaddedFrameNumberWhereTheRunOfHashesIs) {
  OutputPattern p;
  std::string error;
  ASSERT_TRUE(p.parse("renders/v#2/shot_####.exr", 100, error)) << error;
  EXPECT_EQ(p.folder(), "renders/v#2");
  EXPECT_EQ(p.fileFor(7), "renders/v#2/shot_0007.exr");
  EXPECT_EQ(p.fileFor(-7), "renders/v#2/shot_-007.exr");
  EXPECT_EQ(p.fileFor(123456), "renders/v#2/shot_123456.exr");
  ASSERT_TRUE(p.parse("#.png", 2, error));
  EXPECT_EQ(p.folder(), ".");
  EXPECT_EQ(p.fileFor(12), "12.png");
}

TEST(OutputPatterns, TakeANameWithoutHashesForOneFrameOnly) {
  OutputPattern p;
  std::string error;
  ASSERT_TRUE(p.parse("out/still.jpg", 1, error));
  EXPECT_EQ(p.fileFor(40), "out/still.jpg");
  EXPECT_FALSE(p.parse("out/still.jpg", 2, error));
  EXPECT_EQ(error, "the output 'out/still.jpg' has no run of # for the frame number, so 2 frames would overwrite each other");
  EXPECT_FALSE(p.parse("out/a_##_b_##.png", 1, error));
  EXPECT_EQ(error, "the output 'out/a_##_b_##.png' has more than one run of # in its file name");
  EXPECT_FALSE(p.parse("out/frames_##", 1, error));
  EXPECT_EQ(error.rfind("the output 'out/frames_##' does not end in an image file ending (", 0), 0u) << error;
}

}  // namespace
