#include "ui/snap_settings.h"

namespace sim::ui {

SnapSettings& snapSettings() {
  static SnapSettings settings;
  return settings;
}

SnapResult& lastSnap() {
  static SnapResult result;
  return result;
}

}  // namespace sim::ui
