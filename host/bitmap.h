// Bitmaps: images in the host's memory, their descriptions, and the manager that makes them.
//
// What every bitmap shares:
// - A BitmapInfo describes an image (type, size, frames, file name and device, flags); the bitmap
//   manager `TheManager` makes a Bitmap from one with Create, or from an image file with Load.
// - Pixels are kept as four floats (r, g, b, a) whatever the type says, so values above 1 and
//   below 0 survive; the type only decides how a file is written. Row 0 is the top row.
// - GetPixels and PutPixels move one run of `pixels` pixels of row y starting at column x,
//   buffer element i being column x + i. A run that reaches outside the bitmap moves only the part
//   inside (the buffer elements for columns outside are left alone) and the call answers how many
//   pixels it moved; a bitmap without storage moves none. The 64-bit form converts each channel to
//   0..65535 with clamping and rounding on the way out, and back by dividing on the way in.
#pragma once

#include "color.h"
#include "host_api.h"

#include <string>
#include <vector>

// ---- image types ---------------------------------------------------------------------------------
#define BMM_NO_TYPE 0
#define BMM_GRAY_8 3
#define BMM_GRAY_16 4
#define BMM_TRUE_32 6        // 8 bits per channel with alpha
#define BMM_TRUE_64 7        // 16 bits per channel with alpha
#define BMM_TRUE_24 8
#define BMM_TRUE_48 9
#define BMM_FLOAT_RGBA_32 17  // 32-bit float per channel with alpha
#define BMM_FLOAT_RGB_32 18

// ---- BitmapInfo flags ----------------------------------------------------------------------------
#define MAP_NOFLAGS 0
#define MAP_READY (1 << 0)
#define MAP_HAS_ALPHA (1 << 1)
#define MAP_ALPHA_PREMULTIPLIED (1 << 2)

// ---- frames and closing --------------------------------------------------------------------------
#define BMM_SINGLEFRAME (-2000000)
#define BMM_CLOSE_COMPLETE 0
#define BMM_CLOSE_ABANDON 1

// ---- results of loading and writing --------------------------------------------------------------
using BMMRES = unsigned short;
#define BMMRES_SUCCESS 0
#define BMMRES_ERRORTAKENCARE 1
#define BMMRES_FILENOTFOUND 2
#define BMMRES_MEMORYERROR 3
#define BMMRES_NODRIVER 4       // no image file support for this kind of file (or at all)
#define BMMRES_IOERROR 5
#define BMMRES_INVALIDFORMAT 6  // not an image file the host reads
#define BMMRES_CORRUPTFILE 7
#define BMMRES_BADFILENAME 8    // no file name, or one without a known image file ending
#define BMMRES_INVALIDUSAGE 9

// A pixel with 16-bit channels (0..65535).
struct BMM_Color_64 {
  WORD r = 0, g = 0, b = 0, a = 0;
  constexpr BMM_Color_64() = default;
  constexpr BMM_Color_64(WORD R, WORD G, WORD B, WORD A) : r(R), g(G), b(B), a(A) {}
};

// A pixel with float channels, 1.0 being full intensity.
struct BMM_Color_fl {
  float r = 0, g = 0, b = 0, a = 0;
  constexpr BMM_Color_fl() = default;
  constexpr BMM_Color_fl(float R, float G, float B, float A) : r(R), g(G), b(B), a(A) {}
  constexpr BMM_Color_fl(const AColor& c) : r(c.r), g(c.g), b(c.b), a(c.a) {}
  constexpr operator AColor() const { return AColor(r, g, b, a); }
};

class HOST_API BitmapInfo {
 public:
  BitmapInfo();
  explicit BitmapInfo(const TCHAR* name);

  int Type() const { return type_; }
  int SetType(int t);
  // Sizes are kept as given; the manager refuses to make a bitmap of a size below 1.
  int Width() const { return width_; }
  int Height() const { return height_; }
  int SetWidth(int w);
  int SetHeight(int h);
  int FirstFrame() const { return firstFrame_; }
  int LastFrame() const { return lastFrame_; }
  int SetFirstFrame(int f);
  int SetLastFrame(int f);
  // The file name (empty for an image that lives only in memory).
  const TCHAR* Name() const { return name_.c_str(); }
  const TCHAR* Filename() const { return name_.c_str(); }
  void SetName(const TCHAR* n);
  // The image file handler that reads and writes the file ("PNG", "OpenEXR", ...); set when a file
  // is loaded or its format block is made.
  const TCHAR* Device() const { return device_.c_str(); }
  void SetDevice(const TCHAR* d);
  // Flags are added with SetFlags and taken away with ResetFlags, as the host does.
  DWORD Flags() const { return flags_; }
  DWORD SetFlags(DWORD f);
  DWORD ResetFlags(DWORD f);
  BOOL TestFlags(DWORD f) const { return (flags_ & f) != 0; }
  DWORD GetCustomFlags() const { return customFlags_; }
  void SetCustomFlag(DWORD f) { customFlags_ = f; }

  // The format-specific block: the file handler's settings for writing this image (bit depth,
  // alpha, quality), made with the handler's defaults for the file name's ending. FALSE, and no
  // block, when the name has no ending the host writes. Writing uses the block when there is one.
  BOOL CreateFmtSpecBlock();
  void* GetPiData() { return piData_.empty() ? nullptr : piData_.data(); }
  const void* GetPiData() const { return piData_.empty() ? nullptr : piData_.data(); }
  DWORD GetPiDataSize() const { return static_cast<DWORD>(piData_.size()); }
  void ResetPiData() { piData_.clear(); }
  BOOL AllocPiData(DWORD size);

 private:
  int type_ = BMM_NO_TYPE;
  int width_ = 0, height_ = 0;
  int firstFrame_ = 0, lastFrame_ = 0;
  std::string name_, device_;
  DWORD flags_ = MAP_NOFLAGS;
  DWORD customFlags_ = 0;
  std::vector<unsigned char> piData_;
};

class HOST_API Bitmap {
 public:
  int Width() const { return width_; }
  int Height() const { return height_; }
  DWORD Flags() const { return flags_; }
  int HasAlpha() const { return (flags_ & MAP_HAS_ALPHA) != 0; }
  // The image type it was made with (BMM_TRUE_64, ...); decides the bit depth files get.
  int Type() const { return type_; }
  // Whether the bitmap still holds its pixels (DeleteStorage lets them go).
  bool HasStorage() const { return pixels_ != nullptr; }

  int GetPixels(int x, int y, int pixels, BMM_Color_64* ptr) const;
  int PutPixels(int x, int y, int pixels, const BMM_Color_64* ptr);
  int GetPixels(int x, int y, int pixels, BMM_Color_fl* ptr) const;
  int PutPixels(int x, int y, int pixels, const BMM_Color_fl* ptr);
  // Every pixel set to one colour; FALSE without storage.
  BOOL Fill(const BMM_Color_fl& c);
  // Frees the pixels; the bitmap keeps its size and moves nothing afterwards.
  int DeleteStorage();

  // Writing to a file: OpenOutput names the file (from `bi`), Write writes the whole image to it
  // (through a temporary file, so a failed write leaves an existing file as it was), Close ends
  // the output.
  BMMRES OpenOutput(BitmapInfo* bi);
  BMMRES Write(BitmapInfo* bi, DWORD frame = static_cast<DWORD>(BMM_SINGLEFRAME));
  int Close(BitmapInfo* bi, int flag = BMM_CLOSE_COMPLETE);

  void DeleteThis();

 private:
  Bitmap(int width, int height, int type, DWORD flags, float* pixels);
  ~Bitmap();
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  friend class BitmapFactory;  // the host's own image code: making bitmaps, whole rows

  int width_, height_, type_;
  DWORD flags_;
  float* pixels_;  // width * height * 4 floats, rows from the top; null without storage
  BitmapInfo* output_ = nullptr;  // a copy of what OpenOutput was given, until Close
};

class HOST_API BitmapManager {
 public:
  virtual ~BitmapManager() = default;
  // A new bitmap of bi's size and type, every pixel 0; null for a width or height below 1 or an
  // image too large to hold.
  virtual Bitmap* Create(BitmapInfo* bi) = 0;
  // Reads the image file bi names; fills in bi's size, type, device and alpha flag. Null on
  // failure, with the reason in *status.
  virtual Bitmap* Load(BitmapInfo* bi, BMMRES* status = nullptr) = 0;
};

HOST_API extern BitmapManager* TheManager;

// A bitmap as a parameter holds it: its description and, once loaded, the bitmap itself.
class HOST_API PBBitmap {
 public:
  PBBitmap() = default;
  explicit PBBitmap(const BitmapInfo& info) : bi(info) {}
  ~PBBitmap();
  PBBitmap(const PBBitmap&) = delete;
  PBBitmap& operator=(const PBBitmap&) = delete;
  // A copy of the description, without the bitmap.
  PBBitmap* Clone() const { return new PBBitmap(bi); }
  BitmapInfo bi;
  Bitmap* bm = nullptr;
};
