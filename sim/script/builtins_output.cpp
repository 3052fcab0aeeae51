// Output primitives of the language: print, format and the Listener's text.
#include "maxscript/maxscript.h"
#include "script/listener_stream.h"
#include "script/value_heap.h"

#include <string>

namespace {

CharStream* outputStream(Value** arg_list, int count) {
  Value* to = key_arg(to);
  if (to != &unsupplied && to != undefined) {
    if (auto* s = dynamic_cast<CharStream*>(to)) return s;
    throw TypeError("to: needs a stream", to);
  }
  return thread_local(current_stdout);
}

}  // namespace

def_visible_primitive(print, "print");
Value* print_cf(Value** arg_list, int count) {
  if (count_positional_args(arg_list, count) != 1) throw ArgCountError("print", 1, count_positional_args(arg_list, count));
  CharStream* out = outputStream(arg_list, count);
  arg_list[0]->sprin1(out);
  out->puts("\n");
  return arg_list[0];
}

// format "text with % holes" values...: each % takes the next value as `format` shows it; "\%" in
// the script text gives a plain %.
def_visible_primitive(format, "format");
Value* format_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional < 1) throw ArgCountError("format", 1, positional);
  CharStream* out = outputStream(arg_list, count);
  std::string text = arg_list[0]->to_string();
  std::string result;
  int next = 1;
  for (char c : text) {
    if (c != '%') {
      result += c;
      continue;
    }
    if (next >= positional) throw RuntimeError("format: fewer arguments than % in the text");
    result += value_to_text(arg_list[next++], false);
  }
  out->puts(result.c_str());
  return ok;
}

def_visible_primitive(clearListener, "clearListener");
Value* clearListener_cf(Value**, int) {
  sim::listenerStream()->clear();
  return ok;
}

def_visible_primitive(getListenerText, "getListenerText");
Value* getListenerText_cf(Value**, int) { return new String(sim::listenerStream()->text()); }
