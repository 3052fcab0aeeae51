#include "script_gen.h"

#include "paramtype.h"

#include <array>
#include <string_view>

namespace fuzz {
namespace {

// The fuzzer's bytes, read front to back; past the end every read answers 0, so any input decodes.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return pos_ >= size_; }
  unsigned byte() { return pos_ < size_ ? data_[pos_++] : 0u; }
  // 0 .. n-1 (n > 0): one byte, two when n is larger than a byte.
  std::size_t pick(std::size_t n) {
    if (n <= 1) return 0;
    std::size_t v = byte();
    if (n > 256) v = v << 8 | byte();
    return v % n;
  }
  template <class T, std::size_t N>
  const T& oneOf(const std::array<T, N>& items) { return items[pick(N)]; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

constexpr std::array<std::string_view, 22> kIntegers = {
    "0", "1", "-1", "2", "3", "7", "100", "5000", "65535", "65536", "2147483647", "-2147483648",
    "2147483648", "-2147483647", "1000000000", "0x7FFFFFFF", "0xFFFFFFFF", "9223372036854775807", "-100000",
    "1e9", "16777217", "4096"};
// Sizes and indices for tables: the host caps a table at about a million entries and fills every
// one, which takes seconds; a huge count or index would only slow the fuzzer down.
constexpr std::array<std::string_view, 8> kCounts = {"0", "1", "2", "7", "100", "-1", "-2147483648", "1e-38"};
constexpr std::array<std::string_view, 14> kFloats = {
    "0.0", "-0.0", "0.5", "-2.5", "1e-38", "1e-45", "1e38", "-1e38", "3.4e38", "1e300", "(sqrt -1)",
    "(0.0/0.0)", "(1e30*1e30)", "(-1e30*1e30)"};
constexpr std::array<std::string_view, 31> kStrings = {
    "\"\"", "\"a\"", "\"B1\"", "\"Sp*?x\"", "\"*\"", "\"?\"", "\"Box*\"", "\"'\"", "\"\\\\\"", "\"%\"",
    "\"%1%2%\"", "\"\\n\"", "\"renderable\"", "\"position\"", "\"wirecolor\"", "\"QZMMaterial\"",
    "\"UserPropBuffer\"", "\"\xc3\xa9t\xc3\xa9 \xe4\xb8\xad\"", "\"\xff\xfe\x80\"", "\"\xe2\x80\xae" "abc\"",
    "\"$B1.pos = [1,2,3]\"", "\"#(1,2)\"", "(bit.intAsChar 1)", "\"1\\x01" "2\\x01\"", "\"a|b\"",
    "\"it's \\\\ odd\"", "\"out.max\"", "\"nofile.ms\"", "\"pass\"", "\"C:\\\\temp\\\\x\"", "\"/dev/zero\""};
constexpr std::array<std::string_view, 12> kNames = {
    "#renderable", "#position", "#wirecolor", "#'odd name*'", "#passlist", "#propertyName", "#''",
    "#noPrompt", "#name", "#material", "#pos", "#node"};
constexpr std::array<std::string_view, 8> kPaths = {
    "$B1", "$'Sp\\*\\?x'", "$'Sp*?x'", "$*", "$", "$'none'", "$'it\\'s \\\\ odd'", "$B*"};
constexpr std::array<std::string_view, 6> kConstants = {"true", "false", "undefined", "unsupplied", "ok", "#()"};
constexpr std::array<std::string_view, 18> kKeywords = {
    "name", "pos", "material", "color", "start", "end", "to", "camera", "outputwidth", "outputheight",
    "frame", "wirecolor", "radius", "length", "width", "height", "mode", "vfb"};
constexpr std::array<std::string_view, 16> kSceneOps = {
    "delete b1", "b1 = box name:\"B1\"", "max undo", "max redo", "theHold.Begin()", "theHold.Accept \"x\"",
    "theHold.Cancel()", "append a1 a1", "gc()", "saveMaxFile \"s.max\"", "loadMaxFile \"s.max\"",
    "resetMaxFile #noPrompt", "b2.parent = b1", "b1.parent = b2", "dead = box(); delete dead",
    "sliderTime = 10"};

// The variables the prologue defines and statements read and assign.
constexpr std::array<std::string_view, 9> kVariables = {"b1", "b2", "b3", "dead", "a1", "v1", "v2", "v3", "v4"};

class Writer {
 public:
  Writer(Bytes& in, const Catalogue& c) : in_(in), c_(c) {}

  std::string run() {
    prologue();
    for (int n = 0; n < 64 && !in_.done(); ++n) {
      out_ += "try (";
      statement(0);
      out_ += ") catch ()\n";
    }
    return std::move(out_);
  }

 private:
  // Nodes with awkward names, a deleted node, an array that holds itself, and one instance of every
  // plug-in class: helpers on a node of their own pointing at b1, materials on b2.
  void prologue() {
    out_ +=
        "struct QZMCapturePropsStruct (doAddMaterial = false)\n"
        "global QZMCaptureProps = QZMCapturePropsStruct()\n"
        "global b1 = box name:\"B1\"\n"
        "global b2 = sphere name:\"Sp*?x\"\n"
        "global b3 = box name:\"it's \\\\ odd\"\n"
        "global dead = box name:\"Dead\"\n"
        "delete dead\n"
        "global a1 = #(1, \"a\", #b)\n"
        "append a1 a1\n"
        "global v1 = 1, v2 = \"s\", v3 = b1, v4 = #()\n";
    for (std::size_t i = 0; i < c_.classes.size(); ++i) {
      const PluginClass& pc = c_.classes[i];
      std::string var = object(i);
      out_ += "global " + var + " = undefined\n";
      out_ += "try (" + var + " = " + pc.name + "()) catch ()\n";
      for (const Member& p : pc.properties)
        if (p.type == TYPE_INODE) out_ += "try (" + var + "." + p.name + " = b1) catch ()\n";
      if (pc.material) out_ += "try (b2.material = " + var + ") catch ()\n";
    }
  }

  static std::string object(std::size_t i) { return "o" + std::to_string(i + 1); }

  void statement(int depth) {
    switch (in_.pick(12)) {
      case 0: case 1: case 2: case 3: primitiveCall(depth); break;
      case 4: case 5: memberCall(depth); break;
      case 6: propertyEdit(depth); break;
      case 7:
        out_ += in_.oneOf(kVariables);
        out_ += " = ";
        expr(depth);
        break;
      case 8: out_ += in_.oneOf(kSceneOps); break;
      case 9:
        if (depth > 1) return primitiveCall(depth);
        out_ += "undo \"u\" on (";
        statement(depth + 1);
        out_ += ")";
        break;
      case 10: interfaceCall(depth); break;
      default:
        out_ += in_.byte() & 1 ? "print " : "format \"%\\n\" ";
        expr(depth);
        break;
    }
  }

  void primitiveCall(int depth) {
    if (c_.primitives.empty()) return expr(depth);
    out_ += c_.primitives[in_.pick(c_.primitives.size())];
    args(in_.pick(5), depth);
    if (in_.pick(4) == 0) {
      out_ += " ";
      out_ += in_.oneOf(kKeywords);
      out_ += ":";
      expr(depth + 1);
    }
  }

  // The argument count is the function's own most of the time, and one too few or too many else.
  void memberCall(int depth) {
    if (c_.classes.empty()) return primitiveCall(depth);
    std::size_t k = in_.pick(c_.classes.size());
    const PluginClass& pc = c_.classes[k];
    if (pc.functions.empty()) return propertyEdit(depth);
    const Member& f = pc.functions[in_.pick(pc.functions.size())];
    out_ += instance(k) + "." + f.name;
    std::size_t count = f.params.size();
    switch (in_.pick(6)) {
      case 0: count = count ? count - 1 : 1; break;
      case 1: ++count; break;
      default: break;
    }
    if (count == 0) {
      out_ += "()";
      return;
    }
    for (std::size_t i = 0; i < count; ++i) {
      out_ += " ";
      if (i < f.params.size() && in_.pick(3) != 0) typedArg(f.params[i], depth);
      else expr(depth + 1);
    }
  }

  // The instance, sometimes reached through something else: a deleted one, or the node of a helper.
  std::string instance(std::size_t k) {
    switch (in_.pick(8)) {
      case 0: return "dead";
      case 1: return "v" + std::to_string(1 + in_.pick(4));
      default: return object(k);
    }
  }

  void propertyEdit(int depth) {
    if (c_.classes.empty()) return primitiveCall(depth);
    std::size_t k = in_.pick(c_.classes.size());
    const PluginClass& pc = c_.classes[k];
    if (pc.properties.empty()) return primitiveCall(depth);
    const Member& p = pc.properties[in_.pick(pc.properties.size())];
    std::string target = instance(k) + "." + p.name;
    if (!p.table) {
      out_ += target + " = ";
      return in_.pick(2) ? typedArg(p.type, depth) : expr(depth + 1);
    }
    int element = p.type & ~TYPE_TAB;
    switch (in_.pick(6)) {
      case 0:
        out_ += "append " + target + " ";
        return in_.pick(2) ? typedArg(element, depth) : expr(depth + 1);
      case 1:
        out_ += target + "[";
        out_ += in_.oneOf(kCounts);
        out_ += "] = ";
        return in_.pick(2) ? typedArg(element, depth) : expr(depth + 1);
      case 2:
        out_ += "deleteItem " + target + " ";
        out_ += in_.oneOf(kIntegers);
        return;
      case 3:
        out_ += target + ".count = ";
        out_ += in_.oneOf(kCounts);
        return;
      case 4:
        out_ += "insertItem ";
        expr(depth + 1);
        out_ += " " + target + " ";
        out_ += in_.oneOf(kIntegers);
        return;
      default: {
        out_ += target + " = #(";
        std::size_t n = in_.pick(5);
        for (std::size_t i = 0; i < n; ++i) {
          if (i) out_ += ", ";
          if (in_.pick(2)) typedArg(element, depth);
          else expr(depth + 1);
        }
        out_ += ")";
      }
    }
  }

  void interfaceCall(int depth) {
    if (c_.interfaces.empty()) return primitiveCall(depth);
    const CoreInterface& ci = c_.interfaces[in_.pick(c_.interfaces.size())];
    if (ci.functions.empty()) return primitiveCall(depth);
    const Member& f = ci.functions[in_.pick(ci.functions.size())];
    out_ += ci.name + "." + f.name;
    args(f.params.size() + in_.pick(2), depth);
  }

  void args(std::size_t n, int depth) {
    if (n == 0) {
      out_ += "()";
      return;
    }
    for (std::size_t i = 0; i < n; ++i) {
      out_ += " ";
      expr(depth + 1);
    }
  }

  // A value of roughly the type a parameter wants, at its edges.
  void typedArg(int type, int depth) {
    switch (type & ~TYPE_TAB) {
      case TYPE_INT: case TYPE_TIMEVALUE: case TYPE_BOOL: out_ += in_.oneOf(kIntegers); return;
      case TYPE_FLOAT: case TYPE_ANGLE: case TYPE_WORLD: case TYPE_PCNT_FRAC: out_ += in_.oneOf(kFloats); return;
      case TYPE_STRING: case TYPE_FILENAME: string(); return;
      case TYPE_INODE: out_ += in_.pick(2) ? kVariables[in_.pick(4)] : in_.oneOf(kPaths); return;
      default: expr(depth + 1);
    }
  }

  void string() {
    if (in_.pick(4) != 0) {
      out_ += in_.oneOf(kStrings);
      return;
    }
    switch (in_.pick(3)) {
      case 0: out_ += "(\"\" + (bit.intAsChar 1) + \"x\")"; return;
      case 1: {
        // A long string, built by the script so that the text stays short.
        out_ += "(local s = \"\"; for i = 1 to ";
        out_ += in_.pick(2) ? "300" : "70000";
        out_ += " do s += \"ab*\"; s)";
        return;
      }
      default: {
        // Bytes of the input itself, any value but the ones that end the literal.
        out_ += "\"";
        for (std::size_t n = 1 + in_.pick(16); n > 0; --n) {
          unsigned b = in_.byte();
          if (b == 0) b = 0x80;
          if (b == '"' || b == '\\') out_ += '\\';
          out_ += static_cast<char>(b);
        }
        out_ += "\"";
      }
    }
  }

  void expr(int depth) {
    std::size_t kind = in_.pick(depth > 2 ? 8 : 15);
    switch (kind) {
      case 0: out_ += in_.oneOf(kIntegers); return;
      case 1: out_ += in_.oneOf(kFloats); return;
      case 2: string(); return;
      case 3: out_ += in_.oneOf(kNames); return;
      case 4: out_ += in_.oneOf(kConstants); return;
      case 5: out_ += in_.oneOf(kPaths); return;
      case 6: out_ += in_.oneOf(kVariables); return;
      case 7:
        if (c_.classes.empty()) break;
        out_ += object(in_.pick(c_.classes.size()));
        return;
      case 8: {
        out_ += "[";
        std::size_t n = 2 + in_.pick(3);
        for (std::size_t i = 0; i < n; ++i) {
          if (i) out_ += ", ";
          out_ += in_.pick(2) ? in_.oneOf(kFloats) : in_.oneOf(kIntegers);
        }
        out_ += "]";
        return;
      }
      case 9:
        out_ += "(color ";
        out_ += in_.oneOf(kIntegers);
        out_ += " ";
        out_ += in_.oneOf(kFloats);
        out_ += " 0)";
        return;
      case 10: {
        out_ += "#(";
        std::size_t n = in_.pick(4);
        for (std::size_t i = 0; i < n; ++i) {
          if (i) out_ += ", ";
          expr(depth + 1);
        }
        out_ += ")";
        return;
      }
      case 11:
        out_ += "(";
        primitiveCall(depth + 1);
        out_ += ")";
        return;
      case 12: {
        // A property of a plug-in instance or of a node.
        if (c_.classes.empty()) break;
        std::size_t k = in_.pick(c_.classes.size());
        const PluginClass& pc = c_.classes[k];
        if (pc.properties.empty()) break;
        out_ += instance(k) + "." + pc.properties[in_.pick(pc.properties.size())].name;
        return;
      }
      case 13:
        out_ += in_.oneOf(kVariables);
        out_ += "[";
        out_ += in_.oneOf(kIntegers);
        out_ += "]";
        return;
      default:
        out_ += in_.pick(2) ? "10f" : "(interval 0 100)";
        return;
    }
    out_ += in_.oneOf(kConstants);
  }

  Bytes& in_;
  const Catalogue& c_;
  std::string out_;
};

}  // namespace

std::string generateScript(const std::uint8_t* data, std::size_t size, const Catalogue& catalogue) {
  Bytes in(data, size);
  return Writer(in, catalogue).run();
}

}  // namespace fuzz
