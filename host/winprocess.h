// Child processes and anonymous pipes in the shape of the Win32 calls that plug-ins make to run
// commands: the same names, structures, constants and results. On Windows the host passes them on
// to the system; elsewhere it gives the same observable behaviour with the system's processes and
// pipes (sim/os). What every host guarantees:
// - A command line is run as the Windows command interpreter runs the text after its /c switch.
// - A command line of 32767 characters or more, a program that cannot be found or run, a current
//   directory that cannot be entered and an environment block of its own (the child always gets
//   the host's) fail the start: CreateProcess answers FALSE.
// - The child's standard input, output and error are the handles of the start-up information when
//   bInheritHandles is TRUE and STARTF_USESTDHANDLES is set, otherwise the null device, as for a
//   console program started without a console. It inherits no other handle.
// - A process may end after its handles are closed; nothing of it stays behind.
// - Security attributes and descriptors are accepted and change nothing: pipes are private to the
//   host and its children.
#pragma once

#include "host_api.h"

using HANDLE = void*;
using LPVOID = void*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
constexpr DWORD WAIT_TIMEOUT = 0x00000102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD STILL_ACTIVE = 259;

constexpr DWORD CREATE_NO_WINDOW = 0x08000000;  // a console program without a console window
constexpr DWORD STARTF_USESHOWWINDOW = 0x00000001;
constexpr DWORD STARTF_USECOUNTCHARS = 0x00000008;
constexpr DWORD STARTF_USESTDHANDLES = 0x00000100;
constexpr WORD SW_HIDE = 0;
constexpr DWORD DUPLICATE_CLOSE_SOURCE = 0x00000001;
constexpr DWORD DUPLICATE_SAME_ACCESS = 0x00000002;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
constexpr DWORD SECURITY_DESCRIPTOR_REVISION = 1;

// The structures have the layout of their 64-bit Windows counterparts, whose sizes plug-ins write
// into them (104, 24, 148).
struct STARTUPINFO {
  DWORD cb;
  LPSTR lpReserved;
  LPSTR lpDesktop;
  LPSTR lpTitle;
  DWORD dwX;
  DWORD dwY;
  DWORD dwXSize;
  DWORD dwYSize;
  DWORD dwXCountChars;
  DWORD dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput;
  HANDLE hStdOutput;
  HANDLE hStdError;
};
using LPSTARTUPINFO = STARTUPINFO*;

struct PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// Opaque to its users; the size of the system's own.
struct SECURITY_DESCRIPTOR {
  BYTE Revision;
  BYTE Sbz1;
  WORD Control;
  void* Owner;
  void* Group;
  void* Sacl;
  void* Dacl;
};
using PSECURITY_DESCRIPTOR = LPVOID;
struct ACL;
using PACL = ACL*;

struct OSVERSIONINFO {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  char szCSDVersion[128];
};
using LPOSVERSIONINFO = OSVERSIONINFO*;

static_assert(sizeof(STARTUPINFO) == 104 || sizeof(void*) != 8);
static_assert(sizeof(SECURITY_ATTRIBUTES) == 24 || sizeof(void*) != 8);
static_assert(sizeof(OSVERSIONINFO) == 148);

HOST_API void GetStartupInfo(LPSTARTUPINFO lpStartupInfo);
HOST_API BOOL CreateProcess(LPCSTR lpApplicationName, LPSTR lpCommandLine,
                            LPSECURITY_ATTRIBUTES lpProcessAttributes, LPSECURITY_ATTRIBUTES lpThreadAttributes,
                            BOOL bInheritHandles, DWORD dwCreationFlags, LPVOID lpEnvironment,
                            LPCSTR lpCurrentDirectory, LPSTARTUPINFO lpStartupInfo,
                            LPPROCESS_INFORMATION lpProcessInformation);
HOST_API DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
HOST_API BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode);

// nSize 0: the system's default size.
HOST_API BOOL CreatePipe(HANDLE* hReadPipe, HANDLE* hWritePipe, LPSECURITY_ATTRIBUTES lpPipeAttributes, DWORD nSize);
// Copies what waits in the pipe without taking it; every pointer may be null.
HOST_API BOOL PeekNamedPipe(HANDLE hNamedPipe, LPVOID lpBuffer, DWORD nBufferSize, LPDWORD lpBytesRead,
                            LPDWORD lpTotalBytesAvail, LPDWORD lpBytesLeftThisMessage);
// Waits until at least one byte is there, or every writing end is closed (FALSE, nothing read).
HOST_API BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                       LPVOID lpOverlapped);

HOST_API HANDLE GetCurrentProcess();
HOST_API BOOL DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle, HANDLE hTargetProcessHandle,
                              HANDLE* lpTargetHandle, DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwOptions);
HOST_API BOOL CloseHandle(HANDLE hObject);

HOST_API BOOL GetVersionEx(LPOSVERSIONINFO lpVersionInformation);
HOST_API BOOL InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR pSecurityDescriptor, DWORD dwRevision);
HOST_API BOOL SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR pSecurityDescriptor, BOOL bDaclPresent, PACL pDacl,
                                        BOOL bDaclDefaulted);
