#include "ui/material_editor_rollup.h"

#include "ui/custom_controls.h"

#include <algorithm>

namespace sim::ui {

namespace {

constexpr int kMargin = 4, kTitleHeight = 16, kGap = 4, kMinWidth = 320;

LRESULT CALLBACK rollupTitleProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    paintControl(hwnd, RGB(160, 160, 160), RGB(0, 0, 0), DT_CENTER);
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

int width(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r.right - r.left;
}

int height(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r.bottom - r.top;
}

}  // namespace

void registerMtlEditorClasses(WNDPROC editorProc) {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASS wc{};
  wc.lpfnWndProc = editorProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMtlEditorClass;
  RegisterClass(&wc);
  registerRollupTitleClass();
}

void registerRollupTitleClass() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASS title{};
  title.lpfnWndProc = rollupTitleProc;
  title.lpszClassName = kRollupTitleClass;
  RegisterClass(&title);
}

HWND MtlEditorRollup::add(HINSTANCE inst, const MCHAR* dlgTemplate, DLGPROC proc, const MCHAR* title, LPARAM param,
                          int category) {
  HWND page = CreateDialogParam(inst, dlgTemplate, editor_, proc, param);
  if (!page) return nullptr;
  Page p;
  p.page = page;
  p.category = category;
  p.title = CreateWindowEx(0, kRollupTitleClass, title ? title : "", WS_CHILD | WS_VISIBLE, 0, 0, 10, kTitleHeight,
                           editor_, nullptr, nullptr, nullptr);
  // Lower categories stand higher; within one, pages keep the order they came in.
  auto at = std::find_if(pages_.begin(), pages_.end(), [&](const Page& q) { return q.category > category; });
  pages_.insert(at, p);
  layout();
  return page;
}

HWND MtlEditorRollup::addTextPage(const std::string& title, const std::string& text) {
  HWND page = CreateWindowEx(0, "Static", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, kMinWidth - 2 * kMargin,
                             20, editor_, nullptr, nullptr, nullptr);
  if (!page) return nullptr;
  Page p;
  p.page = page;
  p.category = ROLLUP_CAT_STANDARD;
  p.title = CreateWindowEx(0, kRollupTitleClass, title.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 10, kTitleHeight,
                           editor_, nullptr, nullptr, nullptr);
  pages_.push_back(p);
  layout();
  return page;
}

bool MtlEditorRollup::remove(HWND page) {
  auto it = std::find_if(pages_.begin(), pages_.end(), [&](const Page& q) { return q.page == page; });
  if (!page || it == pages_.end()) return false;
  Page p = *it;
  pages_.erase(it);
  DestroyWindow(p.page);
  DestroyWindow(p.title);
  layout();
  return true;
}

void MtlEditorRollup::clear() {
  std::vector<Page> all;
  all.swap(pages_);
  for (const Page& p : all) {
    DestroyWindow(p.page);
    DestroyWindow(p.title);
  }
  layout();
}

void MtlEditorRollup::layout() {
  for (auto it = pages_.begin(); it != pages_.end();) {
    if (IsWindow(it->page)) {
      ++it;
      continue;
    }
    DestroyWindow(it->title);
    it = pages_.erase(it);
  }
  if (!IsWindow(editor_)) return;
  int y = top_, widest = kMinWidth - 2 * kMargin;
  for (const Page& p : pages_) widest = std::max(widest, width(p.page));
  for (const Page& p : pages_) {
    MoveWindow(p.title, kMargin, y, widest, kTitleHeight, TRUE);
    y += kTitleHeight + 1;
    int h = height(p.page);
    MoveWindow(p.page, kMargin, y, width(p.page), h, TRUE);
    y += h + kGap;
  }
  // The window's frame (on Windows: caption and borders) comes on top of the client area wanted.
  RECT window{}, client{};
  GetWindowRect(editor_, &window);
  GetClientRect(editor_, &client);
  int frameW = (window.right - window.left) - client.right, frameH = (window.bottom - window.top) - client.bottom;
  MoveWindow(editor_, window.left, window.top, widest + 2 * kMargin + frameW, y + kMargin + frameH, TRUE);
}

std::vector<HWND> MtlEditorRollup::pages() const {
  std::vector<HWND> out;
  for (const Page& p : pages_) out.push_back(p.page);
  return out;
}

}  // namespace sim::ui
