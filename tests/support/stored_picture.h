// Pictures the host draws (panels, rollouts, viewports) compared pixel for pixel with one stored in
// the source tree. With QZM_UPDATE_TEST_PICTURES set, the picture drawn replaces the stored one.
#pragma once

#include "bitmap.h"

#include <string>

namespace test {

// Empty when the red, green and blue of every pixel match the file at `pathInSource` (relative to
// the source folder); else what differs. A picture that differs is also written to the build
// folder, named after the stored one with "_actual" added, to be looked at.
std::string differenceFromStoredPicture(Bitmap& picture, const std::string& pathInSource);

}  // namespace test
