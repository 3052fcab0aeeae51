// The material's string table.
#pragma once

#include "host_api.h"

// Text of string `id`, or "" for an id the table does not hold.
const TCHAR* GetString(int id);

enum {
  IDS_LIBDESCRIPTION = 1,
  IDS_CATEGORY = 2,
  IDS_CLASS_NAME = 3,
  IDS_PARAMS = 4,
  IDS_WHICHPASS = 5,
  IDS_MATERIALS = 7,
  IDS_ACTIVESTAMPONLY = 9,
  IDS_OFFSET = 15,
  IDS_ENABLEOMATERIAL = 19,
  IDS_NONE = 24,
  IDS_LABELS = 68,
};
