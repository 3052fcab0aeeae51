// Basic platform words of the host SDK and the export markers of the host library and of plug-ins.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#  if defined(QZM_BUILDING_HOST)
#    define HOST_API __declspec(dllexport)
#  else
#    define HOST_API __declspec(dllimport)
#  endif
#  define PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#  define HOST_API __attribute__((visibility("default")))
#  define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// The SDK this host stands in for is the 8-bit character one: TCHAR is char.
using TCHAR = char;
using MCHAR = char;
#ifndef _T
#  define _T(x) x
#endif

using BOOL = int;
#ifndef TRUE
#  define TRUE 1
#  define FALSE 0
#endif
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using UINT = unsigned int;
using INT_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
#if defined(_WIN32)
// The same types as <windows.h> declares, so that the host's Win32 sources can include both.
using DWORD = unsigned long;
using ULONG = unsigned long;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
struct HWND__;
using HWND = HWND__*;
#else
using DWORD = std::uint32_t;
using ULONG = std::uint32_t;  // 32 bits on every platform, as on the host's own
using HINSTANCE = void*;
using HWND = void*;
#endif
