// The texts restore runs are the pass manager's own: plain names give them byte for byte; other
// names and string values are escaped so that they are read as names and text, never as script.
#include "restore_texts.h"
#include "script_text.h"

#include <gtest/gtest.h>

namespace {

namespace rt = restore_text;

TEST(RestoreTexts, PlainNamesGiveTheTextsByteForByte) {
  EXPECT_EQ(rt::ReadIntoTempVal("QZMPropHolder01", "propertyFloatController", 1, 3),
            "global QZMTempVal = ($QZMPropHolder01.propertyFloatController[2][4].controller).value\n");
  EXPECT_EQ(rt::LinkVisibility("Box01", "visibility", "QZMPropHolder01", "propertyFloatController", 0, 0),
            "at time 0 ($'Box01'.visibility.controller = ($QZMPropHolder01.propertyFloatController[1][1].controller))\n");
  EXPECT_EQ(rt::ResetVisibility("Box01"),
            "if getVisController $'Box01' != undefined do ($'Box01'.visibility.controller =  (copy (bezier_float()));"
            "$'Box01'.visibility = true )\n");
  EXPECT_EQ(rt::ResetTransform("Box01", "scale"),
            "if $'Box01'.scale.controller != undefined do $'Box01'.scale.controller = (copy (scalexyz()))\n");
  EXPECT_EQ(rt::ResetProperty("Box01", "height", "bezier_float"),
            "(if getPropertyController $'Box01' #height != undefined do setPropertyController $'Box01' #height (copy "
            "(bezier_float())))\n");
  EXPECT_EQ(rt::AssignProperty("Box01", "height", "25.000000"),
            "try(at time 0 if isproperty $'Box01' #height do $'Box01'.height = 25.000000)catch(execute \"at time 0 "
            "$'Box01'.height = 25.000000\")\n");
  EXPECT_EQ(rt::Activate("Box01->Mod01", "true"), "at time 0 $'Box01'.'Mod01'.activate true\n");
  EXPECT_EQ(rt::Activate("Plain", "false"), "at time 0 $'Plain'.''.activate false\n");
  EXPECT_EQ(ControllerAddressText("H", "IpropertyPosController", 0, 4),
            "global QZMIDA; if QZMIDA == undefined do QZMIDA = #(); append QZMIDA "
            "#(\"$'H'.IpropertyPosController[1][5]\")\n");
}

TEST(RestoreTexts, OtherHolderNamesAreQuotedAndStringValuesAreLiterals) {
  EXPECT_EQ(rt::LinkProperty("it's", "height", "Holder 01", "propertyFloatController", 0, 1),
            "setPropertyController $'it\\'s' #height ($'Holder 01'.propertyFloatController[1][2].controller)\n");
  EXPECT_EQ(HolderPath("01Holder"), "'01Holder'");
  EXPECT_EQ(HolderPath(""), "''");
  EXPECT_EQ(HolderPath("a\\b'"), "'a\\\\b\\''");
  EXPECT_EQ(rt::AssignProperty("B", "material.name", StringLiteral("x\" ; print 1 ; \"")),
            "try(at time 0 if isproperty $'B' #material.name do $'B'.material.name = \"x\\\" ; print 1 ; \\\"\")"
            "catch(execute \"at time 0 $'B'.material.name = \\\"x\\\\\\\" ; print 1 ; \\\\\\\"\\\"\")\n");
}

TEST(RestoreTexts, WildcardsInNodeNamesAreEscapedWhereTheyAddressANodeOnly) {
  // In $'...' a * or ? would match other nodes; in a quoted modifier name they are plain characters.
  EXPECT_EQ(rt::AssignTransform("Box*", "position", "[1,2,3]"), "at time 0 $'Box\\*'.position = [1,2,3]\n");
  EXPECT_EQ(rt::Activate("B?x->Mod*", "true"), "at time 0 $'B\\?x'.'Mod*'.activate true\n");
  EXPECT_EQ(rt::ReadIntoTempVal("Holder*", "propertyFloatController", 0, 0),
            "global QZMTempVal = ($'Holder\\*'.propertyFloatController[1][1].controller).value\n");
  EXPECT_EQ(rt::ObjectAssign("a?'", "material", "H?", "propertyObject", "2"),
            "at time 0 $'a\\?\\''.material = $'H\\?'.propertyObject[2]\n");
  // Inside the execute branch and the QZMIDA addresses the escapes are escaped once more.
  EXPECT_EQ(rt::AssignProperty("*", "height", "1"),
            "try(at time 0 if isproperty $'\\*' #height do $'\\*'.height = 1)catch(execute \"at time 0 "
            "$'\\\\*'.height = 1\")\n");
  EXPECT_EQ(ControllerAddressText("H*", "propertyPosController", 0, 0),
            "global QZMIDA; if QZMIDA == undefined do QZMIDA = #(); append QZMIDA "
            "#(\"$'H\\\\*'.propertyPosController[1][1]\")\n");
}

}  // namespace

namespace {

TEST(ComposedTexts, PlaceholdersTakeTheArgumentsInOrderAndOtherPercentSignsStay) {
  EXPECT_EQ(ComposeText("$'%s'.%s[%i]", {"B", "pos", "3"}), "$'B'.pos[3]");
  EXPECT_EQ(ComposeText("100%% of %s%", {"x"}), "100% of x%");
  EXPECT_EQ(ComposeText("%x %s %s", {"a"}), "%x a ");  // a missing argument leaves nothing
  EXPECT_EQ(ComposeText("%s", {"%s%%"}), "%s%%");     // arguments are never read as templates
  EXPECT_EQ(ComposeText("", {"a"}), "");
}

}  // namespace
