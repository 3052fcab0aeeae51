// The host's Interface: the scene (root node, name index, selection, time, animation range), the
// scene material library, the scene services, and the status-line prompt.
#pragma once

#include "core/progress.h"
#include "iobjparam.h"
#include "maxapi.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class MtlBaseLib;

namespace sim {

class SceneNode;
class NodeIndex;

class HOST_API CoreInterface : public IObjParam {
 public:
  CoreInterface();
  ~CoreInterface() override;

  TimeValue GetTime() override { return time_; }
  void SetTime(TimeValue t, BOOL) override { time_ = t; }
  Interval GetAnimRange() override { return range_; }
  void SetAnimRange(Interval range) override { range_ = range; }

  INode* GetRootNode() override;
  INode* GetINodeByName(const TCHAR* name) override;
  INode* GetINodeByHandle(ULONG handle) override;
  void* CreateInstance(SClass_ID superID, Class_ID classID) override;
  INode* CreateObjectNode(Object* obj) override;
  void DeleteNode(INode* node, BOOL redraw = TRUE, BOOL overrideSlaves = FALSE) override;
  bool AddModifier(INode& node, Modifier& modifier, int modIdx = 0) override;
  bool DeleteModifier(INode& node, int modIdx) override;

  int GetSelNodeCount() override { return static_cast<int>(selection_.size()); }
  INode* GetSelNode(int i) override;
  void SelectNode(INode* node, int clearSel = 1) override;
  void DeSelectNode(INode* node) override;
  void ClearNodeSelection(BOOL redraw = TRUE) override;

  MtlBaseLib* GetSceneMtls() override { return sceneMtls_; }
  MtlBase* GetMtlSlot(int slot) override;
  void PutMtlToMtlEditor(MtlBase* mb, int slot = -1) override;

  IRenderElementMgr* GetCurRenderElementMgr() override;
  void CreatePreview(PreviewParams* pvp = nullptr, MSTR* fileName = nullptr, MSTR* bmName = nullptr) override;

  void PushPrompt(const TCHAR* s) override;
  void PopPrompt() override;
  void ReplacePrompt(const TCHAR* s) override;
  void DisplayTempPrompt(const TCHAR* s, int msec) override;
  // The prompt shown now ("" when none).
  std::string prompt() const;
  size_t promptDepth() const { return prompts_.size(); }

  BOOL ProgressStart(const TCHAR* title, BOOL dispBar = TRUE, void* fn = nullptr, void* arg = nullptr) override;
  void ProgressUpdate(int pct, BOOL showPct = TRUE, const TCHAR* title = nullptr) override;
  void ProgressEnd() override;

  // The command panel's rollup (defined with the panel, sim/ui/command_panel.cpp).
  HWND AddRollupPage(HINSTANCE hInst, const MCHAR* dlgTemplate, RollupPageProc dlgProc, const MCHAR* title,
                     std::intptr_t param = 0, DWORD flags = 0, int category = 4000) override;
  void DeleteRollupPage(HWND hRollup) override;

  // ---- host side ----
  NodeIndex& nodeIndex() { return *index_; }
  // Binds `node` to the space warp carried by `warpNode` (a world-space derived object holds the
  // binding). False when `warpNode` carries no space warp or the binding would make a loop.
  bool bindSpaceWarp(INode* node, INode* warpNode);

  // Frees every node and forgets undo; then starts an empty scene with fresh services and no file.
  void resetScene();
  // The file the scene was last saved to or loaded from, as its full path ("" for a new scene).
  const std::string& sceneFile() const { return sceneFile_; }
  void setSceneFile(std::string path) { sceneFile_ = std::move(path); }
  // Frees every node and forgets undo, leaving no scene (shutdown).
  void clearScene();

 private:
  friend class SelectionRestore;
  INode* makeObjectNode(Object* obj);
  // Each change of the selection records itself in theHold when it is holding.
  void addSelected(SceneNode* node, size_t at);
  void removeSelected(size_t at);
  SceneNode* root_ = nullptr;
  std::unique_ptr<NodeIndex> index_;
  std::vector<SceneNode*> selection_;
  MtlBaseLib* sceneMtls_ = nullptr;
  TimeValue time_ = 0;
  Interval range_;
  std::vector<std::string> prompts_;
  std::string sceneFile_;
  std::vector<std::unique_ptr<Progress>> progresses_;  // one per ProgressStart not yet ended
};

HOST_API CoreInterface* coreInterface();

}  // namespace sim
