// Helpers with which the host's own classes write their values as chunks and read them back.
// Values are plain bytes in the machine's order; texts are their bytes without a terminator (the
// chunk's length says where they end), so any byte, 0x01 included, comes back as it was.
#pragma once

#include "ioapi.h"

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace sim::io {

template <class T>
IOResult writeChunk(ISave* s, USHORT id, const T& v) {
  static_assert(std::is_trivially_copyable_v<T>);
  ULONG n;
  s->BeginChunk(id);
  IOResult r = s->Write(&v, sizeof v, &n);
  s->EndChunk();
  return r;
}

inline IOResult writeText(ISave* s, USHORT id, std::string_view text) {
  ULONG n;
  s->BeginChunk(id);
  IOResult r = s->Write(text.data(), static_cast<ULONG>(text.size()), &n);
  s->EndChunk();
  return r;
}

template <class T>
IOResult writeArray(ISave* s, USHORT id, const T* items, size_t count) {
  static_assert(std::is_trivially_copyable_v<T>);
  ULONG n;
  s->BeginChunk(id);
  IOResult r = s->Write(items, static_cast<ULONG>(count * sizeof(T)), &n);
  s->EndChunk();
  return r;
}

// Reads the open chunk's content as exactly one value.
template <class T>
IOResult read(ILoad* l, T& v) {
  static_assert(std::is_trivially_copyable_v<T>);
  if (l->CurChunkLength() != sizeof v) return IO_ERROR;
  ULONG n;
  return l->Read(&v, sizeof v, &n);
}

inline IOResult readText(ILoad* l, std::string& text) {
  std::string s(static_cast<size_t>(l->CurChunkLength()), '\0');
  ULONG n;
  if (l->Read(s.data(), static_cast<ULONG>(s.size()), &n) != IO_OK) return IO_ERROR;
  text = std::move(s);
  return IO_OK;
}

// The open chunk's content as an array; its length is already bounded by the file's.
template <class T>
IOResult readArray(ILoad* l, std::vector<T>& items) {
  static_assert(std::is_trivially_copyable_v<T>);
  const ULONGLONG len = l->CurChunkLength();
  if (len % sizeof(T) != 0 || len > 0xFFFFFFFFu) return IO_ERROR;
  std::vector<T> v(static_cast<size_t>(len / sizeof(T)));
  ULONG n;
  if (l->Read(v.data(), static_cast<ULONG>(len), &n) != IO_OK) return IO_ERROR;
  items = std::move(v);
  return IO_OK;
}

// Opens each chunk of the current level in turn and hands its id to `f`; stops at the first error.
template <class F>
IOResult forEachChunk(ILoad* l, F&& f) {
  IOResult r;
  while ((r = l->OpenChunk()) == IO_OK) {
    IOResult fr = f(l->CurChunkID());
    if (l->CloseChunk() != IO_OK || fr != IO_OK) return IO_ERROR;
  }
  return r == IO_END ? IO_OK : IO_ERROR;
}

}  // namespace sim::io
