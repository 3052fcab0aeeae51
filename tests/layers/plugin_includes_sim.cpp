// A plug-in source that reaches for the host's implementation. The build must refuse it: plug-ins
// see host/ and nothing of sim/ (tests/layers/CMakeLists.txt checks that it does).
#include "core/class_registry.h"
