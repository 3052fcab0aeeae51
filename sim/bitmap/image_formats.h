// The image file formats the host reads and writes, found by the file name's ending, and the
// settings a file is written with (the format-specific block of a BitmapInfo). This table holds
// in every build; whether files can really be read and written is the image file layer's answer
// (imageFilesAvailable).
#pragma once

#include "bitmap.h"

#include <cstdint>
#include <string_view>

namespace sim {

struct ImageFileFormat {
  const char* device;     // the handler's name, as BitmapInfo::Device shows it
  const char* endings;    // lower case, each with its dot, separated by spaces
  bool alpha;             // can store an alpha channel
  bool sixteenBit;        // can store 16 bits per channel
  bool floats;            // stores float channels (and only those)
  bool floatOption;       // can store float channels besides integer ones
};

// The format for a file name's ending (case-insensitive); null for an ending the host has no
// format for.
HOST_API const ImageFileFormat* formatForFile(std::string_view fileName);
// "PNG, JPEG, ..." for messages.
HOST_API const char* knownImageEndings();

// The format-specific block: how one file is written. Plain data, kept as the block's bytes.
struct ImageFileSettings {
  char device[16] = {};
  std::int32_t bitsPerChannel = 8;  // 8, 16, or 32 for floats
  std::int32_t alpha = 1;           // write an alpha channel
  std::int32_t quality = 95;        // JPEG quality, 1..100
};

// The settings a bitmap of `type` with or without alpha is written with in `format` by default:
// the type's depth where the format has it (16-bit types to 16 bits, float types to floats),
// otherwise the nearest the format has.
HOST_API ImageFileSettings defaultSettings(const ImageFileFormat& format, int type, bool alpha);
// The block's settings when it belongs to `format`, else the defaults.
HOST_API ImageFileSettings settingsFor(const BitmapInfo& bi, const ImageFileFormat& format, int type, bool alpha);

}  // namespace sim
