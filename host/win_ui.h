// The Win32 user-interface calls a panel and the host's custom controls make.
//
// On Windows this is <windows.h>: the real user32 and gdi32. Elsewhere the host implements the same
// names, types, values and signatures (8-bit characters) on a window and message model of its own,
// so that a panel's dialog procedure compiles and behaves the same on both. What every call shares:
// - A window handle is checked before use: a call on a destroyed or made-up handle does nothing and
//   answers 0 (FALSE, NULL), as user32 does.
// - SendMessage calls the window procedure at once; PostMessage queues the message for the host's
//   message pump, which also delivers WM_PAINT to windows with an invalid region.
// - Coordinates are pixels; a child's rectangle is relative to its parent's client area.
#pragma once

#include "host_api.h"

#if defined(_WIN32)
#  ifndef NOMINMAX
#    define NOMINMAX
#  endif
#  include <windows.h>
// <windows.h> makes GetClassName a macro for GetClassNameA, which would rename the host classes'
// own GetClassName in every file that includes this one; the Win32 call stays reachable by name.
#  undef GetClassName
inline int GetClassName(HWND hwnd, LPSTR buffer, int size) { return GetClassNameA(hwnd, buffer, size); }
#else

#include "winprocess.h"  // the Win32 words both share: HANDLE, LPSTR, SW_HIDE...

// ---- types ---------------------------------------------------------------------------------------
#define CALLBACK
#define WINAPI
using LONG = std::int32_t;
using LONG_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using ATOM = WORD;
using COLORREF = DWORD;
using LPSTR = char*;
using LPCSTR = const char*;
using LPTSTR = char*;
using LPCTSTR = const char*;
using LPVOID = void*;
using LPINT = int*;
using HANDLE = void*;
using HDC = void*;
using HGDIOBJ = void*;
using HBRUSH = void*;
using HPEN = void*;
using HFONT = void*;
using HBITMAP = void*;
using HMENU = void*;
using HICON = void*;
using HCURSOR = void*;

using WNDPROC = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);
using DLGPROC = INT_PTR(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);
using WNDENUMPROC = BOOL(CALLBACK*)(HWND, LPARAM);

struct RECT {
  LONG left, top, right, bottom;
};
using LPRECT = RECT*;
struct POINT {
  LONG x, y;
};
struct SIZE {
  LONG cx, cy;
};

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

struct WNDCLASS {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};
struct WNDCLASSEX {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
};

// What WM_CREATE and WM_NCCREATE carry in lParam.
struct CREATESTRUCT {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy, cx, y, x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};

struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;  // positive: the first row in memory is the bottom one; negative: the top one
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};
struct RGBQUAD {
  BYTE rgbBlue, rgbGreen, rgbRed, rgbReserved;
};
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};

// ---- macros --------------------------------------------------------------------------------------
#define LOWORD(l) ((WORD)(((UINT_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((UINT_PTR)(l)) >> 16) & 0xffff))
#define MAKELONG(a, b) ((LONG)(((WORD)(((UINT_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((UINT_PTR)(b)) & 0xffff))) << 16))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKELRESULT(l, h) ((LRESULT)(DWORD)MAKELONG(l, h))
#define MAKEINTRESOURCE(i) ((LPSTR)((UINT_PTR)((WORD)(i))))
#define IS_INTRESOURCE(r) ((((UINT_PTR)(r)) >> 16) == 0)
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)(c))
#define GetGValue(c) ((BYTE)(((WORD)(c)) >> 8))
#define GetBValue(c) ((BYTE)((c) >> 16))

// ---- messages ------------------------------------------------------------------------------------
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_CTLCOLORSTATIC 0x0138
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_PRINT 0x0317
#define WM_PRINTCLIENT 0x0318
#define WM_USER 0x0400

// WM_PRINT and WM_PRINTCLIENT flags.
#define PRF_CHECKVISIBLE 0x0001
#define PRF_NONCLIENT 0x0002
#define PRF_CLIENT 0x0004
#define PRF_ERASEBKGND 0x0008
#define PRF_CHILDREN 0x0010

// Buttons: notifications, messages, states.
#define BN_CLICKED 0
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_CLICK 0x00F5
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_PUSHED 0x0004
#define BST_FOCUS 0x0008

// Edits.
#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300
#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EM_LIMITTEXT 0x00C5

// Statics.
#define STN_CLICKED 0

// Scroll bars: which bar, the WM_VSCROLL/WM_HSCROLL codes, and the scroll bar control's messages.
#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_BOTH 3
#define SB_LINEUP 0
#define SB_LINELEFT 0
#define SB_LINEDOWN 1
#define SB_LINERIGHT 1
#define SB_PAGEUP 2
#define SB_PAGELEFT 2
#define SB_PAGEDOWN 3
#define SB_PAGERIGHT 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_LEFT 6
#define SB_BOTTOM 7
#define SB_RIGHT 7
#define SB_ENDSCROLL 8
#define SBM_SETPOS 0x00E0
#define SBM_GETPOS 0x00E1
#define SBM_SETRANGE 0x00E2
#define SBM_GETRANGE 0x00E3
#define SBM_SETRANGEREDRAW 0x00E6

// ---- window styles -------------------------------------------------------------------------------
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_OVERLAPPEDWINDOW 0x00CF0000L
#define WS_EX_CONTROLPARENT 0x00010000L
#define WS_EX_CLIENTEDGE 0x00000200L

#define DS_SETFONT 0x0040L
#define DS_MODALFRAME 0x0080L
#define DS_CONTROL 0x0400L

#define SS_LEFT 0x0000L
#define SS_CENTER 0x0001L
#define SS_RIGHT 0x0002L
#define SS_BLACKRECT 0x0004L
#define SS_GRAYRECT 0x0005L
#define SS_WHITERECT 0x0006L
#define SS_BLACKFRAME 0x0007L
#define SS_GRAYFRAME 0x0008L
#define SS_WHITEFRAME 0x0009L
#define SS_TYPEMASK 0x001FL
#define SS_NOTIFY 0x0100L

#define BS_PUSHBUTTON 0x0000L
#define BS_DEFPUSHBUTTON 0x0001L
#define BS_CHECKBOX 0x0002L
#define BS_AUTOCHECKBOX 0x0003L
#define BS_RADIOBUTTON 0x0004L
#define BS_AUTORADIOBUTTON 0x0009L
#define BS_GROUPBOX 0x0007L
#define BS_TYPEMASK 0x000FL
#define BS_PUSHLIKE 0x1000L

#define ES_LEFT 0x0000L
#define ES_AUTOHSCROLL 0x0080L
#define ES_READONLY 0x0800L
#define ES_NUMBER 0x2000L

#define SBS_HORZ 0x0000L
#define SBS_VERT 0x0001L

// ---- window data, relations, showing -------------------------------------------------------------
#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_HWNDPARENT (-8)
#define GWLP_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_USERDATA (-21)
// A dialog's own slots: the result of its procedure, the procedure, and a word for its owner.
#define DWLP_MSGRESULT 0
#define DWLP_DLGPROC (DWLP_MSGRESULT + (int)sizeof(LRESULT))
#define DWLP_USER (DWLP_DLGPROC + (int)sizeof(DLGPROC))
#define DLGWINDOWEXTRA 30

#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5

// SW_HIDE comes with the process declarations (winprocess.h), which share it.
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWNA = 8;

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

#define CW_USEDEFAULT ((int)0x80000000)
#define IDOK 1
#define IDCANCEL 2
// The class of dialog windows.
#define WC_DIALOG (MAKEINTRESOURCE(0x8002))

// ---- GDI -----------------------------------------------------------------------------------------
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_NULL 5

#define TRANSPARENT 1
#define OPAQUE 2

#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_NOCLIP 0x00000100
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_END_ELLIPSIS 0x00008000

#define BI_RGB 0
#define DIB_RGB_COLORS 0
#define SRCCOPY 0x00CC0020
#define CLR_INVALID 0xFFFFFFFF

#define COLOR_WINDOW 5
#define COLOR_WINDOWTEXT 8
#define COLOR_BTNFACE 15
#define COLOR_BTNSHADOW 16
#define COLOR_BTNTEXT 18

// ---- functions -----------------------------------------------------------------------------------
// Classes and windows.
HOST_API ATOM RegisterClass(const WNDCLASS* wc);
HOST_API ATOM RegisterClassEx(const WNDCLASSEX* wc);
HOST_API BOOL UnregisterClass(LPCSTR className, HINSTANCE inst);
HOST_API int GetClassName(HWND hwnd, LPSTR buffer, int size);
HOST_API HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                             int width, int height, HWND parent, HMENU menuOrId, HINSTANCE inst, LPVOID param);
HOST_API BOOL DestroyWindow(HWND hwnd);
// The parent of every top-level window: enumerating its children finds every window.
HOST_API HWND GetDesktopWindow();
HOST_API BOOL IsWindow(HWND hwnd);
HOST_API HWND GetDlgItem(HWND dialog, int id);
HOST_API int GetDlgCtrlID(HWND hwnd);
HOST_API HWND GetParent(HWND hwnd);
HOST_API HWND GetWindow(HWND hwnd, UINT relation);
HOST_API BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);
HOST_API LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
HOST_API LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
HOST_API LONG GetWindowLong(HWND hwnd, int index);
HOST_API LONG SetWindowLong(HWND hwnd, int index, LONG value);

// Dialogs from templates (made from the module's resources) and strings from its string table.
HOST_API HWND CreateDialogParam(HINSTANCE inst, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam);
HOST_API int LoadString(HINSTANCE inst, UINT id, LPSTR buffer, int size);

// Procedures and messages.
HOST_API LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
HOST_API LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
HOST_API LRESULT DefDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
HOST_API LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
HOST_API LRESULT SendDlgItemMessage(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam);
HOST_API BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
HOST_API void PostQuitMessage(int exitCode);
HOST_API BOOL PeekMessage(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove);
// Nothing can arrive from outside the host: with the queue empty and nothing to paint, GetMessage
// answers WM_QUIT (0) instead of waiting for ever.
HOST_API BOOL GetMessage(MSG* msg, HWND hwnd, UINT first, UINT last);
HOST_API BOOL TranslateMessage(const MSG* msg);
HOST_API LRESULT DispatchMessage(const MSG* msg);

// Texts.
HOST_API BOOL SetWindowText(HWND hwnd, LPCSTR text);
HOST_API int GetWindowText(HWND hwnd, LPSTR buffer, int size);
HOST_API int GetWindowTextLength(HWND hwnd);
HOST_API BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text);
HOST_API UINT GetDlgItemText(HWND dialog, int id, LPSTR buffer, int size);
HOST_API BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
HOST_API UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
HOST_API BOOL CheckDlgButton(HWND dialog, int id, UINT check);
HOST_API UINT IsDlgButtonChecked(HWND dialog, int id);

// Scroll bars (SB_CTL: the window is a scroll bar control; SB_VERT/SB_HORZ: its own bars).
HOST_API BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
HOST_API BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos);
HOST_API int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
HOST_API int GetScrollPos(HWND hwnd, int bar);

// Painting.
HOST_API BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
HOST_API BOOL ValidateRect(HWND hwnd, const RECT* rect);
HOST_API BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
HOST_API BOOL UpdateWindow(HWND hwnd);
HOST_API HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
HOST_API BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
HOST_API HDC GetDC(HWND hwnd);
HOST_API int ReleaseDC(HWND hwnd, HDC hdc);

// Geometry, showing, focus, mouse capture.
HOST_API BOOL GetClientRect(HWND hwnd, LPRECT rect);
HOST_API BOOL GetWindowRect(HWND hwnd, LPRECT rect);
HOST_API BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
HOST_API BOOL ShowWindow(HWND hwnd, int cmd);
HOST_API BOOL IsWindowVisible(HWND hwnd);
HOST_API BOOL EnableWindow(HWND hwnd, BOOL enable);
HOST_API BOOL IsWindowEnabled(HWND hwnd);
HOST_API BOOL ClientToScreen(HWND hwnd, POINT* pt);
HOST_API BOOL ScreenToClient(HWND hwnd, POINT* pt);
HOST_API HWND WindowFromPoint(POINT pt);
HOST_API HWND SetFocus(HWND hwnd);
HOST_API HWND GetFocus();
HOST_API HWND SetCapture(HWND hwnd);
HOST_API BOOL ReleaseCapture();
HOST_API HWND GetCapture();

// Rectangles.
HOST_API BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
HOST_API BOOL SetRectEmpty(LPRECT rect);
HOST_API BOOL IsRectEmpty(const RECT* rect);
HOST_API BOOL InflateRect(LPRECT rect, int dx, int dy);
HOST_API BOOL OffsetRect(LPRECT rect, int dx, int dy);
HOST_API BOOL IntersectRect(LPRECT out, const RECT* a, const RECT* b);
HOST_API BOOL UnionRect(LPRECT out, const RECT* a, const RECT* b);
HOST_API BOOL PtInRect(const RECT* rect, POINT pt);

// GDI objects and drawing.
HOST_API HGDIOBJ GetStockObject(int which);
HOST_API HBRUSH CreateSolidBrush(COLORREF color);
HOST_API HPEN CreatePen(int style, int width, COLORREF color);
HOST_API BOOL DeleteObject(HGDIOBJ obj);
HOST_API HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj);
HOST_API DWORD GetSysColor(int index);
HOST_API HBRUSH GetSysColorBrush(int index);
HOST_API BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
HOST_API int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
HOST_API int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
HOST_API BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous);
HOST_API BOOL LineTo(HDC hdc, int x, int y);
HOST_API COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
HOST_API COLORREF GetPixel(HDC hdc, int x, int y);
HOST_API BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int length);
HOST_API int DrawText(HDC hdc, LPCSTR text, int length, LPRECT rect, UINT format);
HOST_API BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int length, SIZE* size);
HOST_API COLORREF SetTextColor(HDC hdc, COLORREF color);
HOST_API COLORREF SetBkColor(HDC hdc, COLORREF color);
HOST_API int SetBkMode(HDC hdc, int mode);
HOST_API int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                               UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info, UINT colorUse);
HOST_API int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                           int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info, UINT colorUse,
                           DWORD rop);

#endif
