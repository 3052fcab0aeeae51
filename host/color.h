// Colours: RGB (Color) and RGBA (AColor) in floats, 1.0 being full intensity.
#pragma once

#include "host_api.h"
#include "point3.h"

class Color {
 public:
  float r = 0, g = 0, b = 0;
  constexpr Color() = default;
  constexpr Color(float R, float G, float B) : r(R), g(G), b(B) {}
  constexpr Color(double R, double G, double B) : r(float(R)), g(float(G)), b(float(B)) {}
  constexpr explicit Color(const Point3& p) : r(p.x), g(p.y), b(p.z) {}
  // From the host's packed word: red in the low byte.
  constexpr explicit Color(DWORD rgb)
      : r(float(rgb & 0xff) / 255.0f), g(float((rgb >> 8) & 0xff) / 255.0f), b(float((rgb >> 16) & 0xff) / 255.0f) {}
  float& operator[](int i) { return (&r)[i]; }
  const float& operator[](int i) const { return (&r)[i]; }
  constexpr operator Point3() const { return Point3(r, g, b); }
  constexpr Color operator+(const Color& o) const { return {r + o.r, g + o.g, b + o.b}; }
  constexpr Color operator-(const Color& o) const { return {r - o.r, g - o.g, b - o.b}; }
  constexpr Color operator*(const Color& o) const { return {r * o.r, g * o.g, b * o.b}; }
  constexpr Color operator*(float f) const { return {r * f, g * f, b * f}; }
  Color& operator+=(const Color& o) { r += o.r; g += o.g; b += o.b; return *this; }
  constexpr bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b; }
  constexpr bool operator!=(const Color& o) const { return !(*this == o); }
  void Black() { r = g = b = 0; }
  void White() { r = g = b = 1; }
  // Packed word, red in the low byte, each channel clamped and rounded to 0..255.
  DWORD toRGB() const {
    auto c = [](float v) -> DWORD { v = v < 0 ? 0 : (v > 1 ? 1 : v); return DWORD(v * 255.0f + 0.5f); };
    return c(r) | (c(g) << 8) | (c(b) << 16);
  }
};

class AColor {
 public:
  float r = 0, g = 0, b = 0, a = 0;
  constexpr AColor() = default;
  constexpr AColor(float R, float G, float B, float A = 1.0f) : r(R), g(G), b(B), a(A) {}
  constexpr AColor(double R, double G, double B, double A = 1.0) : r(float(R)), g(float(G)), b(float(B)), a(float(A)) {}
  constexpr AColor(const Color& c, float A = 1.0f) : r(c.r), g(c.g), b(c.b), a(A) {}
  float& operator[](int i) { return (&r)[i]; }
  const float& operator[](int i) const { return (&r)[i]; }
  constexpr operator Color() const { return Color(r, g, b); }
  constexpr bool operator==(const AColor& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
  constexpr AColor operator+(const AColor& o) const { return {r + o.r, g + o.g, b + o.b, a + o.a}; }
  constexpr AColor operator*(float f) const { return {r * f, g * f, b * f, a * f}; }
};
