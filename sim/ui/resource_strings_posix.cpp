// LoadString from a module's string table, with user32's answers at the edges: a buffer of 0
// characters gets nothing and the answer -1; otherwise the text is cut to fit with its terminating
// zero and the answer is the number of characters copied, 0 (with an empty buffer) for an id the
// table does not hold. Only the low 16 bits of the id count.
#include "ui/resource_module.h"
#include "win_ui.h"

#include <algorithm>
#include <cstring>

int LoadString(HINSTANCE inst, UINT id, LPSTR buffer, int size) {
  if (size == 0) return -1;
  if (!buffer || size < 0) return 0;
  std::size_t copied = 0;
  if (const sim::ui::ResourceScript* script = sim::ui::moduleResources(inst)) {
    auto it = script->strings.find(static_cast<int>(id & 0xFFFF));
    if (it != script->strings.end()) {
      copied = std::min(it->second.size(), static_cast<std::size_t>(size - 1));
      std::memcpy(buffer, it->second.data(), copied);
    }
  }
  buffer[copied] = '\0';
  return static_cast<int>(copied);
}
