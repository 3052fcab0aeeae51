// The rest of the `bit` struct: hexadecimal text, single bits (numbered from 1, the lowest) and the
// bits of a float.
#include "maxscript/maxscript.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

// A bit number from 1 to 32.
int bitIndex(Value* v) {
  int i = v->to_int();
  if (i < 1 || i > 32) throw RuntimeError("Bit index out of range (1 to 32): ", v);
  return i - 1;
}

unsigned bits(Value* v) { return static_cast<unsigned>(v->to_int()); }
Value* fromBits(unsigned u) { return Integer::intern(static_cast<int>(u)); }

}  // namespace

// bit.hexAsInt "ff": the number the hexadecimal digits give (a "0x" before them is allowed; digits
// past 32 bits are dropped from the top); undefined when the text starts with no digit.
def_struct_primitive(bit_hexAsInt, bit, "hexAsInt");
Value* bit_hexAsInt_cf(Value** arg_list, int count) {
  check_arg_count(hexAsInt, 1, count);
  if (!is_string(arg_list[0])) throw ConversionError(arg_list[0], "String");
  const std::string& s = static_cast<String*>(arg_list[0])->text;
  size_t at = s.find_first_not_of(" \t");
  if (at == std::string::npos) return undefined;
  if (s.compare(at, 2, "0x") == 0 || s.compare(at, 2, "0X") == 0) at += 2;
  uint32_t value = 0;
  size_t digits = 0;
  for (; at < s.size(); ++at, ++digits) {
    char c = s[at];
    int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (d < 0) break;
    value = value << 4 | static_cast<uint32_t>(d);
  }
  return digits ? fromBits(value) : undefined;
}

def_struct_primitive(bit_get, bit, "get");
Value* bit_get_cf(Value** arg_list, int count) {
  check_arg_count(get, 2, count);
  return bool_result(bits(arg_list[0]) >> bitIndex(arg_list[1]) & 1u);
}

def_struct_primitive(bit_set, bit, "set");
Value* bit_set_cf(Value** arg_list, int count) {
  check_arg_count(set, 3, count);
  unsigned mask = 1u << bitIndex(arg_list[1]);
  unsigned u = bits(arg_list[0]);
  return fromBits(arg_list[2]->to_bool() ? u | mask : u & ~mask);
}

def_struct_primitive(bit_flip, bit, "flip");
Value* bit_flip_cf(Value** arg_list, int count) {
  check_arg_count(flip, 2, count);
  return fromBits(bits(arg_list[0]) ^ 1u << bitIndex(arg_list[1]));
}

def_struct_primitive(bit_intAsFloat, bit, "intAsFloat");
Value* bit_intAsFloat_cf(Value** arg_list, int count) {
  check_arg_count(intAsFloat, 1, count);
  unsigned u = bits(arg_list[0]);
  float f;
  std::memcpy(&f, &u, sizeof f);
  return Float::intern(f);
}

def_struct_primitive(bit_floatAsInt, bit, "floatAsInt");
Value* bit_floatAsInt_cf(Value** arg_list, int count) {
  check_arg_count(floatAsInt, 1, count);
  float f = arg_list[0]->to_float();
  unsigned u;
  std::memcpy(&u, &f, sizeof u);
  return fromBits(u);
}
