// Looking at values from script: showProperties, areNodesInstances and formattedPrint.
#include "core/c_format.h"
#include "core/text.h"
#include "inode.h"
#include "iparamb2.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "script/node_args.h"
#include "script/param_values.h"
#include "script/property_table.h"
#include "script/scene_access.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Parameter types as showProperties names them.
std::string paramTypeName(int type) {
  bool table = (type & TYPE_TAB) != 0;
  std::string base;
  switch (type & ~TYPE_TAB) {
    case TYPE_FLOAT: base = "float"; break;
    case TYPE_INT: case TYPE_INDEX: case TYPE_RADIOBTN_INDEX: base = "integer"; break;
    case TYPE_RGBA: case TYPE_FRGBA: case TYPE_HSV: base = "RGB color"; break;
    case TYPE_POINT3: base = "point3"; break;
    case TYPE_POINT4: base = "point4"; break;
    case TYPE_BOOL: base = "boolean"; break;
    case TYPE_ANGLE: base = "angle"; break;
    case TYPE_PCNT_FRAC: base = "percent"; break;
    case TYPE_WORLD: base = "worldUnits"; break;
    case TYPE_STRING: base = "string"; break;
    case TYPE_FILENAME: base = "filename"; break;
    case TYPE_COLOR_CHANNEL: base = "colorChannel"; break;
    case TYPE_TIMEVALUE: base = "time"; break;
    case TYPE_MTL: base = "material"; break;
    case TYPE_TEXMAP: base = "texturemap"; break;
    case TYPE_BITMAP: base = "bitmap"; break;
    case TYPE_INODE: base = "node"; break;
    case TYPE_REFTARG: base = "maxObject"; break;
    case TYPE_MATRIX3: base = "matrix3"; break;
    default: base = "value"; break;
  }
  return table ? base + " array" : base;
}

}  // namespace

// showProperties obj ["pattern"] [to:stream]: one line per property, "  .name : type", the
// parameters of the object (a node shows its object's); true when any property was listed.
def_visible_primitive(showProperties, "showProperties");
Value* showProperties_cf(Value** arg_list, int count) {
  int n = count_positional_args(arg_list, count);
  if (n < 1 || n > 2) throw ArgCountError("showProperties", 1, n);
  Value* to = key_arg(to);
  CharStream* out = thread_local(current_stdout);
  if (to != &unsupplied && to != undefined) {
    out = dynamic_cast<CharStream*>(to);
    if (!out) throw TypeError("to: needs a stream", to);
  }
  std::string pattern = "*";
  if (n == 2) {
    if (!is_string(arg_list[1]) && !is_name(arg_list[1])) throw ConversionError(arg_list[1], "String");
    pattern = arg_list[1]->to_string();
  }
  auto* w = dynamic_cast<MAXWrapper*>(arg_list[0]);
  if (!w) throw ConversionError(arg_list[0], "MAXWrapper");
  ReferenceTarget* target = w->checked();
  if (auto* node = dynamic_cast<INode*>(target)) target = sim::rt::baseObjectOf(node);
  if (!target) return false_value;
  std::vector<std::string> names;
  sim::rt::listParams(target, names);
  std::vector<std::string> others;
  sim::listPropertyNames(target, others);
  // The property tables come from several files, whose registration order the linker decides: the
  // listing sorts them so that it reads the same on every build.
  std::sort(others.begin(), others.end(), [](const std::string& a, const std::string& b) {
    return sim::toLowerAscii(a) < sim::toLowerAscii(b);
  });
  for (std::string& o : others) {
    bool seen = false;
    for (const std::string& p : names) seen = seen || sim::equalsIgnoreCase(p, o);
    if (!seen) names.push_back(o);
  }
  bool any = false;
  for (const std::string& name : names) {
    if (!sim::wildcardMatch(name, pattern, true)) continue;
    any = true;
    std::string line = "  ." + name;
    if (sim::rt::ParamRef p = sim::rt::findParam(target, Name::intern(name.c_str())))
      line += " : " + paramTypeName(p.block->GetParamDef(p.id).type);
    out->puts((line + "\n").c_str());
  }
  return bool_result(any);
}

// Two nodes are instances when they share their object (modifiers included).
def_visible_primitive(areNodesInstances, "areNodesInstances");
Value* areNodesInstances_cf(Value** arg_list, int count) {
  check_arg_count(areNodesInstances, 2, count);
  INode* a = sim::rt::nodeArg(arg_list[0]);
  INode* b = sim::rt::nodeArg(arg_list[1]);
  return bool_result(a == b || sim::rt::baseObjectOf(a) == sim::rt::baseObjectOf(b));
}

namespace {

// A C conversion without its %: flags, width, precision, an ignored size ("l", "ll", "h", "I64")
// and the conversion letter. Widths and precisions are capped, so no format makes a huge text.
struct NumberFormat {
  std::string spec;  // rebuilt, with "%" and without size letters
  char conversion = 0;
};

bool parseFormat(std::string f, NumberFormat& out) {
  if (!f.empty() && f[0] == '%') f.erase(0, 1);
  size_t i = 0;
  std::string spec = "%";
  while (i < f.size() && std::string("-+ #0").find(f[i]) != std::string::npos) spec += f[i++];
  for (int part = 0; part < 2; ++part) {
    if (part == 1) {
      if (i >= f.size() || f[i] != '.') break;
      spec += f[i++];
    }
    size_t start = i;
    while (i < f.size() && std::isdigit(static_cast<unsigned char>(f[i]))) ++i;
    if (i - start > 3) return false;
    spec += f.substr(start, i - start);
  }
  for (const char* size : {"I64", "ll", "l", "h", "L"})
    if (f.compare(i, std::string(size).size(), size) == 0) {
      i += std::string(size).size();
      break;
    }
  if (i + 1 != f.size() || std::string("diouxXeEfFgGaA").find(f[i]) == std::string::npos) return false;
  out.conversion = f[i];
  out.spec = spec;
  return true;
}

std::string formatted(const std::string& spec, ...) {
  va_list args;
  va_start(args, spec);
  std::string s = sim::c_vformat(spec.c_str(), args);
  va_end(args);
  return s;
}

}  // namespace

// formattedPrint 7 format:"03d" -> "007": a number through a C conversion.
def_visible_primitive(formattedPrint, "formattedPrint");
Value* formattedPrint_cf(Value** arg_list, int count) {
  int n = count_positional_args(arg_list, count);
  if (n != 1) throw ArgCountError("formattedPrint", 1, n);
  Value* v = arg_list[0];
  if (!is_number(v)) throw ConversionError(v, "Number");
  Value* formatArg = key_arg(format);
  std::string text = formatArg == &unsupplied ? std::string(is_integer(v) ? "d" : "g") : std::string();
  if (formatArg != &unsupplied) {
    if (!is_string(formatArg)) throw ConversionError(formatArg, "String");
    text = static_cast<String*>(formatArg)->text;
  }
  NumberFormat f;
  if (!parseFormat(text, f)) throw RuntimeError("Invalid number format: ", formatArg);
  double d = is_integer(v) ? static_cast<Integer*>(v)->value : static_cast<double>(v->to_float());
  bool integral = std::string("diouxX").find(f.conversion) != std::string::npos;
  if (!integral) return new String(formatted(f.spec + f.conversion, d));
  // Integer conversions of a float drop its fraction, as a C cast does; the language's integers
  // are 32-bit, so unsigned conversions show a negative number's 32 bits.
  if (!(d > -2147483649.0 && d < 4294967296.0)) throw RuntimeError("Number out of range for an integer format: ", v);
  long long whole = static_cast<long long>(d);
  if (f.conversion == 'd' || f.conversion == 'i') return new String(formatted(f.spec + "lld", whole));
  return new String(formatted(f.spec + "ll" + f.conversion, static_cast<unsigned long long>(static_cast<uint32_t>(whole))));
}
