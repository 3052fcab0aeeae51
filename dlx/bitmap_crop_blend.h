// The pixel steps of a cropped row before its text: alpha from another image, compositing over a
// background, and blending an overlay. Each works on a whole row of `width` pixels; every pixel is
// independent of its neighbours, so applying one step to the row and then the next gives what
// applying all of them pixel by pixel gives.
#pragma once

#include "bitmap.h"

namespace qzmdlx {

// The working alpha becomes the green channel of the alpha image.
void takeAlpha(BMM_Color_fl* row, const BMM_Color_fl* alpha, int width);

// Colour over the background by the working alpha a: a of exactly 0 shows the background alone, a
// between (below 1, negative included) mixes, 1 or more (or not a number) keeps the colour. Alpha
// stays as it is.
void overBackground(BMM_Color_fl* row, const BMM_Color_fl* background, int width);

// Blends `overlay` at `opacity` into the row by `mode` (0 over, 1 screen, 2 add, 3 multiply,
// 4 overlay tested on the image, 5 overlay tested on the overlay); other modes change nothing.
// Nothing clamps.
void blendOverlay(BMM_Color_fl* row, const BMM_Color_fl* overlay, int width, float opacity, int mode);

// The same steps one channel at a time, without vector instructions. The steps above run these
// where the build has no SSE2 and the vector forms where it has; both must give the same bits, so
// both are callable, and the tests hold them side by side.
namespace plain {
void takeAlpha(BMM_Color_fl* row, const BMM_Color_fl* alpha, int width);
void overBackground(BMM_Color_fl* row, const BMM_Color_fl* background, int width);
void blendOverlay(BMM_Color_fl* row, const BMM_Color_fl* overlay, int width, float opacity, int mode);
}  // namespace plain

}  // namespace qzmdlx
