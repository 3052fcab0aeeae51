// The panel's rows: the control ids of each of the 15 rows, by row. A row's index is its position in
// these tables; the ids come from the panel's resource script.
#pragma once

#include "resource.h"

#include <array>

namespace panel_rows {

constexpr int kRows = 15;

constexpr std::array<int, kRows> kStampFrames = {
    IDC_STAMP_0,      IDC_STAMP_0 + 1,  IDC_STAMP_0 + 2,  IDC_STAMP_0 + 3,  IDC_STAMP_0 + 4,
    IDC_STAMP_0 + 5,  IDC_STAMP_0 + 6,  IDC_STAMP_0 + 7,  IDC_STAMP_0 + 8,  IDC_STAMP_0 + 9,
    IDC_STAMP_0 + 10, IDC_STAMP_0 + 11, IDC_STAMP_0 + 12, IDC_STAMP_0 + 13, IDC_STAMP_0 + 14};

constexpr std::array<int, kRows> kSlotButtons = {
    IDC_SLOT_0, IDC_SLOT_1, IDC_SLOT_2,  IDC_SLOT_3,  IDC_SLOT_4,  IDC_SLOT_5,  IDC_SLOT_6, IDC_SLOT_7,
    IDC_SLOT_8, IDC_SLOT_9, IDC_SLOT_10, IDC_SLOT_11, IDC_SLOT_12, IDC_SLOT_13, IDC_SLOT_14};

constexpr std::array<int, kRows> kLabelFields = {
    IDC_LABEL_0, IDC_LABEL_1, IDC_LABEL_2,  IDC_LABEL_3,  IDC_LABEL_4,  IDC_LABEL_5,  IDC_LABEL_6, IDC_LABEL_7,
    IDC_LABEL_8, IDC_LABEL_9, IDC_LABEL_10, IDC_LABEL_11, IDC_LABEL_12, IDC_LABEL_13, IDC_LABEL_14};

// The row whose control in `table` has id `id`, or -1.
inline int rowOf(const std::array<int, kRows>& table, int id) {
  for (int r = 0; r < kRows; ++r)
    if (table[static_cast<size_t>(r)] == id) return r;
  return -1;
}

}  // namespace panel_rows
