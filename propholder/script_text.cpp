#include "script_text.h"

#include <charconv>
#include <cmath>

std::string ComposeText(std::string_view tmpl, std::initializer_list<std::string_view> args) {
  std::string out;
  ComposeTextInto(out, tmpl, args);
  return out;
}

void ComposeTextInto(std::string& out, std::string_view tmpl, std::initializer_list<std::string_view> args) {
  size_t size = tmpl.size();
  for (std::string_view a : args) size += a.size();
  out.clear();
  out.reserve(size);
  auto next = args.begin();
  size_t from = 0;
  for (size_t i = tmpl.find('%'); i != std::string_view::npos && i + 1 < tmpl.size(); i = tmpl.find('%', i)) {
    const char f = tmpl[i + 1];
    if (f != '%' && f != 's' && f != 'i' && f != 'd' && f != 'f') {
      ++i;  // a lone '%' is text
      continue;
    }
    out.append(tmpl.substr(from, i - from));
    if (f == '%') out += '%';
    else if (next != args.end()) out.append(*next++);
    i += 2;
    from = i;
  }
  out.append(tmpl.substr(from));
}

namespace {
std::string escaped(std::string_view text, std::string_view special) {
  // Most names have nothing to escape: copied whole.
  size_t at = text.find_first_of(special);
  if (at == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size() + 8);
  size_t from = 0;
  for (; at != std::string_view::npos; at = text.find_first_of(special, at + 1)) {
    out.append(text.substr(from, at - from));
    out += '\\';
    out += text[at];
    from = at + 1;
  }
  out.append(text.substr(from));
  return out;
}
}  // namespace

std::string PathName(std::string_view name) { return escaped(name, "'\\*?"); }

std::string QuotedName(std::string_view name) { return escaped(name, "'\\"); }

std::string InLiteral(std::string_view text) { return escaped(text, "\"\\"); }

namespace {
std::string enclosed(char quote, const std::string& text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += quote;
  out += text;
  out += quote;
  return out;
}
}  // namespace

std::string HolderPath(std::string_view name) {
  bool plain = !name.empty() && !(name[0] >= '0' && name[0] <= '9');
  for (char c : name)
    plain = plain && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_');
  if (plain) return std::string(name);
  return enclosed('\'', PathName(name));
}

std::string StringLiteral(std::string_view text) { return enclosed('"', InLiteral(text)); }

namespace {
constexpr const char* kControllerAddressScript =
    "global QZMIDA; if QZMIDA == undefined do QZMIDA = #(); append QZMIDA #(\"$'%s'.%s[%i][%i]\")\n";
constexpr const char* kObjectAddressScript =
    "global QZMIDA; if QZMIDA == undefined do QZMIDA = #(); append QZMIDA #(\"$'%s'.%s[%i]\")\n";
}  // namespace

std::string ControllerAddressText(std::string_view holder, std::string_view table, int passSlot, int propertySlot) {
  std::string out;
  ControllerAddressInto(out, AddressHolder(holder), table, passSlot, propertySlot);
  return out;
}

std::string ObjectAddressText(std::string_view holder, std::string_view table, std::string_view index) {
  std::string out;
  ObjectAddressInto(out, AddressHolder(holder), table, index);
  return out;
}

std::string AddressHolder(std::string_view holder) { return InLiteral(PathName(holder)); }

void ControllerAddressInto(std::string& out, std::string_view addressHolder, std::string_view table, int passSlot,
                           int propertySlot) {
  ComposeTextInto(out, kControllerAddressScript,
                  {addressHolder, table, FormatInt(passSlot + 1), FormatInt(propertySlot + 1)});
}

void ObjectAddressInto(std::string& out, std::string_view addressHolder, std::string_view table, std::string_view index) {
  ComposeTextInto(out, kObjectAddressScript, {addressHolder, table, InLiteral(index)});
}

std::string FormatFloat(double v) {
  if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  char buf[400];  // the longest double written with six decimals has 317 characters
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
  if (r.ec != std::errc()) return "0.000000";
  return std::string(buf, r.ptr);
}

std::string FormatInt(long long v) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string SplitArrow(std::string_view name, int k) {
  if (name.empty() || k < 0) return {};
  size_t start = 0;
  for (int part = 0;; ++part) {
    size_t arrow = name.find("->", start);
    if (part == k) return std::string(name.substr(start, arrow == std::string_view::npos ? arrow : arrow - start));
    if (arrow == std::string_view::npos) return {};
    start = arrow + 2;
  }
}
