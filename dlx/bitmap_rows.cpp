#include "bitmap_rows.h"

#include <cstdint>
#include <cstring>

namespace qzmdlx {

Bitmap* requireBitmap(Value* v, const TCHAR* message) {
  if (!is_bitmap(v)) throw TypeError(message, v, class_tag(MAXBitMap));
  return v->to_bitmap();
}

MAXBitMap* newResultBitmap(ResultFrame& frame, int width, int height) {
  BitmapInfo bi;
  bi.SetType(BMM_TRUE_64);
  bi.SetWidth(width);
  bi.SetHeight(height);
  bi.SetFirstFrame(0);
  bi.SetLastFrame(0);
  bi.SetName(_T(""));
  bi.SetDevice(_T(""));
  bi.SetFlags(MAP_HAS_ALPHA);
  bi.SetCustomFlag(0);
  Bitmap* bm = TheManager->Create(&bi);
  if (!bm) return nullptr;
  auto* value = new MAXBitMap(bi, bm);
  frame.keep(value);
  return value;
}

void readRow(const Bitmap* bm, int x, int y, int width, BMM_Color_fl* row) {
  const bool inside = bm && bm->HasStorage() && x >= 0 && y >= 0 && y < bm->Height() &&
                      std::int64_t(x) + width <= bm->Width();
  // The host leaves the columns of a partial run alone, so they are cleared first; a whole run,
  // the usual case, needs no clearing.
  if (!inside) std::memset(static_cast<void*>(row), 0, sizeof(BMM_Color_fl) * static_cast<size_t>(width));
  if (bm) bm->GetPixels(x, y, width, row);
}

}  // namespace qzmdlx
