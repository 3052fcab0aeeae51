// QZMCropBitmap: a rectangle of a rendered image as a new bitmap, with optionally its alpha from a
// second image, composited over a background, blended with an overlay and stamped with a top line
// (frame number and label) and a bottom line of text.
#include "bitmap_crop_blend.h"
#include "bitmap_crop_text.h"
#include "bitmap_rows.h"
#include "stamp_font.h"

#include "maxapi.h"

#include <climits>
#include <memory>
#include <new>
#include <string>

namespace {

using namespace qzmdlx;

// The 19 arguments by position, converted once.
struct CropSettings {
  Bitmap* source = nullptr;
  Bitmap* alpha = nullptr;  // only with the alpha flag
  int x = 0, y = 0, width = 0, height = 0;
  bool useAlpha = false, topLine = false, label = false, useBackground = false, bottomLine = false,
       useOverlay = false;
  std::string labelText, bottomText;
  Bitmap* background = nullptr;  // only with the background flag
  Bitmap* overlay = nullptr;     // only with the overlay flag
  float opacity = 0.0f;
  int mode = 0;
  int frameOffset = 0;
};

// A flag is set only by the integer 1.
bool flag(Value* v) { return v->to_int() == 1; }

CropSettings readSettings(Value** arg) {
  CropSettings s;
  s.source = requireBitmap(arg[0], _T("Source bitmap not supplied"));
  s.x = arg[2]->to_int();
  s.y = arg[3]->to_int();
  s.width = arg[4]->to_int();
  s.height = arg[5]->to_int();
  s.useAlpha = flag(arg[6]);
  s.topLine = flag(arg[7]);
  s.label = flag(arg[8]);
  s.labelText = arg[9]->to_string();
  s.useBackground = flag(arg[10]);
  s.bottomLine = flag(arg[12]);
  s.bottomText = arg[13]->to_string();
  s.useOverlay = flag(arg[14]);
  s.opacity = arg[16]->to_float();
  s.mode = arg[17]->to_int();
  s.frameOffset = arg[18]->to_int();
  // Bitmaps whose flag is off are never looked at, so a script may pass anything there.
  if (s.useAlpha) s.alpha = requireBitmap(arg[1], _T("Alpha bitmap not supplied"));
  if (s.useBackground) s.background = requireBitmap(arg[11], _T("Background bitmap not supplied"));
  if (s.useOverlay) s.overlay = requireBitmap(arg[15], _T("Overlay bitmap not supplied"));
  return s;
}

long long currentFrame() {
  const int ticks = GetTicksPerFrame();
  return ticks > 0 ? GetCOREInterface()->GetTime() / ticks : 0;
}

// Row buffers of `width` pixels each: working, alpha, background and overlay.
struct CropRows {
  explicit CropRows(int width) : pixels(new (std::nothrow) BMM_Color_fl[4 * static_cast<size_t>(width)]()), width(width) {}
  BMM_Color_fl* row(int i) const { return pixels.get() + static_cast<size_t>(i) * static_cast<size_t>(width); }
  std::unique_ptr<BMM_Color_fl[]> pixels;
  int width;
};

void cropInto(const CropSettings& s, Bitmap* result) {
  StampLine top, bottom;
  if (s.topLine) top.glyphs = stampGlyphs(frameNumberText(currentFrame() + s.frameOffset) + (s.label ? " " + s.labelText : std::string()));
  if (s.bottomLine) bottom.glyphs = stampGlyphs(s.bottomText);

  CropRows rows(s.width);
  if (!rows.pixels) throw RuntimeError(_T("Out of memory for the rows of QZMCropBitmap"));
  BMM_Color_fl* work = rows.row(0);
  BMM_Color_fl* alpha = rows.row(1);
  BMM_Color_fl* background = rows.row(2);
  BMM_Color_fl* overlay = rows.row(3);
  // Background, overlay and bottom line belong to the pixel stage, which only the alpha flag or the
  // top line switches on.
  const bool pixelStage = s.useAlpha || s.topLine;
  // An overlay at opacity 0 ends each pixel before the overlay step, text included.
  const bool overlayEnds = s.useOverlay && s.opacity == 0.0f;

  for (int k = 0; k < s.height; ++k) {
    // A row past the largest int is outside every bitmap, as row -1 is.
    const long long wanted = static_cast<long long>(s.y) + k;
    const int sourceRow = wanted > INT_MAX ? -1 : static_cast<int>(wanted);
    readRow(s.source, s.x, sourceRow, s.width, work);
    if (pixelStage) {
      if (s.useAlpha) readRow(s.alpha, s.x, sourceRow, s.width, alpha);
      if (s.useBackground) readRow(s.background, 0, k, s.width, background);
      if (s.useOverlay) readRow(s.overlay, 0, k, s.width, overlay);
      if (s.useAlpha) takeAlpha(work, alpha, s.width);
      if (s.useBackground) overBackground(work, background, s.width);
      if (!overlayEnds) {
        if (s.useOverlay) blendOverlay(work, overlay, s.width, s.opacity, s.mode);
        stampTextRow(work, s.width, k, s.height, s.topLine ? &top : nullptr, s.bottomLine ? &bottom : nullptr);
      }
    }
    result->PutPixels(0, k, s.width, work);
  }
}

}  // namespace

def_visible_primitive(QZMCropBitmap, "QZMCropBitmap");
Value* QZMCropBitmap_cf(Value** arg_list, int count) {
  checkCount(_T("QZMCropBitmap"), 19, count);
  const CropSettings settings = readSettings(arg_list);
  ResultFrame frame;
  MAXBitMap* result = newResultBitmap(frame, settings.width, settings.height);
  if (!result) return undefined;
  cropInto(settings, result->bm);
  return frame.result(result);
}
