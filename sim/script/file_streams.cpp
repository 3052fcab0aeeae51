// Text files as streams: `openFile`, `createFile`, `flush`, and `readValue`, which reads the next
// literal value (number, string, name, point, array, true/false/undefined) from any stream. The
// other reading and writing functions take any stream and live with the string streams.
#include "maxscript/maxscript.h"
#include "script/listener_stream.h"
#include "script/file_paths.h"

#include <cstdlib>
#include <string>

namespace {

CharStream* streamArg(Value* v) {
  if (auto* s = dynamic_cast<CharStream*>(v); s && !dynamic_cast<ListenerStream*>(v)) return s;
  throw ConversionError(v, "Stream");
}

// A FileStream on `name`, or undefined when it cannot be opened (missing, a folder, no right).
Value* openStream(const std::string& name, const char* mode) {
  if (name.empty()) return undefined;
  auto* stream = new FileStream;  // the call's frame lets it go when it stays unopened
  if (!stream->open(name.c_str(), mode)) return undefined;
  return stream;
}

// Nesting of arrays a value read from a file may have: deeper text is refused, not recursed into.
constexpr int kMaxReadDepth = 100;

// Reads one literal value from a stream, as it would be written in a script.
class ValueReader {
 public:
  explicit ValueReader(CharStream* s) : s_(s) {}

  Value* read(int depth = 0) {
    skipSpace();
    if (s_->at_eos()) throw RuntimeError("Read past the end of the stream: ", s_);
    if (depth > kMaxReadDepth) refuse("nested too deeply");
    char c = s_->peek_char();
    if (c == '"') return readString();
    if (c == '[') return readPoint(depth);
    if (c == '#') {
      s_->get_char();
      if (s_->peek_char() == '(') return readArray(depth);
      std::string word = readWord();
      if (word.empty()) refuse("# without a name");
      return Name::intern(word.c_str());
    }
    if (c == '-' || c == '+' || c == '.' || (c >= '0' && c <= '9')) return readNumber();
    std::string word = readWord();
    if (word == "true") return true_value;
    if (word == "false") return false_value;
    if (word == "undefined") return undefined;
    if (word == "ok") return ok;
    refuse(word.empty() ? std::string(1, s_->peek_char()).c_str() : word.c_str());
    return undefined;
  }

 private:
  [[noreturn]] void refuse(const char* what) {
    throw RuntimeError("readValue: no value to read at: ", new String(what));
  }

  void skipSpace() {
    while (!s_->at_eos()) {
      char c = s_->peek_char();
      if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
      s_->get_char();
    }
  }

  static bool wordChar(char c) {
    return c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           static_cast<unsigned char>(c) >= 0x80;
  }

  std::string readWord() {
    std::string w;
    while (!s_->at_eos() && wordChar(s_->peek_char())) w += s_->get_char();
    return w;
  }

  Value* readNumber() {
    std::string t;
    while (!s_->at_eos()) {
      char c = s_->peek_char();
      bool sign = (c == '-' || c == '+') && (t.empty() || t.back() == 'e' || t.back() == 'E');
      if (!sign && !(c >= '0' && c <= '9') && c != '.' && c != 'e' && c != 'E') break;
      t += s_->get_char();
    }
    char* end = nullptr;
    if (t.find_first_of(".eE") == std::string::npos) {
      long long v = std::strtoll(t.c_str(), &end, 10);
      if (end != t.c_str() && *end == 0 && v >= INT32_MIN && v <= INT32_MAX) return Integer::intern(static_cast<int>(v));
    }
    double d = std::strtod(t.c_str(), &end);
    if (end == t.c_str() || *end != 0) refuse(t.c_str());
    return Float::intern(static_cast<float>(d));
  }

  Value* readString() {
    s_->get_char();  // the opening quote
    std::string out;
    for (;;) {
      if (s_->at_eos()) refuse("a string without its closing quote");
      char c = s_->get_char();
      if (c == '"') break;
      if (c == '\\' && !s_->at_eos()) {
        char e = s_->get_char();
        c = e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
      }
      out += c;
    }
    return new String(out);
  }

  // Elements up to `close`, separated by commas.
  template <class Each>
  void readList(char close, Each each) {
    skipSpace();
    if (!s_->at_eos() && s_->peek_char() == close) {
      s_->get_char();
      return;
    }
    for (;;) {
      each();
      skipSpace();
      if (s_->at_eos()) refuse("a list without its end");
      char c = s_->get_char();
      if (c == close) return;
      if (c != ',') refuse(std::string(1, c).c_str());
    }
  }

  Value* readArray(int depth) {
    s_->get_char();  // (
    one_typed_value_local(Array* result);
    vl.result = new Array;
    readList(')', [&] { vl.result->append(read(depth + 1)); });
    return_value(vl.result);
  }

  Value* readPoint(int depth) {
    s_->get_char();  // [
    float c[3] = {0, 0, 0};
    int n = 0;
    readList(']', [&] {
      Value* v = read(depth + 1);
      if (!is_number(v) || n == 3) refuse("a point of more than three numbers");
      c[n++] = v->to_float();
    });
    if (n == 2) return new Point2Value(c[0], c[1]);
    if (n == 3) return new Point3Value(c[0], c[1], c[2]);
    refuse("a point of fewer than two numbers");
  }

  CharStream* s_;
};

}  // namespace

// openFile name [mode:"r"]: the file as a stream, or undefined when it cannot be opened. The modes
// are the C library's ("r", "w", "a", each with "+"), with "t" or "b" allowed and ignored.
def_visible_primitive(openFile, "openFile");
Value* openFile_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 1) throw ArgCountError("openFile", 1, positional);
  const std::string& name = sim::rt::fileNameArg(arg_list[0]);
  Value* modeArg = key_arg_or_default(mode, new String("r"));
  std::string mode = sim::rt::fileNameArg(modeArg), kind;
  for (char c : mode)
    if (c != 't' && c != 'b') kind += c;
  if (kind != "r" && kind != "w" && kind != "a" && kind != "r+" && kind != "w+" && kind != "a+")
    throw RuntimeError("openFile: unknown mode: ", modeArg);
  return openStream(name, kind.c_str());
}

// createFile name: a new empty file (an old one of that name is emptied) open for writing, or
// undefined when it cannot be made.
def_visible_primitive(createFile, "createFile");
Value* createFile_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 1) throw ArgCountError("createFile", 1, positional);
  return openStream(sim::rt::fileNameArg(arg_list[0]), "w");
}

def_visible_primitive(flush, "flush");
Value* flush_cf(Value** arg_list, int count) {
  check_arg_count(flush, 1, count);
  streamArg(arg_list[0])->flush();
  return ok;
}

def_visible_primitive(readValue, "readValue");
Value* readValue_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 1) throw ArgCountError("readValue", 1, positional);
  return ValueReader(streamArg(arg_list[0])).read();
}
