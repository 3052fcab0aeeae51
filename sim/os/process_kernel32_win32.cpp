#include "os/process_kernel32.h"

#include <windows.h>

#include <cstddef>

namespace sim::os::kernel32 {

static_assert(sizeof(STARTUPINFOA) == kStartupInfoSize && offsetof(STARTUPINFOA, dwFlags) == kStartupInfoFlags &&
              offsetof(STARTUPINFOA, hStdError) == kStartupInfoStdError);
static_assert(sizeof(SECURITY_ATTRIBUTES) == kSecurityAttributesSize &&
              offsetof(SECURITY_ATTRIBUTES, bInheritHandle) == kSecurityAttributesInherit);
static_assert(sizeof(PROCESS_INFORMATION) == kProcessInformationSize);
static_assert(sizeof(OSVERSIONINFOA) == kOsVersionInfoSize);
static_assert(sizeof(SECURITY_DESCRIPTOR) == kSecurityDescriptorSize);

void getStartupInfo(void* startupInfo) { GetStartupInfoA(static_cast<STARTUPINFOA*>(startupInfo)); }

BOOL createProcess(const char* applicationName, char* commandLine, void* processAttributes,
                   void* threadAttributes, BOOL inheritHandles, DWORD creationFlags, void* environment,
                   const char* currentDirectory, void* startupInfo, void* processInformation) {
  return CreateProcessA(applicationName, commandLine, static_cast<SECURITY_ATTRIBUTES*>(processAttributes),
                        static_cast<SECURITY_ATTRIBUTES*>(threadAttributes), inheritHandles, creationFlags,
                        environment, currentDirectory, static_cast<STARTUPINFOA*>(startupInfo),
                        static_cast<PROCESS_INFORMATION*>(processInformation));
}

DWORD waitForSingleObject(void* handle, DWORD milliseconds) { return WaitForSingleObject(handle, milliseconds); }

BOOL getExitCodeProcess(void* process, DWORD* exitCode) { return GetExitCodeProcess(process, exitCode); }

BOOL createPipe(void** readPipe, void** writePipe, void* pipeAttributes, DWORD size) {
  return CreatePipe(readPipe, writePipe, static_cast<SECURITY_ATTRIBUTES*>(pipeAttributes), size);
}

BOOL peekNamedPipe(void* pipe, void* buffer, DWORD bufferSize, DWORD* bytesRead, DWORD* totalBytesAvail,
                   DWORD* bytesLeftThisMessage) {
  return PeekNamedPipe(pipe, buffer, bufferSize, bytesRead, totalBytesAvail, bytesLeftThisMessage);
}

BOOL readFile(void* file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, void* overlapped) {
  return ReadFile(file, buffer, bytesToRead, bytesRead, static_cast<OVERLAPPED*>(overlapped));
}

void* getCurrentProcess() { return GetCurrentProcess(); }

BOOL duplicateHandle(void* sourceProcess, void* source, void* targetProcess, void** target, DWORD desiredAccess,
                     BOOL inheritHandle, DWORD options) {
  return DuplicateHandle(sourceProcess, source, targetProcess, target, desiredAccess, inheritHandle, options);
}

BOOL closeHandle(void* object) { return CloseHandle(object); }

void setLastError(DWORD error) { SetLastError(error); }

BOOL getVersionEx(void* versionInformation) {
  return GetVersionExA(static_cast<OSVERSIONINFOA*>(versionInformation));
}

BOOL initializeSecurityDescriptor(void* securityDescriptor, DWORD revision) {
  return InitializeSecurityDescriptor(securityDescriptor, revision);
}

BOOL setSecurityDescriptorDacl(void* securityDescriptor, BOOL daclPresent, void* dacl, BOOL daclDefaulted) {
  return SetSecurityDescriptorDacl(securityDescriptor, daclPresent, static_cast<ACL*>(dacl), daclDefaulted);
}

DWORD getCurrentProcessId() { return GetCurrentProcessId(); }

void* openProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId) {
  return OpenProcess(desiredAccess, inheritHandle, processId);
}

BOOL getProcessAffinityMask(void* process, std::uintptr_t* processMask, std::uintptr_t* systemMask) {
  DWORD_PTR p = 0, s = 0;
  if (!GetProcessAffinityMask(process, &p, &s)) return FALSE;
  *processMask = p;
  *systemMask = s;
  return TRUE;
}

BOOL setProcessAffinityMask(void* process, std::uintptr_t mask) { return SetProcessAffinityMask(process, mask); }

DWORD getPriorityClass(void* process) { return GetPriorityClass(process); }

BOOL setPriorityClass(void* process, DWORD priorityClass) { return SetPriorityClass(process, priorityClass); }

void getSystemTime(void* systemTime) { GetSystemTime(static_cast<SYSTEMTIME*>(systemTime)); }

std::int16_t getAsyncKeyState(int virtualKey) { return GetAsyncKeyState(virtualKey); }

}  // namespace sim::os::kernel32
