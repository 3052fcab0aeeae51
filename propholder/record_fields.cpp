#include "record_fields.h"

std::string_view RecordField(std::string_view record, int k) {
  if (k < 0) return {};
  size_t start = 0;
  for (int i = 0; i < k; ++i) {
    size_t sep = record.find(kFieldSeparator, start);
    if (sep == std::string_view::npos) return {};
    start = sep + 1;
  }
  size_t end = record.find(kFieldSeparator, start);
  if (end == std::string_view::npos) return {};
  return record.substr(start, end - start);
}

RecordFields::RecordFields(std::string_view record) {
  for (size_t sep = record.find(kFieldSeparator); sep != std::string_view::npos; sep = record.find(kFieldSeparator)) {
    fields_.push_back(record.substr(0, sep));
    record.remove_prefix(sep + 1);
  }
}

void AppendField(std::string& record, std::string_view text) {
  for (size_t sep = text.find(kFieldSeparator); sep != std::string_view::npos; sep = text.find(kFieldSeparator)) {
    record.append(text.substr(0, sep));
    text.remove_prefix(sep + 1);
  }
  record.append(text);
  record += kFieldSeparator;
}
