#include "record_fields.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Records are read field by field on every restore, either way: the fields found once must be
// RecordField's, for short, unfinished and empty records alike.
TEST(RecordFields, FieldsFoundOnceAreTheOnesReadOneByOne) {
  const std::string records[] = {"", "\x01", "a\x01", "a\x01" "bc\x01\x01" "d\x01", "a\x01" "trailing",
                                 "\x01\x01\x01", "no separator"};
  for (const std::string& r : records) {
    RecordFields fields(r);
    for (int k = -1; k < 6; ++k) EXPECT_EQ(fields[k], RecordField(r, k)) << "field " << k << " of a record";
  }
}

}  // namespace
