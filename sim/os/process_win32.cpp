// host/winprocess.h on Windows: each call goes to the system (see os/process_kernel32.h), unless a
// test has asked it to fail (os/injected_failures.h).
#include "os/injected_failures.h"
#include "os/process_kernel32.h"
#include "winprocess.h"

#include <cstddef>

namespace k = sim::os::kernel32;

static_assert(sizeof(STARTUPINFO) == k::kStartupInfoSize && offsetof(STARTUPINFO, dwFlags) == k::kStartupInfoFlags &&
              offsetof(STARTUPINFO, hStdError) == k::kStartupInfoStdError);
static_assert(sizeof(SECURITY_ATTRIBUTES) == k::kSecurityAttributesSize &&
              offsetof(SECURITY_ATTRIBUTES, bInheritHandle) == k::kSecurityAttributesInherit);
static_assert(sizeof(PROCESS_INFORMATION) == k::kProcessInformationSize);
static_assert(sizeof(OSVERSIONINFO) == k::kOsVersionInfoSize);
static_assert(sizeof(SECURITY_DESCRIPTOR) == k::kSecurityDescriptorSize);

void GetStartupInfo(LPSTARTUPINFO lpStartupInfo) { k::getStartupInfo(lpStartupInfo); }

BOOL CreateProcess(LPCSTR lpApplicationName, LPSTR lpCommandLine, LPSECURITY_ATTRIBUTES lpProcessAttributes,
                   LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles, DWORD dwCreationFlags,
                   LPVOID lpEnvironment, LPCSTR lpCurrentDirectory, LPSTARTUPINFO lpStartupInfo,
                   LPPROCESS_INFORMATION lpProcessInformation) {
  if (sim::os::injectedFailure(sim::os::SystemCall::CreateProcess)) return FALSE;
  return k::createProcess(lpApplicationName, lpCommandLine, lpProcessAttributes, lpThreadAttributes, bInheritHandles,
                          dwCreationFlags, lpEnvironment, lpCurrentDirectory, lpStartupInfo, lpProcessInformation);
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  if (sim::os::injectedFailure(sim::os::SystemCall::WaitForSingleObject)) return WAIT_FAILED;
  return k::waitForSingleObject(hHandle, dwMilliseconds);
}

BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode) { return k::getExitCodeProcess(hProcess, lpExitCode); }

BOOL CreatePipe(HANDLE* hReadPipe, HANDLE* hWritePipe, LPSECURITY_ATTRIBUTES lpPipeAttributes, DWORD nSize) {
  if (sim::os::injectedFailure(sim::os::SystemCall::CreatePipe)) return FALSE;
  return k::createPipe(hReadPipe, hWritePipe, lpPipeAttributes, nSize);
}

BOOL PeekNamedPipe(HANDLE hNamedPipe, LPVOID lpBuffer, DWORD nBufferSize, LPDWORD lpBytesRead,
                   LPDWORD lpTotalBytesAvail, LPDWORD lpBytesLeftThisMessage) {
  if (sim::os::injectedFailure(sim::os::SystemCall::PeekNamedPipe)) return FALSE;
  return k::peekNamedPipe(hNamedPipe, lpBuffer, nBufferSize, lpBytesRead, lpTotalBytesAvail, lpBytesLeftThisMessage);
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPVOID lpOverlapped) {
  if (sim::os::injectedFailure(sim::os::SystemCall::ReadFile)) return FALSE;
  return k::readFile(hFile, lpBuffer, nNumberOfBytesToRead, lpNumberOfBytesRead, lpOverlapped);
}

HANDLE GetCurrentProcess() { return k::getCurrentProcess(); }

BOOL DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle, HANDLE hTargetProcessHandle,
                     HANDLE* lpTargetHandle, DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwOptions) {
  if (sim::os::injectedFailure(sim::os::SystemCall::DuplicateHandle)) return FALSE;
  return k::duplicateHandle(hSourceProcessHandle, hSourceHandle, hTargetProcessHandle, lpTargetHandle,
                            dwDesiredAccess, bInheritHandle, dwOptions);
}

BOOL CloseHandle(HANDLE hObject) { return k::closeHandle(hObject); }

BOOL GetVersionEx(LPOSVERSIONINFO lpVersionInformation) { return k::getVersionEx(lpVersionInformation); }

BOOL InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR pSecurityDescriptor, DWORD dwRevision) {
  return k::initializeSecurityDescriptor(pSecurityDescriptor, dwRevision);
}

BOOL SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR pSecurityDescriptor, BOOL bDaclPresent, PACL pDacl,
                               BOOL bDaclDefaulted) {
  return k::setSecurityDescriptorDacl(pSecurityDescriptor, bDaclPresent, pDacl, bDaclDefaulted);
}
