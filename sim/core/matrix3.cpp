#include "matrix3.h"

#include <cmath>

void Matrix3::IdentityMatrix() {
  m_[0] = Point3(1.0f, 0.0f, 0.0f);
  m_[1] = Point3(0.0f, 1.0f, 0.0f);
  m_[2] = Point3(0.0f, 0.0f, 1.0f);
  m_[3] = Point3(0.0f, 0.0f, 0.0f);
}

void Matrix3::Zero() {
  for (Point3& r : m_) r = Point3();
}

bool Matrix3::IsIdentity() const { return *this == Matrix3(); }

bool Matrix3::operator==(const Matrix3& b) const {
  for (int i = 0; i < 4; ++i)
    if (m_[i] != b.m_[i]) return false;
  return true;
}

Matrix3 Matrix3::operator*(const Matrix3& b) const {
  Matrix3 r;
  for (int i = 0; i < 4; ++i) {
    const Point3& a = m_[i];
    Point3 row = b.m_[0] * a.x + b.m_[1] * a.y + b.m_[2] * a.z;
    if (i == 3) row += b.m_[3];
    r.m_[i] = row;
  }
  return r;
}

void Matrix3::RotateX(float angle) { *this = *this * RotateXMatrix(angle); }
void Matrix3::RotateY(float angle) { *this = *this * RotateYMatrix(angle); }
void Matrix3::RotateZ(float angle) { *this = *this * RotateZMatrix(angle); }

void Matrix3::Scale(const Point3& s, bool transToo) {
  for (int i = 0; i < 3; ++i) m_[i] = m_[i] * s;
  if (transToo) m_[3] = m_[3] * s;
}

void Matrix3::PreTranslate(const Point3& p) { *this = TransMatrix(p) * *this; }
void Matrix3::PreRotateX(float angle) { *this = RotateXMatrix(angle) * *this; }
void Matrix3::PreRotateY(float angle) { *this = RotateYMatrix(angle) * *this; }
void Matrix3::PreRotateZ(float angle) { *this = RotateZMatrix(angle) * *this; }
void Matrix3::PreScale(const Point3& s) { *this = ScaleMatrix(s) * *this; }

Point3 Matrix3::VectorTransform(const Point3& v) const { return m_[0] * v.x + m_[1] * v.y + m_[2] * v.z; }

Matrix3 Matrix3::Inverse() const {
  // Inverse of the 3x3 part by cofactors, then the translation.
  const Point3 &a = m_[0], &b = m_[1], &c = m_[2];
  Point3 r0 = CrossProd(b, c), r1 = CrossProd(c, a), r2 = CrossProd(a, b);
  float det = DotProd(a, r0);
  if (det == 0.0f || !std::isfinite(det)) return Matrix3();
  float inv = 1.0f / det;
  // Columns of the inverse are r0, r1, r2 scaled; write them as rows of the transpose.
  Matrix3 r;
  r.m_[0] = Point3(r0.x, r1.x, r2.x) * inv;
  r.m_[1] = Point3(r0.y, r1.y, r2.y) * inv;
  r.m_[2] = Point3(r0.z, r1.z, r2.z) * inv;
  r.m_[3] = -r.VectorTransform(m_[3]);
  return r;
}

Point3 operator*(const Point3& p, const Matrix3& m) { return m.VectorTransform(p) + m.GetTrans(); }
Point3 VectorTransform(const Matrix3& m, const Point3& v) { return m.VectorTransform(v); }
Matrix3 Inverse(const Matrix3& m) { return m.Inverse(); }

Matrix3 TransMatrix(const Point3& p) {
  Matrix3 m;
  m.SetTrans(p);
  return m;
}

Matrix3 ScaleMatrix(const Point3& s) {
  Matrix3 m;
  m.Scale(s);
  return m;
}

// A positive angle turns the x axis towards y about z (and y towards z about x, z towards x about y)
// for row vectors: p * RotateZMatrix(90 degrees) takes [1,0,0] to [0,1,0].
Matrix3 RotateXMatrix(float angle) {
  float c = std::cos(angle), s = std::sin(angle);
  return Matrix3(Point3(1.0f, 0.0f, 0.0f), Point3(0.0f, c, s), Point3(0.0f, -s, c), Point3());
}

Matrix3 RotateYMatrix(float angle) {
  float c = std::cos(angle), s = std::sin(angle);
  return Matrix3(Point3(c, 0.0f, -s), Point3(0.0f, 1.0f, 0.0f), Point3(s, 0.0f, c), Point3());
}

Matrix3 RotateZMatrix(float angle) {
  float c = std::cos(angle), s = std::sin(angle);
  return Matrix3(Point3(c, s, 0.0f), Point3(-s, c, 0.0f), Point3(0.0f, 0.0f, 1.0f), Point3());
}
