// Quat: a rotation as a unit quaternion (x, y, z, w), with the host's handedness: the quaternion of a
// matrix that turns x towards y by 90 degrees about z is (0, 0, -0.7071, 0.7071).
#pragma once

#include "host_api.h"
#include "matrix3.h"
#include "point3.h"

class HOST_API Quat {
 public:
  float x = 0, y = 0, z = 0, w = 1;
  Quat() = default;
  Quat(float X, float Y, float Z, float W) : x(X), y(Y), z(Z), w(W) {}
  Quat(double X, double Y, double Z, double W) : x(float(X)), y(float(Y)), z(float(Z)), w(float(W)) {}
  // The rotation part of a matrix.
  explicit Quat(const Matrix3& m);

  void Identity() { x = y = z = 0; w = 1; }
  bool IsIdentity() const { return x == 0 && y == 0 && z == 0 && (w == 1 || w == -1); }
  Quat Conjugate() const { return Quat(-x, -y, -z, w); }
  Quat Inverse() const;
  void Normalize();
  // Product: a * b applies a first, then b, as the matrices of a and b multiply.
  Quat operator*(const Quat& q) const;
  bool operator==(const Quat& q) const { return x == q.x && y == q.y && z == q.z && w == q.w; }
  float& operator[](int i) { return (&x)[i]; }
  const float& operator[](int i) const { return (&x)[i]; }

  void MakeMatrix(Matrix3& m) const;
};

// Spherical interpolation between two rotations, u from 0 to 1.
HOST_API Quat Slerp(const Quat& a, const Quat& b, float u);
// Axis and angle in radians.
HOST_API Quat QFromAngAxis(float angle, const Point3& axis);
