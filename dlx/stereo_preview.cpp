// Stereo pairs composed into one image (anaglyphs and row interlacing), and viewport previews with
// every setting given by the caller.
#include "bitmap_rows.h"

#include "maxapi.h"

#include <memory>
#include <new>

namespace {

using namespace qzmdlx;

float luma(const BMM_Color_fl& p) { return 0.299f * p.r + 0.587f * p.g + 0.114f * p.b; }

// Output row y from the left row L and the right row R by `mode`; alpha always stays the left
// image's. Rows are counted from 0 at the top, so in mode 5 the top row is the left image's.
void composeRow(BMM_Color_fl* __restrict L, const BMM_Color_fl* __restrict R, int width, int y, int mode) {
  const bool odd = (y & 1) != 0;
  switch (mode) {
    case 0:
      for (int l = 0; l < width; ++l) {
        const float right = luma(R[l]);
        L[l].r = luma(L[l]);
        L[l].g = right;
        L[l].b = right;
      }
      break;
    case 1:
      for (int l = 0; l < width; ++l) {
        L[l].g = R[l].g;
        L[l].b = R[l].b;
      }
      break;
    case 2:
      for (int l = 0; l < width; ++l) {
        L[l].r = luma(L[l]);
        L[l].g = R[l].g;
        L[l].b = R[l].b;
      }
      break;
    case 3:
      for (int l = 0; l < width; ++l) {
        L[l].r = 0.7f * L[l].g + 0.3f * L[l].b;
        L[l].g = R[l].g;
        L[l].b = R[l].b;
      }
      break;
    case 4:
      // Only the red term of the left luma, as the pair has always been made.
      for (int l = 0; l < width; ++l) {
        const float right = luma(R[l]);
        L[l].r = 0.299f * L[l].r;
        L[l].g = 0.0f;
        L[l].b = right;
      }
      break;
    case 5:
    case 6:
      if (odd == (mode == 5)) {
        for (int l = 0; l < width; ++l) {
          L[l].r = R[l].r;
          L[l].g = R[l].g;
          L[l].b = R[l].b;
        }
      }
      break;
    default:
      break;
  }
}

}  // namespace

def_visible_primitive(QZMStereoBitmap, "QZMStereoBitmap");
Value* QZMStereoBitmap_cf(Value** arg_list, int count) {
  checkCount(_T("QZMStereoBitmap"), 3, count);
  Bitmap* left = requireBitmap(arg_list[0], _T("Left bitmap not supplied"));
  Bitmap* right = requireBitmap(arg_list[1], _T("Right bitmap not supplied"));
  const int mode = arg_list[2]->to_int();
  const BitmapInfo& info = static_cast<MAXBitMap*>(arg_list[0])->bi;
  const int width = info.Width(), height = info.Height();

  ResultFrame frame;
  MAXBitMap* result = newResultBitmap(frame, width, height);
  if (!result) return undefined;
  std::unique_ptr<BMM_Color_fl[]> rows(new (std::nothrow) BMM_Color_fl[2 * static_cast<size_t>(width)]());
  if (!rows) throw RuntimeError(_T("Out of memory for the rows of QZMStereoBitmap"));
  BMM_Color_fl* leftRow = rows.get();
  BMM_Color_fl* rightRow = leftRow + width;
  for (int y = 0; y < height; ++y) {
    readRow(left, 0, y, width, leftRow);
    readRow(right, 0, y, width, rightRow);
    composeRow(leftRow, rightRow, width, y, mode);
    result->bm->PutPixels(0, y, width, leftRow);
  }
  return frame.result(result);
}

// The record's fields are filled in its own order; the arguments come in another (size, frames,
// rate, shading, output type, background, then the display switches).
def_visible_primitive(QZMCreatePreview, "QZMCreatePreview");
Value* QZMCreatePreview_cf(Value** arg_list, int count) {
  checkCount(_T("QZMCreatePreview"), 17, count);
  PreviewParams p;
  p.outputType = arg_list[6]->to_int();
  p.pctSize = arg_list[0]->to_int();
  p.start = arg_list[1]->to_int();
  p.end = arg_list[2]->to_int();
  p.skip = arg_list[3]->to_int();
  p.fps = arg_list[4]->to_int();
  p.dspGeometry = arg_list[8]->to_bool();
  p.dspShapes = arg_list[9]->to_bool();
  p.dspLights = arg_list[10]->to_bool();
  p.dspCameras = arg_list[11]->to_bool();
  p.dspHelpers = arg_list[12]->to_bool();
  p.dspSpaceWarps = arg_list[13]->to_bool();
  p.dspGrid = arg_list[14]->to_bool();
  p.dspSafeFrame = arg_list[15]->to_bool();
  p.dspFrameNums = arg_list[16]->to_bool();
  p.rndLevel = arg_list[5]->to_int();
  p.dspBkg = arg_list[7]->to_bool();
  GetCOREInterface()->CreatePreview(&p);
  return true_value;
}
