#include "bitmap.h"

#include "bitmap/image_formats.h"

#include <cstring>

BitmapInfo::BitmapInfo() = default;

BitmapInfo::BitmapInfo(const TCHAR* name) { SetName(name); }

int BitmapInfo::SetType(int t) {
  int old = type_;
  type_ = t;
  return old;
}

int BitmapInfo::SetWidth(int w) {
  int old = width_;
  width_ = w;
  return old;
}

int BitmapInfo::SetHeight(int h) {
  int old = height_;
  height_ = h;
  return old;
}

int BitmapInfo::SetFirstFrame(int f) {
  int old = firstFrame_;
  firstFrame_ = f;
  return old;
}

int BitmapInfo::SetLastFrame(int f) {
  int old = lastFrame_;
  lastFrame_ = f;
  return old;
}

void BitmapInfo::SetName(const TCHAR* n) { name_ = n ? n : ""; }

void BitmapInfo::SetDevice(const TCHAR* d) { device_ = d ? d : ""; }

DWORD BitmapInfo::SetFlags(DWORD f) {
  DWORD old = flags_;
  flags_ |= f;
  return old;
}

DWORD BitmapInfo::ResetFlags(DWORD f) {
  DWORD old = flags_;
  flags_ &= ~f;
  return old;
}

BOOL BitmapInfo::AllocPiData(DWORD size) {
  piData_.assign(size, 0);
  return TRUE;
}

BOOL BitmapInfo::CreateFmtSpecBlock() {
  const sim::ImageFileFormat* format = sim::formatForFile(name_);
  if (!format) {
    piData_.clear();
    return FALSE;
  }
  sim::ImageFileSettings s = sim::defaultSettings(*format, type_, TestFlags(MAP_HAS_ALPHA));
  piData_.resize(sizeof(s));
  std::memcpy(piData_.data(), &s, sizeof(s));
  device_ = format->device;
  return TRUE;
}

PBBitmap::~PBBitmap() {
  if (bm) bm->DeleteThis();
}
