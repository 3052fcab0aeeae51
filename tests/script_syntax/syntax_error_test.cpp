#include "script/parser.h"
#include "support/syntax_tree_dump.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

using namespace sim::script;

namespace {

SyntaxError errorOf(std::string_view text) {
  try {
    parseScript(text);
  } catch (const SyntaxError& e) {
    return e;
  }
  ADD_FAILURE() << "no syntax error in: " << text;
  return SyntaxError("", "", "", 0, 0, false);
}

std::string messageOf(std::string_view text) { return errorOf(text).text(); }

// Parses to the end or to a syntax error; anything else (a crash, another exception) fails the test.
bool parsesOrFails(std::string_view text) {
  try {
    auto tree = parseScript(text);
    for (const Expr* e : tree->expressions()) EXPECT_LE(e->height, int{Parser::kMaxDepth});  // a copy: a DLL exports no inline constant
    return true;
  } catch (const SyntaxError& e) {
    EXPECT_EQ(e.text().find('\0'), std::string::npos);
    return false;
  }
}

TEST(SyntaxErrors, AMissingOperandNamesTheTokenFoundAndTheLine) {
  SyntaxError e = errorOf("a = 1\nx = (1 + )");
  EXPECT_EQ(e.text(),
            "-- Syntax error: at ), expected <factor>\n"
            "--  In line: x = (1 + )");
  EXPECT_EQ(e.line, 2);
  EXPECT_EQ(e.column, 10);
  EXPECT_EQ(e.near, ")");
  EXPECT_EQ(e.detail, "expected <factor>");
  EXPECT_FALSE(e.unfinished);
}

TEST(SyntaxErrors, EachConstructSaysWhatItExpected) {
  EXPECT_EQ(messageOf("if 1 2"), "-- Syntax error: at 2, expected then or do\n--  In line: if 1 2");
  EXPECT_EQ(messageOf("while a b c"), "-- Syntax error: at end of script, expected do\n--  In line: while a b c");
  EXPECT_EQ(messageOf("for 1 in x do y"), "-- Syntax error: at 1, expected <name>\n--  In line: for 1 in x do y");
  EXPECT_EQ(messageOf("for i = 1 do y"), "-- Syntax error: at do, expected to\n--  In line: for i = 1 do y");
  EXPECT_EQ(messageOf("for i from x"), "-- Syntax error: at from, expected in or =\n--  In line: for i from x");
  EXPECT_EQ(messageOf("for x in #(1) print x"),
            "-- Syntax error: at print, expected do or collect\n--  In line: for x in #(1) print x");
  EXPECT_EQ(messageOf("case 1 (1: 2)"), "-- Syntax error: at (, expected of\n--  In line: case 1 (1: 2)");
  EXPECT_EQ(messageOf("case x of (1 2)"), "-- Syntax error: at 2, expected :\n--  In line: case x of (1 2)");
  EXPECT_EQ(messageOf("try (a) b"), "-- Syntax error: at b, expected catch\n--  In line: try (a) b");
  EXPECT_EQ(messageOf("fn 3 = 4"), "-- Syntax error: at 3, expected <name>\n--  In line: fn 3 = 4");
  EXPECT_EQ(messageOf("fn f x y"), "-- Syntax error: at end of script, expected =\n--  In line: fn f x y");
  EXPECT_EQ(messageOf("at 5 x"), "-- Syntax error: at 5, expected time or level\n--  In line: at 5 x");
  EXPECT_EQ(messageOf("with 5 x"),
            "-- Syntax error: at 5, expected animate, undo or a context name\n--  In line: with 5 x");
  EXPECT_EQ(messageOf("in )"), "-- Syntax error: at ), expected <factor>\n--  In line: in )");
  EXPECT_EQ(messageOf("set redraw off"),
            "-- Syntax error: at redraw, expected animate, time, undo, level, coordsys or about\n--  In line: set redraw off");
  EXPECT_EQ(messageOf("include x"), "-- Syntax error: at x, expected a file name\n--  In line: include x");
  EXPECT_EQ(messageOf("max 5"), "-- Syntax error: at 5, expected <name>\n--  In line: max 5");
  EXPECT_EQ(messageOf("a. 5"), "-- Syntax error: at 5, expected <name>\n--  In line: a. 5");
  EXPECT_EQ(messageOf("[1]"), "-- Syntax error: at ], expected ,\n--  In line: [1]");
  EXPECT_EQ(messageOf("[1,2,3,4,5]"), "-- Syntax error: at ,, expected ]\n--  In line: [1,2,3,4,5]");
  EXPECT_EQ(messageOf("x = 5 6"), "-- Syntax error: at 6, expected end of line\n--  In line: x = 5 6");
  EXPECT_EQ(messageOf("a + b = 2"),
            "-- Syntax error: at =, expected a variable, property or index before =\n--  In line: a + b = 2");
  EXPECT_EQ(messageOf("x = 10abc"), "-- Syntax error: at 10abc, expected <number>\n--  In line: x = 10abc");
  EXPECT_EQ(messageOf("x = `y`"), "-- Syntax error: at `, expected <factor>\n--  In line: x = `y`");
}

TEST(SyntaxErrors, AMissingCloserNamesTheOpenerWhenItIsOnAnEarlierLine) {
  EXPECT_EQ(messageOf("(a ]"), "-- Syntax error: at ], expected )\n--  In line: (a ]");
  EXPECT_EQ(messageOf("x = (\n  a\n  b ]"),
            "-- Syntax error: at ], expected ) (to close '(' at line 1)\n--  In line:   b ]");
  EXPECT_EQ(messageOf("#(1,\n2 ]"), "-- Syntax error: at ], expected ) (to close '#(' at line 1)\n--  In line: 2 ]");
  EXPECT_EQ(messageOf("a[1,\n2]"), "-- Syntax error: at ,, expected ]\n--  In line: a[1,");
  EXPECT_EQ(messageOf("struct S (a,\nb c)"),
            "-- Syntax error: at c, expected ) (to close '(' at line 1)\n--  In line: b c)");
}

TEST(SyntaxErrors, TextThatStopsInsideAnExpressionIsUnfinished) {
  for (std::string_view text :
       {"x = (1 +", "(a\nb", "if a then", "if a then b else", "try (x)", "do x", "for i = 1 to", "case x of (",
        "fn f =", "f key:", "a.", "#(1,", "[1, 2", "x = \"open", "/* open", "$'open", "#'open", "'open",
        "struct S (", "undo \"l\"", "global x =", "a +\n\n"}) {
    SyntaxError e = errorOf(text);
    EXPECT_TRUE(e.unfinished) << text << "\n" << e.text();
    EXPECT_EQ(e.near, "end of script") << text;
  }
  for (std::string_view text : {"x = (1 + )", "(a ]", "if a then )", "x = 10q", "a `", "x = (1 +\n) + 2"})
    EXPECT_FALSE(errorOf(text).unfinished) << text;
}

TEST(SyntaxErrors, TheEndOfTheScriptIsReportedWhereTheTextStopped) {
  SyntaxError e = errorOf("a = 1\nb = (c +\n\n\n");
  EXPECT_EQ(e.text(), "-- Syntax error: at end of script, expected <factor>\n--  In line: b = (c +");
  EXPECT_EQ(e.line, 2);
  EXPECT_EQ(e.column, 9);

  SyntaxError open = errorOf("x = \"one\ntwo");
  EXPECT_EQ(open.text(),
            "-- Syntax error: at end of script, expected \" (to close the string at line 1)\n--  In line: two");
  EXPECT_EQ(open.line, 2);
  EXPECT_EQ(open.column, 4);
}

TEST(SyntaxErrors, MessagesShowControlBytesEscapedAndLongTextCut) {
  std::string nul("x = \0", 5);
  EXPECT_EQ(messageOf(nul), "-- Syntax error: at \\x00, expected <factor>\n--  In line: x = \\x00");
  std::string longLine = "x = " + std::string(300, 'a') + " )";
  std::string m = messageOf(longLine);
  EXPECT_EQ(m.substr(m.find("In line: ")).size(), std::string("In line: ").size() + 200 + 3);
  EXPECT_EQ(m.substr(m.size() - 3), "...");
}

TEST(SyntaxErrors, NestingIsBoundedAndReportedNotOverflowed) {
  std::string parens(100000, '(');
  SyntaxError e = errorOf(parens);
  EXPECT_EQ(e.detail, "too deeply nested");
  EXPECT_EQ(e.near, "(");
  EXPECT_FALSE(e.unfinished);

  for (std::string text : {std::string(100000, '['),
                           [] { std::string s; for (int i = 0; i < 50000; ++i) s += "#("; return s; }(),
                           [] { std::string s; for (int i = 0; i < 50000; ++i) s += "- "; return s + "x"; }(),
                           [] { std::string s; for (int i = 0; i < 50000; ++i) s += "not "; return s + "x"; }(),
                           [] { std::string s = "a"; for (int i = 0; i < 50000; ++i) s += "^a"; return s; }(),
                           [] { std::string s; for (int i = 0; i < 50000; ++i) s += "if a then "; return s + "b"; }(),
                           [] { std::string s; for (int i = 0; i < 50000; ++i) s += "a["; return s; }()})
    EXPECT_FALSE(parsesOrFails(text));

  auto repeated = [](std::string_view piece, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += piece;
    return s;
  };
  // Chains are built without recursion, but the tree they make is as deep as a nesting.
  for (std::string text : {"x" + repeated(".y", 300), "f" + repeated("()", 300), "x" + repeated("[1]", 300),
                           "x" + repeated(" + (x", 300) + repeated(")", 300)}) {
    SyntaxError chain = errorOf(text);
    EXPECT_EQ(chain.detail, "too deeply nested") << text.substr(0, 40);
  }

  std::string deepButFine = std::string(Parser::kMaxDepth - 1, '(') + "x" + std::string(Parser::kMaxDepth - 1, ')');
  EXPECT_TRUE(parsesOrFails(deepButFine));
}

TEST(SyntaxErrors, AFlatChainOfOperatorsIsNoNesting) {
  // Operators of one level lean left; walks go down that spine in a loop, so its length is free.
  for (std::string_view op : {" + x", " - x", " * x", " / x", " as y", " == x", " and x", " or x"}) {
    std::string text = "x";
    for (int i = 0; i < 5000; ++i) text += op;
    EXPECT_TRUE(parsesOrFails(text)) << op;
  }
  std::string mixed = "a";
  for (int i = 0; i < 1000; ++i) mixed += " + b * c - (d / e) as f";
  auto tree = parseScript(mixed);
  EXPECT_LE(tree->expressions()[0]->height, 5);
  EXPECT_EQ(dump(parseScript("a + b * c - d as e")->expressions()), "(- (+ a (* b c)) (as d e))");
}

TEST(SyntaxErrors, AnyBytesEndInATreeOrASyntaxError) {
  // A small deterministic generator, so a failure here reproduces everywhere.
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  auto next = [&] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  static const char kPieces[] = "()[]{}#$'\"@\\-/*+=<>!.,;:^ \n\tafx01e9";
  int parsed = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    int length = int(next() % 48);
    bool rawBytes = i % 2 == 0;
    for (int k = 0; k < length; ++k)
      text += rawBytes ? char(next() & 0xFF) : kPieces[next() % (sizeof kPieces - 1)];
    parsed += parsesOrFails(text);
  }
  EXPECT_GT(parsed, 0) << "some random texts are valid scripts";
  EXPECT_FALSE(parsesOrFails("\xff\xfe\xc3(\x80"));
  EXPECT_TRUE(parsesOrFails("x = \"\xff\xfe invalid utf-8 \xc3\"; '\x80' = 1"));
}

}  // namespace
