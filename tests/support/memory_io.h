// The host's own chunk writer and reader over a byte buffer, for testing Save and Load of single
// objects without a scene file around them.
#pragma once

#include "scenefile/chunk_reader.h"
#include "scenefile/chunk_writer.h"

#include <vector>

namespace test {

class MemorySave : public ISave {
 public:
  MemorySave() : writer_(bytes) {}
  void BeginChunk(USHORT id) override { writer_.BeginChunk(id); }
  void EndChunk() override { writer_.EndChunk(); }
  int CurChunkDepth() override { return writer_.CurChunkDepth(); }
  IOResult Write(const void* buf, ULONG nbytes, ULONG* nwrit) override { return writer_.Write(buf, nbytes, nwrit); }
  IOResult WriteWString(const char* str) override { return writer_.WriteWString(str); }
  IOResult WriteCString(const char* str) override { return writer_.WriteCString(str); }
  int GetRefID(void* ptarg) override { return writer_.GetRefID(ptarg); }
  sim::Bytes bytes;

 private:
  sim::ChunkWriter writer_;
};

// Reads what a MemorySave wrote (copied, so the reader owns its bytes).
class MemoryLoad {
 public:
  explicit MemoryLoad(std::vector<unsigned char> data) : bytes_(std::move(data)), reader_(bytes_.data(), bytes_.size(), 0) {}
  ILoad* reader() { return &reader_; }

 private:
  std::vector<unsigned char> bytes_;
  sim::ChunkReader reader_;
};

}  // namespace test
