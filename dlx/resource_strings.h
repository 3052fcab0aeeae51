// The library's string table.
#pragma once

#include "host_api.h"

#include <string>

enum {
  IDS_LIBDESCRIPTION = 108,
  IDS_FILEIN_UNEXPECTED_END = 109,
};

// Text of string `id`, or "" for an id the table does not hold. The text is the table's own
// storage: it stays valid, however many lookups follow.
const TCHAR* GetString(int id);
