#include "scenefile/chunk_writer.h"

#include "scenefile/chunk_format.h"

#include <cstring>

ISave::~ISave() = default;

namespace sim {

void ChunkWriter::writeRaw(const void* buf, size_t n) {
  if (n == 0) return;
  const auto* b = static_cast<const unsigned char*>(buf);
  out_.insert(out_.end(), b, b + n);
}

void ChunkWriter::BeginChunk(USHORT id) {
  if (!open_.empty()) {
    Open& parent = open_.back();
    if (parent.hasBytes && error_.empty()) error_ = "a chunk holds both data and chunks";
    parent.hasChunks = true;
  }
  open_.push_back(Open{out_.size()});
  put(id);
  put(ULONGLONG(0));
}

void ChunkWriter::EndChunk() {
  if (open_.empty()) {
    if (error_.empty()) error_ = "a chunk was ended that was never begun";
    return;
  }
  const Open c = open_.back();
  open_.pop_back();
  ULONGLONG length = out_.size() - c.header - kChunkHeaderSize;
  if (c.hasChunks) length |= kContainerBit;
  std::memcpy(out_.data() + c.header + sizeof(USHORT), &length, sizeof length);
}

void ChunkWriter::closeTo(int depth) {
  while (CurChunkDepth() > depth) EndChunk();
}

IOResult ChunkWriter::Write(const void* buf, ULONG nbytes, ULONG* nwrit) {
  if (nwrit) *nwrit = 0;
  if (open_.empty() || (nbytes && !buf)) return IO_ERROR;
  Open& c = open_.back();
  if (nbytes) {
    if (c.hasChunks && error_.empty()) error_ = "a chunk holds both data and chunks";
    c.hasBytes = true;
  }
  writeRaw(buf, nbytes);
  if (nwrit) *nwrit = nbytes;
  return IO_OK;
}

IOResult ChunkWriter::WriteCString(const char* str) {
  const char* s = str ? str : "";
  ULONG n;
  return Write(s, static_cast<ULONG>(std::strlen(s) + 1), &n);
}

int ChunkWriter::GetRefID(void* ptarg) {
  if (!ptarg || !ids_) return -1;
  auto it = ids_->find(ptarg);
  return it == ids_->end() ? -1 : it->second;
}

}  // namespace sim
