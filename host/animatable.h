// Animatable: the root of every scene object: class identity, sub-animations, parameter blocks,
// interfaces and app data.
#pragma once

#include "baseinterface.h"
#include "host_api.h"
#include "maxtypes.h"
#include "strclass.h"

#include <memory>
#include <vector>

class IParamBlock2;
class IObjParam;

// Memory handed to the host for app data is allocated and freed with these.
HOST_API void* MAX_malloc(size_t size);
HOST_API void MAX_free(void* p);

// One chunk of app data: bytes that scripts and plug-ins attach to any animatable.
struct AppDataChunk {
  Class_ID classID;
  SClass_ID superClassID = 0;
  DWORD subID = 0;
  DWORD length = 0;
  void* data = nullptr;  // allocated with MAX_malloc, owned by the chunk
};

class HOST_API Animatable {
 public:
  Animatable();
  virtual ~Animatable();
  Animatable(const Animatable&) = delete;
  Animatable& operator=(const Animatable&) = delete;

  virtual void GetClassName(TSTR& s) { s = ""; }
  virtual Class_ID ClassID() { return Class_ID(0, 0); }
  virtual SClass_ID SuperClassID() = 0;
  // Frees the object. Reference targets are normally freed by the reference system instead.
  virtual void DeleteThis() { delete this; }
  virtual void FreeCaches() {}

  virtual int NumSubs() { return 0; }
  virtual Animatable* SubAnim(int i) { return nullptr; }
  virtual TSTR SubAnimName(int i) { return TSTR(); }

  // Puts `control` in the place of sub-animation `subAnim` (a controller slot); FALSE when that
  // sub-animation takes no controller.
  virtual BOOL AssignController(Animatable* control, int subAnim) { return FALSE; }

  virtual int NumParamBlocks() { return 0; }
  virtual IParamBlock2* GetParamBlock(int i) { return nullptr; }
  virtual IParamBlock2* GetParamBlockByID(BlockID id) { return nullptr; }

  // Interfaces by the older numeric ids and by Interface_ID.
  virtual void* GetInterface(ULONG id);
  virtual BaseInterface* GetInterface(Interface_ID id);

  virtual void BeginEditParams(IObjParam* ip, ULONG flags, Animatable* prev) {}
  virtual void EndEditParams(IObjParam* ip, ULONG flags, Animatable* next) {}

  // App data, addressed by class id, super class id and a 32-bit sub id. Adding takes ownership of
  // `data` (allocated with MAX_malloc) and replaces a chunk with the same address.
  void AddAppDataChunk(Class_ID cid, SClass_ID sid, DWORD sbid, DWORD len, void* data);
  AppDataChunk* GetAppDataChunk(Class_ID cid, SClass_ID sid, DWORD sbid);
  BOOL RemoveAppDataChunk(Class_ID cid, SClass_ID sid, DWORD sbid);
  void ClearAllAppData();
  int NumAppDataChunks() const;
  AppDataChunk* GetAppDataChunkByIndex(int i);

 private:
  std::unique_ptr<std::vector<AppDataChunk>> appData_;
};
