// Value texts and class tags of holder records read as values, without evaluating them.
#include "passes/value_texts.h"

#include <gtest/gtest.h>

namespace {

using sim::passes::decodeField;
using sim::passes::displayText;
using sim::passes::jsonString;
using sim::passes::jsonValue;
using sim::passes::ValueKind;

std::string shown(std::string_view property, std::string_view text, std::string_view cls) {
  return displayText(decodeField(property, text, cls));
}

TEST(ValueTexts, EveryLiteralCaptureWritesReadsAsItsValue) {
  EXPECT_EQ(shown("renderable", "0", "bool"), "false");
  EXPECT_EQ(shown("renderable", "1", "bool"), "true");
  EXPECT_EQ(shown("baseObject.castShadows", "true", "bool"), "true");
  EXPECT_EQ(shown("motionblur", "2", "Name"), "#image");
  EXPECT_EQ(shown("motionblur", "7", "Name"), "7");
  EXPECT_EQ(shown("wirecolor", "16711680", "Name"), "(color 0 0 255)");
  EXPECT_EQ(shown("wirecolor", "-1", "Name"), "(color 255 255 255)");
  EXPECT_EQ(shown("height", "25.500000", "float"), "25.5");
  EXPECT_EQ(shown("lengthsegs", "-7", "int"), "-7");
  EXPECT_EQ(shown("rgb", "(color 255.000000 127.500000 0.000000)", "color"), "(color 255 127.5 0)");
  EXPECT_EQ(shown("tint", "(color 1.000000 2.000000 3.000000 4.000000)", "rgba"), "(color 1 2 3 4)");
  EXPECT_EQ(shown("position", "[1.000000,-2.000000,3.500000]", "point3"), "[1,-2,3.5]");
  EXPECT_EQ(shown("corner", "[1.000000,2.000000,3.000000,4.000000]", "point4"), "[1,2,3,4]");
  EXPECT_EQ(shown("rotation", "(quat 0.000000 0.000000 0.707107 0.707107)", "quat"), "(quat 0 0 0.707107 0.707107)");
  EXPECT_EQ(shown("scale", "([1.000000, 2.000000, 3.000000])", "quat"), "[1,2,3]");
  EXPECT_EQ(shown("scale", "([1.000000, 2.000000, 3.000000])", "Point3"), "[1,2,3]");
  EXPECT_EQ(shown("name", "Box \"01\"", "string"), "\"Box \\\"01\\\"\"");
  EXPECT_EQ(shown("UserPropBuffer", "a = 1\nb = 2", "string"), "\"a = 1\\nb = 2\"");
  EXPECT_EQ(shown("UserPropBuffer", "", "string"), "\"\"");
  EXPECT_EQ(shown("noSuchProperty", "undefined", "undefined"), "undefined");
  EXPECT_EQ(decodeField("material.diffuseMap", "reftarg", "3").kind, ValueKind::Object);
  EXPECT_EQ(decodeField("QZMMaterial", "QZMMaterial", "material").kind, ValueKind::Material);
}

TEST(ValueTexts, TextsThatAreNotTheirClassLiteralAreUnreadableNotGuessed) {
  EXPECT_EQ(shown("renderable", "7", "bool"), "unreadable \"7\"");
  EXPECT_EQ(shown("position", "[1,2]", "point3"), "unreadable \"[1,2]\"");
  EXPECT_EQ(shown("position", "[1,2,3] + [4,5,6]", "point3"), "unreadable \"[1,2,3] + [4,5,6]\"");
  EXPECT_EQ(shown("height", "(QZMDOSCommand \"rm x\"; 1.0)", "float"), "unreadable \"(QZMDOSCommand \\\"rm x\\\"; 1.0)\"");
  EXPECT_EQ(shown("height", "nan", "float"), "unreadable \"nan\"");
  EXPECT_EQ(shown("height", "1e999", "float"), "unreadable \"1e999\"");
  EXPECT_EQ(shown("rgb", "(color 1 2 3 4)", "color"), "unreadable \"(color 1 2 3 4)\"");
  EXPECT_EQ(shown("wirecolor", "99999999999", "Name"), "unreadable \"99999999999\"");
  EXPECT_EQ(shown("x", "1", "Matrix3"), "unreadable \"1\"");
}

TEST(ValueTexts, JsonIsValidWhateverTheTextHolds) {
  EXPECT_EQ(jsonString("a\"b\\c\nd\x01"), "\"a\\\"b\\\\c\\nd\\u0001\"");
  EXPECT_EQ(jsonString("caf\xC3\xA9"), "\"caf\xC3\xA9\"");
  EXPECT_EQ(jsonString("bad\xFF\xC3"), "\"bad\\ufffd\\ufffd\"");
  EXPECT_EQ(jsonValue(decodeField("position", "[1.000000,2.000000,3.000000]", "point3")), "[1,2,3]");
  EXPECT_EQ(jsonValue(decodeField("noSuchProperty", "undefined", "undefined")), "null");
  EXPECT_EQ(jsonValue(decodeField("renderable", "1", "bool")), "true");
}

}  // namespace
