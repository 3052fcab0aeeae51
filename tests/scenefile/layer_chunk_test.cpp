// The layers' chunk of a scene file: a reader that does not know it skips it and has every node on
// layer "0"; a chunk that contradicts itself is damage, and the scene loaded before stays.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string host() { return std::string(QZM_HOST_EXE) + " --plugins " + QZM_PLUGIN_DIR; }

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Where the layers' chunk starts: it is the last chunk of the file (the last of the scene's).
size_t findLayerChunk(const std::string& file) {
  for (size_t at = 12; at + 10 <= file.size(); ++at) {
    std::uint16_t id;
    std::uint64_t len;
    std::memcpy(&id, &file[at], 2);
    std::memcpy(&len, &file[at + 2], 8);
    if (id == 0x0307 && at + 10 + len == file.size()) return at;
  }
  return std::string::npos;
}

// Boxes A and B, A on layer "Props" (hidden, current), saved to `file`.
void saveLayeredScene(const std::string& file) {
  auto saved = test::runCommand(host() + " -e '(a = box name:\"A\"; b = box name:\"B\"; "
                                "p = LayerManager.newLayerFromName \"Props\"; p.addNode a; p.isHidden = true; "
                                "p.current = true; saveMaxFile \"" + file + "\")'");
  ASSERT_EQ(saved.status, 0) << saved.err;
}

const char* kDescribe =
    "for i = 0 to LayerManager.count - 1 do (l = LayerManager.getLayer i; l.nodes &ns; "
    "format \"% % % %\\n\" l.name l.isHidden l.current (for n in ns collect n.name))";

TEST(LayerChunk, AReaderThatSkipsTheChunkHasEveryNodeOnLayerZero) {
  test::TempDir dir;
  const std::string good = dir.file("good.max"), renamed = dir.file("renamed.max");
  saveLayeredScene(good);
  std::string bytes = readAll(good);
  const size_t at = findLayerChunk(bytes);
  ASSERT_NE(at, std::string::npos);
  const std::uint16_t unknown = 0x03ff;
  std::memcpy(&bytes[at], &unknown, 2);
  std::ofstream(renamed, std::ios::binary) << bytes;

  auto loaded = test::runCommand(host() + " --scene " + renamed + " -e '" + kDescribe + "'");
  ASSERT_EQ(loaded.status, 0) << loaded.err;
  EXPECT_EQ(loaded.out, "0 false true #(\"A\", \"B\")\nOK\n");
}

TEST(LayerChunk, ALoadedSceneSavesToTheSameBytes) {
  test::TempDir dir;
  const std::string first = dir.file("first.max"), second = dir.file("second.max");
  saveLayeredScene(first);
  auto again = test::runCommand(host() + " --scene " + first + " -e 'saveMaxFile \"" + second + "\"'");
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(readAll(first), readAll(second));
}

TEST(LayerChunk, AChunkThatContradictsItselfIsDamageAndTheSceneBeforeStays) {
  test::TempDir dir;
  const std::string good = dir.file("good.max");
  saveLayeredScene(good);
  const std::string bytes = readAll(good);
  const size_t at = findLayerChunk(bytes);
  ASSERT_NE(at, std::string::npos);
  // The content: layer count, then layer "0" (name length 1 and "0") first.
  const size_t firstName = at + 10 + 4 + 4;
  ASSERT_EQ(bytes[firstName], '0');
  struct Case {
    const char* what;
    std::string file;
  };
  std::string notZeroFirst = bytes;
  notZeroFirst[firstName] = 'Z';
  std::string sameName = bytes;  // "Props" becomes "0": two layers of one name
  const size_t props = sameName.find("Props", at);
  ASSERT_NE(props, std::string::npos);
  const std::uint32_t one = 1;
  sameName.replace(props - 4, 4 + 5, std::string(reinterpret_cast<const char*>(&one), 4) + "0");
  std::string badCurrent = bytes;
  const std::int32_t nine = 9;
  std::memcpy(&badCurrent[badCurrent.size() - 4], &nine, 4);
  for (const Case& c : {Case{"layer 0 not first", notZeroFirst}, Case{"a name twice", sameName}, Case{"current out of range", badCurrent}}) {
    // The lengths of the chunk and its container change with the name: fix them up for "a name twice".
    std::string file = c.file;
    if (file.size() != bytes.size()) {
      const std::int64_t shrink = static_cast<std::int64_t>(bytes.size()) - static_cast<std::int64_t>(file.size());
      std::uint64_t len;
      std::memcpy(&len, &file[at + 2], 8);
      len -= static_cast<std::uint64_t>(shrink);
      std::memcpy(&file[at + 2], &len, 8);
      bool fixedScene = false;
      for (size_t s = 12; s + 10 <= file.size() && !fixedScene; ++s) {
        std::uint16_t id;
        std::uint64_t slen;
        std::memcpy(&id, &file[s], 2);
        std::memcpy(&slen, &file[s + 2], 8);
        const std::uint64_t container = std::uint64_t(1) << 63;
        if (id == 0x0300 && (slen & container) && s + 10 + (slen & ~container) == bytes.size()) {
          slen -= static_cast<std::uint64_t>(shrink);
          std::memcpy(&file[s + 2], &slen, 8);
          fixedScene = true;
        }
      }
      ASSERT_TRUE(fixedScene);
    }
    const std::string bad = dir.file("bad.max");
    std::ofstream(bad, std::ios::binary) << file;
    auto loaded = test::runCommand(host() + " -e '(box name:\"Before\"; try (loadMaxFile \"" + bad +
                                   "\") catch (print (getCurrentException())); print LayerManager.count; print objects)'");
    EXPECT_EQ(loaded.status, 0) << c.what << loaded.err;
    EXPECT_NE(loaded.out.find("damaged"), std::string::npos) << c.what << ": " << loaded.out;
    EXPECT_NE(loaded.out.find("1\n#($Box:Before @ [0,0,0])"), std::string::npos) << c.what << ": " << loaded.out;
  }
}

}  // namespace
