// ISave and ILoad: how a reference maker writes its own data into a scene file and reads it back.
//
// A scene file is made of chunks: an id, a length, and either data or further chunks (never both),
// nested to any depth. The host opens a chunk of its own around each maker before calling its
// Save, so a maker writes a sequence of chunks of its own ids; Load meets the same chunks in the
// same order. A maker never saves its references: the host saves them by index and sets them again
// after every maker was loaded (RemapRefOnLoad can move or drop one).
//
// Reading is always bounded: Read never goes past the end of the open chunk (it answers IO_ERROR
// and reads nothing), and OpenChunk refuses a chunk whose length does not fit in the one around it.
#pragma once

#include "host_api.h"
#include "ioresult.h"

#include <cstdint>

using USHORT = unsigned short;
using ULONGLONG = std::uint64_t;

// Kinds of chunk CurChunkType answers.
enum ChunkType { UNKNOWN_CHUNK = 0, LINEAR_CHUNK = 1, CONTAINER_CHUNK = 2 };

class HOST_API ISave {
 public:
  virtual ~ISave();
  virtual void BeginChunk(USHORT id) = 0;
  virtual void EndChunk() = 0;
  virtual int CurChunkDepth() = 0;
  // Writes bytes into the open chunk; a chunk that holds chunks takes no bytes of its own.
  virtual IOResult Write(const void* buf, ULONG nbytes, ULONG* nwrit) = 0;
  // Writes the text and its terminating null. The host's text is 8-bit, so the wide and the plain
  // form write the same bytes.
  virtual IOResult WriteWString(const char* str) = 0;
  virtual IOResult WriteCString(const char* str) = 0;
  // The index under which the file stores a reference target (for makers that keep plain pointers
  // to other makers); -1 for null or for an object the file does not hold.
  virtual int GetRefID(void* ptarg) = 0;
};

// Run once every maker of the file is loaded and its references are set, in the order registered.
class HOST_API PostLoadCallback {
 public:
  virtual ~PostLoadCallback();
  virtual void proc(class ILoad* iload) = 0;
  virtual void DeleteThis() { delete this; }
};

class HOST_API ILoad {
 public:
  virtual ~ILoad();
  // Opens the next chunk inside the current one: IO_OK, IO_END when there is none left, IO_ERROR
  // when the file is damaged there.
  virtual IOResult OpenChunk() = 0;
  virtual USHORT CurChunkID() = 0;
  virtual ChunkType CurChunkType() = 0;
  // Bytes of the open chunk's content (without its header).
  virtual ULONGLONG CurChunkLength() = 0;
  virtual int CurChunkDepth() = 0;
  // Closes the open chunk, skipping whatever of it was not read.
  virtual IOResult CloseChunk() = 0;
  // The id of the chunk OpenChunk would open next; 0 when there is none.
  virtual USHORT PeekNextChunkID() = 0;
  // Reads exactly `nbytes` from the open chunk, or nothing and IO_ERROR when fewer remain.
  virtual IOResult Read(void* buf, ULONG nbytes, ULONG* nread) = 0;
  // The whole content of the open chunk as text (what WriteCString wrote), owned by the loader and
  // valid until the load ends.
  virtual IOResult ReadWStringChunk(char** buf) = 0;
  virtual IOResult ReadCStringChunk(char** buf) = 0;
  // What GetRefID answered for a target when the file was saved: the loaded object at that index
  // (null for -1). Only valid once every maker is loaded: from a PostLoadCallback, or through
  // RecordBackpatch, which writes it into `*patchThis` at that time.
  virtual void* GetAddr(int imaker) = 0;
  virtual void RecordBackpatch(int imaker, void** patchThis, DWORD flags = 0) = 0;
  // Takes ownership: DeleteThis is called after the callback ran (or when the load fails).
  virtual void RegisterPostLoadCallback(PostLoadCallback* cb) = 0;
};
