// The host's undo and redo of accepted holds (the script's `max undo` / `max redo`).
#pragma once

#include "host_api.h"

#include <string>

namespace sim {

// Undoes the newest accepted hold; false when there is none or a hold is open.
HOST_API bool undo();
HOST_API bool redo();
HOST_API int undoDepth();
HOST_API int redoDepth();
HOST_API std::string undoLabel();
// Forgets every step, the open hold included (scene reset, shutdown).
HOST_API void flushUndo();

}  // namespace sim
