// Image files through OpenImageIO. Pixel values pass through unchanged: alpha is never
// multiplied in or divided out (files that store it unassociated are read and written that way),
// 8- and 16-bit files are converted here with clamping and rounding, floats are kept as floats.
//
// Built as a module of its own that the host loads on the first image file (image_files_module.cpp):
// OpenImageIO brings a few hundred libraries with it, and loading them at every start of the host
// cost more than most scripts take to run.
#include "bitmap/bitmap_factory.h"
#include "bitmap/image_file_module.h"
#include "bitmap/image_formats.h"
#include "os/quiet_stderr.h"

#include <OpenImageIO/imageio.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace sim {
namespace {

namespace fs = std::filesystem;
using OIIO::TypeDesc;

// The host runs on one thread; OpenImageIO and OpenEXR keep to as few as they can.
void configureOnce() {
  static const bool done = [] {
    OIIO::attribute("threads", 1);
    OIIO::attribute("exr_threads", 1);
    return true;
  }();
  (void)done;
}

int typeForFormat(TypeDesc t) {
  switch (t.basetype) {
    case TypeDesc::UINT8:
    case TypeDesc::INT8: return BMM_TRUE_32;
    case TypeDesc::UINT16:
    case TypeDesc::INT16: return BMM_TRUE_64;
    default: return BMM_FLOAT_RGBA_32;
  }
}

// Spreads `channels` floats per pixel, packed at the start of `pixels`, into four per pixel. Goes
// backwards, so that no value is overwritten before it is read.
void expandToRgba(float* pixels, size_t count, int channels) {
  for (size_t i = count; i-- > 0;) {
    const float* src = pixels + i * size_t(channels);
    float p[4];
    if (channels < 3) {
      p[0] = p[1] = p[2] = src[0];
      p[3] = channels == 2 ? src[1] : 1.0f;
    } else {
      p[0] = src[0];
      p[1] = src[1];
      p[2] = src[2];
      p[3] = 1.0f;
    }
    std::copy(p, p + 4, pixels + i * 4);
  }
}

template <class T>
T quantize(float v, float scale) {
  if (!(v > 0.0f)) return 0;
  if (v >= 1.0f) return static_cast<T>(scale);
  return static_cast<T>(v * scale + 0.5f);
}

// One row of float RGBA in the file's channel count and depth.
template <class T>
void convertRow(const float* src, int width, int channels, float scale, std::vector<unsigned char>& out) {
  out.resize(size_t(width) * size_t(channels) * sizeof(T));
  auto* dst = reinterpret_cast<T*>(out.data());
  for (int x = 0; x < width; ++x, src += 4)
    for (int c = 0; c < channels; ++c) *dst++ = quantize<T>(src[c], scale);
}

fs::path temporaryBeside(const fs::path& target) {
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path tmp = target;
  tmp += ".partial-" + std::to_string(static_cast<long long>(stamp));
  return tmp;
}

BMMRES writeFile(const Bitmap& bm, const std::string& target, const fs::path& tmp, const ImageFileSettings& s,
                 const ImageFileTags& tags) {
  auto out = OIIO::ImageOutput::create(target);
  if (!out) return BMMRES_BADFILENAME;
  const int channels = s.alpha ? 4 : 3;
  TypeDesc type = s.bitsPerChannel == 32 ? TypeDesc::FLOAT : s.bitsPerChannel == 16 ? TypeDesc::UINT16 : TypeDesc::UINT8;
  OIIO::ImageSpec spec(bm.Width(), bm.Height(), channels, type);
  if (s.alpha) {
    spec.alpha_channel = 3;
    spec.attribute("oiio:UnassociatedAlpha", 1);
  }
  if (std::string(s.device) == "JPEG") spec.attribute("Compression", "jpeg:" + std::to_string(s.quality));
  for (const auto& [name, value] : tags) spec.attribute(name, value);
  if (!out->open(tmp.string(), spec)) return BMMRES_IOERROR;
  std::vector<unsigned char> row;
  std::vector<float> floats;
  bool ok = true;
  for (int y = 0; ok && y < bm.Height(); ++y) {
    const float* src = BitmapFactory::row(bm, y);
    if (type == TypeDesc::FLOAT) {
      if (channels == 4) {
        ok = out->write_scanline(y, 0, TypeDesc::FLOAT, src);
        continue;
      }
      floats.resize(size_t(bm.Width()) * 3);
      for (int x = 0; x < bm.Width(); ++x) std::copy(src + x * 4, src + x * 4 + 3, floats.begin() + x * 3);
      ok = out->write_scanline(y, 0, TypeDesc::FLOAT, floats.data());
    } else if (type == TypeDesc::UINT16) {
      convertRow<std::uint16_t>(src, bm.Width(), channels, 65535.0f, row);
      ok = out->write_scanline(y, 0, TypeDesc::UINT16, row.data());
    } else {
      convertRow<std::uint8_t>(src, bm.Width(), channels, 255.0f, row);
      ok = out->write_scanline(y, 0, TypeDesc::UINT8, row.data());
    }
  }
  ok = out->close() && ok;
  return ok ? BMMRES_SUCCESS : BMMRES_IOERROR;
}

Bitmap* readFile(BitmapInfo& bi, BMMRES& status) {
  configureOnce();
  os::QuietStderr quiet;
  const std::string name = bi.Name();
  std::error_code ec;
  if (!fs::is_regular_file(fs::path(name), ec)) {
    status = BMMRES_FILENOTFOUND;
    return nullptr;
  }
  OIIO::ImageSpec config;
  config.attribute("oiio:UnassociatedAlpha", 1);
  auto in = OIIO::ImageInput::open(name, &config);
  if (!in) {
    (void)OIIO::geterror();  // read, so it does not pile up
    // A file whose ending promises an image but that does not open as one is damaged.
    status = formatForFile(name) ? BMMRES_CORRUPTFILE : BMMRES_INVALIDFORMAT;
    return nullptr;
  }
  const OIIO::ImageSpec& spec = in->spec();
  if (spec.nchannels < 1 || spec.depth > 1) {
    status = BMMRES_INVALIDFORMAT;
    return nullptr;
  }
  if (spec.width < 1 || spec.height < 1) {
    status = BMMRES_CORRUPTFILE;
    return nullptr;
  }
  if (!BitmapFactory::sizeAllowed(spec.width, spec.height)) {
    status = BMMRES_MEMORYERROR;
    return nullptr;
  }
  const int channels = std::min(spec.nchannels, 4);
  const bool alpha = channels == 2 || channels == 4;
  const int type = typeForFormat(spec.format);
  Bitmap* bm = BitmapFactory::make(spec.width, spec.height, type, alpha ? MAP_HAS_ALPHA : 0);
  if (!bm) {
    status = BMMRES_MEMORYERROR;
    return nullptr;
  }
  float* pixels = BitmapFactory::row(*bm, 0);
  // The file's channels go packed to the front of the bitmap's storage and are spread out after.
  bool ok = in->read_image(0, 0, 0, channels, TypeDesc::FLOAT, pixels);
  const std::string device = in->format_name();
  in->close();
  if (!ok) {
    (void)in->geterror();
    bm->DeleteThis();
    status = BMMRES_CORRUPTFILE;
    return nullptr;
  }
  if (channels != 4) expandToRgba(pixels, size_t(spec.width) * size_t(spec.height), channels);
  bi.SetWidth(spec.width);
  bi.SetHeight(spec.height);
  bi.SetType(type);
  bi.SetDevice(device.c_str());
  bi.ResetFlags(MAP_HAS_ALPHA);
  if (alpha) bi.SetFlags(MAP_HAS_ALPHA);
  status = BMMRES_SUCCESS;
  return bm;
}

BMMRES writeImage(const Bitmap& bm, const BitmapInfo& bi, const ImageFileTags& tags) {
  configureOnce();
  os::QuietStderr quiet;
  const std::string target = bi.Name();
  const ImageFileFormat* format = formatForFile(target);
  if (!format) return BMMRES_BADFILENAME;
  if (!BitmapFactory::row(bm, 0)) return BMMRES_INVALIDUSAGE;
  ImageFileSettings s = settingsFor(bi, *format, bm.Type(), bm.HasAlpha() != 0);
  fs::path targetPath = fs::path(target);
  fs::path tmp = temporaryBeside(targetPath);
  BMMRES result = writeFile(bm, target, tmp, s, tags);
  (void)OIIO::geterror();
  std::error_code ec;
  if (result == BMMRES_SUCCESS) {
    fs::rename(tmp, targetPath, ec);
    if (ec) result = BMMRES_IOERROR;
  }
  if (result != BMMRES_SUCCESS) fs::remove(tmp, ec);
  return result;
}

bool readTags(const std::string& name, ImageFileTags& tags, BMMRES& status) {
  configureOnce();
  os::QuietStderr quiet;
  std::error_code ec;
  if (!fs::is_regular_file(fs::path(name), ec)) {
    status = BMMRES_FILENOTFOUND;
    return false;
  }
  auto in = OIIO::ImageInput::open(name);
  if (!in) {
    (void)OIIO::geterror();
    status = formatForFile(name) ? BMMRES_CORRUPTFILE : BMMRES_INVALIDFORMAT;
    return false;
  }
  tags.clear();
  for (const OIIO::ParamValue& p : in->spec().extra_attribs)
    if (p.type() == TypeDesc::STRING) tags.emplace_back(p.name().string(), p.get_string());
  in->close();
  status = BMMRES_SUCCESS;
  return true;
}

}  // namespace
}  // namespace sim

extern "C" __attribute__((visibility("default"))) const sim::ImageFileFunctions* qzmImageFileFunctions() {
  static const sim::ImageFileFunctions functions{sim::readFile, sim::writeImage, sim::readTags};
  return &functions;
}
