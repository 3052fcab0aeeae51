// The host's snap settings (script: snapMode) and what the last snap search found.
#pragma once

#include "viewexp.h"

namespace sim::ui {

struct SnapSettings {
  bool active = false;
  int type = SNAP_3D;  // SNAP_2D, SNAP_25D or SNAP_3D
  int strength = 8;    // pixels
};

struct SnapResult {
  bool hit = false;
  Point3 world;
  IPoint2 screen;
};

HOST_API SnapSettings& snapSettings();
// What the last SnapPoint or SnapPreview found (hit false when it found nothing or snapping is off).
HOST_API SnapResult& lastSnap();

}  // namespace sim::ui
