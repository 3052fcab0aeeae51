// Matrix3: the host's 4x3 transform. Rows 0-2 are the axes, row 3 the translation; points are row
// vectors, so p * A * B applies A first.
#pragma once

#include "host_api.h"
#include "point3.h"

class Quat;

class HOST_API Matrix3 {
 public:
  Matrix3() { IdentityMatrix(); }
  explicit Matrix3(int /*init*/) { IdentityMatrix(); }
  Matrix3(const Point3& r0, const Point3& r1, const Point3& r2, const Point3& r3) { m_[0] = r0; m_[1] = r1; m_[2] = r2; m_[3] = r3; }

  void IdentityMatrix();
  void Zero();
  bool IsIdentity() const;

  Point3& operator[](int i) { return m_[i]; }
  const Point3& operator[](int i) const { return m_[i]; }
  Point3 GetRow(int i) const { return m_[i]; }
  void SetRow(int i, const Point3& p) { m_[i] = p; }
  Point3 GetTrans() const { return m_[3]; }
  void SetTrans(const Point3& p) { m_[3] = p; }
  void NoTrans() { m_[3] = Point3(); }
  void Translate(const Point3& p) { m_[3] += p; }  // post-translate

  Matrix3 operator*(const Matrix3& b) const;
  Matrix3& operator*=(const Matrix3& b) { return *this = *this * b; }
  bool operator==(const Matrix3& b) const;

  // Post-multiplied (applied after the current transform) elementary changes.
  void RotateX(float angle);
  void RotateY(float angle);
  void RotateZ(float angle);
  void Scale(const Point3& s, bool transToo = false);
  // Pre-multiplied (applied before) elementary changes.
  void PreTranslate(const Point3& p);
  void PreRotateX(float angle);
  void PreRotateY(float angle);
  void PreRotateZ(float angle);
  void PreScale(const Point3& s);

  // Inverse of an affine transform; a singular matrix gives the identity.
  Matrix3 Inverse() const;
  // Vector transform without the translation.
  Point3 VectorTransform(const Point3& v) const;

 private:
  Point3 m_[4];
};

HOST_API Point3 operator*(const Point3& p, const Matrix3& m);
HOST_API Point3 VectorTransform(const Matrix3& m, const Point3& v);
HOST_API Matrix3 Inverse(const Matrix3& m);
HOST_API Matrix3 TransMatrix(const Point3& p);
HOST_API Matrix3 ScaleMatrix(const Point3& s);
HOST_API Matrix3 RotateXMatrix(float angle);
HOST_API Matrix3 RotateYMatrix(float angle);
HOST_API Matrix3 RotateZMatrix(float angle);
