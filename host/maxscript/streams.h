// Character streams: the Listener's window, strings and files, all with printf-style output that
// writes numbers with a point whatever the locale.
#pragma once

#include "maxscript/value.h"

#include <algorithm>
#include <cstdio>
#include <string>

class HOST_API CharStream : public Value {
 public:
  virtual TCHAR get_char() { return 0; }
  virtual void unget_char(TCHAR c) {}
  virtual TCHAR peek_char() { return 0; }
  virtual int at_eos() { return TRUE; }
  virtual void rewind() {}
  virtual void flush() {}
  virtual const TCHAR* puts(const TCHAR* str) = 0;
  virtual TCHAR putch(TCHAR c);
  int printf(const TCHAR* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;
  virtual void close() {}
  // Everything not yet read (text streams); lets a parser work on the rest without copying per char.
  virtual std::string remaining_text() { return {}; }
  virtual void skip(size_t n) {}
};

HOST_API extern ValueMetaClass StringStream_class;

// A stream over a growing string: written to with puts/printf, read from its start.
class HOST_API StringStream : public CharStream {
 public:
  StringStream();
  explicit StringStream(const TCHAR* init);
  const TCHAR* puts(const TCHAR* str) override;
  TCHAR putch(TCHAR c) override;
  TCHAR get_char() override;
  void unget_char(TCHAR c) override;
  TCHAR peek_char() override;
  int at_eos() override;
  void rewind() override { pos_ = 0; }
  void reset() { text_.clear(); pos_ = 0; }
  // The read position, 0-based; seek clamps to the text's length.
  size_t pos() const { return pos_; }
  void seek(size_t p) { pos_ = std::min(p, text_.size()); }
  const TCHAR* to_string() override { return text_.c_str(); }
  std::string remaining_text() override { return pos_ < text_.size() ? text_.substr(pos_) : std::string(); }
  void skip(size_t n) override { pos_ = std::min(text_.size(), pos_ + n); }
  void sprin1(CharStream* s) override;
  const std::string& text() const { return text_; }

 private:
  std::string text_;
  size_t pos_ = 0;
};

// A file opened for reading or writing: `FileStream* f = (new FileStream)->open(name, "rt")`, null
// when the file cannot be opened (a folder cannot). Reading stops with a script error past a fixed
// size, so an endless input (a device, a pipe) ends.
class HOST_API FileStream : public CharStream {
 public:
  FileStream();
  ~FileStream() override;
  FileStream* open(const TCHAR* fileName, const TCHAR* mode);
  const TCHAR* puts(const TCHAR* str) override;
  TCHAR get_char() override;
  void unget_char(TCHAR c) override;
  TCHAR peek_char() override;
  int at_eos() override;
  void rewind() override;
  void flush() override;
  void close() override;
  std::string remaining_text() override;
  void skip(size_t n) override;
  void sprin1(CharStream* s) override;

 private:
  [[noreturn]] void tooLarge();
  FILE* file_ = nullptr;
  std::string name_;
  int ungot_ = -1;
  size_t read_ = 0;  // bytes taken from the file since it was opened or rewound
};

// The Listener: the host's script console. Whatever is written to its edit stream stays in its
// window.
class HOST_API Listener {
 public:
  CharStream* edit_stream;
};

HOST_API extern Listener* the_listener;
