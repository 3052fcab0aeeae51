// The system calls behind host/winprocess.h on Windows. <windows.h> declares the same names and
// structures as that header, so the two never meet in one source file: process_win32.cpp sees the
// host's declarations and calls these, process_kernel32_win32.cpp sees <windows.h> and makes the
// calls. Structures pass as pointers; both sides check that their layouts agree.
#pragma once

#include "host_api.h"

namespace sim::os::kernel32 {

// Sizes and offsets that both declarations of the structures must have.
constexpr unsigned kStartupInfoSize = 104, kStartupInfoFlags = 60, kStartupInfoStdError = 96;
constexpr unsigned kSecurityAttributesSize = 24, kSecurityAttributesInherit = 16;
constexpr unsigned kProcessInformationSize = 24, kOsVersionInfoSize = 148, kSecurityDescriptorSize = 40;

void getStartupInfo(void* startupInfo);
BOOL createProcess(const char* applicationName, char* commandLine, void* processAttributes,
                   void* threadAttributes, BOOL inheritHandles, DWORD creationFlags, void* environment,
                   const char* currentDirectory, void* startupInfo, void* processInformation);
DWORD waitForSingleObject(void* handle, DWORD milliseconds);
BOOL getExitCodeProcess(void* process, DWORD* exitCode);
BOOL createPipe(void** readPipe, void** writePipe, void* pipeAttributes, DWORD size);
BOOL peekNamedPipe(void* pipe, void* buffer, DWORD bufferSize, DWORD* bytesRead, DWORD* totalBytesAvail,
                   DWORD* bytesLeftThisMessage);
BOOL readFile(void* file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, void* overlapped);
void* getCurrentProcess();
BOOL duplicateHandle(void* sourceProcess, void* source, void* targetProcess, void** target, DWORD desiredAccess,
                     BOOL inheritHandle, DWORD options);
BOOL closeHandle(void* object);
void setLastError(DWORD error);
BOOL getVersionEx(void* versionInformation);
BOOL initializeSecurityDescriptor(void* securityDescriptor, DWORD revision);
BOOL setSecurityDescriptorDacl(void* securityDescriptor, BOOL daclPresent, void* dacl, BOOL daclDefaulted);
DWORD getCurrentProcessId();
void* openProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId);
BOOL getProcessAffinityMask(void* process, std::uintptr_t* processMask, std::uintptr_t* systemMask);
BOOL setProcessAffinityMask(void* process, std::uintptr_t mask);
DWORD getPriorityClass(void* process);
BOOL setPriorityClass(void* process, DWORD priorityClass);
void getSystemTime(void* systemTime);
std::int16_t getAsyncKeyState(int virtualKey);

}  // namespace sim::os::kernel32
