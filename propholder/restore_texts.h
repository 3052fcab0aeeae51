// The script texts restore runs, one function per text. Every function takes names and values as
// they are and escapes them here: scene node names inside $'...', the holder node in the evaluated
// controller paths (HolderPath), and everything that sits inside a "..." literal once more. Value
// texts are script literals already and go in as they are; a string value must be made a literal by
// the caller (StringLiteral).
//
// `table` is the controller or object table's script name (propertyFloatController, or the I-form
// for the initial record); `passSlot` and `slot` are 0-based and written 1-based.
#pragma once

#include <string>
#include <string_view>

namespace restore_text {

using sv = std::string_view;

std::string LightCastShadows(sv node, sv value);
std::string ObjectAssign(sv node, sv name, sv holder, sv table, sv index);
std::string Activate(sv nodeName, sv value);
std::string ReadIntoTempVal(sv holder, sv table, int passSlot, int slot);
std::string WriteFromTempVal(sv holder, sv table, int passSlot, int slot);
std::string LinkVisibility(sv node, sv name, sv holder, sv table, int passSlot, int slot);
// The initial record's animated visibility: the controller assigned to the property, then linked.
std::string AssignControllerAsValue(sv node, sv name, sv holder, sv table, int passSlot, int slot);
std::string LinkController(sv node, sv name, sv holder, sv table, int passSlot, int slot);
std::string ResetVisibility(sv node);
std::string LinkImageBlur(sv node, sv holder, sv table, int passSlot, int slot);
std::string ResetImageBlur(sv node);
// position, rotation, scale: `word` is the property.
std::string LinkTransform(sv node, sv word, sv holder, sv table, int passSlot, int slot);
std::string AssignTransform(sv node, sv word, sv value);
std::string ResetTransform(sv node, sv word);
std::string LinkProperty(sv node, sv name, sv holder, sv table, int passSlot, int slot);
// `fresh` is the controller class made when the property is not animated (bezier_float ...).
std::string ResetProperty(sv node, sv name, sv fresh);
std::string AssignProperty(sv node, sv name, sv value);

}  // namespace restore_text
