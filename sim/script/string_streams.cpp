// Reading from streams the way the language's text file functions do: positions count characters
// from 0, lines end at "\n" (a "\r" before it is dropped), and reading past the end is an error
// rather than an endless run of empty strings. Writing (`format ... to:`, `print ... to:`) appends.
#include "script/string_streams.h"

#include "maxscript/maxscript.h"
#include "script/listener_stream.h"

#include <string>

namespace {

const std::string& stringArg(Value* v) {
  if (!is_string(v)) throw ConversionError(v, "String");
  return static_cast<String*>(v)->text;
}

CharStream* streamArg(Value* v) {
  if (auto* s = dynamic_cast<CharStream*>(v); s && !dynamic_cast<ListenerStream*>(v)) return s;
  throw ConversionError(v, "Stream");
}

StringStream* stringStreamArg(Value* v, const char* fn) {
  if (auto* s = dynamic_cast<StringStream*>(v)) return s;
  std::string message = std::string(fn) + " needs a string stream, got: ";
  throw RuntimeError(message.c_str(), v);
}

void needMore(CharStream* s) {
  if (s->at_eos()) throw RuntimeError("Read past the end of the stream: ", s);
}

}  // namespace

def_visible_primitive(stringStream, "stringStream");
Value* stringStream_cf(Value** arg_list, int count) {
  check_arg_count(stringStream, 1, count);
  return new StringStream(stringArg(arg_list[0]).c_str());
}

namespace sim::rt {

// `stringStream` names both the class and its constructor; `as` takes either.
Value* stringStreamAs(Value* v, Value* cls) {
  if ((cls == class_tag(StringStream) || cls == &stringStream_pf) && is_string(v)) return new StringStream(static_cast<String*>(v)->text.c_str());
  if (auto* ss = dynamic_cast<StringStream*>(v); ss && cls == class_tag(String)) return new String(ss->text());
  return nullptr;
}

Value* freeStringStream(Value* v) {
  auto* ss = dynamic_cast<StringStream*>(v);
  if (!ss) return nullptr;
  ss->reset();
  return ok;
}

}  // namespace sim::rt

// readLine s: the rest of the line, without its end.
def_visible_primitive(readLine, "readLine");
Value* readLine_cf(Value** arg_list, int count) {
  check_arg_count(readLine, 1, count);
  CharStream* s = streamArg(arg_list[0]);
  needMore(s);
  std::string line;
  while (!s->at_eos()) {
    char c = s->get_char();
    if (c == '\n') break;
    line += c;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return new String(line);
}

def_visible_primitive(readChar, "readChar");
Value* readChar_cf(Value** arg_list, int count) {
  check_arg_count(readChar, 1, count);
  CharStream* s = streamArg(arg_list[0]);
  needMore(s);
  return new String(std::string(1, s->get_char()));
}

// readChars s n: the next n characters, or as many as are left.
def_visible_primitive(readChars, "readChars");
Value* readChars_cf(Value** arg_list, int count) {
  check_arg_count(readChars, 2, count);
  CharStream* s = streamArg(arg_list[0]);
  int n = arg_list[1]->to_int();
  if (n < 0) throw RuntimeError("readChars needs a count of 0 or more, got: ", arg_list[1]);
  if (n > 0) needMore(s);
  std::string out;
  for (int i = 0; i < n && !s->at_eos(); ++i) out += s->get_char();
  return new String(out);
}

// readDelimitedString s delimiters: the characters up to the first of `delimiters`, which is read
// and dropped.
def_visible_primitive(readDelimitedString, "readDelimitedString");
Value* readDelimitedString_cf(Value** arg_list, int count) {
  check_arg_count(readDelimitedString, 2, count);
  CharStream* s = streamArg(arg_list[0]);
  const std::string& delims = stringArg(arg_list[1]);
  needMore(s);
  std::string out;
  while (!s->at_eos()) {
    char c = s->get_char();
    if (delims.find(c) != std::string::npos) break;
    out += c;
  }
  return new String(out);
}

// skipToString s text: moves past the next `text` and answers ok; undefined, at the end, when there
// is none.
def_visible_primitive(skipToString, "skipToString");
Value* skipToString_cf(Value** arg_list, int count) {
  check_arg_count(skipToString, 2, count);
  CharStream* s = streamArg(arg_list[0]);
  const std::string& what = stringArg(arg_list[1]);
  if (what.empty()) return ok;
  std::string rest = s->remaining_text();
  size_t at = rest.find(what);
  if (at == std::string::npos) {
    s->skip(rest.size());
    return undefined;
  }
  s->skip(at + what.size());
  return ok;
}

def_visible_primitive(skipToNextLine, "skipToNextLine");
Value* skipToNextLine_cf(Value** arg_list, int count) {
  check_arg_count(skipToNextLine, 1, count);
  CharStream* s = streamArg(arg_list[0]);
  while (!s->at_eos() && s->get_char() != '\n') {
  }
  return ok;
}

def_visible_primitive(skipSpace, "skipSpace");
Value* skipSpace_cf(Value** arg_list, int count) {
  check_arg_count(skipSpace, 1, count);
  CharStream* s = streamArg(arg_list[0]);
  while (!s->at_eos() && std::string(" \t\r\n").find(s->peek_char()) != std::string::npos) s->get_char();
  return ok;
}

def_visible_primitive(eof, "eof");
Value* eof_cf(Value** arg_list, int count) {
  check_arg_count(eof, 1, count);
  return bool_result(streamArg(arg_list[0])->at_eos());
}

// seek s pos: pos counts characters from 0; #eof is the end.
def_visible_primitive(seek, "seek");
Value* seek_cf(Value** arg_list, int count) {
  check_arg_count(seek, 2, count);
  StringStream* s = stringStreamArg(arg_list[0], "seek");
  Value* where = arg_list[1];
  if (is_name(where) && static_cast<Name*>(where)->lower == "eof") {
    s->seek(s->text().size());
    return ok;
  }
  int p = where->to_int();
  if (p < 0 || static_cast<size_t>(p) > s->text().size()) throw RuntimeError("seek position out of range: ", where);
  s->seek(static_cast<size_t>(p));
  return ok;
}

def_visible_primitive(filePos, "filePos");
Value* filePos_cf(Value** arg_list, int count) {
  check_arg_count(filePos, 1, count);
  return Integer::intern(static_cast<int>(stringStreamArg(arg_list[0], "filePos")->pos()));
}
