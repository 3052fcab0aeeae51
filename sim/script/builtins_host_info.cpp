// What the host says about itself and the moment: maxVersion, the clock, the units, and the calls
// scripts make to a user interface that a headless host does not have (scene redraw, the progress
// bar). Those answer as the application does when the user lets the work run: nothing is shown, no
// call waits, and the work is never cancelled unless the script itself said so.
#include "core/c_format.h"
#include "maxscript/maxscript.h"
#include "plugapi.h"
#include "script/runtime.h"

#include <chrono>
#include <ctime>
#include <string>

namespace {

// The product year of the release in VERSION_3DSMAX: the one place the host's release is named.
constexpr int kProductYear = 2010;

struct Clock {
  std::tm tm{};
  int milliseconds = 0;
};

Clock now(bool universal) {
  auto t = std::chrono::system_clock::now();
  std::time_t secs = std::chrono::system_clock::to_time_t(t);
  Clock c;
  c.milliseconds = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count() % 1000);
#ifdef _WIN32
  universal ? gmtime_s(&c.tm, &secs) : localtime_s(&c.tm, &secs);
#else
  universal ? gmtime_r(&secs, &c.tm) : localtime_r(&secs, &c.tm);
#endif
  return c;
}

// #(year, month, day of week (Sunday 0), day, hour, minute, second, millisecond)
Value* clockArray(bool universal) {
  Clock c = now(universal);
  auto* a = new Array(8);
  for (int v : {c.tm.tm_year + 1900, c.tm.tm_mon + 1, c.tm.tm_wday, c.tm.tm_mday, c.tm.tm_hour, c.tm.tm_min,
                c.tm.tm_sec, c.milliseconds})
    a->append(Integer::intern(v));
  return a;
}

// The system's short date and time, in the form of its default (United States) settings:
// "12/9/2026 2:05:09 PM".
Value* localTimeText() {
  Clock c = now(false);
  int hour12 = c.tm.tm_hour % 12 == 0 ? 12 : c.tm.tm_hour % 12;
  return new String(sim::c_format("%d/%d/%d %d:%02d:%02d %s", c.tm.tm_mon + 1, c.tm.tm_mday, c.tm.tm_year + 1900,
                                  hour12, c.tm.tm_min, c.tm.tm_sec, c.tm.tm_hour < 12 ? "AM" : "PM"));
}

// ---- units: the system unit a scene unit stands for, kept for the session ----
const char* const kSystemUnits[] = {"inches", "feet", "miles", "millimeters", "centimeters", "meters", "kilometers"};
Value* g_systemType = nullptr;  // a Name, interned (never collected)
float g_systemScale = 1.0f;

Value* systemType() {
  if (!g_systemType) g_systemType = Name::intern("inches");
  return g_systemType;
}

Value* setSystemType(Value* v) {
  if (!is_name(v)) throw ConversionError(v, "Name");
  for (const char* u : kSystemUnits)
    if (static_cast<Name*>(v)->lower == u) {
      g_systemType = Name::intern(u);
      return v;
    }
  throw RuntimeError("Unknown system unit type: ", v);
}

Value* setSystemScale(Value* v) {
  float s = v->to_float();
  if (!(s > 0.0f)) throw RuntimeError("The system unit scale must be above zero: ", v);
  g_systemScale = s;
  return v;
}

// ---- progress and redraw: counted so the calls pair up, never shown ----
int g_redrawDisabled = 0;
bool g_progressCancel = false;

const bool kDefined = [] {
  sim::rt::defineSystemGlobal("localTime", [] { return localTimeText(); });
  define_struct_global("systemType", "units", [] { return systemType(); }, setSystemType);
  define_struct_global("systemScale", "units", [] { return static_cast<Value*>(Float::intern(g_systemScale)); },
                       setSystemScale);
  define_struct_global("displayType", "units", [] { return static_cast<Value*>(Name::intern("generic")); }, nullptr);
  return true;
}();

}  // namespace

// #(release, interface number, revision, major version, update, hotfix, build, product year,
// product year suffix)
def_visible_primitive(maxVersion, "maxVersion");
Value* maxVersion_cf(Value** arg_list, int count) {
  check_arg_count(maxVersion, 0, count);
  (void)arg_list;
  const int release = static_cast<int>(VERSION_3DSMAX >> 16), api = static_cast<int>(VERSION_3DSMAX >> 8 & 0xff),
            revision = static_cast<int>(VERSION_3DSMAX & 0xff);
  auto* a = new Array(9);
  for (int v : {release, api, revision, release / 1000, 0, 0, 0, kProductYear}) a->append(Integer::intern(v));
  a->append(new String(""));
  return a;
}

def_visible_primitive(getLocalTime, "getLocalTime");
Value* getLocalTime_cf(Value** arg_list, int count) {
  check_arg_count(getLocalTime, 0, count);
  (void)arg_list;
  return clockArray(false);
}

def_visible_primitive(getUniversalTime, "getUniversalTime");
Value* getUniversalTime_cf(Value** arg_list, int count) {
  check_arg_count(getUniversalTime, 0, count);
  (void)arg_list;
  return clockArray(true);
}

// units.formatValue 2.5: the value as the generic display unit shows it.
def_struct_primitive(units_formatValue, units, "formatValue");
Value* units_formatValue_cf(Value** arg_list, int count) {
  check_arg_count(formatValue, 1, count);
  if (!is_number(arg_list[0])) throw ConversionError(arg_list[0], "Float");
  return new String(sim::c_format("%g", static_cast<double>(arg_list[0]->to_float())));
}

// Viewports are what a scene redraw would update; this host has none, so only the pairing is kept
// (isSceneRedrawDisabled answers it).
def_visible_primitive(disableSceneRedraw, "disableSceneRedraw");
Value* disableSceneRedraw_cf(Value** arg_list, int count) {
  check_arg_count(disableSceneRedraw, 0, count);
  (void)arg_list;
  ++g_redrawDisabled;
  return ok;
}

def_visible_primitive(enableSceneRedraw, "enableSceneRedraw");
Value* enableSceneRedraw_cf(Value** arg_list, int count) {
  check_arg_count(enableSceneRedraw, 0, count);
  (void)arg_list;
  if (g_redrawDisabled > 0) --g_redrawDisabled;
  return ok;
}

def_visible_primitive(isSceneRedrawDisabled, "isSceneRedrawDisabled");
Value* isSceneRedrawDisabled_cf(Value** arg_list, int count) {
  check_arg_count(isSceneRedrawDisabled, 0, count);
  (void)arg_list;
  return bool_result(g_redrawDisabled > 0);
}

// progressStart "caption": true, the bar would show; a new bar starts uncancelled.
def_visible_primitive(progressStart, "progressStart");
Value* progressStart_cf(Value** arg_list, int count) {
  check_arg_count(progressStart, 1, count);
  if (!is_string(arg_list[0])) throw ConversionError(arg_list[0], "String");
  g_progressCancel = false;
  return true_value;
}

// progressUpdate percent: true while the work should go on (false once cancelled).
def_visible_primitive(progressUpdate, "progressUpdate");
Value* progressUpdate_cf(Value** arg_list, int count) {
  check_arg_count(progressUpdate, 1, count);
  if (!is_number(arg_list[0])) throw ConversionError(arg_list[0], "Float");
  return bool_result(!g_progressCancel);
}

def_visible_primitive(progressEnd, "progressEnd");
Value* progressEnd_cf(Value** arg_list, int count) {
  check_arg_count(progressEnd, 0, count);
  (void)arg_list;
  return ok;
}

def_visible_primitive(getProgressCancel, "getProgressCancel");
Value* getProgressCancel_cf(Value** arg_list, int count) {
  check_arg_count(getProgressCancel, 0, count);
  (void)arg_list;
  return bool_result(g_progressCancel);
}

def_visible_primitive(setProgressCancel, "setProgressCancel");
Value* setProgressCancel_cf(Value** arg_list, int count) {
  check_arg_count(setProgressCancel, 1, count);
  g_progressCancel = arg_list[0]->to_bool() != 0;
  return ok;
}
