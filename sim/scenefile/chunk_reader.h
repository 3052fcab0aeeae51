// The host's ILoad: reads chunks from bytes in memory. Every header and every read is checked
// against the chunk around it, so damaged or hostile bytes end in IO_ERROR, never in a read past
// the end or an allocation the file did not pay for. The first problem is remembered with the byte
// where it was found.
#pragma once

#include "ioapi.h"

#include <deque>
#include <string>
#include <utility>
#include <vector>

class ReferenceTarget;

namespace sim {

class HOST_API ChunkReader final : public ILoad {
 public:
  ChunkReader(const unsigned char* data, size_t size, size_t start);
  ~ChunkReader() override;

  IOResult OpenChunk() override;
  USHORT CurChunkID() override { return open_.empty() ? 0 : open_.back().id; }
  ChunkType CurChunkType() override;
  ULONGLONG CurChunkLength() override { return open_.empty() ? 0 : open_.back().end - open_.back().begin; }
  int CurChunkDepth() override { return static_cast<int>(open_.size()); }
  IOResult CloseChunk() override;
  USHORT PeekNextChunkID() override;
  IOResult Read(void* buf, ULONG nbytes, ULONG* nread) override;
  IOResult ReadWStringChunk(char** buf) override { return ReadCStringChunk(buf); }
  IOResult ReadCStringChunk(char** buf) override;
  void* GetAddr(int imaker) override;
  void RecordBackpatch(int imaker, void** patchThis, DWORD flags) override;
  void RegisterPostLoadCallback(PostLoadCallback* cb) override;

  // ---- host side ----
  // Bytes left unread in the open chunk (in the whole input when none is open).
  size_t remaining() const { return levelEnd() - pos_; }
  size_t position() const { return pos_; }
  // Bytes of the input from here to its end.
  size_t bytesToEnd() const { return size_ - pos_; }
  bool damaged() const { return damaged_; }
  size_t damagedAt() const { return damagedAt_; }
  // Records a problem the caller found in what it read (the first one counts).
  IOResult fail(size_t at);
  IOResult fail() { return fail(pos_); }
  template <class T> bool get(T& v) {
    ULONG n;
    return Read(&v, sizeof v, &n) == IO_OK;
  }
  // The content of the open chunk, unread.
  const unsigned char* rest() const { return data_ + pos_; }
  void skip(size_t n) { pos_ += n <= remaining() ? n : remaining(); }
  // Closes chunks a maker's Load left open, down to `depth`.
  void closeTo(int depth);
  // Where the reader stands, to come back to it (reading one chunk a second time).
  struct Mark {
    size_t pos;
    size_t depth;
  };
  Mark mark() const { return {pos_, open_.size()}; }
  void restore(const Mark& m);

  // An object's Load asks to be replaced by a stand-in (see stand_in.h); the loader takes the wish.
  void wantStandIn() { standIn_ = true; }
  bool takeStandInWish() { return std::exchange(standIn_, false); }

  // The loaded objects, by index, for GetAddr and backpatching.
  void setObjects(const std::vector<ReferenceTarget*>* objects) { objects_ = objects; }
  // Writes every recorded backpatch, then runs and frees the post-load callbacks.
  void finish();

 private:
  struct Open {
    USHORT id;
    bool container;
    size_t begin, end;
  };
  size_t levelEnd() const { return open_.empty() ? size_ : open_.back().end; }

  const unsigned char* data_;
  size_t size_;
  size_t pos_;
  std::vector<Open> open_;
  bool damaged_ = false;
  bool standIn_ = false;
  size_t damagedAt_ = 0;
  std::deque<std::string> strings_;
  const std::vector<ReferenceTarget*>* objects_ = nullptr;
  std::vector<std::pair<int, void**>> patches_;
  std::vector<PostLoadCallback*> callbacks_;
};

}  // namespace sim
