// The holder's string table.
#pragma once

#include "host_api.h"

// Text of string `id`, or "" for an id the table does not hold.
const TCHAR* GetString(int id);

enum {
  IDS_LIBDESCRIPTION = 1,
  IDS_CLASS_NAME = 11,
  IDS_CLASS_NAME_HELPER = 10,
  IDS_OBJECT_NAME = 25,
  IDS_NODE_NAME = 4,
  IDS_CATEGORY = 2,
};
