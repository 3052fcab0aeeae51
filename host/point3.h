// Points and vectors of two, three and four floats.
#pragma once

#include "host_api.h"

#include <cmath>

class Point2 {
 public:
  float x = 0, y = 0;
  constexpr Point2() = default;
  constexpr Point2(float X, float Y) : x(X), y(Y) {}
  constexpr Point2(double X, double Y) : x(float(X)), y(float(Y)) {}
  float& operator[](int i) { return (&x)[i]; }
  const float& operator[](int i) const { return (&x)[i]; }
  constexpr Point2 operator+(const Point2& o) const { return {x + o.x, y + o.y}; }
  constexpr Point2 operator-(const Point2& o) const { return {x - o.x, y - o.y}; }
  constexpr Point2 operator*(float f) const { return {x * f, y * f}; }
  constexpr bool operator==(const Point2& o) const { return x == o.x && y == o.y; }
  float Length() const { return std::sqrt(x * x + y * y); }
};

class Point3 {
 public:
  float x = 0, y = 0, z = 0;
  constexpr Point3() = default;
  constexpr Point3(float X, float Y, float Z) : x(X), y(Y), z(Z) {}
  constexpr Point3(double X, double Y, double Z) : x(float(X)), y(float(Y)), z(float(Z)) {}
  constexpr Point3(int X, int Y, int Z) : x(float(X)), y(float(Y)), z(float(Z)) {}
  float& operator[](int i) { return (&x)[i]; }
  const float& operator[](int i) const { return (&x)[i]; }
  constexpr Point3 operator-() const { return {-x, -y, -z}; }
  constexpr Point3 operator+(const Point3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  constexpr Point3 operator-(const Point3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  constexpr Point3 operator*(float f) const { return {x * f, y * f, z * f}; }
  constexpr Point3 operator/(float f) const { return {x / f, y / f, z / f}; }
  // Component-wise product, as the host defines it for Point3 * Point3.
  constexpr Point3 operator*(const Point3& o) const { return {x * o.x, y * o.y, z * o.z}; }
  Point3& operator+=(const Point3& o) { x += o.x; y += o.y; z += o.z; return *this; }
  Point3& operator-=(const Point3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
  Point3& operator*=(float f) { x *= f; y *= f; z *= f; return *this; }
  constexpr bool operator==(const Point3& o) const { return x == o.x && y == o.y && z == o.z; }
  constexpr bool operator!=(const Point3& o) const { return !(*this == o); }
  float Length() const { return std::sqrt(x * x + y * y + z * z); }
  constexpr float LengthSquared() const { return x * x + y * y + z * z; }
  Point3 Normalize() const {
    float l = Length();
    return l == 0 ? *this : *this / l;
  }
  static const Point3 Origin;
  static const Point3 XAxis;
  static const Point3 YAxis;
  static const Point3 ZAxis;
};
constexpr Point3 operator*(float f, const Point3& p) { return p * f; }
constexpr float DotProd(const Point3& a, const Point3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Point3 CrossProd(const Point3& a, const Point3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Length(const Point3& p) { return p.Length(); }
inline Point3 Normalize(const Point3& p) { return p.Normalize(); }
inline constexpr Point3 Point3::Origin{0.0f, 0.0f, 0.0f};
inline constexpr Point3 Point3::XAxis{1.0f, 0.0f, 0.0f};
inline constexpr Point3 Point3::YAxis{0.0f, 1.0f, 0.0f};
inline constexpr Point3 Point3::ZAxis{0.0f, 0.0f, 1.0f};

class Point4 {
 public:
  float x = 0, y = 0, z = 0, w = 0;
  constexpr Point4() = default;
  constexpr Point4(float X, float Y, float Z, float W) : x(X), y(Y), z(Z), w(W) {}
  constexpr Point4(double X, double Y, double Z, double W) : x(float(X)), y(float(Y)), z(float(Z)), w(float(W)) {}
  constexpr Point4(const Point3& p, float W) : x(p.x), y(p.y), z(p.z), w(W) {}
  float& operator[](int i) { return (&x)[i]; }
  const float& operator[](int i) const { return (&x)[i]; }
  constexpr Point4 operator+(const Point4& o) const { return {x + o.x, y + o.y, z + o.z, w + o.w}; }
  constexpr Point4 operator-(const Point4& o) const { return {x - o.x, y - o.y, z - o.z, w - o.w}; }
  constexpr Point4 operator*(float f) const { return {x * f, y * f, z * f, w * f}; }
  constexpr bool operator==(const Point4& o) const { return x == o.x && y == o.y && z == o.z && w == o.w; }
};
