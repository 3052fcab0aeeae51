// Records: one text per pass in the state, class and animated tables, made of one field per
// property slot, each field ended by the separator byte 0x01.
#pragma once

#include <string>
#include <string_view>

constexpr char kFieldSeparator = '\x01';

// Field `k` of `record`: the text between the k-th separator (or the start) and the next one. Text
// after the last separator belongs to no field; a record with too few separators has an empty
// field k.
std::string_view RecordField(std::string_view record, int k);

// Appends `text` and a separator. A separator byte inside `text` would split the field and shift
// every later one, so such bytes are left out of the stored field.
void AppendField(std::string& record, std::string_view text);
