// A stored value reaches a restore text only as one of the literals capture writes; everything a
// crafted record could use to run script is refused.
#include "stored_literal.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StoredLiteral, EveryValueTextCaptureWritesIsALiteral) {
  for (const char* text :
       {"0", "1", "-2147483647", "25.000000", "-0.000000", "0.500000", "nan", "-nan", "inf", "-inf", "true", "false",
        "undefined", "[1.000000,-2.000000,3.500000]", "[1.000000,2.000000,3.000000,4.000000]",
        "(quat 0.000000 0.000000 -0.707107 0.707107)", "([1.000000, 2.000000, 3.000000])",
        "(color 255.000000 0.000000 0.000000)", "(color 255.000000 0.000000 0.000000 255.000000)", "\"\"",
        "\"it's \\\\ odd\\\" x\"", "\"a\nb\"", "\"\\\") ; print \\\"injected\\\" ; (\\\"\""})
    EXPECT_TRUE(IsStoredLiteral(text)) << text;
}

TEST(StoredLiteral, OtherPlainLiteralsOfTheSameKindsAreTaken) {
  for (const char* text : {"on", "OFF", "True", ".5", "1e-3", "-1.5E+10", "#name", "#'a name'", "#'it\\'s'", "[1,2]",
                           " [ 1 , 2 , 3 ] ", "(1)", "( color 1 2 3 )", "(\"text\")", "\"\\x41\""})
    EXPECT_TRUE(IsStoredLiteral(text)) << text;
}

TEST(StoredLiteral, CallsVariablesPathsOperatorsAndSeveralExpressionsAreRefused) {
  for (const char* text :
       {"", " ", "(QZMDOSCommand \"touch pwned\")", "QZMDOSCommand \"touch pwned\"", "(execute \"print 1\")",
        "$foo.pos", "$'Box01'.pos", "foo", "x.y", "1; deleteFile \"x\"", "1\ndeleteFile \"x\"", "1 + 1", "- 1",
        "--1", "1 2", "10f", "0x1F", "1.2.3", "[1]", "[1,2,3,4,5]", "[1,2,foo()]", "[1,2,(3)]", "[1,2,3][1]",
        "(color 1 2)", "(color 1 2 3 4 5)", "(color (QZMDOSCommand \"x\") 1 2)", "(color 1 2 (execute \"x\"))",
        "(quat 1 2 3)", "(point3 1 2 3)", "((color 1 2 3))", "((1))", "(color 1 2 3", "color 1 2 3", "(1) (2)",
        "\"abc", "\"abc\\\"", "\"a\" + \"b\"", "\"a\"; print 1", "\"a\" \"b\"", "@\"verbatim\"", "#", "#1a",
        "#'open", "#a.b", "true false", "undefinedx", "nanx", "#name; QZMDOSCommand \"x\"",
        "(color 1 2 3).r", "#(1, 2)", "'quoted'"})
    EXPECT_FALSE(IsStoredLiteral(text)) << text;
}

TEST(StoredLiteral, ALongStringOrManyParenthesesNeverRecurse) {
  EXPECT_TRUE(IsStoredLiteral("\"" + std::string(1 << 20, 'x') + "\""));
  EXPECT_FALSE(IsStoredLiteral(std::string(1 << 20, '(') + "1" + std::string(1 << 20, ')')));
}

}  // namespace

namespace {

TEST(PropertyPath, IdentifiersJoinedByDotsWithIndexesArePaths) {
  for (const char* name : {"height", "baseobject.radius", "baseObject.castShadows", "material.diffuse", "_x1",
                           "modifiers[#Bend].angle", "modifiers[1].angle", "a[1][#b].c"})
    EXPECT_TRUE(IsPropertyPath(name)) << name;
}

TEST(PropertyPath, AnythingThatCouldRunScriptIsNotAPath) {
  for (const char* name : {"", ".", "a.", ".a", "a..b", "1a", "a b", "a;b", "a\nb", "a)catch(0)", "a\\\"", "a[]",
                           "a[x]", "a[#]", "a[1", "a[-1]", "a[(1)]", "$a", "#a", "'a'", "a = 1", "a.b()"})
    EXPECT_FALSE(IsPropertyPath(name)) << name;
}

}  // namespace
