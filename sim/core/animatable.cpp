#include "animatable.h"

#include <cstdlib>

void* MAX_malloc(size_t size) { return std::malloc(size ? size : 1); }
void MAX_free(void* p) { std::free(p); }

Animatable::Animatable() = default;

Animatable::~Animatable() { ClearAllAppData(); }

void* Animatable::GetInterface(ULONG) { return nullptr; }

BaseInterface* Animatable::GetInterface(Interface_ID) { return nullptr; }

void Animatable::AddAppDataChunk(Class_ID cid, SClass_ID sid, DWORD sbid, DWORD len, void* data) {
  if (!appData_) appData_ = std::make_unique<std::vector<AppDataChunk>>();
  for (AppDataChunk& c : *appData_) {
    if (c.classID == cid && c.superClassID == sid && c.subID == sbid) {
      if (c.data != data) MAX_free(c.data);
      c.length = len;
      c.data = data;
      return;
    }
  }
  appData_->push_back(AppDataChunk{cid, sid, sbid, len, data});
}

AppDataChunk* Animatable::GetAppDataChunk(Class_ID cid, SClass_ID sid, DWORD sbid) {
  if (!appData_) return nullptr;
  for (AppDataChunk& c : *appData_)
    if (c.classID == cid && c.superClassID == sid && c.subID == sbid) return &c;
  return nullptr;
}

BOOL Animatable::RemoveAppDataChunk(Class_ID cid, SClass_ID sid, DWORD sbid) {
  if (!appData_) return FALSE;
  for (auto it = appData_->begin(); it != appData_->end(); ++it) {
    if (it->classID == cid && it->superClassID == sid && it->subID == sbid) {
      MAX_free(it->data);
      appData_->erase(it);
      return TRUE;
    }
  }
  return FALSE;
}

void Animatable::ClearAllAppData() {
  if (!appData_) return;
  for (AppDataChunk& c : *appData_) MAX_free(c.data);
  appData_.reset();
}

int Animatable::NumAppDataChunks() const { return appData_ ? static_cast<int>(appData_->size()) : 0; }

AppDataChunk* Animatable::GetAppDataChunkByIndex(int i) {
  return appData_ && i >= 0 && i < NumAppDataChunks() ? &(*appData_)[static_cast<size_t>(i)] : nullptr;
}
