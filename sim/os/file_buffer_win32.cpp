#include "os/file_buffer.h"

#include <new>

namespace sim::os {

// Large pages on Windows need a privilege users do not have: the heap serves.
FileBuffer::~FileBuffer() { release(); }

void FileBuffer::release() {
  delete[] data_;
  data_ = nullptr;
  size_ = 0;
}

bool FileBuffer::allocate(size_t size) {
  release();
  data_ = new (std::nothrow) unsigned char[size ? size : 1];
  size_ = size;
  return data_ != nullptr;
}

}  // namespace sim::os
