#include "resource_strings.h"

#include "module_strings.h"

const TCHAR* GetString(int id) { return loadModuleString(hInstance, id); }
