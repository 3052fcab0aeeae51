// What the image file module hands the host when it is loaded.
#pragma once

#include "bitmap.h"
#include "bitmap/image_files.h"

namespace sim {

struct ImageFileFunctions {
  Bitmap* (*read)(BitmapInfo& bi, BMMRES& status);
  BMMRES (*write)(const Bitmap& bm, const BitmapInfo& bi, const ImageFileTags& tags);
  bool (*readTags)(const std::string& fileName, ImageFileTags& tags, BMMRES& status);
};

// The module's one entry point, looked up by this name.
constexpr const char* kImageFileEntry = "qzmImageFileFunctions";
// The module's file, beside the host library.
#if defined(_WIN32)
constexpr const char* kImageFileModule = "qzmimagefiles.dll";
#else
constexpr const char* kImageFileModule = "libqzmimagefiles.so";
#endif

}  // namespace sim
