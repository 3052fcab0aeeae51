#include "bitmap.h"
#include "bitmap/image_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Far below half a 16-bit level: a file gave back the level that went in.
constexpr float kLevelTolerance = 1e-6f;

struct BitmapDeleter {
  void operator()(Bitmap* b) const {
    if (b) b->DeleteThis();
  }
};
using BitmapPtr = std::unique_ptr<Bitmap, BitmapDeleter>;

class ImageFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!sim::imageFilesAvailable()) GTEST_SKIP() << "this build reads and writes no image files";
  }

  static BitmapPtr make(int type, int w = 8, int h = 6) {
    BitmapInfo bi;
    bi.SetType(type);
    bi.SetWidth(w);
    bi.SetHeight(h);
    bi.SetFlags(MAP_HAS_ALPHA);
    return BitmapPtr(TheManager->Create(&bi));
  }

  // Pixel (x, y): channel values on a grid of `steps` levels between 0 and 1, every pixel different.
  static BMM_Color_fl level(int x, int y, float steps) {
    auto v = [steps](int k) { return float(k % int(steps + 1)) / steps; };
    return {v(x * 37 + y * 11), v(x * 5 + y * 53 + 3), v(x * 71 + y * 29 + 7), v(x * 13 + y * 17 + 1)};
  }

  static void fill(Bitmap& b, float steps) {
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        BMM_Color_fl p = level(x, y, steps);
        b.PutPixels(x, y, 1, &p);
      }
  }

  BMMRES save(Bitmap& b, const std::string& name) {
    BitmapInfo bi(dir.file(name).c_str());
    return b.Write(&bi);
  }

  BitmapPtr load(const std::string& name, BMMRES* status = nullptr, BitmapInfo* info = nullptr) {
    BitmapInfo bi(dir.file(name).c_str());
    BMMRES s = BMMRES_SUCCESS;
    BitmapPtr b(TheManager->Load(&bi, &s));
    if (status) *status = s;
    if (info) *info = bi;
    return b;
  }

  // Every pixel of `b` within `tolerance` of `expected(x, y)`.
  template <class Expected>
  static void expectPixels(const Bitmap& b, Expected expected, float tolerance) {
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        BMM_Color_fl got, want = expected(x, y);
        ASSERT_EQ(b.GetPixels(x, y, 1, &got), 1);
        ASSERT_NEAR(got.r, want.r, tolerance) << x << "," << y;
        ASSERT_NEAR(got.g, want.g, tolerance) << x << "," << y;
        ASSERT_NEAR(got.b, want.b, tolerance) << x << "," << y;
        ASSERT_NEAR(got.a, want.a, tolerance) << x << "," << y;
      }
  }

  // Whether this build writes TIFF files (the header-library build has no TIFF library).
  bool writesTiff() {
    BitmapPtr b = make(BMM_TRUE_32, 1, 1);
    return save(*b, "probe.tif") != BMMRES_NODRIVER;
  }

  // The names given, without the TIFF ones when this build has no TIFF.
  std::vector<std::string> withTiffIfWritten(std::vector<std::string> names) {
    if (!writesTiff()) std::erase_if(names, [](const std::string& n) { return n.ends_with(".tif"); });
    return names;
  }

  test::TempDir dir;
};

TEST_F(ImageFiles, EightBitFormatsGiveBackEveryLevelExactly) {
  for (const std::string& name : withTiffIfWritten({"a.png", "a.tif", "a.tga", "a.bmp"})) {
    SCOPED_TRACE(name);
    BitmapPtr b = make(BMM_TRUE_32);
    fill(*b, 255.0f);
    ASSERT_EQ(save(*b, name), BMMRES_SUCCESS);
    BitmapInfo info;
    BitmapPtr back = load(name, nullptr, &info);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(info.Width(), 8);
    EXPECT_EQ(info.Height(), 6);
    EXPECT_EQ(info.Type(), BMM_TRUE_32);
    EXPECT_TRUE(info.TestFlags(MAP_HAS_ALPHA));
    // Colour under an alpha of 0 survives too: alpha is never multiplied in.
    expectPixels(*back, [](int x, int y) { return level(x, y, 255.0f); }, kLevelTolerance);
  }
}

TEST_F(ImageFiles, SixteenBitFormatsGiveBackEveryLevelExactly) {
  for (const std::string& name : withTiffIfWritten({"a.png", "a.tif"})) {
    SCOPED_TRACE(name);
    BitmapPtr b = make(BMM_TRUE_64);
    fill(*b, 65535.0f);
    ASSERT_EQ(save(*b, name), BMMRES_SUCCESS);
    BitmapInfo info;
    BitmapPtr back = load(name, nullptr, &info);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(info.Type(), BMM_TRUE_64);
    expectPixels(*back, [](int x, int y) { return level(x, y, 65535.0f); }, kLevelTolerance);
  }
}

TEST_F(ImageFiles, SixteenBitLevelsReadBackAsTheFloatsTheBitmapMadeOfThem) {
  BitmapPtr b = make(BMM_TRUE_64, 64, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 64; ++x) {
      const auto k = WORD((y * 64 + x) * 61 + 7);
      BMM_Color_64 p(k, WORD(65535 - k), WORD(k / 2), WORD(k * 3));
      b->PutPixels(x, y, 1, &p);
    }
  ASSERT_EQ(save(*b, "levels.png"), BMMRES_SUCCESS);
  BitmapPtr back = load("levels.png");
  ASSERT_NE(back, nullptr);
  expectPixels(*back, [&](int x, int y) { BMM_Color_fl p; b->GetPixels(x, y, 1, &p); return p; }, 0.0f);
}

TEST_F(ImageFiles, IntegerFormatsClampAndRound) {
  BitmapPtr b = make(BMM_TRUE_32, 2, 1);
  BMM_Color_fl p[2] = {{1.7f, -0.3f, 0.5f, 100.0f / 255.0f + 0.4f / 255.0f}, {0.5f / 255.0f, 0.49f / 255.0f, 254.5f / 255.0f, 1.0f}};
  b->PutPixels(0, 0, 2, p);
  ASSERT_EQ(save(*b, "r.png"), BMMRES_SUCCESS);
  BitmapPtr back = load("r.png");
  ASSERT_NE(back, nullptr);
  BMM_Color_fl q[2];
  back->GetPixels(0, 0, 2, q);
  EXPECT_FLOAT_EQ(q[0].r, 1.0f);
  EXPECT_EQ(q[0].g, 0.0f);
  EXPECT_FLOAT_EQ(q[0].b, 128.0f / 255.0f);
  EXPECT_FLOAT_EQ(q[0].a, 100.0f / 255.0f);
  EXPECT_FLOAT_EQ(q[1].r, 1.0f / 255.0f);
  EXPECT_EQ(q[1].g, 0.0f);
  EXPECT_FLOAT_EQ(q[1].b, 1.0f);
}

TEST_F(ImageFiles, FloatFormatsKeepValuesAboveOneAndNegativeAlpha) {
  auto hdr = [](int x, int y) { return BMM_Color_fl(x * 1.75f + 0.125f, y * 3.5f, 0.001f * (x + 1), -0.5f - x * 0.25f); };
  for (const std::string& name : withTiffIfWritten({"a.exr", "a.tif"})) {
    SCOPED_TRACE(name);
    BitmapPtr b = make(BMM_FLOAT_RGBA_32);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        BMM_Color_fl p = hdr(x, y);
        b->PutPixels(x, y, 1, &p);
      }
    ASSERT_EQ(save(*b, name), BMMRES_SUCCESS);
    BitmapInfo info;
    BitmapPtr back = load(name, nullptr, &info);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(info.Type(), BMM_FLOAT_RGBA_32);
    expectPixels(*back, hdr, 0.0f);
  }
  BitmapPtr b = make(BMM_TRUE_64);
  BMM_Color_fl p{2.5f, 0.25f, -1.0f, -3.0f};
  b->PutPixels(0, 0, 1, &p);
  ASSERT_EQ(save(*b, "from64.exr"), BMMRES_SUCCESS);
  BMM_Color_fl q;
  load("from64.exr")->GetPixels(0, 0, 1, &q);
  EXPECT_EQ(q.r, 2.5f) << "OpenEXR keeps floats whatever the bitmap's type";
  EXPECT_EQ(q.a, -3.0f);
}

TEST_F(ImageFiles, FormatsWithoutAlphaReadBackOpaque) {
  auto smooth = [](int x, int y) { return BMM_Color_fl(0.3f + 0.02f * x, 0.4f + 0.02f * y, 0.5f, 0.3f); };
  struct Case {
    const char* name;
    float tolerance;
  } cases[] = {{"a.jpg", 0.03f}, {"a.hdr", 0.01f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BitmapPtr b = make(BMM_TRUE_64);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        BMM_Color_fl p = smooth(x, y);
        b->PutPixels(x, y, 1, &p);
      }
    ASSERT_EQ(save(*b, c.name), BMMRES_SUCCESS);
    BitmapInfo info;
    BitmapPtr back = load(c.name, nullptr, &info);
    ASSERT_NE(back, nullptr);
    EXPECT_FALSE(info.TestFlags(MAP_HAS_ALPHA));
    expectPixels(*back, [&](int x, int y) { BMM_Color_fl p = smooth(x, y); p.a = 1.0f; return p; }, c.tolerance);
  }
  BitmapPtr b = make(BMM_FLOAT_RGBA_32, 1, 1);
  BMM_Color_fl bright{12.0f, 0.5f, 3.0f, 1.0f};
  b->PutPixels(0, 0, 1, &bright);
  ASSERT_EQ(save(*b, "bright.hdr"), BMMRES_SUCCESS);
  BMM_Color_fl q;
  load("bright.hdr")->GetPixels(0, 0, 1, &q);
  EXPECT_NEAR(q.r, 12.0f, 0.1f) << "Radiance HDR keeps values above 1";
}

TEST_F(ImageFiles, FilesThatCannotBeReadSayWhy) {
  BitmapPtr b = make(BMM_TRUE_32, 64, 64);
  fill(*b, 255.0f);
  ASSERT_EQ(save(*b, "whole.png"), BMMRES_SUCCESS);
  auto bytes = std::filesystem::file_size(dir.path() / "whole.png");
  std::filesystem::copy_file(dir.path() / "whole.png", dir.path() / "cut.png");
  std::filesystem::resize_file(dir.path() / "cut.png", bytes / 2);
  dir.write("garbage.png", std::string(200, '\x5a'));
  dir.write("empty.exr", "");
  dir.write("notes.txt", "just text, no image in here");
  struct Case {
    const char* name;
    BMMRES status;
  } cases[] = {{"cut.png", BMMRES_CORRUPTFILE},  {"garbage.png", BMMRES_CORRUPTFILE},
               {"empty.exr", BMMRES_CORRUPTFILE}, {"notes.txt", BMMRES_INVALIDFORMAT},
               {"missing.png", BMMRES_FILENOTFOUND}, {"", BMMRES_FILENOTFOUND}};
  for (const Case& c : cases) {
    BMMRES status = BMMRES_SUCCESS;
    EXPECT_EQ(load(c.name, &status), nullptr) << c.name;
    EXPECT_EQ(status, c.status) << c.name;
  }
  EXPECT_STREQ(sim::imageFileErrorText(BMMRES_CORRUPTFILE), "the image file is damaged");
  BitmapInfo none;
  BMMRES status = BMMRES_SUCCESS;
  EXPECT_EQ(TheManager->Load(&none, &status), nullptr);
  EXPECT_EQ(status, BMMRES_BADFILENAME);
}

std::string be32(std::uint32_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

std::string pngChunk(const std::string& type, const std::string& data) {
  std::string body = type + data;
  std::uint32_t crc = 0xffffffffu;
  for (unsigned char c : body) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
  }
  return be32(std::uint32_t(data.size())) + body + be32(~crc);
}

// A PNG whose header claims an image of w x h, with an empty data chunk after it.
std::string pngHeader(std::uint32_t w, std::uint32_t h) {
  return std::string("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", be32(w) + be32(h) + std::string{8, 6, 0, 0, 0}) +
         pngChunk("IDAT", "");
}

TEST_F(ImageFiles, AHeaderClaimingAnImageTooLargeToHoldIsRefusedBeforeAnythingIsRead) {
  dir.write("wide.png", pngHeader(70000, 2));
  BMMRES status = BMMRES_SUCCESS;
  EXPECT_EQ(load("wide.png", &status), nullptr);
  EXPECT_EQ(status, BMMRES_MEMORYERROR);
}

TEST_F(ImageFiles, AFailedSaveLeavesNoPartialFileAndAnExistingFileAsItWas) {
  BitmapPtr b = make(BMM_TRUE_32);
  fill(*b, 255.0f);
  EXPECT_EQ(save(*b, "no/such/folder/a.png"), BMMRES_IOERROR);
  EXPECT_EQ(save(*b, "a.psd"), BMMRES_BADFILENAME);
  std::filesystem::create_directory(dir.path() / "taken.png");
  dir.write("taken.png/keep.txt", "kept");
  EXPECT_EQ(save(*b, "taken.png"), BMMRES_IOERROR);
  std::vector<std::string> left;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) left.push_back(e.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"taken.png"});

  ASSERT_EQ(save(*b, "over.png"), BMMRES_SUCCESS);
  BitmapPtr small = make(BMM_TRUE_32, 2, 2);
  ASSERT_EQ(save(*small, "over.png"), BMMRES_SUCCESS);
  BitmapInfo info;
  ASSERT_NE(load("over.png", nullptr, &info), nullptr);
  EXPECT_EQ(info.Width(), 2) << "saving over a file replaces it";
}

TEST_F(ImageFiles, TheFormatBlockDecidesTheDepthAFileIsWrittenWith) {
  BitmapPtr b = make(BMM_TRUE_64);
  fill(*b, 65535.0f);
  BitmapInfo bi(dir.file("eight.png").c_str());
  bi.SetType(BMM_TRUE_32);
  ASSERT_TRUE(bi.CreateFmtSpecBlock());
  ASSERT_EQ(b->Write(&bi), BMMRES_SUCCESS);
  BitmapInfo info;
  ASSERT_NE(load("eight.png", nullptr, &info), nullptr);
  EXPECT_EQ(info.Type(), BMM_TRUE_32) << "the block asked for 8 bits, the bitmap has 16";
  EXPECT_STREQ(info.Device(), "png");
}

TEST_F(ImageFiles, OpeningADamagedFileInScriptGivesUndefinedAndOneListenerLineNothingElse) {
  dir.write("damaged.png", std::string("\x89PNG\r\n\x1a\n", 8) + "cut short");
  dir.write("open.ms", "print (openBitmap \"damaged.png\")\n");
  // A script file and double quotes only, which both a POSIX shell and cmd.exe read alike.
#if defined(_WIN32)
  const std::string cd = "cd /d \"" + dir.path().string() + "\" && ";
#else
  const std::string cd = "cd \"" + dir.path().string() + "\" && ";
#endif
  auto r = test::runCommand(cd + QZM_HOST_EXE + " --plugins " + QZM_PLUGIN_DIR + " open.ms");
  EXPECT_EQ(r.out, "-- Error opening bitmap: damaged.png (the image file is damaged)\nundefined\n");
  EXPECT_EQ(r.err, "") << "the image library's own complaints stay out of sight";
  EXPECT_EQ(r.status, 0);
}

std::string readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(ImageFiles, EachFormatKeepsTheTextItHasRoomForBesideUnchangedPixels) {
  const sim::ImageFileTags tags = {{"ImageDescription", "a render, frame 7"},
                                   {"qzm:scene", "C:/sc\xc3\xa8nes/ball.qzmscene"}};
  struct Case {
    const char* name;
    bool attributes;
  } cases[] = {{"t.png", true}, {"t.exr", true}, {"t.jpg", false}, {"t.tga", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BitmapPtr b = make(BMM_TRUE_32);
    fill(*b, 255.0f);
    BitmapInfo bi(dir.file(c.name).c_str());
    ASSERT_EQ(sim::writeImageFile(*b, bi, tags), BMMRES_SUCCESS);
    sim::ImageFileTags got;
    BMMRES status = BMMRES_SUCCESS;
    ASSERT_TRUE(sim::readImageFileTags(dir.file(c.name), got, status));
    auto tag = [&](const std::string& name) {
      for (const auto& [n, v] : got)
        if (n == name) return v;
      return std::string("(missing)");
    };
    EXPECT_EQ(tag("ImageDescription"), "a render, frame 7");
    if (c.attributes) {
      EXPECT_EQ(tag("qzm:scene"), "C:/sc\xc3\xa8nes/ball.qzmscene");
    }
    if (std::string(c.name) != "t.jpg") {
      ASSERT_EQ(save(*b, std::string("plain_") + c.name), BMMRES_SUCCESS);
      BitmapPtr tagged = load(c.name), plain = load(std::string("plain_") + c.name);
      ASSERT_NE(tagged, nullptr);
      expectPixels(*tagged, [&](int x, int y) { BMM_Color_fl p; plain->GetPixels(x, y, 1, &p); return p; }, 0.0f);
    }
  }
  sim::ImageFileTags got;
  BMMRES status = BMMRES_SUCCESS;
  EXPECT_FALSE(sim::readImageFileTags(dir.file("none.png"), got, status));
  EXPECT_EQ(status, BMMRES_FILENOTFOUND);
}

// Every format's file cut short and with bytes overwritten: each is refused with a reason or read as
// a whole bitmap of the size it says, never a crash or a read outside the file (the sanitizer build).
TEST_F(ImageFiles, CutAndDamagedFilesOfEveryFormatAreRefusedOrReadWhole) {
  for (const std::string& name : withTiffIfWritten({"d.png", "d.jpg", "d.tga", "d.bmp", "d.hdr", "d.exr", "d.tif"})) {
    SCOPED_TRACE(name);
    BitmapPtr b = make(name == "d.hdr" || name == "d.exr" ? BMM_FLOAT_RGBA_32 : BMM_TRUE_32, 16, 16);
    fill(*b, 255.0f);
    ASSERT_EQ(save(*b, name), BMMRES_SUCCESS);
    const std::string whole = readAll(dir.path() / name);
    std::vector<std::string> damaged;
    for (size_t cut : {size_t(1), size_t(4), size_t(8), size_t(17), size_t(40), whole.size() / 3, whole.size() - 1})
      damaged.push_back(whole.substr(0, std::min(cut, whole.size() - 1)));
    for (size_t at = 0; at < whole.size(); at += whole.size() / 16 + 1) {
      std::string flipped = whole;
      for (size_t k = at; k < std::min(at + 4, flipped.size()); ++k) flipped[k] = char(~flipped[k]);
      damaged.push_back(flipped);
    }
    const std::string bad = "bad" + name.substr(1);
    for (size_t i = 0; i < damaged.size(); ++i) {
      dir.write(bad, damaged[i]);
      BMMRES status = BMMRES_SUCCESS;
      BitmapInfo info;
      BitmapPtr back = load(bad, &status, &info);
      if (back) {
        EXPECT_EQ(status, BMMRES_SUCCESS) << i;
        EXPECT_EQ(back->Width(), info.Width()) << i;
        EXPECT_EQ(back->Height(), info.Height()) << i;
      } else {
        EXPECT_TRUE(status == BMMRES_CORRUPTFILE || status == BMMRES_INVALIDFORMAT || status == BMMRES_MEMORYERROR)
            << i << ": " << sim::imageFileErrorText(status);
      }
      sim::ImageFileTags tags;
      sim::readImageFileTags(dir.file(bad), tags, status);
    }
  }
}

// A Radiance HDR of 16 x 2 pixels whose second row is `secondRow`; each run-length row is a mark,
// its width, then each of its four components as a run of 16 (a count of 128 + 16 and a value).
std::string radianceHdr(const std::string& secondRow) {
  const std::string mark("\x02\x02\x00\x10", 4);
  const std::string row = mark + "\x90\x80" + "\x90\x40" + "\x90\x20" + "\x90\x81";
  return "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 2 +X 16\n" + row + secondRow;
}

TEST_F(ImageFiles, ARadianceHdrRowThatDoesNotAddUpToItsWidthIsDamaged) {
  const std::string mark("\x02\x02\x00\x10", 4);
  dir.write("whole.hdr", radianceHdr(mark + "\x90\x80" + "\x90\x40" + "\x90\x20" + "\x90\x81"));
  BitmapPtr whole = load("whole.hdr");
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(whole->Width(), 16);
  EXPECT_EQ(whole->Height(), 2);
  BMM_Color_fl p;
  whole->GetPixels(15, 1, 1, &p);
  EXPECT_NEAR(p.r, 1.0f, 0.01f);
  EXPECT_NEAR(p.b, 0.25f, 0.01f);
  struct Case {
    const char* what;
    std::string secondRow;
  } cases[] = {
      {"a count of 0", mark + std::string("\x00", 1) + "\x90\x80" + "\x90\x40" + "\x90\x20" + "\x90\x81"},
      {"cut short inside a run", mark + "\x88\x80"},
      {"cut short inside a dump", mark + "\x04\x80\x80"},
      {"cut short after the row mark", mark},
      {"a dump past the row's end", mark + "\x11" + std::string(17, '\x80')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dir.write("bad.hdr", radianceHdr(c.secondRow));
    BMMRES status = BMMRES_SUCCESS;
    EXPECT_EQ(load("bad.hdr", &status), nullptr);
    EXPECT_EQ(status, BMMRES_CORRUPTFILE);
  }
}

// Where an OpenEXR file's first pixel block begins: after the magic number and version, the
// header's attributes (name, type, size, value) up to an empty name, and the offset table.
size_t firstExrBlock(const std::string& f) {
  size_t at = 8;
  while (at < f.size() && f[at] != 0) {
    at = f.find('\0', at) + 1;  // the name
    at = f.find('\0', at) + 1;  // the type
    std::uint32_t size = 0;
    for (int k = 0; k < 4; ++k) size |= std::uint32_t(std::uint8_t(f[at + size_t(k)])) << (8 * k);
    at += 4 + size;
  }
  std::uint64_t offset = 0;
  for (int k = 0; k < 8; ++k) offset |= std::uint64_t(std::uint8_t(f[at + 1 + size_t(k)])) << (8 * k);
  return size_t(offset);
}

TEST_F(ImageFiles, AnOpenExrWhosePixelBlockIsDamagedIsRefusedOnce) {
  BitmapPtr b = make(BMM_FLOAT_RGBA_32, 16, 16);
  fill(*b, 255.0f);
  ASSERT_EQ(save(*b, "whole.exr"), BMMRES_SUCCESS);
  std::string bytes = readAll(dir.path() / "whole.exr");
  const size_t block = firstExrBlock(bytes);
  ASSERT_LT(block + 8, bytes.size());
  // The block's row number, then the length of its data: longer than the file.
  for (int k = 0; k < 4; ++k) bytes[block + 4 + size_t(k)] = k == 3 ? '\x7f' : '\xff';
  dir.write("damaged.exr", bytes);
  BMMRES status = BMMRES_SUCCESS;
  EXPECT_EQ(load("damaged.exr", &status), nullptr);
  EXPECT_EQ(status, BMMRES_CORRUPTFILE);
}

TEST_F(ImageFiles, AnOpenExrHeaderClaimingAnImageTooLargeToHoldIsRefusedBeforeAnythingIsRead) {
  BitmapPtr b = make(BMM_FLOAT_RGBA_32);
  ASSERT_EQ(save(*b, "small.exr"), BMMRES_SUCCESS);
  std::string bytes = readAll(dir.path() / "small.exr");
  const std::string key("dataWindow\0box2i\0", 17);
  const size_t at = bytes.find(key);
  ASSERT_NE(at, std::string::npos);
  // After the name, the type and the value's size: min x, min y, max x, max y, little-endian.
  const std::uint32_t maxX = 69999;
  for (int k = 0; k < 4; ++k) bytes[at + key.size() + 4 + 8 + size_t(k)] = char(maxX >> (8 * k));
  dir.write("wide.exr", bytes);
  BMMRES status = BMMRES_SUCCESS;
  EXPECT_EQ(load("wide.exr", &status), nullptr);
  EXPECT_EQ(status, BMMRES_MEMORYERROR);
}

TEST_F(ImageFiles, AFormatTheBuildHasNoLibraryForIsRefusedByName) {
  if (writesTiff()) GTEST_SKIP() << "this build writes TIFF";
  BitmapPtr b = make(BMM_TRUE_32);
  EXPECT_EQ(save(*b, "a.tif"), BMMRES_NODRIVER);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "a.tif"));
  dir.write("b.tif", std::string("II*\0\x08\0\0\0", 8) + std::string(64, '\0'));
  BMMRES status = BMMRES_SUCCESS;
  EXPECT_EQ(load("b.tif", &status), nullptr);
  EXPECT_EQ(status, BMMRES_NODRIVER);
  EXPECT_STREQ(sim::imageFileErrorText(status), "this build of the host reads and writes no files of this format");
}

}  // namespace
