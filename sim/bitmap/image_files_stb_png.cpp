// PNG files as the host writes them, and the text they keep. stb reads every PNG; writing is done
// here because the host needs 16-bit files and text chunks, which stb's writer has not.
#include "bitmap/image_files_stb.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace sim::stbfiles {
namespace {

void put32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
}

std::uint32_t get32(const unsigned char* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

void putChunk(Bytes& out, const char* type, const Bytes& data) {
  put32(out, static_cast<std::uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  put32(out, static_cast<std::uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// A keyword is 1 to 79 Latin-1 characters; values that are not plain ASCII go as UTF-8 (iTXt).
void putText(Bytes& out, const std::string& name, const std::string& value) {
  std::string key = name.substr(0, 79);
  if (key.empty()) return;
  const bool ascii = std::all_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  Bytes data(key.begin(), key.end());
  data.push_back(0);
  if (!ascii) data.insert(data.end(), {0, 0, 0, 0});  // not compressed, no language, no translated keyword
  data.insert(data.end(), value.begin(), value.end());
  putChunk(out, ascii ? "tEXt" : "iTXt", data);
}

bool inflateAll(const unsigned char* p, size_t n, std::string& out) {
  // Text chunks are small; a bound keeps a crafted one from asking for gigabytes.
  constexpr size_t kMaxText = size_t(1) << 24;
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = const_cast<unsigned char*>(p);
  z.avail_in = static_cast<uInt>(n);
  unsigned char buf[4096];
  int rc = Z_OK;
  while (rc == Z_OK && out.size() < kMaxText) {
    z.next_out = buf;
    z.avail_out = sizeof(buf);
    rc = inflate(&z, Z_NO_FLUSH);
    out.append(reinterpret_cast<char*>(buf), sizeof(buf) - z.avail_out);
    if (rc == Z_BUF_ERROR && z.avail_in == 0) break;
  }
  inflateEnd(&z);
  return rc == Z_STREAM_END;
}

}  // namespace

bool encodePng(const Bitmap& bm, const ImageFileSettings& s, const ImageFileTags& tags, Bytes& out) {
  const int w = bm.Width(), h = bm.Height();
  const int channels = s.alpha ? 4 : 3;
  const bool sixteen = s.bitsPerChannel == 16;
  const std::vector<std::uint16_t> pixels = integerPixels(bm, channels, sixteen ? 65535.0f : 255.0f);
  // Each row: the filter byte (none), then the samples, 16-bit ones most significant byte first.
  const size_t rowBytes = size_t(w) * size_t(channels) * (sixteen ? 2 : 1);
  Bytes raw;
  raw.reserve((rowBytes + 1) * size_t(h));
  size_t i = 0;
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);
    for (size_t k = 0; k < size_t(w) * size_t(channels); ++k, ++i) {
      if (sixteen) raw.push_back(static_cast<unsigned char>(pixels[i] >> 8));
      raw.push_back(static_cast<unsigned char>(pixels[i]));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK) return false;
  packed.resize(packedSize);

  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  out.assign(kSignature, kSignature + 8);
  Bytes header;
  put32(header, static_cast<std::uint32_t>(w));
  put32(header, static_cast<std::uint32_t>(h));
  header.push_back(sixteen ? 16 : 8);
  header.push_back(s.alpha ? 6 : 2);  // RGBA or RGB
  header.insert(header.end(), {0, 0, 0});
  putChunk(out, "IHDR", header);
  for (const auto& [name, value] : tags) putText(out, name, value);
  putChunk(out, "IDAT", packed);
  putChunk(out, "IEND", Bytes());
  return true;
}

void pngTags(const Bytes& file, ImageFileTags& tags) {
  size_t at = 8;
  while (at + 12 <= file.size()) {
    const std::uint32_t length = get32(&file[at]);
    if (length > file.size() - at - 12) return;
    const char* type = reinterpret_cast<const char*>(&file[at + 4]);
    const unsigned char* data = &file[at + 8];
    const unsigned char* end = data + length;
    const unsigned char* nul = std::find(data, end, 0);
    if (nul != end && nul != data) {
      std::string key(data, nul);
      const unsigned char* rest = nul + 1;
      if (std::memcmp(type, "tEXt", 4) == 0) {
        tags.emplace_back(key, std::string(rest, end));
      } else if (std::memcmp(type, "zTXt", 4) == 0 && rest < end) {
        std::string value;
        if (inflateAll(rest + 1, size_t(end - rest - 1), value)) tags.emplace_back(key, value);
      } else if (std::memcmp(type, "iTXt", 4) == 0 && end - rest >= 2) {
        const bool compressed = rest[0] != 0;
        // Past the language tag and the translated keyword, each ended by a zero byte.
        const unsigned char* text = rest + 2;
        for (int skip = 0; skip < 2 && text; ++skip) {
          const unsigned char* zero = std::find(text, end, 0);
          text = zero == end ? nullptr : zero + 1;
        }
        if (text) {
          std::string value;
          if (!compressed) tags.emplace_back(key, std::string(text, end));
          else if (inflateAll(text, size_t(end - text), value)) tags.emplace_back(key, value);
        }
      }
    }
    if (std::memcmp(type, "IEND", 4) == 0) return;
    at += 12 + size_t(length);
  }
}

}  // namespace sim::stbfiles
