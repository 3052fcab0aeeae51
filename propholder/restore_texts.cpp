#include "restore_texts.h"

#include "script_text.h"

namespace restore_text {

namespace {

constexpr const char* kLightCastShadows = "at time 0 $'%s'.baseobject.castshadows = %s\n";
constexpr const char* kObjectAssign = "at time 0 $'%s'.%s = $'%s'.%s[%s]\n";
constexpr const char* kActivate = "at time 0 $'%s'.'%s'.activate %s\n";
constexpr const char* kReadIntoTempVal = "global QZMTempVal = ($%s.%s[%i][%i].controller).value\n";
constexpr const char* kWriteFromTempVal = "($%s.%s[%i][%i].controller).value = QZMTempVal\n";
constexpr const char* kLinkVisibility = "at time 0 ($'%s'.%s.controller = ($%s.%s[%i][%i].controller))\n";
constexpr const char* kAssignControllerAsValue = "$'%s'.%s = ($%s.%s[%i][%i].controller)\n";
constexpr const char* kLinkController = "$'%s'.%s.controller = ($%s.%s[%i][%i].controller)\n";
// The two spaces after the first "=" are part of the text the pass manager has always run.
constexpr const char* kResetVisibility =
    "if getVisController $'%s' != undefined do ($'%s'.visibility.controller =  (copy (bezier_float()));$'%s'.visibility "
    "= true )\n";
constexpr const char* kLinkImageBlur = "setImageBlurMultController $'%s' ($%s.%s[%i][%i].controller)\n";
constexpr const char* kResetImageBlur =
    "if getImageBlurMultController $'%s' != undefined do setImageBlurMultController $'%s' (copy (bezier_float()))\n";
constexpr const char* kAssignAtTimeZero = "at time 0 $'%s'.%s = %s\n";
constexpr const char* kResetTransform = "if $'%s'.%s.controller != undefined do $'%s'.%s.controller = (copy (%s()))\n";
constexpr const char* kLinkProperty = "setPropertyController $'%s' #%s ($%s.%s[%i][%i].controller)\n";
constexpr const char* kResetProperty =
    "(if getPropertyController $'%s' #%s != undefined do setPropertyController $'%s' #%s (copy (%s())))\n";
constexpr const char* kAssignProperty =
    "try(at time 0 if isproperty $'%s' #%s do $'%s'.%s = %s)catch(execute \"at time 0 $'%s'.%s = %s\")\n";

std::string q(sv name) { return PathName(name); }
std::string n(int slot) { return FormatInt(static_cast<long long>(slot) + 1); }

// A text whose arguments are the target node, the property, then a controller path.
std::string withPath(const char* tmpl, sv node, sv name, sv holder, sv table, int passSlot, int slot) {
  return ComposeText(tmpl, {q(node), name, HolderPath(holder), table, n(passSlot), n(slot)});
}

}  // namespace

std::string LightCastShadows(sv node, sv value) { return ComposeText(kLightCastShadows, {q(node), value}); }

std::string ObjectAssign(sv node, sv name, sv holder, sv table, sv index) {
  return ComposeText(kObjectAssign, {q(node), name, q(holder), table, index});
}

std::string Activate(sv nodeName, sv value) {
  return ComposeText(kActivate, {q(SplitArrow(nodeName, 0)), QuotedName(SplitArrow(nodeName, 1)), value});
}

std::string ReadIntoTempVal(sv holder, sv table, int passSlot, int slot) {
  return ComposeText(kReadIntoTempVal, {HolderPath(holder), table, n(passSlot), n(slot)});
}

std::string WriteFromTempVal(sv holder, sv table, int passSlot, int slot) {
  return ComposeText(kWriteFromTempVal, {HolderPath(holder), table, n(passSlot), n(slot)});
}

std::string LinkVisibility(sv node, sv name, sv holder, sv table, int passSlot, int slot) {
  return withPath(kLinkVisibility, node, name, holder, table, passSlot, slot);
}

std::string AssignControllerAsValue(sv node, sv name, sv holder, sv table, int passSlot, int slot) {
  return withPath(kAssignControllerAsValue, node, name, holder, table, passSlot, slot);
}

std::string LinkController(sv node, sv name, sv holder, sv table, int passSlot, int slot) {
  return withPath(kLinkController, node, name, holder, table, passSlot, slot);
}

std::string ResetVisibility(sv node) { return ComposeText(kResetVisibility, {q(node), q(node), q(node)}); }

std::string LinkImageBlur(sv node, sv holder, sv table, int passSlot, int slot) {
  return ComposeText(kLinkImageBlur, {q(node), HolderPath(holder), table, n(passSlot), n(slot)});
}

std::string ResetImageBlur(sv node) { return ComposeText(kResetImageBlur, {q(node), q(node)}); }

std::string LinkTransform(sv node, sv word, sv holder, sv table, int passSlot, int slot) {
  return withPath(kLinkController, node, word, holder, table, passSlot, slot);
}

std::string AssignTransform(sv node, sv word, sv value) { return ComposeText(kAssignAtTimeZero, {q(node), word, value}); }

std::string ResetTransform(sv node, sv word) {
  const sv fresh = word == "position" ? "position_xyz" : word == "rotation" ? "euler_xyz" : "scalexyz";
  return ComposeText(kResetTransform, {q(node), word, q(node), word, fresh});
}

std::string LinkProperty(sv node, sv name, sv holder, sv table, int passSlot, int slot) {
  return ComposeText(kLinkProperty, {q(node), name, HolderPath(holder), table, n(passSlot), n(slot)});
}

std::string ResetProperty(sv node, sv name, sv fresh) {
  return ComposeText(kResetProperty, {q(node), name, q(node), name, fresh});
}

std::string AssignProperty(sv node, sv name, sv value) {
  const std::string t = q(node);
  return ComposeText(kAssignProperty, {t, name, t, name, value, InLiteral(t), InLiteral(name), InLiteral(value)});
}

}  // namespace restore_text
