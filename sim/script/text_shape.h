// The shape of a script text: the text with its literal values taken out.
//
// Texts that plug-ins compose differ mostly in the node paths, strings and numbers they splice in;
// with those replaced by slot marks, thousands of texts come down to a few shapes, and a shape
// needs compiling once. The scan here is deliberately cheap and cautious: it only finds where the
// slots probably are. Whoever uses a shape checks each slot against the lexer's own reading of it,
// and answers false for anything unusual (comments, verbatim strings, line continuations), which
// then goes the ordinary way.
#pragma once

#include "host_api.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sim::script {

enum class SlotKind : std::uint8_t { Integer, Float, String, Path };

struct ShapeSlot {
  SlotKind kind;
  bool negative;            // written with a '-' that belongs to the number: `= -1.5`, `[-1,0,0]`
  std::uint32_t offset;     // of the literal's first byte, the '-' of a negative number
  std::uint32_t length;     // bytes, the '-' included
};

struct TextShape {
  std::string key;  // the text, each slot replaced by a mark of its kind
  std::vector<ShapeSlot> slots;
};

// Texts longer than this are never shaped: a long text is rarely run twice.
constexpr std::size_t kMaxShapedText = 4096;

// Fills `shape` from `text`; false when the text has something a shape does not cover.
HOST_API bool findShape(std::string_view text, TextShape& shape);

}  // namespace sim::script
