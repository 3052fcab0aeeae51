// The rollup of the material editor (and of the command panel): pages made from modules' dialog
// templates, stacked under title bars in the window that holds them.
#pragma once

#include "imtlparams.h"

#include <string>
#include <vector>

namespace sim::ui {

class MtlEditorRollup {
 public:
  explicit MtlEditorRollup(HWND editor, int top) : editor_(editor), top_(top) {}
  HWND add(HINSTANCE inst, const MCHAR* dlgTemplate, DLGPROC proc, const MCHAR* title, LPARAM param,
           int category);
  // A page of the host's own showing one line of text.
  HWND addTextPage(const std::string& title, const std::string& text);
  // False for a window that is not one of the pages.
  bool remove(HWND page);
  void clear();
  // Places the pages and sizes the editor window to hold them; pages destroyed by others are
  // forgotten first.
  void layout();
  std::vector<HWND> pages() const;

 private:
  struct Page {
    HWND title = nullptr, page = nullptr;
    int category = 0;
  };
  HWND editor_;
  int top_;
  std::vector<Page> pages_;
};

// Registers the window classes of the editor and its title bars.
void registerMtlEditorClasses(WNDPROC editorProc);
// The title bars alone, for other windows that stack pages the same way (the command panel).
void registerRollupTitleClass();
inline constexpr const char* kMtlEditorClass = "MtlEditor";
inline constexpr const char* kRollupTitleClass = "RollupTitle";

}  // namespace sim::ui
