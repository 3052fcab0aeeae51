// QZMCropBitmap with every step on (alpha, background, overlay in mode 0 and mode 4, both lines of
// text) and QZMStereoBitmap in mode 0, on 3840 x 2160 float images, called from script as the pass
// manager calls them. Baselines in the same run:
//   (a) memcpy of the bytes each one reads and writes, row by row through row buffers (four images
//       read and one written for the crop, two read and one written for the stereo pair), once into
//       an existing image and once into a new one, as the functions answer with a new bitmap;
//   (b) OpenImageIO's ImageBufAlgo, single-threaded, doing the nearest chain: crop, the alpha taken
//       from the matte's green channel, over the background, the overlay at half opacity over that,
//       two lines of text; for the stereo pair, the two lumas put into red and green-blue.
// Goals: within 2 x of (a), faster than (b).
//
//   image_stamp_bench [PLUGIN_DIR]   (default: the build's plug-in folder)
// OpenImageIO first: the host's script headers define macros (is_kind ...) that its headers use as
// names.
#ifdef QZM_BENCH_OIIO
#include <OpenImageIO/imagebuf.h>
#include <OpenImageIO/imagebufalgo.h>
#endif

#include "bitmap.h"
#include "core/host_session.h"
#include "maxscript/maxscript.h"
#include "script/runtime.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 3840, kHeight = 2160;
constexpr size_t kPixels = size_t(kWidth) * kHeight;
constexpr size_t kRowBytes = size_t(kWidth) * sizeof(BMM_Color_fl);

double seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

template <class F>
double bestOf(int runs, F f) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    auto start = Clock::now();
    f();
    best = std::min(best, seconds(start));
  }
  return best;
}

// Pixels with some variety: colours up to a little over 1, alphas spread over 0..1 with runs of
// exactly 0 and 1, as a rendered image with a matte has.
std::vector<BMM_Color_fl> pattern(unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> value(0.0f, 1.2f);
  std::vector<BMM_Color_fl> row(kWidth);
  for (int x = 0; x < kWidth; ++x) {
    float a = (x / 64) % 3 == 0 ? 0.0f : (x / 64) % 3 == 1 ? 1.0f : std::min(value(random), 1.0f);
    row[size_t(x)] = BMM_Color_fl(value(random), value(random), value(random), a);
  }
  return row;
}

// A script global `name` holding a 3840 x 2160 bitmap filled with the pattern; its rows for the
// baselines in `copy`.
Bitmap* scriptImage(const char* name, unsigned seed, std::vector<BMM_Color_fl>& copy) {
  std::string script = std::string(name) + " = bitmap " + std::to_string(kWidth) + " " + std::to_string(kHeight);
  ExecuteMAXScriptScript(script.c_str(), FALSE);
  Bitmap* bm = sim::rt::Runtime::get().getGlobal(name)->to_bitmap();
  std::vector<BMM_Color_fl> row = pattern(seed);
  copy.resize(kPixels);
  for (int y = 0; y < kHeight; ++y) {
    std::rotate(row.begin(), row.begin() + 7, row.end());
    bm->PutPixels(0, y, kWidth, row.data());
    std::memcpy(static_cast<void*>(copy.data() + size_t(y) * kWidth), row.data(), kRowBytes);
  }
  return bm;
}

// Baseline (a): `reads` images copied row by row into row buffers, one row buffer copied into the
// destination.
double memcpyRows(const std::vector<const std::vector<BMM_Color_fl>*>& reads, bool newDestination) {
  std::vector<BMM_Color_fl> rows(reads.size() * kWidth);
  std::unique_ptr<BMM_Color_fl[]> kept(new BMM_Color_fl[kPixels]);
  return bestOf(5, [&] {
    std::unique_ptr<BMM_Color_fl[]> fresh;
    BMM_Color_fl* dst = kept.get();
    if (newDestination) dst = (fresh = std::unique_ptr<BMM_Color_fl[]>(new BMM_Color_fl[kPixels]())).get();
    for (int y = 0; y < kHeight; ++y) {
      for (size_t i = 0; i < reads.size(); ++i)
        std::memcpy(static_cast<void*>(rows.data() + i * kWidth), reads[i]->data() + size_t(y) * kWidth, kRowBytes);
      std::memcpy(static_cast<void*>(dst + size_t(y) * kWidth), rows.data(), kRowBytes);
    }
    volatile float sink = dst[kPixels / 2].r;
    (void)sink;
  });
}

#ifdef QZM_BENCH_OIIO
OIIO::ImageBuf oiioImage(const std::vector<BMM_Color_fl>& pixels) {
  OIIO::ImageSpec spec(kWidth, kHeight, 4, OIIO::TypeDesc::FLOAT);
  spec.alpha_channel = 3;
  OIIO::ImageBuf buf(spec);
  buf.set_pixels(OIIO::ROI::All(), OIIO::TypeDesc::FLOAT, pixels.data());
  return buf;
}

// The same font size as our cells are high; false when OpenImageIO has no font to draw with.
bool oiioText(OIIO::ImageBuf& image) {
  bool top = OIIO::ImageBufAlgo::render_text(image, 5, 13, "0012 Beauty pass", 12, "DejaVuSansMono", 1.0f,
                                             OIIO::ImageBufAlgo::TextAlignX::Left,
                                             OIIO::ImageBufAlgo::TextAlignY::Baseline, 0, {}, 1);
  bool bottom = OIIO::ImageBufAlgo::render_text(image, 5, kHeight - 3, "Shot 12 / take 3", 12, "DejaVuSansMono",
                                                1.0f, OIIO::ImageBufAlgo::TextAlignX::Left,
                                                OIIO::ImageBufAlgo::TextAlignY::Baseline, 0, {}, 1);
  return top && bottom;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  std::ostringstream problems;
  if (sim::startHost(argc > 1 ? argv[1] : QZM_PLUGIN_DIR, problems) == 0) {
    std::cerr << "image_stamp_bench: no plug-ins loaded\n" << problems.str();
    return 1;
  }
  std::vector<BMM_Color_fl> src, matte, bg, ov;
  scriptImage("src", 1, src);
  scriptImage("matte", 2, matte);
  scriptImage("bg", 3, bg);
  scriptImage("ov", 4, ov);
  ExecuteMAXScriptScript("sliderTime = 12", FALSE);

  auto cropScript = [](int mode) {
    return "r = undefined; r = QZMCropBitmap src matte 0 0 3840 2160 1 1 1 \"Beauty pass\" 1 bg 1 "
           "\"Shot 12 / take 3\" 1 ov 0.5 " +
           std::to_string(mode) + " 0";
  };
  const std::string crop0 = cropScript(0), crop4 = cropScript(4);
  const char* stereo = "s = undefined; s = QZMStereoBitmap src bg 0";
  double ours0 = bestOf(5, [&] { ExecuteMAXScriptScript(crop0.c_str(), FALSE); });
  double ours4 = bestOf(5, [&] { ExecuteMAXScriptScript(crop4.c_str(), FALSE); });
  double oursStereo = bestOf(5, [&] { ExecuteMAXScriptScript(stereo, FALSE); });
  Value* made = sim::rt::Runtime::get().getGlobal("r");
  if (!made || !is_bitmap(made)) {
    std::cerr << "image_stamp_bench: QZMCropBitmap made no bitmap\n";
    return 1;
  }

  // What making the new result costs by itself: the host's Create of a zeroed 3840 x 2160 bitmap.
  const char* create = "n = undefined; n = bitmap 3840 2160";
  double creating = bestOf(5, [&] { ExecuteMAXScriptScript(create, FALSE); });

  double copyCrop = memcpyRows({&src, &matte, &bg, &ov}, false);
  double copyCropNew = memcpyRows({&src, &matte, &bg, &ov}, true);
  double copyStereo = memcpyRows({&src, &bg}, false);
  double copyStereoNew = memcpyRows({&src, &bg}, true);

  std::printf("3840 x 2160 float RGBA, best of 5, single thread\n");
  std::printf("memcpy, crop's bytes (4 read, 1 written):     %8.2f ms into an existing image, %8.2f ms into a new one\n",
              copyCrop * 1e3, copyCropNew * 1e3);
  std::printf("memcpy, stereo's bytes (2 read, 1 written):   %8.2f ms into an existing image, %8.2f ms into a new one\n",
              copyStereo * 1e3, copyStereoNew * 1e3);
  std::printf("the host making a new bitmap of that size:    %8.2f ms\n", creating * 1e3);
  std::printf("QZMCropBitmap, every step, overlay mode 0:    %8.2f ms  (%.2f x memcpy into a new image, %.2f x into an existing one; goal: within 2 x)\n",
              ours0 * 1e3, ours0 / copyCropNew, ours0 / copyCrop);
  std::printf("QZMCropBitmap, every step, overlay mode 4:    %8.2f ms  (%.2f x, %.2f x)\n", ours4 * 1e3,
              ours4 / copyCropNew, ours4 / copyCrop);
  std::printf("QZMStereoBitmap, mode 0:                      %8.2f ms  (%.2f x, %.2f x)\n", oursStereo * 1e3,
              oursStereo / copyStereoNew, oursStereo / copyStereo);

#ifdef QZM_BENCH_OIIO
  OIIO::attribute("threads", 1);
  OIIO::ImageBuf iSrc = oiioImage(src), iMatte = oiioImage(matte), iBg = oiioImage(bg), iOv = oiioImage(ov);
  const OIIO::ROI roi(0, kWidth, 0, kHeight, 0, 1, 0, 4);
  bool textDrawn = true;
  double oiioCrop = bestOf(5, [&] {
    namespace IBA = OIIO::ImageBufAlgo;
    OIIO::ImageBuf cut = IBA::crop(iSrc, roi, 1);
    OIIO::ImageBuf cutMatte = IBA::crop(iMatte, roi, 1);
    const int rgb[] = {0, 1, 2}, green[] = {1};
    OIIO::ImageBuf fg = IBA::channel_append(IBA::channels(cut, 3, rgb, {}, {}, false, 1),
                                            IBA::channels(cutMatte, 1, green, {}, {}, false, 1), {}, 1);
    fg.specmod().alpha_channel = 3;
    OIIO::ImageBuf comp = IBA::over(fg, iBg, {}, 1);
    OIIO::ImageBuf overlay = IBA::mul(iOv, 0.5f, {}, 1);
    OIIO::ImageBuf out = IBA::over(overlay, comp, {}, 1);
    textDrawn = oiioText(out) && textDrawn;
  });
  double oiioStereo = bestOf(5, [&] {
    namespace IBA = OIIO::ImageBufAlgo;
    const float weights[] = {0.299f, 0.587f, 0.114f, 0.0f};
    OIIO::ImageBuf lumaL = IBA::channel_sum(iSrc, weights, {}, 1);
    OIIO::ImageBuf lumaR = IBA::channel_sum(iBg, weights, {}, 1);
    const int alpha[] = {3};
    OIIO::ImageBuf rg = IBA::channel_append(lumaL, lumaR, {}, 1);
    OIIO::ImageBuf rgb = IBA::channel_append(rg, lumaR, {}, 1);
    OIIO::ImageBuf out = IBA::channel_append(rgb, IBA::channels(iSrc, 1, alpha, {}, {}, false, 1), {}, 1);
  });
  std::printf("ImageBufAlgo crop, alpha, over, over, text:   %8.2f ms  (ours mode 0 is %.1f x faster, mode 4 %.1f x)%s\n",
              oiioCrop * 1e3, oiioCrop / ours0, oiioCrop / ours4, textDrawn ? "" : "  [no font found: text not drawn]");
  std::printf("ImageBufAlgo two lumas into one image:        %8.2f ms  (ours is %.1f x faster)\n", oiioStereo * 1e3,
              oiioStereo / oursStereo);
#else
  std::printf("(built without OpenImageIO: no ImageBufAlgo comparison)\n");
#endif
  sim::shutdownHost();
  return 0;
}
