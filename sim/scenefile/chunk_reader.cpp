#include "scenefile/chunk_reader.h"

#include "ref.h"
#include "scenefile/chunk_format.h"

#include <cstring>

ILoad::~ILoad() = default;
PostLoadCallback::~PostLoadCallback() = default;

namespace sim {

ChunkReader::ChunkReader(const unsigned char* data, size_t size, size_t start)
    : data_(data), size_(size), pos_(start <= size ? start : size) {}

ChunkReader::~ChunkReader() {
  for (PostLoadCallback* cb : callbacks_) cb->DeleteThis();
}

IOResult ChunkReader::fail(size_t at) {
  if (!damaged_) {
    damaged_ = true;
    damagedAt_ = at;
  }
  return IO_ERROR;
}

IOResult ChunkReader::OpenChunk() {
  if (damaged_) return IO_ERROR;
  if (remaining() == 0) return IO_END;
  if (!open_.empty() && !open_.back().container) return fail();
  if (remaining() < kChunkHeaderSize || open_.size() >= static_cast<size_t>(kMaxChunkDepth)) return fail();
  USHORT id;
  ULONGLONG length;
  std::memcpy(&id, data_ + pos_, sizeof id);
  std::memcpy(&length, data_ + pos_ + sizeof id, sizeof length);
  const bool container = (length & kContainerBit) != 0;
  length &= ~kContainerBit;
  if (length > remaining() - kChunkHeaderSize) return fail();
  const size_t begin = pos_ + kChunkHeaderSize;
  open_.push_back(Open{id, container, begin, begin + static_cast<size_t>(length)});
  pos_ = begin;
  return IO_OK;
}

ChunkType ChunkReader::CurChunkType() {
  if (open_.empty()) return UNKNOWN_CHUNK;
  return open_.back().container ? CONTAINER_CHUNK : LINEAR_CHUNK;
}

IOResult ChunkReader::CloseChunk() {
  if (open_.empty()) return fail();
  pos_ = open_.back().end;
  open_.pop_back();
  return damaged_ ? IO_ERROR : IO_OK;
}

void ChunkReader::closeTo(int depth) {
  while (CurChunkDepth() > depth) CloseChunk();
}

void ChunkReader::restore(const Mark& m) {
  while (open_.size() > m.depth) open_.pop_back();
  pos_ = m.pos;
}

USHORT ChunkReader::PeekNextChunkID() {
  if (damaged_ || remaining() < kChunkHeaderSize || (!open_.empty() && !open_.back().container)) return 0;
  USHORT id;
  std::memcpy(&id, data_ + pos_, sizeof id);
  return id;
}

IOResult ChunkReader::Read(void* buf, ULONG nbytes, ULONG* nread) {
  if (nread) *nread = 0;
  if (damaged_) return IO_ERROR;
  if (open_.empty() || open_.back().container || nbytes > remaining() || (nbytes && !buf)) return fail();
  if (nbytes) std::memcpy(buf, data_ + pos_, nbytes);
  pos_ += nbytes;
  if (nread) *nread = nbytes;
  return IO_OK;
}

IOResult ChunkReader::ReadCStringChunk(char** buf) {
  if (buf) *buf = nullptr;
  if (damaged_ || !buf) return IO_ERROR;
  if (open_.empty() || open_.back().container) return fail();
  const size_t n = remaining();
  // The text ends with the null WriteCString wrote, and holds no other.
  if (n == 0 || data_[pos_ + n - 1] != 0 || std::memchr(data_ + pos_, 0, n) != data_ + pos_ + n - 1) return fail();
  strings_.emplace_back(reinterpret_cast<const char*>(data_ + pos_), n - 1);
  pos_ += n;
  *buf = strings_.back().data();
  return IO_OK;
}

void* ChunkReader::GetAddr(int imaker) {
  if (!objects_ || imaker < 0 || static_cast<size_t>(imaker) >= objects_->size()) return nullptr;
  return (*objects_)[static_cast<size_t>(imaker)];
}

void ChunkReader::RecordBackpatch(int imaker, void** patchThis, DWORD) {
  if (patchThis) patches_.emplace_back(imaker, patchThis);
}

void ChunkReader::RegisterPostLoadCallback(PostLoadCallback* cb) {
  if (cb) callbacks_.push_back(cb);
}

void ChunkReader::finish() {
  for (auto& [index, where] : patches_) *where = GetAddr(index);
  patches_.clear();
  // A callback may register further callbacks: run until none are left.
  for (size_t i = 0; i < callbacks_.size(); ++i) callbacks_[i]->proc(this);
  for (PostLoadCallback* cb : callbacks_) cb->DeleteThis();
  callbacks_.clear();
}

}  // namespace sim
