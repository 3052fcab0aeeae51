// What the evaluator needs of host objects beyond a value's own properties: controllers of
// properties, sub-animations, base objects of nodes, bit arrays, and making objects from classes.
#pragma once

#include "maxscript/classes.h"
#include "bitarray.h"
#include "maxtypes.h"
#include "strclass.h"
#include "script/ast_names.h"
#include "script/scope.h"

#include <string>

class Animatable;
class INode;
class Modifier;
class ReferenceTarget;

namespace sim::rt {

Value* getPropertyValue(Value* obj, Value* name);
void setPropertyValue(Value* obj, Value* name, Value* v);
// obj.prop.controller: the controller animating property `name` of `owner`, or undefined.
Value* getPropertyController(Value* owner, Value* name);
void setPropertyController(Value* owner, Value* name, Value* controller);

Value* makeBitArray(const BitArrayLiteral& literal, Env& env);
// A new bit array value holding `bits`.
Value* bitArrayValue(const BitArray& bits);
// A bit array value, or an array of 1-based indices, as bits; raises the conversion error for
// anything else.
BitArray toBitArray(Value* v);
// The class of bit array values (`bitArray` in script).
Value* bitArrayClass();
// A new instance of a class value (scene objects come with a node, as in the host); null when `cls`
// is no class.
Value* constructFromClass(Value* cls, Value** args, int count);

// `t` as a node, or null. Told by super class: this is asked on every property access.
INode* nodeOf(ReferenceTarget* t);
ReferenceTarget* baseObjectOf(INode* node);
// The modifier of a node's stack with this name (without case), or null.
Modifier* findModifier(INode* node, const std::string& lower);
bool isController(ReferenceTarget* t);
// Whether objects of this super class are controllers (every one of them is a Control).
bool isControllerClass(SClass_ID sclass);
// A sub-animation's display name as script names it: blanks and signs read as underscores
// ("Object (Box)" is Object__Box_).
std::string subAnimScriptName(const TSTR& shown);
// Whether a sub-animation's display name is the script name `lower` (blanks read as underscores).
bool subAnimNameMatches(const TSTR& shown, const std::string& lower);
// The first of `a`'s own sub-animations whose script name is `lower`, or -1.
int subAnimIndexNamed(Animatable* a, const std::string& lower);
// Sub-animation `index` (0-based) of `parent` as a script value with .controller, .value and .name.
Value* wrapSubAnim(ReferenceTarget* parent, int index);
// The sub-animation of `parent` whose script name is `lower`, looked for among its own and then
// among those of its parameter blocks (a box's #width lies in its "Parameters" block); undefined
// when there is none.
Value* subAnimNamed(ReferenceTarget* parent, const std::string& lower);
bool isSubAnim(Value* v);

}  // namespace sim::rt
