// Reading and writing image files. Built on OpenImageIO where the build has it
// (image_files_oiio.cpp); elsewhere every call answers BMMRES_NODRIVER (image_files_none.cpp).
#pragma once

#include "bitmap.h"

#include <string>
#include <utility>
#include <vector>

namespace sim {

// Whether this build reads and writes image files at all.
HOST_API bool imageFilesAvailable();

// Reads bi's file into a new bitmap of float RGBA pixels (grey images fill r, g and b; images
// without alpha get alpha 1). Fills in bi's size, type (8-bit files BMM_TRUE_32, 16-bit
// BMM_TRUE_64, float BMM_FLOAT_RGBA_32), device and alpha flag. Null on failure, with the reason
// in `status`.
Bitmap* readImageFile(BitmapInfo& bi, BMMRES& status);

// Writes the whole bitmap to bi's file in the format of the name's ending, with bi's format block
// or the defaults for the bitmap's type. The file appears complete or not at all: the image goes to
// a temporary file beside it, which then takes the name.
BMMRES writeImageFile(const Bitmap& bm, const BitmapInfo& bi);

// Text kept in an image file beside its pixels, as (name, value). PNG and OpenEXR keep each pair
// as an attribute of its own; TIFF, JPEG and Targa keep only "ImageDescription"; BMP and Radiance
// HDR keep none. The pixels are written exactly as without them.
using ImageFileTags = std::vector<std::pair<std::string, std::string>>;
HOST_API BMMRES writeImageFile(const Bitmap& bm, const BitmapInfo& bi, const ImageFileTags& tags);
// The text attributes an image file holds (those of its format's own, such as "Software", too);
// false, with the reason in `status`, when the file cannot be read.
HOST_API bool readImageFileTags(const std::string& fileName, ImageFileTags& tags, BMMRES& status);

// The reason in words, for script errors and Listener lines ("file not found", ...).
HOST_API const char* imageFileErrorText(BMMRES status);

}  // namespace sim
