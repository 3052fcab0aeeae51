// The host's ISave: writes chunks into a byte buffer. Each chunk is a 2-byte id and an 8-byte
// length whose top bit marks a chunk that holds chunks; the length is filled in when the chunk ends.
#pragma once

#include "ioapi.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace sim {

using Bytes = std::vector<unsigned char>;

class HOST_API ChunkWriter final : public ISave {
 public:
  explicit ChunkWriter(Bytes& out) : out_(out) {}

  void BeginChunk(USHORT id) override;
  void EndChunk() override;
  int CurChunkDepth() override { return static_cast<int>(open_.size()); }
  IOResult Write(const void* buf, ULONG nbytes, ULONG* nwrit) override;
  IOResult WriteWString(const char* str) override { return WriteCString(str); }
  IOResult WriteCString(const char* str) override;
  int GetRefID(void* ptarg) override;

  // ---- host side ----
  // Where GetRefID finds the index of each saved object.
  void setRefIds(const std::unordered_map<const void*, int>* ids) { ids_ = ids; }
  // Bytes outside any chunk (the file's header).
  void writeRaw(const void* buf, size_t n);
  template <class T> void put(const T& v) { writeRaw(&v, sizeof v); }
  // Ends chunks a maker's Save left open, down to `depth`.
  void closeTo(int depth);
  // What went wrong: a chunk holding both bytes and chunks, or an EndChunk without a chunk.
  const std::string& error() const { return error_; }

 private:
  struct Open {
    size_t header;
    bool hasBytes = false;
    bool hasChunks = false;
  };
  Bytes& out_;
  std::vector<Open> open_;
  const std::unordered_map<const void*, int>* ids_ = nullptr;
  std::string error_;
};

}  // namespace sim
