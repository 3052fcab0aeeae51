#include "script/arena.h"

#include <cstdlib>
#include <cstring>

namespace sim::script {

Arena::~Arena() {
  while (blocks_) {
    Block* next = blocks_->next;
    std::free(blocks_);
    blocks_ = next;
  }
}

// A new block: twice the last one up to a megabyte, or as large as one request needs.
void* Arena::grow(std::size_t size, std::size_t align) {
  std::size_t want = size + align + sizeof(Block);
  std::size_t blockSize = want > nextBlock_ ? want : nextBlock_;
  if (nextBlock_ < (std::size_t(1) << 20)) nextBlock_ *= 2;
  void* raw = std::malloc(blockSize);
  if (!raw) throw std::bad_alloc();
  auto* b = static_cast<Block*>(raw);
  b->next = blocks_;
  blocks_ = b;
  cur_ = reinterpret_cast<char*>(b + 1);
  end_ = static_cast<char*>(raw) + blockSize;
  return allocate(size, align);
}

std::string_view Arena::copy(std::string_view text) {
  if (text.empty()) return {};
  char* p = static_cast<char*>(allocate(text.size(), 1));
  std::memcpy(p, text.data(), text.size());
  return {p, text.size()};
}

}  // namespace sim::script
