// Interface: the host's core services reached through GetCOREInterface().
#pragma once

#include "host_api.h"
#include "interval.h"
#include "maxtypes.h"

class INode;
class Object;

class HOST_API Interface {
 public:
  virtual ~Interface() = default;

  virtual TimeValue GetTime() = 0;
  virtual void SetTime(TimeValue t, BOOL redraw = TRUE) = 0;
  virtual Interval GetAnimRange() = 0;
  virtual void SetAnimRange(Interval range) = 0;

  virtual INode* GetRootNode() = 0;
  virtual INode* GetINodeByName(const TCHAR* name) = 0;
  // A new object of a registered class, or null for a class nobody registered.
  virtual void* CreateInstance(SClass_ID superID, Class_ID classID) = 0;
  // A new node under the root node carrying `obj`, named after the object's default node name.
  virtual INode* CreateObjectNode(Object* obj) = 0;

  // The status-line prompt: a stack of texts, the top one shown.
  virtual void PushPrompt(const TCHAR* s) = 0;
  virtual void PopPrompt() = 0;
  virtual void ReplacePrompt(const TCHAR* s) = 0;
  virtual void DisplayTempPrompt(const TCHAR* s, int msec = 1000) = 0;

  virtual void RedrawViews(TimeValue t, DWORD vpFlags = 0, void* changingObj = nullptr) {}
  virtual HWND GetMAXHWnd() { return nullptr; }
};

HOST_API Interface* GetCOREInterface();
