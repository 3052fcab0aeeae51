// Sending, posting and pumping messages, and the default procedures.
#include "ui/ui.h"
#include "ui/window_model.h"
#include "ui/painting.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>

using namespace sim::ui;

namespace {

// The posted-message limit of a Windows message queue.
constexpr std::size_t kMaxQueued = 10000;

struct MessageQueue {
  std::deque<MSG> posted;
  bool quit = false;
  int quitCode = 0;
};

MessageQueue& queue() {
  static MessageQueue q;
  return q;
}

bool inFilter(const MSG& m, HWND hwnd, UINT first, UINT last) {
  if (hwnd) {
    bool related = false;
    for (HWND h = m.hwnd; h && !related; h = GetParent(h)) related = h == hwnd;
    if (!related) return false;
  }
  return (first == 0 && last == 0) || (m.message >= first && m.message <= last);
}

// The first window, in tree order, that is on screen and has something to paint.
HWND nextToPaint(HWND within) {
  for (HWND h : subtree(within ? within : desktopWindow())) {
    Window* w = findWindow(h);
    if (w && w->invalid && shownOnScreen(h)) return h;
  }
  return nullptr;
}

}  // namespace

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) { return send(hwnd, msg, wParam, lParam); }

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
  return send(GetDlgItem(dialog, id), msg, wParam, lParam);
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !findWindow(hwnd)) return FALSE;
  MessageQueue& q = queue();
  if (q.posted.size() >= kMaxQueued) return FALSE;
  q.posted.push_back(MSG{hwnd, msg, wParam, lParam, 0, {0, 0}});
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  queue().quit = true;
  queue().quitCode = exitCode;
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove) {
  if (!msg) return FALSE;
  MessageQueue& q = queue();
  for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
    if (!inFilter(*it, hwnd, first, last)) continue;
    *msg = *it;
    if (remove & PM_REMOVE) q.posted.erase(it);
    return TRUE;
  }
  // Paints come when nothing is posted; a paint stays due until the window is validated.
  if ((first == 0 && last == 0) || (WM_PAINT >= first && WM_PAINT <= last)) {
    if (HWND p = nextToPaint(hwnd)) {
      *msg = MSG{p, WM_PAINT, 0, 0, 0, {0, 0}};
      return TRUE;
    }
  }
  if (q.quit && !hwnd) {
    *msg = MSG{nullptr, WM_QUIT, WPARAM(q.quitCode), 0, 0, {0, 0}};
    if (remove & PM_REMOVE) q.quit = false;
    return TRUE;
  }
  return FALSE;
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT first, UINT last) {
  if (!msg) return -1;
  if (!PeekMessage(msg, hwnd, first, last, PM_REMOVE)) *msg = MSG{nullptr, WM_QUIT, 0, 0, 0, {0, 0}};
  return msg->message != WM_QUIT;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg || !findWindow(msg->hwnd)) return 0;
  unsigned before = findWindow(msg->hwnd)->invalidations;
  LRESULT r = send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  // A window that leaves its paint undone loses it, rather than being asked again for ever; one
  // that invalidated itself again while painting is asked again.
  if (msg->message == WM_PAINT) {
    Window* w = findWindow(msg->hwnd);
    if (w && w->invalid && w->invalidations == before) ValidateRect(msg->hwnd, nullptr);
  }
  return r;
}

int sim::ui::pumpMessages() {
  int ran = 0;
  MSG m;
  while (ran < kMaxPumpedMessages && PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) continue;
    DispatchMessage(&m);
    ++ran;
  }
  return ran;
}

// ---- texts ---------------------------------------------------------------------------------------

BOOL SetWindowText(HWND hwnd, LPCSTR text) {
  if (!findWindow(hwnd)) return FALSE;
  return BOOL(send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")));
}

int GetWindowText(HWND hwnd, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  return int(send(hwnd, WM_GETTEXT, WPARAM(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) { return int(send(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text) { return SetWindowText(GetDlgItem(dialog, id), text); }

UINT GetDlgItemText(HWND dialog, int id, LPSTR buffer, int size) {
  return UINT(GetWindowText(GetDlgItem(dialog, id), buffer, size));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  char text[16];
  std::snprintf(text, sizeof text, isSigned ? "%d" : "%u", value);
  return SetDlgItemText(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  char text[64];
  if (translated) *translated = FALSE;
  if (!GetDlgItemText(dialog, id, text, sizeof text)) return 0;
  char* end = nullptr;
  long long v = std::strtoll(text, &end, 10);
  bool ok = end != text && *end == '\0' && (isSigned ? (v >= INT32_MIN && v <= INT32_MAX) : (v >= 0 && v <= UINT32_MAX));
  if (!ok) return 0;
  if (translated) *translated = TRUE;
  return UINT(v);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND b = GetDlgItem(dialog, id);
  if (!b) return FALSE;
  send(b, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) { return UINT(send(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0)); }

// ---- default procedures --------------------------------------------------------------------------

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = findWindow(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      return TRUE;
    case WM_GETTEXT: {
      auto* out = reinterpret_cast<char*>(lParam);
      if (!out || wParam == 0) return 0;
      std::size_t n = std::min<std::size_t>(w->text.size(), std::size_t(wParam) - 1);
      std::memcpy(out, w->text.data(), n);
      out[n] = '\0';
      return LRESULT(n);
    }
    case WM_GETTEXTLENGTH: return LRESULT(w->text.size());
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(w->font);
    case WM_ERASEBKGND: {
      if (!w->classBackground) return 0;
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, w->classBackground);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    default: return 0;
  }
}

// A dialog's procedure answers TRUE when it handled the message and leaves the result in
// DWLP_MSGRESULT; a few messages take the procedure's answer itself.
LRESULT DefDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!findWindow(hwnd)) return 0;
  if (auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtr(hwnd, DWLP_DLGPROC))) {
    SetWindowLongPtr(hwnd, DWLP_MSGRESULT, 0);
    INT_PTR handled = proc(hwnd, msg, wParam, lParam);
    if (!findWindow(hwnd)) return 0;
    if (handled) {
      bool direct = msg == WM_INITDIALOG || (msg >= 0x0132 && msg <= WM_CTLCOLORSTATIC);
      return direct ? handled : GetWindowLongPtr(hwnd, DWLP_MSGRESULT);
    }
  }
  switch (msg) {
    case WM_CLOSE:
      PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDCANCEL)));
      return 0;
    case WM_INITDIALOG: return 0;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}
