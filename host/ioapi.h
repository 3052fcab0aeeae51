// Scene file chunks as a plug-in's Save and Load see them: a plug-in writes its own data as nested
// chunks, each named by a 16-bit id, and reads them back in the order written.
#pragma once

#include "host_api.h"
#include "ioresult.h"

using USHORT = unsigned short;

class HOST_API ISave {
 public:
  virtual ~ISave() = default;
  virtual void BeginChunk(USHORT id) = 0;
  virtual void EndChunk() = 0;
  // Writes `nbytes` bytes; `nwrit` gets the number written.
  virtual IOResult Write(const void* buf, ULONG nbytes, ULONG* nwrit) = 0;
};

class HOST_API ILoad {
 public:
  virtual ~ILoad() = default;
  // Enters the next chunk of the current level: IO_OK, or IO_END when the level has no more.
  virtual IOResult OpenChunk() = 0;
  // The id of the chunk last opened.
  virtual USHORT CurChunkID() = 0;
  // Leaves the open chunk, skipping what was not read of it.
  virtual IOResult CloseChunk() = 0;
  // Reads up to `nbytes` bytes of the open chunk; `nread` gets the number read. Reading past the
  // chunk's end is IO_ERROR.
  virtual IOResult Read(void* buf, ULONG nbytes, ULONG* nread) = 0;
};
