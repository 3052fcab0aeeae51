// A material's postage stamp as a script bitmap: 32, 88 or 24 pixels square by size code, with the
// stamp's bottom-up rows of blue, green and red bytes turned into 16-bit colour rows, top row first.
#include "primitive_args.h"

#include "imtl.h"
#include "maxscript/bitmaps.h"

#include <memory>
#include <new>
#include <vector>

namespace {

using namespace qzmdlx;

int stampSize(int sizeCode) {
  switch (sizeCode) {
    case 0: return 32;
    case 1: return 88;
    case 2: return 24;
    default: return 0;
  }
}

// Every row of `image` (bottom row first, BGR bytes) into the bitmap, whose top row comes from the
// image's last row.
void copyRows(const std::vector<UBYTE>& image, int size, Bitmap* bm) {
  std::unique_ptr<BMM_Color_64[]> row(new (std::nothrow) BMM_Color_64[static_cast<size_t>(size)]);
  if (!row) return;  // the bitmap comes back unfilled
  const size_t stride = static_cast<size_t>(ByteWidth(size));
  for (int k = 0; k < size; ++k) {
    const UBYTE* from = image.data() + static_cast<size_t>(k) * stride;
    for (int x = 0; x < size; ++x) {
      const UBYTE* px = from + 3 * x;
      row[x] = BMM_Color_64(static_cast<WORD>(static_cast<float>(px[2]) * 257.0f),
                            static_cast<WORD>(static_cast<float>(px[1]) * 257.0f),
                            static_cast<WORD>(static_cast<float>(px[0]) * 257.0f), 65535);
    }
    bm->PutPixels(0, size - 1 - k, size, row.get());
  }
}

}  // namespace

def_visible_primitive(QZMgetMaterialStamp, "QZMgetMaterialStamp");
Value* QZMgetMaterialStamp_cf(Value** arg_list, int count) {
  checkCount(_T("QZMgetMaterialStamp"), 2, count);
  Mtl* mtl = arg_list[0]->to_mtl();
  int sizeCode = arg_list[1]->to_int();
  int size = stampSize(sizeCode);
  if (size == 0 || !mtl) return undefined;

  PStamp* stamp = mtl->CreatePStamp(sizeCode, TRUE);
  if (!stamp) return undefined;
  ResultFrame frame;
  BitmapInfo bi;
  bi.SetType(BMM_TRUE_64);
  bi.SetWidth(size);
  bi.SetHeight(size);
  bi.SetFirstFrame(0);
  bi.SetLastFrame(0);
  bi.SetName(_T(""));
  bi.SetDevice(_T(""));
  bi.SetFlags(MAP_HAS_ALPHA);
  bi.SetCustomFlag(0);
  Bitmap* bm = TheManager->Create(&bi);
  auto* result = new MAXBitMap(bi, bm);
  frame.keep(result);
  if (bm) {
    std::vector<UBYTE> image(static_cast<size_t>(ByteWidth(size)) * static_cast<size_t>(size));
    stamp->GetImage(image.data());
    copyRows(image, size, bm);
  }
  mtl->DiscardPStamp(sizeCode);
  return frame.result(result);
}
