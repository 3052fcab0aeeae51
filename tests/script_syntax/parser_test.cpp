#include "script/parser.h"
#include "support/syntax_tree_dump.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace sim::script;

namespace {

// The text's top-level expressions as one-line trees, one per line, or the syntax error's text.
std::string parsed(std::string_view text) {
  try {
    return dump(parseScript(text)->expressions());
  } catch (const SyntaxError& e) {
    return e.text();
  }
}

TEST(SyntaxParser, TheHostsProbeTextParsesToOneTryExpression) {
  EXPECT_EQ(parsed("try(at time 0 if isproperty $'Box01' #radius then $'Box01'.radius else undefined)"
                   "catch(execute \"at time 0 $'Box01'.radius\")"),
            "(try (block (at-time 0 (if (call isproperty $'Box01' #radius) (. $'Box01' radius) undefined)))"
            " (block (call execute \"at time 0 $'Box01'.radius\")))");
}

TEST(SyntaxParser, OperatorsBindByTheLanguagesPrecedence) {
  EXPECT_EQ(parsed("a + b * c"), "(+ a (* b c))");
  EXPECT_EQ(parsed("a - b - c"), "(- (- a b) c)");
  EXPECT_EQ(parsed("a / b * c"), "(* (/ a b) c)");
  EXPECT_EQ(parsed("a ^ b ^ c"), "(^ a (^ b c))");
  EXPECT_EQ(parsed("2 * a ^ 2"), "(* 2 (^ a 2))");
  EXPECT_EQ(parsed("-a ^ 2"), "(^ (- a) 2)");  // the sign belongs to the operand
  EXPECT_EQ(parsed("\"Box\" + i as string"), "(+ \"Box\" (as i string))");
  EXPECT_EQ(parsed("(n + 1) as string"), "(as (block (+ n 1)) string)");
  EXPECT_EQ(parsed("a + 1 < b * 2"), "(< (+ a 1) (* b 2))");
  EXPECT_EQ(parsed("not a == b"), "(not (== a b))");
  EXPECT_EQ(parsed("a or b and not c"), "(or a (and b (not c)))");
  EXPECT_EQ(parsed("a != b or c >= d and e <= f"), "(or (!= a b) (and (>= c d) (<= e f)))");
}

TEST(SyntaxParser, ACallBindsTighterThanAnyOperator) {
  EXPECT_EQ(parsed("getVisController $'a' != undefined"), "(!= (call getviscontroller $'a') undefined)");
  EXPECT_EQ(parsed("sin x * cos y"), "(* (call sin x) (call cos y))");
  EXPECT_EQ(parsed("not isProperty b #radius"), "(not (call isproperty b #radius))");
  EXPECT_EQ(parsed("f x as string"), "(as (call f x) string)");
  EXPECT_EQ(parsed("-f x"), "(- (call f x))");
}

TEST(SyntaxParser, ArgumentsAreOperandsAndKeywordArgumentsFollowNames) {
  EXPECT_EQ(parsed("f a.b c[1] (x + y) #(1) [1,2] $box #n \"s\" 1 true"),
            "(call f (. a b) ([] c 1) (block (+ x y)) #(1) [1 2] $box #n \"s\" 1 true)");
  EXPECT_EQ(parsed("print (n + 1) to:debug"), "(call print (block (+ n 1)) to:debug)");
  EXPECT_EQ(parsed("box length: 10 pos:[0,0,5] name:\"b\""), "(call box length:10 pos:[0 0 5] name:\"b\")");
  EXPECT_EQ(parsed("f (g x) y"), "(call f (block (call g x)) y)");
  EXPECT_EQ(parsed("fns[i] $box01"), "(call ([] fns i) $box01)");
}

TEST(SyntaxParser, EmptyParenthesesCallWithoutArguments) {
  EXPECT_EQ(parsed("f()"), "(call f)");
  EXPECT_EQ(parsed("f ( )"), "(call f)");
  EXPECT_EQ(parsed("theHold.Begin()"), "(call (. thehold begin))");
  EXPECT_EQ(parsed("obj.IQZMPropHolder.GetNode().name"), "(. (call (. (. obj iqzmpropholder) getnode)) name)");
  EXPECT_EQ(parsed("f g()"), "(call f (call g))");
  EXPECT_EQ(parsed("x = ()"), "(= x (block))");
}

TEST(SyntaxParser, MethodsAreCalledThroughTheirProperty) {
  EXPECT_EQ(parsed("obj.fn a b"), "(call (. obj fn) a b)");
  EXPECT_EQ(parsed("$holder.CaptureProperties 5000 0"), "(call (. $holder captureproperties) 5000 0)");
  EXPECT_EQ(parsed("m.AssignMaterial mat 3"), "(call (. m assignmaterial) mat 3)");
  EXPECT_EQ(parsed("lst.setName 2 \"x\""), "(call (. lst setname) 2 \"x\")");
}

TEST(SyntaxParser, BlanksDecideBetweenIndexAndPointArgumentAndBetweenMinusAndSign) {
  EXPECT_EQ(parsed("a[1]"), "([] a 1)");
  EXPECT_EQ(parsed("move obj [10,20,x * 3]"), "(call move obj [10 20 (* x 3)])");
  EXPECT_EQ(parsed("x - 1"), "(- x 1)");
  EXPECT_EQ(parsed("x-1"), "(- x 1)");
  EXPECT_EQ(parsed("x -1"), "(call x -1)");  // as in the real language: a name then a signed argument
  EXPECT_EQ(parsed("f -1 k:-2"), "(call f -1 k:-2)");
  EXPECT_EQ(parsed("move b -x"), "(call move b (- x))");
  EXPECT_EQ(parsed("5 -1"), "(- 5 1)");  // a literal is never called
  EXPECT_EQ(parsed("(a + b) -1"), "(- (block (+ a b)) 1)");
}

TEST(SyntaxParser, QuotedPathNamesPrintAsTheyCanBeWrittenAgain) {
  EXPECT_EQ(parsed(R"($'Box\*' == $'a\\b\'s')"), R"((== $'Box\*' $'a\\b\'s'))");
  EXPECT_EQ(parsed(R"($'Box\**'/'x?\\')"), R"($'Box\**'/'x?\\')");
}

TEST(SyntaxParser, NamesAreLowerCasedOnceAndReservedWordsServeAsPropertyAndKeywordNames) {
  EXPECT_EQ(parsed("$'Box01'.Position"), "(. $'Box01' position)");
  EXPECT_EQ(parsed("bit.and 5 3"), "(call (. bit and) 5 3)");
  EXPECT_EQ(parsed("b.max - b.min"), "(- (. b max) (. b min))");
  EXPECT_EQ(parsed("format \"%\" x to:s"), "(call format \"%\" x to:s)");
  EXPECT_EQ(parsed("a.'quoted name'.b"), "(. (. a quoted name) b)");

  auto tree = parseScript("GetVisController x; getviscontroller y");
  const auto& first = tree->expressions()[0]->as<Call>().callee->as<Var>();
  const auto& second = tree->expressions()[1]->as<Call>().callee->as<Var>();
  EXPECT_EQ(first.name, second.name);
  EXPECT_EQ(first.spelling, "GetVisController");
}

TEST(SyntaxParser, AccessChainsNestIndexesAndProperties) {
  EXPECT_EQ(parsed("a.b.c"), "(. (. a b) c)");
  EXPECT_EQ(parsed("a[i][j].controller"), "(. ([] ([] a i) j) controller)");
  EXPECT_EQ(parsed("$holder.passlist[1]"), "([] (. $holder passlist) 1)");
  EXPECT_EQ(parsed("(if a > b then c else d)[n + 1]"), "([] (block (if (> a b) c d)) (+ n 1))");
}

TEST(SyntaxParser, AssignmentTakesVariablesPropertiesAndIndexedElements) {
  EXPECT_EQ(parsed("x = 1"), "(= x 1)");
  EXPECT_EQ(parsed("x += 1; x -= 2; x *= 3; x /= 4"), "(+= x 1)\n(-= x 2)\n(*= x 3)\n(/= x 4)");
  EXPECT_EQ(parsed("obj.prop.controller = ctrl"), "(= (. (. obj prop) controller) ctrl)");
  EXPECT_EQ(parsed("m.materialArray[3] += 1"), "(+= ([] (. m materialarray) 3) 1)");
  EXPECT_EQ(parsed("a = b = 2"), "(= a (= b 2))");
  EXPECT_EQ(parsed("x = if a then 1 else 2"), "(= x (if a 1 2))");
  EXPECT_EQ(parsed("'my var' = 5"), "(= my var 5)");
}

TEST(SyntaxParser, LiteralsOfEveryKind) {
  EXPECT_EQ(parsed("42; -3; 0.5; .5; 1e-3; 0x1F; 1."), "42\n-3\n0.5\n0.5\n0.001\n31\n1.0");
  EXPECT_EQ(parsed("10f; 5t; 1.5f; -2f; 1m30s"), "(time f:10)\n(time t:5)\n(time f:1.5)\n(time f:-2)\n(time s:90)");
  EXPECT_EQ(parsed("true; false; on; off; undefined; unsupplied; ok"),
            "true\nfalse\ntrue\nfalse\nundefined\nunsupplied\nok");
  EXPECT_EQ(parsed("#(1, \"a\"); #(); #(#(1), [1,2])"), "#(1 \"a\")\n#()\n#(#(1) [1 2])");
  EXPECT_EQ(parsed("[1,2]; [1,2,3]; [1,2,3,4]"), "[1 2]\n[1 2 3]\n[1 2 3 4]");
  EXPECT_EQ(parsed("#{1, 3..5}; #{}"), "#{1 (.. 3 5)}\n#{}");
  EXPECT_EQ(parsed("(color 255 0 0); (quat 0 0 0 1); (eulerAngles 90 0 0)"),
            "(block (call color 255 0 0))\n(block (call quat 0 0 0 1))\n(block (call eulerangles 90 0 0))");
}

TEST(SyntaxParser, BlocksSeparateExpressionsBySemicolonsAndLineBreaks) {
  EXPECT_EQ(parsed("( a; b\n c ;; )"), "(block a b c)");
  EXPECT_EQ(parsed("(\n  local x = 1\n  fn f = x\n)"), "(scope (local x=1) (fn f () x))");
  EXPECT_EQ(parsed("(global g = 1; g)"), "(block (global g=1) g)");
}

TEST(SyntaxParser, AnUnfinishedExpressionContinuesOnTheNextLine) {
  EXPECT_EQ(parsed("a + b * c / d - e +\nf * g / h"), "(+ (- (+ a (/ (* b c) d)) e) (/ (* f g) h))");
  EXPECT_EQ(parsed("x =\n  5"), "(= x 5)");
  EXPECT_EQ(parsed("#(1,\n  2\n)"), "#(1 2)");
  EXPECT_EQ(parsed("f key:\n 5"), "(call f key:5)");
  EXPECT_EQ(parsed("if\na < b\nthen\nprint c\nelse\nprint d"), "(if (< a b) (call print c) (call print d))");
  EXPECT_EQ(parsed("try (a)\ncatch (b)"), "(try (block a) (block b))");
  EXPECT_EQ(parsed("do (x += 1)\nwhile x < 3"), "(do-while (block (+= x 1)) (< x 3))");
  EXPECT_EQ(parsed("for x in xs\n  where x > 0\n  collect x"), "(for x in xs where (> x 0) collect x)");
  EXPECT_EQ(parsed("a + b \\ -- joined\n+ c"), "(+ (+ a b) c)");
}

TEST(SyntaxParser, ACompleteExpressionEndsAtTheLineBreak) {
  EXPECT_EQ(parsed("print\n\"x\""), "print\n\"x\"");
  EXPECT_EQ(parsed("x = y\n-1"), "(= x y)\n-1");
  EXPECT_EQ(parsed("a\n[1,2]"), "a\n[1 2]");
  EXPECT_EQ(parsed("f\n()"), "f\n(block)");
  EXPECT_EQ(parsed("a + b\n+ c"),
            "-- Syntax error: at +, expected <factor>\n"
            "--  In line: + c");
}

TEST(SyntaxParser, ConditionalsAndLoops) {
  EXPECT_EQ(parsed("if a then b"), "(if a b)");
  EXPECT_EQ(parsed("if a do b"), "(if-do a b)");
  EXPECT_EQ(parsed("if a then if b then c else d"), "(if a (if b c d))");  // else takes the nearest if
  EXPECT_EQ(parsed("while i < 10 do i += 1"), "(while (< i 10) (+= i 1))");
  EXPECT_EQ(parsed("do i += 1 while i < 10"), "(do-while (+= i 1) (< i 10))");
  EXPECT_EQ(parsed("for x in $Box* do hide x"), "(for x in $Box* do (call hide x))");
  EXPECT_EQ(parsed("for i = 1 to n by 2 where odd i while i < 9 collect i * i"),
            "(for i = 1 to n by 2 where (call odd i) while (< i 9) collect (* i i))");
  EXPECT_EQ(parsed("for i in 1 to 3 do (exit with i; continue)"),
            "(for i = 1 to 3 do (block (exit i) (continue)))");
  EXPECT_EQ(parsed("exit"), "(exit)");
}

TEST(SyntaxParser, CaseTakesValueLabelsOrConditionsAndADefault) {
  EXPECT_EQ(parsed("case x of\n(\n  1: \"one\"\n  #two: \"two\"; \"3\": 3\n  -1: neg\n  default: \"many\"\n)"),
            "(case x (1 \"one\") (#two \"two\") (\"3\" 3) (-1 neg) (default \"many\"))");
  EXPECT_EQ(parsed("case of ((a > b): 1; c: 2)"), "(case-of ((block (> a b)) 1) (c 2))");
  EXPECT_EQ(parsed("case x of (\n1:\n  print x\n)"), "(case x (1 (call print x)))");
}

TEST(SyntaxParser, ErrorsAreThrownCaughtAndRethrown) {
  EXPECT_EQ(parsed("try throw \"bad\" catch print (getCurrentException())"),
            "(try (throw \"bad\") (call print (block (call getcurrentexception))))");
  EXPECT_EQ(parsed("throw (\"a\" + b)\nthrow\nthrow()"), "(throw (block (+ \"a\" b)))\n(throw)\n(throw)");
}

TEST(SyntaxParser, FunctionsTakePositionalAndKeywordParameters) {
  EXPECT_EQ(parsed("fn fact n = if n <= 1 then 1 else n * fact (n - 1)"),
            "(fn fact (n) (if (<= n 1) 1 (* n (call fact (block (- n 1))))))");
  EXPECT_EQ(parsed("function f a b key:-1 other: = (return a)"), "(fn f (a b key:-1 other:) (block (return a)))");
  EXPECT_EQ(parsed("mapped fn show x = print x"), "(mapped-fn show (x) (call print x))");
  EXPECT_EQ(parsed("fn now = timeStamp()"), "(fn now () (call timestamp))");
}

TEST(SyntaxParser, StructsHoldFieldsAndFunctions) {
  EXPECT_EQ(parsed("struct S (a = 1, b, fn f = a + 1)"), "(struct s a=1 b (fn f () (+ a 1)))");
  EXPECT_EQ(parsed("struct T (\n  name,\n  count = 0\n  , fn inc = count += 1\n)"),
            "(struct t name count=0 (fn inc () (+= count 1)))");
  EXPECT_EQ(parsed("for v, i, k in a where v do v"), "(for v,i,k in a where v do v)");
  EXPECT_EQ(parsed("fn f a &b &c: = b"), "(fn f (a &b &c:) b)");
  EXPECT_EQ(parsed("f 1 &x c:&y.z[2]"), "(call f 1 (& x) c:(& ([] (. y z) 2)))");
  EXPECT_EQ(parsed("struct U (public\n a, private\n b = 2, fn f = b, on create do b = 3, public c)"),
            "(struct u a private b=2 private (fn f () b) c (on-create (= b 3)))");
  EXPECT_EQ(parsed("s = S a:2; s.a = 3; S()"), "(= s (call s a:2))\n(= (. s a) 3)\n(call s)");
}

TEST(SyntaxParser, DeclarationsNameOneOrMoreVariables) {
  EXPECT_EQ(parsed("global x"), "(global x)");
  EXPECT_EQ(parsed("global x, y = 2"), "(global x y=2)");
  EXPECT_EQ(parsed("local a = f 1, b"), "(local a=(call f 1) b)");
}

TEST(SyntaxParser, ContextsWrapTheExpressionAfterThem) {
  EXPECT_EQ(parsed("at time 10f $b.pos = [1,2,3]"), "(at-time (time f:10) (= (. $b pos) [1 2 3]))");
  EXPECT_EQ(parsed("animate on at time (t + 1) x = 1"), "(animate true (at-time (block (+ t 1)) (= x 1)))");
  EXPECT_EQ(parsed("animate off (a)"), "(animate false (block a))");
  EXPECT_EQ(parsed("with animate off\n  x.pos = p"), "(animate false (= (. x pos) p))");
  EXPECT_EQ(parsed("undo on (a); undo off b"), "(undo true (block a))\n(undo false b)");
  EXPECT_EQ(parsed("undo \"move\" on $.pos = p"), "(undo \"move\" true (= (. $ pos) p))");
  EXPECT_EQ(parsed("with undo \"x\" off y"), "(undo \"x\" false y)");
  EXPECT_EQ(parsed("with redraw off (f())"), "(redraw false (block (call f)))");
}

TEST(SyntaxParser, CoordsysAndAboutTakeTheirWordsAsNamesAndChain) {
  EXPECT_EQ(parsed("in coordsys world b.pos = p"), "(coordsys #world (= (. b pos) p))");
  EXPECT_EQ(parsed("coordsys local move b d"), "(coordsys #local (call move b d))");
  EXPECT_EQ(parsed("with coordsys $foo x"), "(coordsys $foo x)");
  EXPECT_EQ(parsed("in coordsys (transMatrix p) x"), "(coordsys (block (call transmatrix p)) x)");
  EXPECT_EQ(parsed("in coordsys parent about coordsys rotate b q"),
            "(coordsys #parent (about #coordsys (call rotate b q)))");
  EXPECT_EQ(parsed("in coordsys local, about pivot, animate on x"), "(coordsys #local (about #pivot (animate true x)))");
  EXPECT_EQ(parsed("about [0,0,0] rotate b q"), "(about [0 0 0] (call rotate b q))");
  // The words only count right after coordsys or about; elsewhere they are variables.
  EXPECT_EQ(parsed("about selection (world)"), "(about #selection (block world))");
}

TEST(SyntaxParser, SetMakesAContextLastWithoutABody) {
  EXPECT_EQ(parsed("set animate on\nset time 30f"), "(set animate true)\n(set at-time (time f:30))");
  EXPECT_EQ(parsed("set undo off; set about pivot"), "(set undo false)\n(set about #pivot)");
  EXPECT_EQ(parsed("old = set coordsys local"), "(= old (set coordsys #local))");
  EXPECT_EQ(parsed("set in coordsys old"), "(set coordsys old)");
  // As a property name, set is no context.
  EXPECT_EQ(parsed("bit.set 0 1 true"), "(call (. bit set) 0 1 true)");
}

TEST(SyntaxParser, MaxCommandsAreNamedByTheWordsOnTheirLine) {
  EXPECT_EQ(parsed("max undo\nmax REDO\nmax time play"), "(max \"undo\")\n(max \"redo\")\n(max \"time play\")");
}

TEST(SyntaxParser, NodesKnowWhereTheyStand) {
  auto tree = parseScript("x = 1\n  a + f b");
  const Expr* sum = tree->expressions()[1];
  EXPECT_EQ(sum->line, 2u);
  EXPECT_EQ(sum->column, 5u);  // a binary expression stands at its operator
  const Expr* call = sum->as<Binary>().rhs;
  EXPECT_EQ(call->column, 7u);  // a call stands at its callee
  EXPECT_EQ(call->offset, 12u);
}

TEST(SyntaxParser, CompilingOneExpressionAtATimeReportsWhereTheNextBegins) {
  std::string text = "a = 1; b = 2 -- two\n\n  c\n";
  Parser parser(text);
  EXPECT_EQ(dump(parser.compileNext()), "(= a 1)");
  EXPECT_EQ(parser.offset(), 7u);
  EXPECT_EQ(dump(parser.compileNext()), "(= b 2)");
  EXPECT_EQ(parser.offset(), 23u);
  EXPECT_EQ(dump(parser.compileNext()), "c");
  EXPECT_EQ(parser.compileNext(), nullptr);
  EXPECT_EQ(parser.offset(), text.size());

  Parser fromMiddle(text, 7);
  const Expr* b = fromMiddle.compileNext();
  EXPECT_EQ(dump(b), "(= b 2)");
  EXPECT_EQ(b->as<Assign>().target->column, 8u) << "columns count from the start of the line";
}

TEST(SyntaxParser, ExpressionsBeforeABadOneAreReturnedFirst) {
  Parser parser("print 1\nprint 2\nx = \"open");
  EXPECT_EQ(dump(parser.compileNext()), "(call print 1)");
  EXPECT_EQ(dump(parser.compileNext()), "(call print 2)");
  EXPECT_THROW(parser.compileNext(), SyntaxError);
  try {
    parser.compileNext();
    FAIL() << "a failed parser keeps failing";
  } catch (const SyntaxError& e) {
    EXPECT_EQ(e.line, 3);
    EXPECT_TRUE(e.unfinished);
  }
}

TEST(SyntaxParser, TreesOutliveTheirTextAndParser) {
  std::shared_ptr<SyntaxTree> tree;
  {
    std::string text = "fn greet = \"he\\\"llo\" + $'a b'.name";
    tree = parseScript(text);
    text.assign(text.size(), '#');
  }
  EXPECT_EQ(dump(tree->expressions()), "(fn greet () (+ \"he\\\"llo\" (. $'a b' name)))");
}

}  // namespace
