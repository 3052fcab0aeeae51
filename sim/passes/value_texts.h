// Reading the value texts and class tags of holder records as values, without evaluating anything:
// each text is matched against the one literal form its class tag allows, and anything else is
// reported as unreadable rather than guessed at.
#pragma once

#include "host_api.h"

#include <string>
#include <string_view>

class ReferenceTarget;

namespace sim::passes {

enum class ValueKind {
  Boolean,     // number[0] is 0 or 1
  Integer,     // number[0]
  Number,      // number[0]
  Colour,      // red, green, blue (and alpha when count is 4), 0 to 255
  Point3,      // x, y, z (positions and scales)
  Point4,
  Quat,        // x, y, z, w
  String,      // text
  Name,        // text: the motion blur type (none, object, image)
  Object,      // an object of the holder's object table: text is its name, className its class
  Material,    // the per-pass material's slot shown: slot, and text / className of the material in it
  Undefined,
  Unreadable,  // a text that is not the literal its class tag calls for: text is the stored text
};

HOST_API const char* kindName(ValueKind kind);

struct DecodedValue {
  ValueKind kind = ValueKind::Undefined;
  double number[4] = {0, 0, 0, 0};
  int count = 0;  // numbers used
  std::string text;
  std::string className;
  ReferenceTarget* target = nullptr;  // Object: the object; Material: the material in the slot
  int slot = 0;                       // Material: 1-based slot of the per-pass material
};

// The value of one field from its property name, state text and class tag. Object and material
// fields come back with their kind only; the caller looks up what they refer to.
HOST_API DecodedValue decodeField(std::string_view property, std::string_view text, std::string_view classTag);

// The value as people read it: true, 12, 0.5, (color 255 0 0), [1,2,3], "text", Wood grain (Checker).
HOST_API std::string displayText(const DecodedValue& v);
// The value as a JSON value: true, 12, 0.5, [255,0,0], "text", {"name":..,"class":..}.
HOST_API std::string jsonValue(const DecodedValue& v);
HOST_API std::string jsonString(std::string_view s);
// jsonString(s) added to the end of `out`: for reports of hundreds of thousands of values.
HOST_API void appendJsonString(std::string& out, std::string_view s);
// A number in its shortest form that reads back the same (0.5, 12, -3.25).
HOST_API std::string shortNumber(double d);

}  // namespace sim::passes
