// Stored values are data: a record's value text is spliced into a restore text only when it is one
// of the literal forms capture writes, so that a record edited by hand or a scene from anyone can
// never run script through a restore.
#pragma once

#include <string_view>

// True when `text` is exactly one value literal of the forms capture writes:
//   a number ("%i", "%f", with an optional leading minus; nan and inf as "%f" writes them),
//   a string literal "...", a name literal #name or #'name', true false on off undefined,
//   a point [n, n] to [n, n, n, n] of numbers,
//   each of these alone or in one pair of parentheses (the scale text "([x, y, z])"),
//   and the constructors (color n n n), (color n n n n) and (quat n n n n) with number arguments,
// with spaces or tabs between the parts. Nothing else is: no variables, calls, property access,
// operators, indexing or more than one expression.
bool IsStoredLiteral(std::string_view text);

// Property names come from the holder's propertyName table, which a scene file carries as well, and
// are written into capture and restore texts as they are. A name is used only when it is a property
// path: identifiers joined by dots, each optionally indexed by [number] or [#name]
// ("baseobject.radius", "modifiers[#Bend].angle"). Any other name is refused with this line
// (the name, the node) and its slot is neither read nor written.
bool IsPropertyPath(std::string_view name);
constexpr const char* kRefusedPropertyName = "QZMMessage: Refused the property name %s on %s: not a property path\n";
