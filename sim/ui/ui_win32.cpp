// On Windows the windows are the system's: the pump is the system's message loop, bounded as the
// headless one is, and a snapshot is the window printed into a bitmap of ours.
#include "ui/ui.h"

#include <vector>

int sim::ui::pumpMessages() {
  int ran = 0;
  MSG m;
  while (ran < kMaxPumpedMessages && PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) continue;  // the host ends when its script does, not on request
    TranslateMessage(&m);
    DispatchMessage(&m);
    ++ran;
  }
  return ran;
}

Bitmap* sim::ui::snapshot(HWND hwnd) {
  RECT r;
  if (!IsWindow(hwnd) || !GetWindowRect(hwnd, &r)) return nullptr;
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (!mem) return nullptr;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top row first
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  Bitmap* bm = nullptr;
  if (dib && bits) {
    HGDIOBJ old = SelectObject(mem, dib);
    // What the window shows is what it painted: every pending paint runs first, then its pixels are
    // copied. Controls that paint only on WM_PAINT (ours do) are missing from PrintWindow's and
    // WM_PRINT's pictures, which are the fallback where the copy fails.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC windowDc = GetWindowDC(hwnd);
    bool copied = windowDc && BitBlt(mem, 0, 0, w, h, windowDc, 0, 0, SRCCOPY);
    if (windowDc) ReleaseDC(hwnd, windowDc);
    if (!copied && !PrintWindow(hwnd, mem, 0))
      SendMessage(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
    GdiFlush();
    BitmapInfo info;
    info.SetType(BMM_TRUE_32);
    info.SetWidth(w);
    info.SetHeight(h);
    bm = TheManager->Create(&info);
    if (bm) {
      const auto* px = static_cast<const BYTE*>(bits);
      std::vector<BMM_Color_fl> row(static_cast<std::size_t>(w));
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const BYTE* p = px + (std::size_t(y) * std::size_t(w) + std::size_t(x)) * 4;
          row[std::size_t(x)] = {p[2] / 255.0f, p[1] / 255.0f, p[0] / 255.0f, 1.0f};
        }
        bm->PutPixels(0, y, w, row.data());
      }
    }
    SelectObject(mem, old);
    DeleteObject(dib);
  }
  DeleteDC(mem);
  return bm;
}

void sim::ui::destroyAllWindows() {
  std::vector<HWND> tops;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tops));
  for (HWND h : tops)
    if (IsWindow(h)) DestroyWindow(h);
}
