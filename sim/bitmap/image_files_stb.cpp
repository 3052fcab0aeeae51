// Image files through header libraries that build wherever the host does (the Windows build among
// them): stb's image headers read PNG, JPEG, Targa, BMP and Radiance HDR and write all but PNG;
// PNG is written here (image_files_stb_png.cpp) and OpenEXR goes through tinyexr
// (image_files_stb_exr.cpp). TIFF has no such library: this module says it has no driver for it.
//
// As with every image file module: pixel values pass through unchanged (alpha is never multiplied
// in or divided out), 8- and 16-bit files are converted with clamping and rounding, floats stay
// floats; a file's header is read and its size checked before its pixels; a save appears whole or
// not at all. The libraries are only handed bytes already in memory, and only the decoders of the
// formats above are built in.
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_HDR
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#define STB_IMAGE_IMPLEMENTATION
// The writer keeps its file functions: this version builds its HDR writer only with them.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "bitmap/image_file_module.h"
#include "bitmap/image_files_stb.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

namespace sim {
namespace stbfiles {

namespace fs = std::filesystem;

std::vector<std::uint16_t> integerPixels(const Bitmap& bm, int channels, float scale) {
  std::vector<std::uint16_t> out;
  out.reserve(size_t(bm.Width()) * size_t(bm.Height()) * size_t(channels));
  for (int y = 0; y < bm.Height(); ++y) {
    const float* src = BitmapFactory::row(bm, y);
    for (int x = 0; x < bm.Width(); ++x, src += 4)
      for (int c = 0; c < channels; ++c) out.push_back(static_cast<std::uint16_t>(quantize(src[c], scale)));
  }
  return out;
}

void describeRead(BitmapInfo& bi, const Bitmap& bm, const char* device) {
  bi.SetWidth(bm.Width());
  bi.SetHeight(bm.Height());
  bi.SetType(bm.Type());
  bi.SetDevice(device);
  bi.ResetFlags(MAP_HAS_ALPHA);
  if (bm.HasAlpha()) bi.SetFlags(MAP_HAS_ALPHA);
}

namespace {

bool startsWith(const Bytes& file, const char* magic, size_t n) {
  return file.size() >= n && std::memcmp(file.data(), magic, n) == 0;
}

bool isPng(const Bytes& f) { return startsWith(f, "\x89PNG\r\n\x1a\n", 8); }
bool isJpeg(const Bytes& f) { return startsWith(f, "\xff\xd8", 2); }
bool isTiff(const Bytes& f) { return startsWith(f, "II*\0", 4) || startsWith(f, "MM\0*", 4); }

// The name stb's decoders go by, as BitmapInfo::Device shows it; Targa has no signature and is
// what is left.
const char* deviceOf(const Bytes& f) {
  if (isPng(f)) return "png";
  if (isJpeg(f)) return "jpeg";
  if (startsWith(f, "BM", 2)) return "bmp";
  if (startsWith(f, "#?RADIANCE", 10) || startsWith(f, "#?RGBE", 6)) return "hdr";
  return "targa";
}

// The whole file; FILENOTFOUND when there is no such file, MEMORYERROR when it is larger than the
// decoders take.
bool readBytes(const std::string& name, Bytes& bytes, BMMRES& status) {
  std::error_code ec;
  const fs::path path(name);
  if (name.empty() || !fs::is_regular_file(path, ec)) {
    status = BMMRES_FILENOTFOUND;
    return false;
  }
  const auto size = fs::file_size(path, ec);
  if (ec || size > std::uintmax_t(INT_MAX)) {
    status = ec ? BMMRES_FILENOTFOUND : BMMRES_MEMORYERROR;
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  bytes.resize(size_t(size));
  if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size))) {
    status = BMMRES_FILENOTFOUND;
    return false;
  }
  return true;
}

// What a file that none of the decoders takes is: damaged when its name promises an image.
BMMRES unreadable(const std::string& name, const Bytes& file) {
  if (isTiff(file)) return BMMRES_NODRIVER;
  return formatForFile(name) ? BMMRES_CORRUPTFILE : BMMRES_INVALIDFORMAT;
}

// A level becomes a float as the host's own bitmaps make it (by the reciprocal, not by division, which
// can differ in the last bit), so that a picture saved and read back compares equal to itself.
constexpr float kFrom16 = 1.0f / 65535.0f;
constexpr float kFrom8 = 1.0f / 255.0f;

struct StbFree {
  void operator()(void* p) const { stbi_image_free(p); }
};

Bitmap* readStb(const std::string& name, const Bytes& file, BitmapInfo& bi, BMMRES& status) {
  const auto* data = file.data();
  const int len = int(file.size());
  int w = 0, h = 0, channels = 0;
  if (!stbi_info_from_memory(data, len, &w, &h, &channels) || channels < 1 || channels > 4) {
    status = unreadable(name, file);
    return nullptr;
  }
  if (w < 1 || h < 1) {
    status = BMMRES_CORRUPTFILE;
    return nullptr;
  }
  if (!BitmapFactory::sizeAllowed(w, h)) {
    status = BMMRES_MEMORYERROR;
    return nullptr;
  }
  // Radiance HDR, Targa and BMP pack at most about a hundred pixels into a byte (runs of 127 or 128,
  // or 1-bit rows); a header that claims more is damaged. stb would fill the missing rows from
  // nothing, one pixel at a time, for as long as the claimed size takes.
  const std::string device = deviceOf(file);
  if ((device == "hdr" || device == "targa" || device == "bmp") && double(w) * h > double(file.size()) * 128.0) {
    status = BMMRES_CORRUPTFILE;
    return nullptr;
  }
  if (device == "hdr" && !hdrRowsWhole(file, w, h)) {
    status = BMMRES_CORRUPTFILE;
    return nullptr;
  }
  Bitmap* bm = nullptr;
  int got = 0;
  if (stbi_is_hdr_from_memory(data, len)) {
    std::unique_ptr<float, StbFree> px(stbi_loadf_from_memory(data, len, &w, &h, &got, 0));
    if (px) bm = makeBitmap(w, h, got, BMM_FLOAT_RGBA_32, [&](size_t i) { return px.get()[i]; });
  } else if (stbi_is_16_bit_from_memory(data, len)) {
    std::unique_ptr<stbi_us, StbFree> px(stbi_load_16_from_memory(data, len, &w, &h, &got, 0));
    if (px) bm = makeBitmap(w, h, got, BMM_TRUE_64, [&](size_t i) { return px.get()[i] * kFrom16; });
  } else {
    std::unique_ptr<stbi_uc, StbFree> px(stbi_load_from_memory(data, len, &w, &h, &got, 0));
    if (px) bm = makeBitmap(w, h, got, BMM_TRUE_32, [&](size_t i) { return px.get()[i] * kFrom8; });
  }
  if (!bm) {
    // The header was sound and the size allowed: what failed is the data behind it.
    status = BMMRES_CORRUPTFILE;
    return nullptr;
  }
  describeRead(bi, *bm, device.c_str());
  status = BMMRES_SUCCESS;
  return bm;
}

Bitmap* readFile(BitmapInfo& bi, BMMRES& status) {
  const std::string name = bi.Name();
  Bytes file;
  if (!readBytes(name, file, status)) return nullptr;
  if (isExr(file)) return readExr(file, bi, status);
  return readStb(name, file, bi, status);
}

void appendTo(void* context, void* data, int size) {
  auto* out = static_cast<Bytes*>(context);
  const auto* p = static_cast<const unsigned char*>(data);
  out->insert(out->end(), p, p + size);
}

// A JPEG keeps its description as a comment right after the start marker.
void putJpegComment(Bytes& jpeg, const std::string& text) {
  const size_t n = std::min<size_t>(text.size(), 65533);
  Bytes segment = {0xff, 0xfe, static_cast<unsigned char>((n + 2) >> 8), static_cast<unsigned char>(n + 2)};
  segment.insert(segment.end(), text.begin(), text.begin() + std::ptrdiff_t(n));
  jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
}

// A Targa keeps its description as the image id, up to 255 bytes, right after the 18-byte header.
void putTargaId(Bytes& tga, const std::string& text) {
  const size_t n = std::min<size_t>(text.size(), 255);
  tga[0] = static_cast<unsigned char>(n);
  tga.insert(tga.begin() + 18, text.begin(), text.begin() + std::ptrdiff_t(n));
}

std::string description(const ImageFileTags& tags) {
  for (const auto& [name, value] : tags)
    if (name == "ImageDescription") return value;
  return std::string();
}

BMMRES encode(const Bitmap& bm, const ImageFileSettings& s, const ImageFileTags& tags, Bytes& out) {
  const std::string device = s.device;
  const int w = bm.Width(), h = bm.Height();
  if (device == "PNG") return encodePng(bm, s, tags, out) ? BMMRES_SUCCESS : BMMRES_IOERROR;
  if (device == "OpenEXR") return encodeExr(bm, s.alpha != 0, tags, out);
  if (device == "TIFF") return BMMRES_NODRIVER;
  int ok = 0;
  if (device == "Radiance HDR") {
    std::vector<float> rgb;
    rgb.reserve(size_t(w) * size_t(h) * 3);
    for (int y = 0; y < h; ++y) {
      const float* src = BitmapFactory::row(bm, y);
      for (int x = 0; x < w; ++x)
        for (int c = 0; c < 3; ++c) rgb.push_back(src[x * 4 + c] > 0.0f ? src[x * 4 + c] : 0.0f);
    }
    ok = stbi_write_hdr_to_func(appendTo, &out, w, h, 3, rgb.data());
    return ok ? BMMRES_SUCCESS : BMMRES_IOERROR;
  }
  const int channels = s.alpha ? 4 : 3;
  const std::vector<std::uint16_t> wide = integerPixels(bm, channels, 255.0f);
  const std::vector<unsigned char> px(wide.begin(), wide.end());
  const std::string text = description(tags);
  if (device == "JPEG") {
    ok = stbi_write_jpg_to_func(appendTo, &out, w, h, 3, px.data(), s.quality);
    if (ok && !text.empty()) putJpegComment(out, text);
  } else if (device == "Targa") {
    ok = stbi_write_tga_to_func(appendTo, &out, w, h, channels, px.data());
    if (ok && !text.empty()) putTargaId(out, text);
  } else if (device == "BMP") {
    ok = stbi_write_bmp_to_func(appendTo, &out, w, h, channels, px.data());
  } else {
    return BMMRES_NODRIVER;
  }
  return ok ? BMMRES_SUCCESS : BMMRES_IOERROR;
}

fs::path temporaryBeside(const fs::path& target) {
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path tmp = target;
  tmp += ".partial-" + std::to_string(static_cast<long long>(stamp));
  return tmp;
}

// The bytes go to a temporary file beside the target, which then takes its name.
BMMRES replaceFile(const std::string& target, const Bytes& bytes) {
  const fs::path targetPath(target);
  const fs::path tmp = temporaryBeside(targetPath);
  bool ok;
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    ok = out && out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size())) && out.flush();
  }
  std::error_code ec;
  if (ok) {
    fs::rename(tmp, targetPath, ec);
    ok = !ec;
  }
  if (!ok) fs::remove(tmp, ec);
  return ok ? BMMRES_SUCCESS : BMMRES_IOERROR;
}

BMMRES writeImage(const Bitmap& bm, const BitmapInfo& bi, const ImageFileTags& tags) {
  const std::string target = bi.Name();
  const ImageFileFormat* format = formatForFile(target);
  if (!format) return BMMRES_BADFILENAME;
  if (!BitmapFactory::row(bm, 0)) return BMMRES_INVALIDUSAGE;
  const ImageFileSettings s = settingsFor(bi, *format, bm.Type(), bm.HasAlpha() != 0);
  Bytes bytes;
  const BMMRES encoded = encode(bm, s, tags, bytes);
  return encoded == BMMRES_SUCCESS ? replaceFile(target, bytes) : encoded;
}

// Text kept in JPEG comments (up to the image data).
void jpegTags(const Bytes& f, ImageFileTags& tags) {
  size_t at = 2;
  while (at + 4 <= f.size() && f[at] == 0xff) {
    const unsigned marker = f[at + 1];
    if (marker == 0xd9 || marker == 0xda) return;  // end of image, start of scan
    const size_t length = size_t(f[at + 2]) << 8 | f[at + 3];
    if (length < 2 || at + 2 + length > f.size()) return;
    if (marker == 0xfe)
      tags.emplace_back("ImageDescription", std::string(reinterpret_cast<const char*>(&f[at + 4]), length - 2));
    at += 2 + length;
  }
}

bool readTags(const std::string& name, ImageFileTags& tags, BMMRES& status) {
  Bytes file;
  if (!readBytes(name, file, status)) return false;
  tags.clear();
  if (isExr(file)) return exrTags(file, tags, status);
  int w = 0, h = 0, channels = 0;
  if (!stbi_info_from_memory(file.data(), int(file.size()), &w, &h, &channels)) {
    status = unreadable(name, file);
    return false;
  }
  const std::string device = deviceOf(file);
  if (device == "png") pngTags(file, tags);
  else if (device == "jpeg") jpegTags(file, tags);
  else if (device == "targa" && file.size() >= 18u + file[0] && file[0] > 0)
    tags.emplace_back("ImageDescription", std::string(reinterpret_cast<const char*>(&file[18]), file[0]));
  status = BMMRES_SUCCESS;
  return true;
}

}  // namespace
}  // namespace stbfiles
}  // namespace sim

PLUGIN_EXPORT const sim::ImageFileFunctions* qzmImageFileFunctions() {
  static const sim::ImageFileFunctions functions{sim::stbfiles::readFile, sim::stbfiles::writeImage,
                                                 sim::stbfiles::readTags};
  return &functions;
}
