#include "script/lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace sim::script;

namespace {

// Reads a whole text into tokens (the Eof token included); the text and the decoded parts live as
// long as the fixture.
class SyntaxLexer : public ::testing::Test {
 protected:
  std::vector<Token> lex(std::string text) {
    text_ = std::move(text);
    Lexer lexer(text_, 0, arena_);
    std::vector<Token> tokens;
    do {
      tokens.emplace_back();
      lexer.next(tokens.back());
      if (tokens.back().kind == TokenKind::Error) problem_ = lexer.problem();
    } while (tokens.back().kind != TokenKind::Eof && tokens.back().kind != TokenKind::Error);
    return tokens;
  }
  Token only(std::string text) {
    auto tokens = lex(std::move(text));
    EXPECT_EQ(tokens.size(), 2u) << "one token and the end";
    return tokens[0];
  }

  std::string text_;
  Arena arena_;
  Lexer::Problem problem_;
};

TEST_F(SyntaxLexer, NamesIgnoreCaseButKeepTheirSpelling) {
  auto t = lex("getVisController getviscontroller GETVISCONTROLLER");
  EXPECT_EQ(t[0].kind, TokenKind::Name);
  EXPECT_EQ(t[0].symbol, t[1].symbol);
  EXPECT_EQ(t[0].symbol, t[2].symbol);
  EXPECT_EQ(t[0].symbol->lower, "getviscontroller");
  EXPECT_EQ(t[0].text, "getVisController");
  EXPECT_EQ(intern("GetVisCONTROLLER"), t[0].symbol);
}

TEST_F(SyntaxLexer, ReservedWordsAreRecognisedInAnyCase) {
  auto t = lex("IF Then eLSe collect Max ON");
  EXPECT_EQ(t[0].kind, TokenKind::KwIf);
  EXPECT_EQ(t[1].kind, TokenKind::KwThen);
  EXPECT_EQ(t[2].kind, TokenKind::KwElse);
  EXPECT_EQ(t[3].kind, TokenKind::KwCollect);
  EXPECT_EQ(t[4].kind, TokenKind::KwMax);
  EXPECT_EQ(t[5].kind, TokenKind::KwOn);
  EXPECT_EQ(only("iff").kind, TokenKind::Name);
}

TEST_F(SyntaxLexer, NumbersInEveryWrittenForm) {
  EXPECT_EQ(only("42").integer, 42);
  EXPECT_EQ(only("0x1F").integer, 31);
  EXPECT_EQ(only("0XfF").integer, 255);
  EXPECT_EQ(only("0.5").number, 0.5);
  EXPECT_EQ(only(".5").number, 0.5);
  EXPECT_EQ(only("1e-3").number, 1e-3);
  EXPECT_EQ(only("2.5E+2").number, 250.0);
  Token dot = only("1.");
  EXPECT_EQ(dot.kind, TokenKind::Float);
  EXPECT_EQ(dot.number, 1.0);
  Token huge = only("99999999999999999999");
  EXPECT_EQ(huge.kind, TokenKind::Float) << "too large for an integer";
  EXPECT_EQ(huge.number, 1e20);

  auto range = lex("1..5");
  EXPECT_EQ(range[0].integer, 1);
  EXPECT_EQ(range[1].kind, TokenKind::DotDot);
  EXPECT_EQ(range[2].integer, 5);
}

TEST_F(SyntaxLexer, TimeLiteralsKeepTheirUnits) {
  Token frames = only("10f");
  EXPECT_EQ(frames.kind, TokenKind::Time);
  EXPECT_EQ(frames.time.frames, 10);
  EXPECT_EQ(only("5t").time.ticks, 5);
  EXPECT_EQ(only("1.5F").time.frames, 1.5);
  Token mixed = only("1m30s12f");
  EXPECT_EQ(mixed.time.seconds, 90);
  EXPECT_EQ(mixed.time.frames, 12);
}

TEST_F(SyntaxLexer, StringEscapesResolveAndUnknownOnesKeepTheirBackslash) {
  EXPECT_EQ(only(R"("a\"b\\c\nd\te\rf\%g\*h\?i")").text, "a\"b\\c\nd\te\rf%g*h?i");
  EXPECT_EQ(only(R"("\x41\xa9")").text, "A\xC2\xA9");
  EXPECT_EQ(only(R"("C:\path\x")").text, "C:\\path\\x");
  EXPECT_EQ(only(R"(@"C:\temp\new")").text, "C:\\temp\\new");
  EXPECT_EQ(only("\"\"").text, "");
}

TEST_F(SyntaxLexer, StringsSpanLinesAndTheLinesAreCounted) {
  auto t = lex("\"one\ntwo\" x");
  EXPECT_EQ(t[0].text, "one\ntwo");
  EXPECT_EQ(t[1].line, 2u);
  EXPECT_EQ(t[1].column, 6u);
  EXPECT_FALSE(t[1].newlineBefore);
}

TEST_F(SyntaxLexer, NameLiteralsAndQuotedNames) {
  Token n = only("#Radius");
  EXPECT_EQ(n.kind, TokenKind::NameLiteral);
  EXPECT_EQ(n.symbol, intern("radius"));
  EXPECT_EQ(only("#'with spaces'").symbol->lower, "with spaces");
  Token q = only("'Name With \\'Quote\\''");
  EXPECT_EQ(q.kind, TokenKind::Name);
  EXPECT_EQ(q.text, "Name With 'Quote'");
}

TEST_F(SyntaxLexer, PathNamesWithQuotesEscapesWildcardsAndChildren) {
  auto segments = [&](std::string text) {
    std::string out;
    for (const PathSegment& s : only(std::move(text)).path)
      out += "<" + std::string(s.text) + (s.quoted ? ",q" : "") + (s.wildcard ? ",*" : "") + ">";
    return out;
  };
  EXPECT_EQ(segments("$Box01"), "<Box01>");
  EXPECT_EQ(segments("$'Box 01'"), "<Box 01,q>");
  EXPECT_EQ(segments(R"($'it\'s a \\ b->c')"), "<it's a \\ b->c,q>");
  EXPECT_EQ(segments("$Box*"), "<Box*,*>");
  EXPECT_EQ(segments("$"), "");
  EXPECT_EQ(segments("$Group01/'Arm 1'/fing?r"), "<Group01><Arm 1,q><fing?r,*>");
  // Escaped * and ? are the characters themselves; a segment with a wildcard keeps every escape of
  // a literal character so that matching tells them apart, and a lone backslash is a literal one.
  EXPECT_EQ(segments(R"($'Box\*')"), "<Box*,q>");
  EXPECT_EQ(segments(R"($'a\?\\b\c')"), "<a?\\b\\c,q>");
  EXPECT_EQ(segments(R"($'Box\**')"), "<Box\\**,q,*>");
  EXPECT_EQ(segments(R"($'\'?\\\c')"), R"(<'?\\\\c,q,*>)");

  auto t = lex("$a/*note*/.pos");
  EXPECT_EQ(t[0].path.size(), 1u) << "/* starts a comment";
  EXPECT_EQ(t[1].kind, TokenKind::Dot);
}

TEST_F(SyntaxLexer, CommentsAndLineBreaksSeparateTokens) {
  auto t = lex("a -- to the end\n/* over\nlines */ b/**/c");
  EXPECT_EQ(t[1].symbol->lower, "b");
  EXPECT_TRUE(t[1].newlineBefore);
  EXPECT_EQ(t[1].line, 3u);
  EXPECT_EQ(t[1].column, 10u);
  EXPECT_TRUE(t[2].spaceBefore);
  EXPECT_FALSE(t[2].newlineBefore);
}

TEST_F(SyntaxLexer, AByteOrderMarkBeforeTheTextIsSkipped) {
  Token x = only("\xEF\xBB\xBFx");
  EXPECT_EQ(x.text, "x");
  EXPECT_EQ(x.column, 1u);
}

TEST_F(SyntaxLexer, ABackslashAtTheEndOfALineJoinsTheNextLine) {
  auto t = lex("a \\   -- comment\n+ b");
  EXPECT_EQ(t[1].kind, TokenKind::Plus);
  EXPECT_FALSE(t[1].newlineBefore);
  EXPECT_EQ(t[1].line, 2u);
  EXPECT_EQ(lex("a \\ b")[1].kind, TokenKind::Invalid) << "not at the end of the line";
}

TEST_F(SyntaxLexer, BlanksAndColonsAroundTokensAreRecorded) {
  auto t = lex("a[1] a [1] key:1 key :1 'k':2");
  EXPECT_FALSE(t[1].spaceBefore);
  EXPECT_TRUE(t[5].spaceBefore);
  EXPECT_TRUE(t[8].colonAfter);
  EXPECT_FALSE(t[11].colonAfter);
  EXPECT_TRUE(t[14].colonAfter);
}

TEST_F(SyntaxLexer, EmptyParenthesesOnOneLineAreOneToken) {
  EXPECT_EQ(lex("f()")[1].kind, TokenKind::EmptyParens);
  EXPECT_EQ(lex("f( \t)")[1].kind, TokenKind::EmptyParens);
  auto split = lex("(\n)");
  EXPECT_EQ(split[0].kind, TokenKind::LParen);
  EXPECT_EQ(split[1].kind, TokenKind::RParen);
}

TEST_F(SyntaxLexer, MalformedLiteralsBecomeErrorTokensThatSayWhy) {
  auto t = lex("x = 10abc");
  EXPECT_EQ(t.back().kind, TokenKind::Error);
  EXPECT_EQ(problem_.near, "10abc");
  EXPECT_EQ(problem_.detail, "expected <number>");
  EXPECT_FALSE(problem_.unfinished);

  lex("x = \"open\n");
  EXPECT_EQ(problem_.near, "end of script");
  EXPECT_EQ(problem_.detail, "expected \" (to close the string at line 1)");
  EXPECT_TRUE(problem_.unfinished);

  EXPECT_EQ(lex("0x")[0].kind, TokenKind::Error);
  EXPECT_EQ(lex("0x1FFFFFFFFFFFFFFFF")[0].kind, TokenKind::Error) << "more than 64 bits";
  EXPECT_EQ(lex("2q")[0].kind, TokenKind::Error);
}

}  // namespace
