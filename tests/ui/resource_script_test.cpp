#include "ui/resource_script.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using sim::ui::DialogControl;
using sim::ui::parseResourceScript;
using sim::ui::ResourceParseResult;

std::string readSource(const std::string& relative) {
  std::ifstream in(std::string(QZM_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

ResourceParseResult parseMaterialScript() {
  return parseResourceScript("qzm_material.rc", readSource("material/qzm_material.rc"),
                             [](const std::string& name) -> std::optional<std::string> {
                               if (name == "resource.h") return readSource("material/resource.h");
                               return std::nullopt;
                             });
}

ResourceParseResult parseText(const std::string& text) {
  return parseResourceScript("t.rc", text, [](const std::string& name) -> std::optional<std::string> {
    if (name == "loop.h") return "#include \"loop.h\"\n";
    if (name == "ids.h") return "#define IDD_T 7\n#ifdef FOO\n";
    return std::nullopt;
  });
}

constexpr std::uint32_t kChildVisibleTab = 0x40000000 | 0x10000000 | 0x00010000;

const DialogControl* controlById(const sim::ui::DialogTemplate& d, int id) {
  for (const DialogControl& c : d.controls)
    if (c.id == id) return &c;
  return nullptr;
}

TEST(ResourceScript, ThePanelTemplateHoldsEveryRowWithItsIdsAndPositions) {
  ResourceParseResult r = parseMaterialScript();
  ASSERT_TRUE(r.script) << r.error;
  const sim::ui::DialogTemplate& d = r.script->dialogs.at(101);
  EXPECT_EQ(d.style, 0x40000000u | 0x10000000u | 0x40u);  // WS_CHILD | WS_VISIBLE | DS_SETFONT
  EXPECT_EQ(d.cx, 217);
  EXPECT_EQ(d.cy, 275);
  EXPECT_EQ(d.fontFace, "MS Sans Serif");
  EXPECT_EQ(d.fontPoints, 8);
  EXPECT_EQ(d.controls.size(), 15u * 4 + 5);

  const int labels[15] = {1503, 1558, 1559, 1504, 1560, 1561, 1506, 1562, 1563, 1508, 1564, 1565, 1510, 1566, 1567};
  const int slots[15] = {1497, 1499, 1501, 1557, 1505, 1507, 1509, 1511, 1513, 1515, 1517, 1519, 1521, 1523, 1525};
  for (int r = 0; r < 15; ++r) {
    SCOPED_TRACE("row " + std::to_string(r));
    const DialogControl* frame = controlById(d, 1879 + r);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->className, "Static");
    EXPECT_EQ(frame->style, 0x40000000u | 0x10000000u | 7u);  // SS_BLACKFRAME
    EXPECT_EQ(std::vector<int>({frame->x, frame->y, frame->cx, frame->cy}), std::vector<int>({0, 3 + 17 * r, 16, 15}));

    const DialogControl* number = controlById(d, 1005 + r);
    ASSERT_TRUE(number);
    EXPECT_EQ(number->className, "Static");
    EXPECT_EQ(number->text, std::to_string(r + 1));
    EXPECT_EQ(number->y, 7 + 17 * r);

    const DialogControl* label = controlById(d, labels[r]);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->className, "CustEdit");
    EXPECT_EQ(label->style, kChildVisibleTab);
    EXPECT_EQ(std::vector<int>({label->x, label->y, label->cx, label->cy}),
              std::vector<int>({r >= 12 ? 30 : 29, 5 + 17 * r, 80, 13}));

    const DialogControl* slot = controlById(d, slots[r]);
    ASSERT_TRUE(slot);
    EXPECT_EQ(slot->className, "CustButton");
    EXPECT_EQ(slot->style, kChildVisibleTab);
    EXPECT_EQ(std::vector<int>({slot->x, slot->y, slot->cx, slot->cy}), std::vector<int>({112, 5 + 17 * r, 93, 13}));
  }
}

TEST(ResourceScript, ThePanelTemplateHoldsTheControlsBelowTheRows) {
  ResourceParseResult r = parseMaterialScript();
  ASSERT_TRUE(r.script) << r.error;
  const sim::ui::DialogTemplate& d = r.script->dialogs.at(101);
  struct Expected {
    int id;
    const char* className;
    const char* text;
    int x, y, cx, cy;
  };
  const Expected expected[] = {{1004, "ScrollBar", "", 207, 5, 8, 251},
                               {1020, "CustButton", "Update Active Stamp Only", 0, 260, 110, 11},
                               {-1, "Static", "QZMPassIndex:", 117, 261, 52, 8},
                               {1490, "CustEdit", "", 172, 260, 35, 10},
                               {1496, "SpinnerControl", "", 208, 260, 7, 10}};
  for (const Expected& e : expected) {
    const DialogControl* c = controlById(d, e.id);
    ASSERT_TRUE(c) << e.id;
    EXPECT_EQ(c->className, e.className);
    EXPECT_EQ(c->text, e.text);
    EXPECT_EQ(std::vector<int>({c->x, c->y, c->cx, c->cy}), std::vector<int>({e.x, e.y, e.cx, e.cy})) << e.id;
  }
  EXPECT_EQ(controlById(d, 1004)->style, 0x40000000u | 0x10000000u | 1u);  // SBS_VERT
}

TEST(ResourceScript, TheStringTableHoldsTheMaterialsTexts) {
  ResourceParseResult r = parseMaterialScript();
  ASSERT_TRUE(r.script) << r.error;
  const std::map<int, std::string> expected = {
      {1, "MaterialHolder"}, {2, "QuorvanePlugins"}, {3, "QZMMaterial"}, {4, "QZMMaterial Per Pass"},
      {5, "WhichPass"}, {7, "Materials"}, {9, "ActiveStampOnly"}, {15, "Offset"}, {19, "EnableOMaterial"},
      {24, "None"}, {68, "Labels"}};
  EXPECT_EQ(r.script->strings, expected);
}

TEST(ResourceScript, StatementsTakeTheResourceCompilersDefaultsAndNotRemovesAStyle) {
  ResourceParseResult r = parseText(
      "#define BASE 0x10\n"
      "#ifndef BASE\n#error not read\n#endif\n"
      "#if defined(BASE) && BASE == 16\n#define SIXTEEN 1\n#endif\n"
      "7 DIALOGEX 0, 0, 10, 10\nCAPTION \"Say \"\"hi\"\"\"\n{\n"
      "  PUSHBUTTON \"Go\", BASE + 1, 1, 2, 3, 4\n"
      "  EDITTEXT BASE + 2, 1, 2, 3, 4, ES_NUMBER | NOT WS_TABSTOP\n"
      "  CONTROL \"c\", -1, BUTTON, BS_AUTOCHECKBOX | NOT WS_VISIBLE, 1, 2, 3, 4 /* a comment */\n"
      "}\n"
      "STRINGTABLE BEGIN SIXTEEN, \"a\\tb\" 0x10002 \"wrapped\" END\n");
  ASSERT_TRUE(r.script) << r.error;
  const sim::ui::DialogTemplate& d = r.script->dialogs.at(7);
  EXPECT_EQ(d.caption, "Say \"hi\"");
  EXPECT_EQ(d.style, 0x80000000u | 0x00800000u | 0x00080000u | 0x00C00000u);  // popup, border, menu, caption
  ASSERT_EQ(d.controls.size(), 3u);
  EXPECT_EQ(d.controls[0].id, 17);
  EXPECT_EQ(d.controls[0].className, "Button");
  EXPECT_EQ(d.controls[0].style, kChildVisibleTab);
  EXPECT_EQ(d.controls[1].className, "Edit");
  EXPECT_EQ(d.controls[1].style, 0x40000000u | 0x10000000u | 0x00800000u | 0x2000u);
  EXPECT_EQ(d.controls[2].id, -1);
  EXPECT_EQ(d.controls[2].style, 0x40000000u | 3u);
  EXPECT_EQ(r.script->strings.at(1), "a\tb");
  EXPECT_EQ(r.script->strings.at(2), "wrapped");  // string ids are 16 bits
}

TEST(ResourceScript, BadTextIsReportedWithItsFileAndLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"1 DIALOGEX 0, 0, 1, 1\nBEGIN\n  LTEXT \"a\", 1, 2, 3\nEND\n", "t.rc(4): ',' expected, not 'END'"},
      {"1 DIALOGEX 0,0,1,1\nBEGIN\n", "t.rc(2): END expected (to close BEGIN at line 2)"},
      {"STRINGTABLE\nBEGIN\n 1 \"open\nEND\n", "t.rc(3): unterminated string"},
      {"/* never closed\n", "t.rc(1): unterminated comment"},
      {"\n#ifdef X\n", "t.rc(2): #ifdef without #endif"},
      {"#include \"ids.h\"\n", "ids.h(2): #ifdef without #endif"},
      {"#include \"missing.h\"\n", "t.rc(1): cannot open include file \"missing.h\""},
      {"#include \"loop.h\"\n", "loop.h(1): #include nested too deeply"},
      {"#define A B\n#define B A\n1 DIALOGEX A, 0, 1, 1 {}\n", "t.rc(3): unknown name 'A'"},
      {"#define F(x) x\n", "t.rc(1): macro F takes arguments, which resource scripts do not support"},
      {"1 DIALOGEX 0, 0, 99999, 1 {}\n", "t.rc(1): coordinate 99999 is out of range"},
      {"1 DIALOGEX 0, 0, 0x1FFFFFFFF, 1 {}\n", "t.rc(1): number too large: 0x1FFFFFFFF"},
      {"1 ICON \"a.ico\"\n", "t.rc(1): resource type 'ICON' is not supported"},
      {"NAMED DIALOGEX 0,0,1,1 {}\n", "t.rc(1): 'NAMED' is not a resource id (named resources are not supported)"},
      {"STRINGTABLE { 1 \"a\" 1 \"b\" }\n", "t.rc(1): string 1 is defined twice"},
      {"1 DIALOGEX 0,0,1,1 { CONTROL \"\", 1, \"X\", 0, 1, 2, 3, 4 BOGUS }\n", "t.rc(1): control statement expected, not 'BOGUS'"},
      {"1 DIALOGEX 0,0,1,1 @\n", "t.rc(1): unexpected character '@'"},
      {"#else\n", "t.rc(1): #else without #if"},
  };
  for (const auto& [text, error] : cases) {
    ResourceParseResult r = parseText(text);
    EXPECT_FALSE(r.script) << text;
    EXPECT_EQ(r.error, error) << text;
  }
}

TEST(ResourceScript, DeepNestingAndRunawayMacrosAreErrorsNotCrashes) {
  std::string deep = "1 DIALOGEX " + std::string(100000, '(') + "0,0,1,1 {}\n";
  EXPECT_EQ(parseText(deep).error, "t.rc(1): expression nested too deeply");
  // Each macro doubles the one before: 2^40 tokens unless expansion is bounded.
  std::string doubling = "#define M0 1\n";
  for (int i = 1; i <= 40; ++i)
    doubling += "#define M" + std::to_string(i) + " M" + std::to_string(i - 1) + " M" + std::to_string(i - 1) + "\n";
  ResourceParseResult r = parseText(doubling + "STRINGTABLE { M40 \"x\" }\n");
  EXPECT_FALSE(r.script);
  EXPECT_EQ(r.error, "t.rc(42): the script expands to too many tokens");
}

}  // namespace
