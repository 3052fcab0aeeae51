// Texts of one shape share a compiled tree; every text must still give exactly what a parse of its
// own gives: the same values, the same Listener lines, the same errors.
#include "core/core_interface.h"
#include "maxscript/maxscript.h"
#include "script/listener_stream.h"
#include "script/runtime.h"
#include "script/shape_cache.h"
#include "script/text_shape.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using sim::rt::ShapeCache;

// What running `text` shows: the Listener's lines, then the value it left in QZMShapeOut. Counts
// into `reused` whether the text ran from a kept tree.
std::string outcome(const std::string& text, std::size_t* reused = nullptr) {
  sim::listenerStream()->clear();
  ExecuteMAXScriptScript("global QZMShapeOut = undefined", TRUE);
  const std::size_t before = ShapeCache::get().stats().reused;
  BOOL ok = ExecuteMAXScriptScript(text.c_str(), FALSE);
  if (reused) *reused += ShapeCache::get().stats().reused - before;
  Value* out = sim::rt::Runtime::get().getGlobal("qzmshapeout");
  return sim::listenerStream()->text() + (ok ? "ok " : "failed ") + (out ? value_to_text(out) : "?");
}

// Runs `texts` in order with the cache off, then on; each text must show the same both times.
// Answers how many texts ran from a kept tree.
std::size_t expectSameWithAndWithoutCache(const std::vector<std::string>& texts) {
  ShapeCache& cache = ShapeCache::get();
  cache.setEnabled(false);
  std::vector<std::string> plain;
  for (const std::string& t : texts) plain.push_back(outcome(t));
  cache.setEnabled(true);
  std::size_t reused = 0;
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(outcome(texts[i], &reused), plain[i]) << texts[i];
  return reused;
}

class ShapeCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::coreInterface()->resetScene();
    ShapeCache::get().setEnabled(true);
  }
  void TearDown() override {
    ShapeCache::get().setEnabled(true);
    ExecuteMAXScriptScript("QZMShapeOut = undefined; QZMShapeFns = undefined", TRUE);
    sim::coreInterface()->resetScene();
  }
};

TEST_F(ShapeCacheTest, TextsOfOneShapeRunTheKeptTreeWithTheirOwnValues) {
  ExecuteMAXScriptScript("box name:\"Box 01\" height:5; box name:\"Box02\" height:7", TRUE);
  std::vector<std::string> texts;
  for (int i = 0; i < 6; ++i)
    texts.push_back("QZMShapeOut = #(" + std::to_string(i * 11) + ", " + std::to_string(i) + ".25, \"text " +
                    std::to_string(i) + "\", $'Box 01'.height, 1e" + std::to_string(i) + ")\n");
  texts.push_back("QZMShapeOut = #(1, 2.5, \"other\", $Box02.height, 2.5e-1)\n");
  EXPECT_GE(expectSameWithAndWithoutCache(texts), 5u);
  EXPECT_EQ(outcome(texts[3]), "ok #(33, 3.25, \"text 3\", 5.0, 1000.0)");
}

TEST_F(ShapeCacheTest, NegativeNumbersShareTheShapeOfPositiveOnes) {
  std::vector<std::string> texts = {
      "QZMShapeOut = [1.5,-2.0,3.0]\n",   "QZMShapeOut = [-1.5,2.0,-3.0]\n", "QZMShapeOut = [-0.0,0.0,-7.25]\n",
      "QZMShapeOut = (quat 0.5 -0.5 0.5 -0.5)\n", "QZMShapeOut = (quat -1 2 -3 4)\n",
      // a minus after a literal subtracts: never kept as a sign
      "QZMShapeOut = 10 -3\n", "QZMShapeOut = 10 -4\n", "QZMShapeOut = 10 - -4\n", "QZMShapeOut = 10 - 4\n",
      "QZMShapeOut = 5[1]\n", "QZMShapeOut = -5[1]\n", "QZMShapeOut = -2^2\n", "QZMShapeOut = 2^2\n",
      "QZMShapeOut = #(-9223372036854775807, 9223372036854775807)\n"};
  EXPECT_GE(expectSameWithAndWithoutCache(texts), 3u);
  EXPECT_EQ(outcome("QZMShapeOut = [-1.5,2.0,-3.0]\n"), "ok [-1.5,2,-3]");
  EXPECT_EQ(outcome("QZMShapeOut = 10 -3\n"), "ok 7");
}

TEST_F(ShapeCacheTest, QuotedAndEscapedNamesAndStringsReadAsTheyWouldWhenParsed) {
  ExecuteMAXScriptScript("box name:\"it's\" height:1; box name:\"back\\\\slash\" height:2; box name:\"Box*\" height:3;"
                         "box name:\"Plain\" height:4",
                         TRUE);
  std::vector<std::string> texts = {
      "QZMShapeOut = #($'it\\'s'.height, \"a\\\"b\")\n", "QZMShapeOut = #($'back\\\\slash'.height, \"c\\\\d\\n\")\n",
      "QZMShapeOut = #($'Box\\*'.height, \"\\t%\")\n", "QZMShapeOut = #($'Box*'.height, \"wild\")\n",
      "QZMShapeOut = #($Plain.height, \"\")\n", "QZMShapeOut = #($'Missing'.height, \"x\")\n",
      "QZMShapeOut = #($'Plain'.height, \"line one\nline two\")\n", "QZMShapeOut = $'it\\'s'\n",
      "QZMShapeOut = $Plain\n", "QZMShapeOut = $'Box*'\n"};
  EXPECT_GE(expectSameWithAndWithoutCache(texts), 4u);
  EXPECT_EQ(outcome(texts[0]), "ok #(1.0, \"a\\\"b\")");
}

TEST_F(ShapeCacheTest, ATextRunFromInsideATextOfItsOwnShapeIsParsedApart) {
  // The inner text has the outer one's shape: running it must not rebind the tree that is running,
  // whose second string is read after the inner text is done.
  const std::string text =
      "QZMShapeOut = #((execute \"QZMShapeOut = #((execute \\\"0\\\"), \\\"inner\\\")\"), \"outer\")";
  EXPECT_GE(expectSameWithAndWithoutCache({text, text, text}), 2u);
  EXPECT_EQ(outcome(text), "ok #(#(0, \"inner\"), \"outer\")");
}

TEST_F(ShapeCacheTest, SyntaxErrorsAndBadLiteralsReportAsWithoutTheCache) {
  std::vector<std::string> texts = {"QZMShapeOut = \"a\"\n",  "QZMShapeOut = \"b\" +\n", "QZMShapeOut = \"c\n",
                                    "QZMShapeOut = 1\n", "QZMShapeOut = 99999999999999999999\n",
                                    "QZMShapeOut = 1.5f\n", "QZMShapeOut = 0x10\n", "QZMShapeOut = 1 2\n",
                                    "QZMShapeOut = 3; QZMShapeOut = (4\n", "QZMShapeOut = 5; QZMShapeOut = (6\n"};
  expectSameWithAndWithoutCache(texts);
  EXPECT_EQ(outcome("QZMShapeOut = 5; QZMShapeOut = (6\n").substr(0, 17), "-- Syntax error: ");
}

TEST_F(ShapeCacheTest, DefinitionsKeepTheValuesTheirOwnTextGaveThem) {
  ExecuteMAXScriptScript("global QZMShapeFns = #()", TRUE);
  for (const char* word : {"one", "two", "three"})
    ExecuteMAXScriptScript(("append QZMShapeFns (fn f = \"" + std::string(word) + "\")").c_str(), TRUE);
  EXPECT_EQ(outcome("QZMShapeOut = for f in QZMShapeFns collect f()"), "ok #(\"one\", \"two\", \"three\")");
  ExecuteMAXScriptScript("global QZMShapeRef = 0; fn QZMShapeSet &r = r = 5", TRUE);
  EXPECT_EQ(expectSameWithAndWithoutCache({"QZMShapeSet &QZMShapeRef; QZMShapeOut = QZMShapeRef + 1\n",
                                           "QZMShapeSet &QZMShapeRef; QZMShapeOut = QZMShapeRef + 2\n"}),
            0u);
}

TEST_F(ShapeCacheTest, ErrorsInsideFunctionsAndLoopsReadTheSameFromAKeptTree) {
  ExecuteMAXScriptScript("fn QZMShapeThrow n = (for i = 1 to 3 do if i == n do throw (\"at \" + i as string); n)",
                         TRUE);
  std::vector<std::string> texts;
  for (int n : {2, 5, 3, 1})
    texts.push_back("QZMShapeOut = QZMShapeThrow " + std::to_string(n) + "\n");
  for (int n : {2, 4, 1})
    texts.push_back("QZMShapeOut = for i = 1 to 3 collect (if i == " + std::to_string(n) + " do undefined.foo; i)\n");
  for (int n : {1, 3})
    texts.push_back("try (QZMShapeThrow " + std::to_string(n) + ") catch (QZMShapeOut = getCurrentException())\n");
  EXPECT_GE(expectSameWithAndWithoutCache(texts), 4u);
  EXPECT_EQ(outcome(texts[0]), "-- Runtime error: at 2\nfailed undefined");
}

TEST_F(ShapeCacheTest, HoldsNoMoreThanItsLimitOfShapes) {
  ShapeCache& cache = ShapeCache::get();
  cache.clear();
  for (std::size_t i = 0; i < ShapeCache::kMaxShapes + 40; ++i)
    ExecuteMAXScriptScript(("QZMShapeOut = 1 + QZMShapeV" + std::to_string(i)).c_str(), TRUE);
  EXPECT_EQ(cache.size(), std::size_t{ShapeCache::kMaxShapes});  // a copy: the constant is not exported
  // The most recent shapes are the ones kept.
  const std::size_t before = cache.stats().reused;
  ExecuteMAXScriptScript(("QZMShapeOut = 2 + QZMShapeV" + std::to_string(ShapeCache::kMaxShapes + 39)).c_str(), TRUE);
  EXPECT_EQ(cache.stats().reused, before + 1);
}

TEST(TextShape, SlotsAreTheLiteralsAndTheRestIsTheKey) {
  sim::script::TextShape shape;
  ASSERT_TRUE(sim::script::findShape("at time 0 $'Box\\'1'.pos = [-1.5,2,3e2] + \"s\\\"\"; Box01 #n2", shape));
  EXPECT_EQ(shape.key, "at time \x01i \x01p.pos = [\x01" "f,\x01i,\x01" "f] + \x01s; Box01 #n2");
  ASSERT_EQ(shape.slots.size(), 6u);
  EXPECT_TRUE(shape.slots[2].negative);
  EXPECT_EQ(shape.slots[2].offset, 27u);
  EXPECT_EQ(shape.slots[2].length, 4u);
  // Comments, verbatim strings and the mark byte itself are not shaped.
  EXPECT_FALSE(sim::script::findShape("1 -- two", shape));
  EXPECT_FALSE(sim::script::findShape("/* */ 1", shape));
  EXPECT_FALSE(sim::script::findShape("@\"c:\\t\"", shape));
  EXPECT_FALSE(sim::script::findShape("\"open", shape));
  EXPECT_FALSE(sim::script::findShape("x\x01i", shape));
}

}  // namespace
