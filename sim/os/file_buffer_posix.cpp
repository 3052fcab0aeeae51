#include "os/file_buffer.h"

#include <new>
#include <sys/mman.h>

namespace sim::os {

namespace {
// Below this, the allocator's own pages do as well.
constexpr size_t kMapFrom = size_t(4) << 20;
}  // namespace

FileBuffer::~FileBuffer() { release(); }

void FileBuffer::release() {
  if (mapped_) munmap(data_, size_);
  else delete[] data_;
  data_ = nullptr;
  size_ = 0;
  mapped_ = false;
}

bool FileBuffer::allocate(size_t size) {
  release();
  if (size >= kMapFrom) {
    void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p != MAP_FAILED) {
#ifdef MADV_HUGEPAGE
      madvise(p, size, MADV_HUGEPAGE);  // a hint: without huge pages the buffer works the same
#endif
      data_ = static_cast<unsigned char*>(p);
      size_ = size;
      mapped_ = true;
      return true;
    }
  }
  data_ = new (std::nothrow) unsigned char[size ? size : 1];
  size_ = size;
  return data_ != nullptr;
}

}  // namespace sim::os
