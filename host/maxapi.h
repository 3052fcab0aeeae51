// Interface: the host's core services reached through GetCOREInterface(): time, the scene (root
// node, nodes by name, selection, object and node creation, modifiers), materials (the scene
// material library and the material editor), render elements, previews and the status line.
#pragma once

#include "host_api.h"
#include "interval.h"
#include "maxtypes.h"
#include "strclass.h"

class INode;
class Object;
class Modifier;
class MtlBase;
class MtlBaseLib;
class IRenderElementMgr;

// What CreatePreview is asked to make: the host's preview settings, 17 fields of 32 bits in the
// host's order.
struct PreviewParams {
  BOOL outputType = 0;  // 0: the default file, 1: a file the user picks, 2: a device
  int pctSize = 50;     // percent of the render output size
  int start = 0;        // frames
  int end = 100;
  int skip = 1;
  int fps = 30;
  BOOL dspGeometry = TRUE;
  BOOL dspShapes = FALSE;
  BOOL dspLights = FALSE;
  BOOL dspCameras = FALSE;
  BOOL dspHelpers = FALSE;
  BOOL dspSpaceWarps = FALSE;
  BOOL dspGrid = FALSE;
  BOOL dspSafeFrame = FALSE;
  BOOL dspFrameNums = FALSE;
  int rndLevel = 0;  // viewport shading level
  BOOL dspBkg = FALSE;
};

class HOST_API Interface {
 public:
  virtual ~Interface() = default;

  // ---- time ----
  virtual TimeValue GetTime() = 0;
  virtual void SetTime(TimeValue t, BOOL redraw = TRUE) = 0;
  virtual Interval GetAnimRange() = 0;
  virtual void SetAnimRange(Interval range) = 0;

  // ---- scene ----
  virtual INode* GetRootNode() = 0;
  // The node of that name (without case); with several, the one made first. Null when none.
  virtual INode* GetINodeByName(const TCHAR* name) = 0;
  virtual INode* GetINodeByHandle(ULONG handle) = 0;
  // A new object of a registered class, or null for a class nobody registered.
  virtual void* CreateInstance(SClass_ID superID, Class_ID classID) = 0;
  // A new node under the root node carrying `obj`, named after the object's default node name. A
  // target camera's node gets its target node as well.
  virtual INode* CreateObjectNode(Object* obj) = 0;
  virtual void DeleteNode(INode* node, BOOL redraw = TRUE, BOOL overrideSlaves = FALSE) = 0;
  // Adds `modifier` to the node's object-space stack at `modIdx` (0: the top), making the derived
  // object when the node has none. FALSE when it cannot (a space-warp binding, a loop).
  virtual bool AddModifier(INode& node, Modifier& modifier, int modIdx = 0) = 0;
  virtual bool DeleteModifier(INode& node, int modIdx) = 0;

  // ---- selection ----
  virtual int GetSelNodeCount() = 0;
  // In the order the nodes were selected.
  virtual INode* GetSelNode(int i) = 0;
  virtual void SelectNode(INode* node, int clearSel = 1) = 0;
  virtual void DeSelectNode(INode* node) = 0;
  virtual void ClearNodeSelection(BOOL redraw = TRUE) = 0;

  // ---- materials ----
  // The scene material library: materials join it when assigned to a node; scripts empty it.
  virtual MtlBaseLib* GetSceneMtls() = 0;
  // The material editor's slots, 0 to 23 (the same as the core interface MTLEDIT_INTERFACE).
  virtual MtlBase* GetMtlSlot(int slot) = 0;
  virtual void PutMtlToMtlEditor(MtlBase* mb, int slot = -1) = 0;

  // ---- rendering ----
  // The current renderer's render elements.
  virtual IRenderElementMgr* GetCurRenderElementMgr() = 0;
  // Makes a viewport preview with `pvp` (the host's own settings when null).
  virtual void CreatePreview(PreviewParams* pvp = nullptr, MSTR* fileName = nullptr, MSTR* bmName = nullptr) = 0;

  // ---- status line ----
  // The status-line prompt: a stack of texts, the top one shown.
  virtual void PushPrompt(const TCHAR* s) = 0;
  virtual void PopPrompt() = 0;
  virtual void ReplacePrompt(const TCHAR* s) = 0;
  virtual void DisplayTempPrompt(const TCHAR* s, int msec = 1000) = 0;

  // ---- progress of long work ----
  // Between ProgressStart and ProgressEnd the host shows `title` with how far the work is (percent,
  // with an optional detail such as counts) and how long is left. Starts may nest; only the
  // outermost work is shown. `fn` and `arg` are accepted for compatibility and not called.
  virtual BOOL ProgressStart(const TCHAR* title, BOOL dispBar = TRUE, void* fn = nullptr, void* arg = nullptr) = 0;
  virtual void ProgressUpdate(int pct, BOOL showPct = TRUE, const TCHAR* title = nullptr) = 0;
  virtual void ProgressEnd() = 0;

  virtual void RedrawViews(TimeValue t, DWORD vpFlags = 0, void* changingObj = nullptr) {}
  virtual HWND GetMAXHWnd() { return nullptr; }
};

HOST_API Interface* GetCOREInterface();

// Reference messages: while disabled, NotifyDependents sends nothing. Not counted: one
// EnableRefMsgs undoes any number of DisableRefMsgs.
HOST_API void DisableRefMsgs();
HOST_API void EnableRefMsgs();
HOST_API BOOL RefMsgsEnabled();
