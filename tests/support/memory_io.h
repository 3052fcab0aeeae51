// ISave and ILoad over a byte buffer, for testing Save and Load of single objects. A chunk is its id
// (2 bytes), its length (4 bytes) and its contents, which are bytes or further chunks.
#pragma once

#include "ioapi.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace test {

class MemorySave : public ISave {
 public:
  void BeginChunk(USHORT id) override {
    put(&id, sizeof id);
    open_.push_back(bytes.size());
    ULONG length = 0;
    put(&length, sizeof length);
  }
  void EndChunk() override {
    if (open_.empty()) return;
    size_t at = open_.back();
    open_.pop_back();
    ULONG length = static_cast<ULONG>(bytes.size() - at - sizeof(ULONG));
    std::memcpy(bytes.data() + at, &length, sizeof length);
  }
  IOResult Write(const void* buf, ULONG nbytes, ULONG* nwrit) override {
    put(buf, nbytes);
    if (nwrit) *nwrit = nbytes;
    return IO_OK;
  }
  std::vector<unsigned char> bytes;

 private:
  void put(const void* p, size_t n) {
    const auto* c = static_cast<const unsigned char*>(p);
    bytes.insert(bytes.end(), c, c + n);
  }
  std::vector<size_t> open_;
};

class MemoryLoad : public ILoad {
 public:
  explicit MemoryLoad(std::vector<unsigned char> data) : bytes_(std::move(data)) { ends_.push_back(bytes_.size()); }
  IOResult OpenChunk() override {
    const size_t header = sizeof(USHORT) + sizeof(ULONG);
    if (pos_ >= ends_.back()) return IO_END;
    if (pos_ + header > ends_.back()) return IO_ERROR;
    std::memcpy(&id_, bytes_.data() + pos_, sizeof id_);
    ULONG length = 0;
    std::memcpy(&length, bytes_.data() + pos_ + sizeof id_, sizeof length);
    pos_ += header;
    if (length > ends_.back() - pos_) return IO_ERROR;
    ends_.push_back(pos_ + length);
    return IO_OK;
  }
  USHORT CurChunkID() override { return id_; }
  IOResult CloseChunk() override {
    if (ends_.size() < 2) return IO_ERROR;
    pos_ = ends_.back();
    ends_.pop_back();
    return IO_OK;
  }
  IOResult Read(void* buf, ULONG nbytes, ULONG* nread) override {
    size_t n = std::min<size_t>(nbytes, ends_.back() - pos_);
    std::memcpy(buf, bytes_.data() + pos_, n);
    pos_ += n;
    if (nread) *nread = static_cast<ULONG>(n);
    return n == nbytes ? IO_OK : IO_ERROR;
  }

 private:
  std::vector<unsigned char> bytes_;
  std::vector<size_t> ends_;
  size_t pos_ = 0;
  USHORT id_ = 0;
};

}  // namespace test
