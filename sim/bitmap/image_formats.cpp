#include "bitmap/image_formats.h"

#include <cctype>
#include <cstring>
#include <string>

namespace sim {
namespace {

const ImageFileFormat kFormats[] = {
    // device           endings                 alpha  16-bit floats float option
    {"PNG", ".png", true, true, false, false},
    {"JPEG", ".jpg .jpeg .jpe", false, false, false, false},
    {"TIFF", ".tif .tiff", true, true, false, true},
    {"Targa", ".tga .vda .icb .vst", true, false, false, false},
    {"BMP", ".bmp", true, false, false, false},
    {"Radiance HDR", ".hdr .pic", false, false, true, false},
    {"OpenEXR", ".exr", true, false, true, false},
};

bool hasEnding(const char* endings, const std::string& ending) {
  for (const char* p = endings; *p;) {
    const char* end = std::strchr(p, ' ');
    size_t n = end ? size_t(end - p) : std::strlen(p);
    if (ending.size() == n && ending.compare(0, n, p, n) == 0) return true;
    if (!end) break;
    p = end + 1;
  }
  return false;
}

bool isSixteenBitType(int type) { return type == BMM_TRUE_64 || type == BMM_TRUE_48 || type == BMM_GRAY_16; }
bool isFloatType(int type) { return type == BMM_FLOAT_RGBA_32 || type == BMM_FLOAT_RGB_32; }

}  // namespace

const ImageFileFormat* formatForFile(std::string_view fileName) {
  size_t dot = fileName.find_last_of('.');
  size_t slash = fileName.find_last_of("/\\");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return nullptr;
  std::string ending(fileName.substr(dot));
  for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const ImageFileFormat& f : kFormats)
    if (hasEnding(f.endings, ending)) return &f;
  return nullptr;
}

const char* knownImageEndings() { return ".png .jpg .tif .tga .bmp .hdr .exr"; }

ImageFileSettings defaultSettings(const ImageFileFormat& format, int type, bool alpha) {
  ImageFileSettings s;
  std::strncpy(s.device, format.device, sizeof(s.device) - 1);
  if (format.floats || (format.floatOption && isFloatType(type))) s.bitsPerChannel = 32;
  else if (format.sixteenBit && (isSixteenBitType(type) || isFloatType(type))) s.bitsPerChannel = 16;
  else s.bitsPerChannel = 8;
  s.alpha = alpha && format.alpha ? 1 : 0;
  return s;
}

ImageFileSettings settingsFor(const BitmapInfo& bi, const ImageFileFormat& format, int type, bool alpha) {
  ImageFileSettings s;
  if (bi.GetPiDataSize() == sizeof(s)) {
    std::memcpy(&s, bi.GetPiData(), sizeof(s));
    s.device[sizeof(s.device) - 1] = 0;
    // A block made for another format (the name changed since) says nothing about this one.
    if (std::strcmp(s.device, format.device) == 0) {
      bool depthFits = s.bitsPerChannel == 8 || (s.bitsPerChannel == 16 && format.sixteenBit) ||
                       (s.bitsPerChannel == 32 && (format.floats || format.floatOption));
      if (format.floats) s.bitsPerChannel = 32;
      else if (!depthFits) s.bitsPerChannel = 8;
      s.alpha = s.alpha && format.alpha ? 1 : 0;
      if (s.quality < 1 || s.quality > 100) s.quality = 95;
      return s;
    }
  }
  return defaultSettings(format, type, alpha);
}

}  // namespace sim
