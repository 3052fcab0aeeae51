// What the image functions of this library share: bitmap arguments, the new bitmap they answer
// with, and rows of float pixels read so that anything outside a bitmap is transparent black.
#pragma once

#include "primitive_args.h"

#include "bitmap.h"
#include "maxscript/bitmaps.h"

namespace qzmdlx {

// The bitmap of a bitmap argument; a value of another kind raises a type error with `message`,
// which names the argument.
Bitmap* requireBitmap(Value* v, const TCHAR* message);

// A new 64-bit bitmap value with alpha of that size, kept in `frame`; null when the host cannot make
// a bitmap of that size.
MAXBitMap* newResultBitmap(ResultFrame& frame, int width, int height);

// `width` pixels of row y of `bm` from column x into `row`. Pixels outside the bitmap, and every
// pixel of a bitmap without storage, read as (0, 0, 0, 0).
void readRow(const Bitmap* bm, int x, int y, int width, BMM_Color_fl* row);

}  // namespace qzmdlx
