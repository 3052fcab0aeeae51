// Records: one text per pass in the state, class and animated tables, made of one field per
// property slot, each field ended by the separator byte 0x01.
#pragma once

#include <string>
#include <string_view>
#include <vector>

constexpr char kFieldSeparator = '\x01';

// Field `k` of `record`: the text between the k-th separator (or the start) and the next one. Text
// after the last separator belongs to no field; a record with too few separators has an empty
// field k.
std::string_view RecordField(std::string_view record, int k);

// The fields of a record, found once, for code that reads many of them: field k is RecordField's.
class RecordFields {
 public:
  RecordFields() = default;
  explicit RecordFields(std::string_view record);
  std::string_view operator[](int k) const {
    return k >= 0 && static_cast<size_t>(k) < fields_.size() ? fields_[static_cast<size_t>(k)] : std::string_view();
  }

 private:
  std::vector<std::string_view> fields_;
};

// Appends `text` and a separator. A separator byte inside `text` would split the field and shift
// every later one, so such bytes are left out of the stored field.
void AppendField(std::string& record, std::string_view text);
