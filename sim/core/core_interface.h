// The host's Interface: the scene (root node, time, animation range) and the status-line prompt.
#pragma once

#include "maxapi.h"

#include <string>
#include <vector>

namespace sim {

class SceneNode;

class HOST_API CoreInterface : public Interface {
 public:
  CoreInterface();
  ~CoreInterface() override;

  TimeValue GetTime() override { return time_; }
  void SetTime(TimeValue t, BOOL) override { time_ = t; }
  Interval GetAnimRange() override { return range_; }
  void SetAnimRange(Interval range) override { range_ = range; }

  INode* GetRootNode() override;
  INode* GetINodeByName(const TCHAR* name) override;
  void* CreateInstance(SClass_ID superID, Class_ID classID) override;
  INode* CreateObjectNode(Object* obj) override;

  void PushPrompt(const TCHAR* s) override;
  void PopPrompt() override;
  void ReplacePrompt(const TCHAR* s) override;
  void DisplayTempPrompt(const TCHAR* s, int msec) override;
  // The prompt shown now ("" when none).
  std::string prompt() const;
  size_t promptDepth() const { return prompts_.size(); }

  // Frees every node and forgets undo; then starts an empty scene.
  void resetScene();
  // Frees every node and forgets undo, leaving no scene (shutdown).
  void clearScene();

 private:
  SceneNode* root_ = nullptr;
  TimeValue time_ = 0;
  Interval range_;
  std::vector<std::string> prompts_;
};

HOST_API CoreInterface* coreInterface();

}  // namespace sim
