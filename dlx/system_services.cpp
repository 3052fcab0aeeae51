// Small services for the pass manager's scripts: key state, the clock, the scripts' random offsets,
// a point along a Bezier curve, and the library's version.
#include "primitive_args.h"

#include "random.h"
#include "winsystem.h"

namespace {

using namespace qzmdlx;

struct Point3d {
  double x, y, z;
};

// The point at t, each coordinate kept in single precision as the curve's samples always were.
Point3d bezierAt(const Point3d& p0, const Point3d& p1, const Point3d& p2, const Point3d& p3, double t) {
  double u = 1.0 - t;
  double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
  return {static_cast<float>(a * p0.x + b * p1.x + c * p2.x + d * p3.x),
          static_cast<float>(a * p0.y + b * p1.y + c * p2.y + d * p3.y),
          static_cast<float>(a * p0.z + b * p1.z + c * p2.z + d * p3.z)};
}

}  // namespace

def_visible_primitive(QZMGetKeyState, "QZMGetKeyState");
Value* QZMGetKeyState_cf(Value** arg_list, int count) {
  checkCount(_T("QZMGetKeyState"), 1, count);
  return Integer::intern(static_cast<int>(GetAsyncKeyState(arg_list[0]->to_int())));
}

def_visible_primitive(QZMGetSystemTime, "QZMGetSystemTime");
Value* QZMGetSystemTime_cf(Value** arg_list, int count) {
  checkCount(_T("QZMGetSystemTime"), 1, count);
  Array* out = requireArray(arg_list[0], _T("Return array not supplied"));
  SYSTEMTIME now{};
  GetSystemTime(&now);
  for (WORD field : {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds})
    out->append(Integer::intern(field));
  return true_value;
}

def_visible_primitive(QZMgetRnd, "QZMgetRnd");
Value* QZMgetRnd_cf(Value** arg_list, int count) {
  checkCount(_T("QZMgetRnd"), 1, count);
  Random generator;
  generator.srand(static_cast<unsigned int>(arg_list[0]->to_int()));
  return Integer::intern(generator.rand() % 40 + 1);
}

// Walks the curve in steps of 0.001 until its x has advanced by dx; a curve whose x never gets
// there ends at its last point instead of walking forever.
def_visible_primitive(QZMInterpolateBez, "QZMInterpolateBez");
Value* QZMInterpolateBez_cf(Value** arg_list, int count) {
  checkCount(_T("QZMInterpolateBez"), 13, count);
  float f[13];
  for (int i = 0; i < 13; ++i) f[i] = arg_list[i]->to_float();
  Point3d p0{f[0], f[1], f[2]}, p3{f[3], f[4], f[5]}, p1{f[6], f[7], f[8]}, p2{f[9], f[10], f[11]};
  float target = f[0] + f[12];
  Point3d current = p0;
  // The 1001st step lands a hair above 1 in double precision; it still samples the end point.
  for (double t = 0.0; target > current.x && t <= 1.0 + 1e-9; t += 0.001) current = bezierAt(p0, p1, p2, p3, t);
  ResultFrame frame;
  auto* result = new Array(3);
  frame.keep(result);
  for (double v : {current.x, current.y, current.z}) result->append(Float::intern(static_cast<float>(v)));
  return frame.result(result);
}

def_visible_primitive(getQZMVersion, "getQZMVersion");
Value* getQZMVersion_cf(Value**, int) { return Float::intern(1.21f); }
