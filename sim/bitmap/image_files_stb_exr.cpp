// OpenEXR files through tinyexr: floats kept as floats, half channels widened, text attributes as
// tags. The header is read and its size checked before any pixel is, as for every other format.
#define TINYEXR_IMPLEMENTATION
#define TINYEXR_USE_MINIZ 0
#define TINYEXR_USE_THREAD 0
#define TINYEXR_USE_OPENMP 0
#include "bitmap/image_files_stb.h"

#include <tinyexr.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace sim::stbfiles {
namespace {

struct Header {
  EXRHeader h;
  Header() { InitEXRHeader(&h); }
  ~Header() { FreeEXRHeader(&h); }
  Header(const Header&) = delete;
  Header& operator=(const Header&) = delete;
};

struct Image {
  EXRImage i;
  Image() { InitEXRImage(&i); }
  ~Image() { FreeEXRImage(&i); }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
};

// Parses the version and header; the reason in `status` when the file is not a single-part image.
bool parseHeader(const Bytes& file, Header& header, BMMRES& status) {
  EXRVersion version;
  if (ParseEXRVersionFromMemory(&version, file.data(), file.size()) != TINYEXR_SUCCESS) {
    status = BMMRES_CORRUPTFILE;
    return false;
  }
  if (version.multipart || version.non_image) {
    status = BMMRES_INVALIDFORMAT;
    return false;
  }
  const char* err = nullptr;
  if (ParseEXRHeaderFromMemory(&header.h, &version, file.data(), file.size(), &err) != TINYEXR_SUCCESS) {
    if (err) FreeEXRErrorMessage(err);
    status = BMMRES_CORRUPTFILE;
    return false;
  }
  return true;
}

int channelNamed(const EXRHeader& h, const char* name) {
  for (int c = 0; c < h.num_channels; ++c)
    if (std::strcmp(h.channels[c].name, name) == 0) return c;
  return -1;
}

// The file's channels that make the bitmap's, in order: R, G, B and A; or Y (or else the first
// channel) as grey, and A.
std::vector<int> pickChannels(const EXRHeader& h) {
  const int r = channelNamed(h, "R"), g = channelNamed(h, "G"), b = channelNamed(h, "B"), a = channelNamed(h, "A");
  std::vector<int> picked;
  if (r >= 0 && g >= 0 && b >= 0) picked = {r, g, b};
  else picked = {channelNamed(h, "Y") >= 0 ? channelNamed(h, "Y") : 0};
  if (a >= 0) picked.push_back(a);
  return picked;
}

float sampleOf(const unsigned char* plane, int pixelType, size_t i) {
  if (pixelType == TINYEXR_PIXELTYPE_UINT) return float(reinterpret_cast<const unsigned int*>(plane)[i]);
  return reinterpret_cast<const float*>(plane)[i];
}

}  // namespace

bool isExr(const Bytes& file) {
  return file.size() >= 4 && file[0] == 0x76 && file[1] == 0x2f && file[2] == 0x31 && file[3] == 0x01;
}

Bitmap* readExr(const Bytes& file, BitmapInfo& bi, BMMRES& status) {
  Header header;
  if (!parseHeader(file, header, status)) return nullptr;
  EXRHeader& h = header.h;
  const std::int64_t w = std::int64_t(h.data_window.max_x) - h.data_window.min_x + 1;
  const std::int64_t ht = std::int64_t(h.data_window.max_y) - h.data_window.min_y + 1;
  if (h.num_channels < 1 || w < 1 || ht < 1) {
    status = BMMRES_CORRUPTFILE;
    return nullptr;
  }
  if (w > BitmapFactory::kMaxSide || ht > BitmapFactory::kMaxSide || !BitmapFactory::sizeAllowed(int(w), int(ht))) {
    status = BMMRES_MEMORYERROR;
    return nullptr;
  }
  for (int c = 0; c < h.num_channels; ++c)
    if (h.pixel_types[c] == TINYEXR_PIXELTYPE_HALF) h.requested_pixel_types[c] = TINYEXR_PIXELTYPE_FLOAT;
  Image image;
  const char* err = nullptr;
  if (LoadEXRImageFromMemory(&image.i, &h, file.data(), file.size(), &err) != TINYEXR_SUCCESS) {
    if (err) FreeEXRErrorMessage(err);
    // A load that fails has already freed what it decoded, leaving the pointers to it behind.
    InitEXRImage(&image.i);
    status = BMMRES_CORRUPTFILE;
    return nullptr;
  }
  if (image.i.width != int(w) || image.i.height != int(ht)) {
    status = BMMRES_CORRUPTFILE;
    return nullptr;
  }
  const std::vector<int> picked = pickChannels(h);
  const int channels = int(picked.size());
  // Whole planes of the picked channels, top row first, then spread into the bitmap.
  std::vector<float> packed(size_t(w) * size_t(ht) * size_t(channels));
  auto put = [&](int x, int y, int k, float v) { packed[(size_t(y) * size_t(w) + size_t(x)) * size_t(channels) + size_t(k)] = v; };
  if (!image.i.tiles) {
    for (int k = 0; k < channels; ++k)
      for (int y = 0; y < ht; ++y)
        for (int x = 0; x < w; ++x)
          put(x, y, k, sampleOf(image.i.images[picked[k]], h.requested_pixel_types[picked[k]], size_t(y) * size_t(w) + size_t(x)));
  } else {
    for (int t = 0; t < image.i.num_tiles; ++t) {
      const EXRTile& tile = image.i.tiles[t];
      const std::int64_t x0 = std::int64_t(tile.offset_x) * h.tile_size_x, y0 = std::int64_t(tile.offset_y) * h.tile_size_y;
      for (int k = 0; k < channels; ++k)
        for (int ty = 0; ty < tile.height; ++ty)
          for (int tx = 0; tx < tile.width; ++tx)
            if (x0 + tx < w && y0 + ty < ht)
              put(int(x0 + tx), int(y0 + ty), k,
                  sampleOf(tile.images[picked[k]], h.requested_pixel_types[picked[k]], size_t(ty) * size_t(tile.width) + size_t(tx)));
    }
  }
  Bitmap* bm = makeBitmap(int(w), int(ht), channels, BMM_FLOAT_RGBA_32, [&](size_t i) { return packed[i]; });
  if (!bm) {
    status = BMMRES_MEMORYERROR;
    return nullptr;
  }
  describeRead(bi, *bm, "openexr");
  status = BMMRES_SUCCESS;
  return bm;
}

BMMRES encodeExr(const Bitmap& bm, bool alpha, const ImageFileTags& tags, Bytes& out) {
  const int w = bm.Width(), h = bm.Height();
  const int n = alpha ? 4 : 3;
  // Channels go in the order of their names, as readers expect: A, B, G, R.
  const char* names[4] = {"A", "B", "G", "R"};
  const int source[4] = {3, 2, 1, 0};
  const int first = alpha ? 0 : 1;
  std::vector<std::vector<float>> planes(size_t(n), std::vector<float>(size_t(w) * size_t(h)));
  std::vector<unsigned char*> planePointers;
  std::vector<EXRChannelInfo> infos(static_cast<size_t>(n));
  std::vector<int> types(size_t(n), TINYEXR_PIXELTYPE_FLOAT);
  for (int k = 0; k < n; ++k) {
    for (int y = 0; y < h; ++y) {
      const float* src = BitmapFactory::row(bm, y);
      for (int x = 0; x < w; ++x) planes[size_t(k)][size_t(y) * size_t(w) + size_t(x)] = src[x * 4 + source[first + k]];
    }
    planePointers.push_back(reinterpret_cast<unsigned char*>(planes[size_t(k)].data()));
    std::memset(&infos[size_t(k)], 0, sizeof(EXRChannelInfo));
    std::strcpy(infos[size_t(k)].name, names[first + k]);
  }
  std::vector<EXRAttribute> attributes;
  for (const auto& [name, value] : tags) {
    EXRAttribute a;
    std::memset(&a, 0, sizeof(a));
    std::strncpy(a.name, name.c_str(), sizeof(a.name) - 1);
    std::strcpy(a.type, "string");
    a.value = reinterpret_cast<unsigned char*>(const_cast<char*>(value.data()));
    a.size = static_cast<int>(value.size());
    if (a.name[0]) attributes.push_back(a);
  }
  EXRImage image;
  InitEXRImage(&image);
  image.images = planePointers.data();
  image.width = w;
  image.height = h;
  image.num_channels = n;
  EXRHeader header;
  InitEXRHeader(&header);
  header.num_channels = n;
  header.channels = infos.data();
  header.pixel_types = types.data();
  header.requested_pixel_types = types.data();
  header.compression_type = TINYEXR_COMPRESSIONTYPE_ZIP;
  header.num_custom_attributes = static_cast<int>(attributes.size());
  header.custom_attributes = attributes.empty() ? nullptr : attributes.data();
  unsigned char* memory = nullptr;
  const char* err = nullptr;
  // Neither the header nor the image owns what it points to here: they are not freed through tinyexr.
  const size_t size = SaveEXRImageToMemory(&image, &header, &memory, &err);
  if (err) FreeEXRErrorMessage(err);
  if (size == 0 || !memory) {
    std::free(memory);
    return BMMRES_IOERROR;
  }
  out.assign(memory, memory + size);
  std::free(memory);
  return BMMRES_SUCCESS;
}

bool exrTags(const Bytes& file, ImageFileTags& tags, BMMRES& status) {
  Header header;
  if (!parseHeader(file, header, status)) return false;
  for (int i = 0; i < header.h.num_custom_attributes; ++i) {
    const EXRAttribute& a = header.h.custom_attributes[i];
    if (std::strcmp(a.type, "string") == 0 && a.size >= 0)
      tags.emplace_back(a.name, std::string(reinterpret_cast<const char*>(a.value), size_t(a.size)));
  }
  status = BMMRES_SUCCESS;
  return true;
}

}  // namespace sim::stbfiles
