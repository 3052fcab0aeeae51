// A scene file whose class directory was damaged: the objects of a class it no longer names
// correctly load as stand-ins, and everything the host does with them afterwards stays safe.
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

// Gives the class-directory entry named `name` a class id no module registers: its objects keep
// their super class but lose their class. An entry is the super class, the class id (two words),
// then the name as a 4-byte length and its bytes.
bool renameClass(std::string& file, const std::string& name) {
  const auto len = static_cast<std::uint32_t>(name.size());
  std::string entry(reinterpret_cast<const char*>(&len), 4);
  entry += name;
  const size_t at = file.find(entry);
  if (at == std::string::npos || at < 8) return false;
  const std::uint32_t id[2] = {0x0badc1a5, 0x5ca1ab1e};
  std::memcpy(&file[at - 8], id, sizeof id);
  return true;
}

// A box with a bend and a camera, saved to `file`.
void saveBentBox(const std::string& file) {
  auto saved = test::runCommand(host() + " -e '(b = box name:\"Bent\" height:20; addModifier b (bend angle:30); "
                                "c = freeCamera name:\"Cam\" pos:[0, -100, 10]; saveMaxFile \"" + file + "\")'");
  ASSERT_EQ(saved.status, 0) << saved.err;
}

TEST(DamagedScene, AModifierStackThatLostItsClassIsKeptAndUsedSafely) {
  test::TempDir dir;
  const std::string good = dir.file("good.max"), bad = dir.file("bad.max"), again = dir.file("again.max");
  saveBentBox(good);
  std::string bytes = readAll(good);
  ASSERT_TRUE(renameClass(bytes, "DerivedObject"));
  std::ofstream(bad, std::ios::binary) << bytes;

  const std::string script =
      "print (classOf $Bent.baseObject)\n"
      "print $Bent.modifiers.count\n"
      "print (try ($Bent.bend) catch (\"no bend\"))\n"
      "print (try ($Bent.height) catch (\"no height\"))\n"
      "print $Bent.wirecolor.a\n"
      "$Bent.pos = [1, 2, 3]; print $Bent.pos\n"
      "print (getPropNames $Bent).count\n"
      "img = render camera:$Cam outputwidth:4 outputheight:3 vfb:false; print img.width\n"
      "print (try (getNumVerts (snapshotAsMesh $Bent)) catch (\"no mesh\"))\n"
      "print (saveMaxFile \"" + again + "\")\n"
      "print (loadMaxFile \"" + again + "\" quiet:true)\n"
      "print $Bent.pos\n";
  dir.write("use.ms", script);
  auto used = test::runCommand(host() + " --scene " + bad + " " + dir.file("use.ms"));
  EXPECT_EQ(used.status, 0) << used.err;
  EXPECT_EQ(used.out,
            "-- Missing class DerivedObject of module (none): its objects are kept as they were saved\n"
            "undefined\n0\n\"no bend\"\n\"no height\"\n255.0\n[1,2,3]\n41\n4\n\"no mesh\"\ntrue\n"
            "-- Missing class DerivedObject of module (none): its objects are kept as they were saved\n"
            "true\n[1,2,3]\n");
}

}  // namespace
