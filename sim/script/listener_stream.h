// The Listener's edit stream as the host itself sees it: the text it keeps in memory and the file
// it echoes to. Plug-ins only write to it, through the CharStream that the_listener hands them.
#pragma once

#include "maxscript/streams.h"

#include <cstdio>
#include <string>

class HOST_API ListenerStream : public CharStream {
 public:
  const TCHAR* puts(const TCHAR* str) override;
  void sprin1(CharStream* s) override;
  const std::string& text() const { return text_; }
  void clear() { text_.clear(); }
  // Copies every write to this file as it happens (qzmhost running a file: standard output).
  void set_echo(FILE* f) { echo_ = f; }

 private:
  std::string text_;
  FILE* echo_ = nullptr;
};

namespace sim {
// The stream behind the_listener->edit_stream.
HOST_API ListenerStream* listenerStream();
}  // namespace sim
