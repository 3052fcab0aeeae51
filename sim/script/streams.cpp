#include "maxscript/streams.h"

#include "core/c_format.h"
#include "maxscript/classes.h"
#include "maxscript/exceptions.h"
#include "script/listener_stream.h"
#include "script/file_paths.h"

#include <algorithm>
#include <cstdarg>
#include <filesystem>
#include <string_view>

TCHAR CharStream::putch(TCHAR c) {
  char s[2] = {c, 0};
  puts(s);
  return c;
}

int CharStream::printf(const TCHAR* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = sim::c_vformat(format, args);
  va_end(args);
  puts(text.c_str());
  return static_cast<int>(text.size());
}

// ---- StringStream --------------------------------------------------------------------------------

ValueMetaClass StringStream_class("StringStream");

StringStream::StringStream() { tag = &StringStream_class; }
StringStream::StringStream(const TCHAR* init) : text_(init ? init : "") { tag = &StringStream_class; }

const TCHAR* StringStream::puts(const TCHAR* str) {
  if (str) text_ += str;
  return str;
}
TCHAR StringStream::putch(TCHAR c) {
  text_ += c;
  return c;
}
TCHAR StringStream::get_char() { return pos_ < text_.size() ? text_[pos_++] : 0; }
void StringStream::unget_char(TCHAR) {
  if (pos_ > 0) --pos_;
}
TCHAR StringStream::peek_char() { return pos_ < text_.size() ? text_[pos_] : 0; }
int StringStream::at_eos() { return pos_ >= text_.size(); }
void StringStream::sprin1(CharStream* s) {
  s->puts("StringStream:");
  String quoted(text_);
  quoted.make_permanent();  // a stack value must not be counted or listed
  quoted.sprin1(s);
}

// ---- FileStream ----------------------------------------------------------------------------------

namespace {
// The most a file stream reads: far beyond any script, and an end for inputs that have none.
constexpr size_t kMaxFileRead = size_t(64) << 20;
}  // namespace

FileStream::FileStream() = default;
FileStream::~FileStream() { close(); }

FileStream* FileStream::open(const TCHAR* fileName, const TCHAR* mode) {
  close();
  if (!fileName || !mode) return nullptr;
  // The language's "rt"/"wt" text modes: our files keep their bytes as they are.
  std::string m;
  for (const char* c = mode; *c; ++c)
    if (*c != 't') m += *c;
  if (m.find('b') == std::string::npos) m += 'b';
  // Either slash, as everywhere in scripts; the stream keeps the name as it was given.
  const std::filesystem::path path = sim::rt::nativePath(fileName);
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return nullptr;
  file_ = std::fopen(path.string().c_str(), m.c_str());
  name_ = fileName;
  read_ = 0;
  return file_ ? this : nullptr;
}

const TCHAR* FileStream::puts(const TCHAR* str) {
  if (file_ && str) std::fputs(str, file_);
  return str;
}

TCHAR FileStream::get_char() {
  if (ungot_ >= 0) {
    TCHAR c = static_cast<TCHAR>(ungot_);
    ungot_ = -1;
    return c;
  }
  if (!file_) return 0;
  int c = std::fgetc(file_);
  if (c == EOF) return 0;
  if (++read_ > kMaxFileRead) tooLarge();
  return static_cast<TCHAR>(c);
}

void FileStream::tooLarge() {
  throw RuntimeError(sim::c_format("File larger than %zu MB: ", kMaxFileRead >> 20).c_str(), new String(name_));
}

void FileStream::unget_char(TCHAR c) { ungot_ = static_cast<unsigned char>(c); }

TCHAR FileStream::peek_char() {
  TCHAR c = get_char();
  if (!at_eos() || c) unget_char(c);
  return c;
}

int FileStream::at_eos() {
  if (ungot_ >= 0) return FALSE;
  if (!file_) return TRUE;
  int c = std::fgetc(file_);
  if (c == EOF) return TRUE;
  std::ungetc(c, file_);
  return FALSE;
}

void FileStream::rewind() {
  ungot_ = -1;
  read_ = 0;
  if (file_) std::rewind(file_);
}

void FileStream::flush() {
  if (file_) std::fflush(file_);
}

void FileStream::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

std::string FileStream::remaining_text() {
  std::string out;
  if (ungot_ >= 0) out += static_cast<char>(ungot_);
  if (!file_) return out;
  long at = std::ftell(file_);
  char buf[65536];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, file_)) > 0;) {
    out.append(buf, n);
    if (read_ + out.size() > kMaxFileRead) tooLarge();
  }
  std::fseek(file_, at, SEEK_SET);
  return out;
}

void FileStream::skip(size_t n) {
  if (n && ungot_ >= 0) {
    ungot_ = -1;
    --n;
  }
  if (file_ && n) std::fseek(file_, static_cast<long>(n), SEEK_CUR);
}

void FileStream::sprin1(CharStream* s) { s->printf("<File:%s>", name_.c_str()); }

// ---- the Listener --------------------------------------------------------------------------------

namespace {
// What the Listener keeps in memory at most. A command or loop that never stops printing must not
// take the host's memory with it: the oldest text gives way (everything still reaches the echo).
constexpr size_t kListenerKeptBytes = size_t(32) << 20;
}  // namespace

const TCHAR* ListenerStream::puts(const TCHAR* str) {
  if (!str) return str;
  std::string_view added(str);
  if (added.size() > kListenerKeptBytes) text_.clear();
  text_ += added.substr(added.size() - std::min(added.size(), kListenerKeptBytes));
  if (text_.size() > kListenerKeptBytes) {
    // A quarter more than needed goes at once, so that a long run of small writes does not move
    // the whole text each time; the kept text starts at a line where one starts soon enough.
    size_t cut = text_.size() - kListenerKeptBytes + kListenerKeptBytes / 4;
    size_t line = text_.find('\n', cut);
    if (line != std::string::npos && line - cut < kListenerKeptBytes / 4) cut = line + 1;
    text_.erase(0, cut);
  }
  if (echo_) {
    std::fputs(str, echo_);
    std::fflush(echo_);
  }
  return str;
}

void ListenerStream::sprin1(CharStream* s) { s->puts("<Listener>"); }

ListenerStream* sim::listenerStream() {
  static ListenerStream* stream = [] {
    auto* s = new ListenerStream;
    s->make_permanent();
    return s;
  }();
  return stream;
}

namespace {
Listener g_listener{sim::listenerStream()};
}  // namespace

Listener* the_listener = &g_listener;
