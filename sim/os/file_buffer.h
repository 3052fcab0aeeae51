// Room for a whole file's bytes, not initialised. A big one asks the system for huge pages where it
// has them, so that reading a scene of tens of megabytes costs a handful of page faults rather than
// one for every 4 KB.
#pragma once

#include <cstddef>

namespace sim::os {

class FileBuffer {
 public:
  FileBuffer() = default;
  ~FileBuffer();
  FileBuffer(const FileBuffer&) = delete;
  FileBuffer& operator=(const FileBuffer&) = delete;

  // False when the memory is not there; the buffer is then empty.
  bool allocate(size_t size);
  unsigned char* data() const { return data_; }

 private:
  void release();
  unsigned char* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;
};

}  // namespace sim::os
