// Windows of a test class whose procedure records every message and can be given a handler.
#pragma once

#include "ui/ui.h"
#include "win_ui.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace uitest {

struct Received {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

inline std::vector<Received>& received() {
  static std::vector<Received> log;
  return log;
}

// Runs before the default handling; answering true ends the message with `result`.
using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT* result)>;
inline Handler& handler() {
  static Handler h;
  return h;
}

inline LRESULT CALLBACK recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  received().push_back({hwnd, msg, wParam, lParam});
  LRESULT result = 0;
  if (handler() && handler()(hwnd, msg, wParam, lParam, &result)) return result;
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

constexpr const char* kTestClass = "QzmUiTestWindow";

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASS wc{};
    wc.lpfnWndProc = recordingProc;
    wc.lpszClassName = kTestClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClass(&wc);  // the first test registers it, the others find it there
    received().clear();
    handler() = nullptr;
  }
  void TearDown() override {
    handler() = nullptr;
    for (HWND h : made_) DestroyWindow(h);
    sim::ui::pumpMessages();
  }

  // A visible top-level window of the test class.
  HWND top(int w = 40, int h = 30) {
    HWND hwnd = CreateWindowEx(0, kTestClass, "top", WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr, nullptr, nullptr);
    made_.push_back(hwnd);
    return hwnd;
  }
  HWND child(HWND parent, const char* cls, int id, DWORD style, int x, int y, int w, int h, const char* text = "") {
    return CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  std::vector<UINT> messagesTo(HWND hwnd) const {
    std::vector<UINT> out;
    for (auto& r : received())
      if (r.hwnd == hwnd) out.push_back(r.msg);
    return out;
  }

 private:
  std::vector<HWND> made_;
};

}  // namespace uitest
