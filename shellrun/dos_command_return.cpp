// QZMDOSCommandReturn "command" [startpath:"dir"] [donotwait:true] [prompt:"text"]: runs the command
// without a console window with its standard output and error going into a pipe, empties the
// Listener, and prints what the command wrote into it, in chunks of at most 1023 bytes, each on a
// line of its own.
//
// The pipe is read while the command runs, not only after its end: a command that writes more than
// the pipe holds would otherwise wait for a reader while we wait for it. Reading is in blocks as
// large as what waits; the chunks printed are the same as if everything were read at the end.
#include "dos_command.h"
#include "winprocess.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr DWORD kChunkSize = 1023;  // bytes of output per Listener line
constexpr DWORD kReadBlock = 1 << 16;

// Prints the command's output in chunks of kChunkSize bytes, each as printf("%s\n") would: a zero
// byte in the output ends the printed text of its chunk. The line break is put in place of the
// text's end so that each chunk reaches the stream in one write, unformatted.
class ListenerChunks {
 public:
  explicit ListenerChunks(CharStream* out) : out_(out) {}

  void add(const char* bytes, size_t n) {
    while (n > 0) {
      size_t take = std::min<size_t>(n, kChunkSize - fill_);
      std::memcpy(buffer_ + fill_, bytes, take);
      fill_ += take;
      bytes += take;
      n -= take;
      if (fill_ == kChunkSize) print();
    }
  }
  // The last, shorter chunk; an output that fills whole chunks has none.
  void finish() {
    if (fill_ > 0) print();
  }

 private:
  void print() {
    size_t text = strnlen(buffer_, fill_);
    buffer_[text] = '\n';
    buffer_[text + 1] = '\0';
    out_->puts(buffer_);
    fill_ = 0;
  }
  CharStream* out_;
  char buffer_[kChunkSize + 2];  // with room for the line break and the zero after it
  size_t fill_ = 0;
};

// How long to wait for the command's end when nothing waits in the pipe, by the number of such
// rounds in a row: at first only a look (output usually follows at once), then growing pauses so
// that a quiet command costs nothing.
DWORD idleWait(int idleRounds) {
  if (idleRounds < 4) return 0;
  return std::min<DWORD>(1u << std::min(idleRounds - 4, 5), 32);
}

// Reads `n` bytes that wait in the pipe (so no read blocks) and prints them. False when a read
// failed.
bool readWaiting(HANDLE reading, DWORD n, std::vector<char>& block, ListenerChunks& chunks) {
  while (n > 0) {
    DWORD got = 0;
    if (!ReadFile(reading, block.data(), std::min<DWORD>(n, static_cast<DWORD>(block.size())), &got, nullptr) ||
        got == 0)
      return false;
    chunks.add(block.data(), got);
    n -= std::min(n, got);
  }
  return true;
}

// Reads everything the command writes until its end and prints it. False when the wait failed.
bool collectOutput(HANDLE process, HANDLE reading, CharStream* out) {
  ListenerChunks chunks(out);
  std::vector<char> block(kReadBlock);
  for (int idleRounds = 0;;) {
    DWORD waiting = 0;
    if (!PeekNamedPipe(reading, nullptr, 0, nullptr, &waiting, nullptr)) waiting = 0;
    // A read that fails counts as a round without output: the bytes still waiting must not keep
    // us from waiting for the command's end.
    if (waiting > 0 && readWaiting(reading, std::min(waiting, kReadBlock), block, chunks)) {
      idleRounds = 0;
      continue;
    }
    DWORD w = WaitForSingleObject(process, idleWait(idleRounds));
    idleRounds = std::min(idleRounds + 1, 16);
    if (w == WAIT_OBJECT_0) {
      // Only what waits now: a process the command left running may go on writing into the pipe.
      if (!PeekNamedPipe(reading, nullptr, 0, nullptr, &waiting, nullptr)) waiting = 0;
      readWaiting(reading, waiting, block, chunks);
      chunks.finish();
      return true;
    }
    if (w != WAIT_TIMEOUT) break;
  }
  chunks.finish();
  return false;
}

}  // namespace

def_visible_primitive(QZMDOSCommandReturn, "QZMDOSCommandReturn");
Value* QZMDOSCommandReturn_cf(Value** arg_list, int count) {
  DosCommandArgs args = ReadDosCommandArgs(arg_list, count);
  std::string commandLine = BuildCommandLine(args.command);
  CharStream* out = thread_local(current_stdout);
  bool succeeded = false;
  {
    StatusPrompt prompt(args.prompt);

    // Pipe ends the child inherits, with a descriptor that lets everyone at them (NT systems).
    SECURITY_ATTRIBUTES sa{};
    sa.nLength = sizeof(SECURITY_ATTRIBUTES);
    sa.bInheritHandle = TRUE;
    SECURITY_DESCRIPTOR sd{};
    OSVERSIONINFO version{};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFO);
    if (GetVersionEx(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
      InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
      SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
      sa.lpSecurityDescriptor = &sd;
    }

    STARTUPINFO si{};
    GetStartupInfo(&si);  // standard input stays the host's
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USECOUNTCHARS | STARTF_USESTDHANDLES;
    si.wShowWindow = SW_HIDE;
    si.cb = sizeof(STARTUPINFO);
    si.dwYCountChars = 5000;

    HANDLE readPipe = nullptr, writePipe = nullptr, writeDup = nullptr, readDup = nullptr;
    if (!CreatePipe(&readPipe, &writePipe, &sa, 0)) out->printf("CreatePipe Failed\n");
    if (!DuplicateHandle(GetCurrentProcess(), writePipe, GetCurrentProcess(), &writeDup, 0, TRUE,
                         DUPLICATE_SAME_ACCESS)) {
      std::printf("DuplicateHandle");
      std::fflush(stdout);
    }
    if (!DuplicateHandle(GetCurrentProcess(), readPipe, GetCurrentProcess(), &readDup, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
      out->printf("DuplicateHandle failed");
    si.hStdOutput = writePipe;
    si.hStdError = writeDup;

    PROCESS_INFORMATION pi{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    BOOL created = CreateProcess(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                 args.hasStartPath ? args.startPath.c_str() : nullptr, &si, &pi);
    ExecuteMAXScriptScript(_T("ClearListener()\n"), TRUE);
    if (created) {
      succeeded = args.doNotWait || collectOutput(pi.hProcess, readDup, out);
      if (!args.doNotWait) {
        DWORD exitCode = 0;
        GetExitCodeProcess(pi.hProcess, &exitCode);
      }
    }

    if (created) {
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
    for (HANDLE h : {readPipe, readDup, writePipe, writeDup})
      if (h) CloseHandle(h);
  }
  if (succeeded) return true_value;
  out->printf(kDosCommandReturnError, commandLine.c_str());
  return false_value;
}
